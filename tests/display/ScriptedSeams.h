#pragma once

#include "Dialogs.h"
#include "FormSeams.h"
#include "HelpViewer.h"
#include "PortIo.h"
#include "SoundCall.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

/// Boxes that answer from a script and remember what they were asked.
class ScriptedDialogs final : public Dialogs {
public:
    QStringList messages;
    QStringList questions;
    /// The button each question offered to Enter, in order.
    std::vector<Boton> defaults;
    std::deque<bool> answers; // Yes/No, in order; No when the script runs out
    /// The save dialog's answer: a name to choose, or nothing to cancel.
    std::optional<QString> saveAs;
    QStringList saveDialogInitialNames;

    void ShowMessage(const QString& text) override { messages << text; }
    bool AskYesNo(const QString& text, Boton porDefecto) override {
        questions << text;
        defaults.push_back(porDefecto);
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool ExecuteSave(QString& fileName, const QString&, const QString&) override {
        saveDialogInitialNames << fileName;
        if (!saveAs) {
            return false;
        }
        fileName = *saveAs;
        return true;
    }
};

class RecordingErrors final : public ErrorReport {
public:
    QStringList reports;
    void Report(const QString& text) override { reports << text; }
};

class FixedClock final : public Clock {
public:
    QDateTime now{QDate(2026, 12, 7), QTime(14, 5, 9)};
    QDateTime Now() const override { return now; }
};

class RecordingHelp final : public HelpViewer {
public:
    QStringList shown;
    void ShowContents(const QString& helpFile, QWidget*) override { shown << helpFile; }
};

/// A port whose two converters present fixed readings through the real cycle.
class FixedConverters final : public PortIo {
public:
    std::uint8_t reading1 = 0;
    std::uint8_t reading2 = 0;

    std::uint8_t Read(std::uint16_t address) override {
        if (address != PuertoEstado) {
            return address == PuertoControl ? 0x0C : data_;
        }
        const int bit = 7 - (edges_ - 2);
        std::uint8_t status = 0;
        if (bit >= 0 && bit <= 7) {
            status |= ((reading1 >> bit) & 1) ? 0x10 : 0;
            status |= ((reading2 >> bit) & 1) ? 0x20 : 0;
        }
        return status;
    }
    void Write(std::uint16_t address, std::uint8_t value) override {
        if (address != PuertoDatos) {
            return;
        }
        if ((data_ & 1) && !(value & 1)) {
            edges_ = 0;
        }
        if ((data_ & 2) && !(value & 2)) {
            ++edges_;
        }
        data_ = value;
    }

private:
    std::uint8_t data_ = 1;
    int edges_ = 0;
};

/// A sound output that hears every image it is given, in order, and plays nothing.
class RecordingSound final : public SoundCall {
public:
    std::vector<QByteArray> images;
    /// Runs while each image "plays": what the user does meanwhile, how long it lasts.
    std::function<void()> whilePlaying;
    bool PlaySound(SoundArgument sound, SoundModule, std::uint32_t) override {
        if (sound.data()) {
            images.emplace_back(reinterpret_cast<const char*>(sound.data()),
                                static_cast<qsizetype>(sound.size()));
            if (whilePlaying) {
                whilePlaying();
            }
        }
        return true;
    }
};

/// Everything a test window needs, owned together.
struct TestSeams {
    FixedConverters port;
    ScriptedDialogs dialogs;
    RecordingErrors errors;
    FixedClock clock;
    RecordingHelp help;
    RecordingSound sound;
    FormSeams seams() { return FormSeams{port, dialogs, errors, clock, help, sound}; }
};
