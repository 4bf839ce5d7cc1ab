#pragma once

class PortIo;
class Dialogs;
class ErrorReport;
class Clock;
class HelpViewer;
class SoundCall;

/// What the window reaches outside itself. The program hands it the real port, boxes,
/// clock, help window and sound output; tests hand it scripted ones.
struct FormSeams {
    PortIo& port;
    Dialogs& dialogs;
    ErrorReport& errors;
    Clock& clock;
    HelpViewer& help;
    SoundCall& sound;
};
