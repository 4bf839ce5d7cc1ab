#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

/// A sound server of its own for the voice figures, started headless in a runtime folder
/// and on a session bus of its own, with one null sink `velmoranta_null` as its default
/// output. This process's environment is pointed at it (runtime folder, bus, and an ALSA
/// configuration whose default device plays through it), so it must be started before the
/// first sound call.
class SoundServer {
public:
    enum class Kind { PulseAudio, PipeWire };

    explicit SoundServer(Kind kind);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    /// Starts the server (again, after Kill) and waits until its sink answers.
    bool Start();
    /// Sends `signal` to every process of the server (SIGSTOP, SIGCONT, SIGKILL); safe from
    /// another thread while the server is neither started nor killed.
    void Signal(int signal);
    /// Kills the server and waits for it to be gone.
    void Kill();

    /// Starts recording the sink's monitor, unsigned 8-bit mono at 22050 Hz, at the
    /// recorder's default latency.
    bool StartRecording();
    QByteArray StopRecording();

private:
    Kind kind_;
    QTemporaryDir dir_;
    qint64 busPid_ = 0;
    std::vector<std::unique_ptr<QProcess>> processes_;
    std::vector<qint64> pids_;
    QProcess recorder_;

    void Launch(const QString& program, const QStringList& arguments);
    bool WriteConfiguration();
};
