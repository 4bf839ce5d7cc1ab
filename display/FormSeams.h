#pragma once

class PortIo;
class Dialogs;
class ErrorReport;
class Clock;
class HelpViewer;

/// What the window reaches outside itself. The program hands it the real port, boxes,
/// clock and help window; tests hand it scripted ones.
struct FormSeams {
    PortIo& port;
    Dialogs& dialogs;
    ErrorReport& errors;
    Clock& clock;
    HelpViewer& help;
};
