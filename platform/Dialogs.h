#pragma once

#include <QDateTime>
#include <QString>

/// The modal boxes and dialogs the handlers show. The window gets one of these; tests hand
/// it a scripted one, since a test cannot click a modal box.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// A plain notice with an OK button, captioned with the application title.
    virtual void ShowMessage(const QString& text) = 0;
    /// The button of a Yes/No box that Enter presses.
    enum class Boton { Si, No };
    /// A question with Yes and No buttons, captioned with the application title; Enter
    /// answers `porDefecto`. True: Yes.
    virtual bool AskYesNo(const QString& text, Boton porDefecto) = 0;
    /// The save dialog. `fileName` holds the initial name and receives the chosen one.
    /// `filterName` and `mask` give its one file type. False when the user cancels.
    virtual bool ExecuteSave(QString& fileName, const QString& filterName, const QString& mask) = 0;
};

/// Where a handler's error ends up: a stop-icon box captioned with the application title.
/// The text arrives complete (the error's message followed by ".").
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void Report(const QString& message) = 0;
};

/// Local date and time, replaceable so tests see fixed times.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};
