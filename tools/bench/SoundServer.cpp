#include "SoundServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <csignal>
#include <sys/resource.h>

namespace {

bool Answers() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")});
    if (!pactl.waitForFinished(3000)) {
        pactl.kill();
        pactl.waitForFinished();
        return false;
    }
    return pactl.exitCode() == 0 && pactl.readAllStandardOutput().contains("velmoranta_null");
}

bool WriteFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

/// Where PipeWire's ALSA plugin is: BENCH_PIPEWIRE_ALSA names the folder of an unpacked one
/// (it cannot be installed beside PulseAudio), otherwise ALSA's own plugin folder.
QString PipeWireAlsaPlugins() {
    const QString given = qEnvironmentVariable("BENCH_PIPEWIRE_ALSA");
    return given.isEmpty() ? QStringLiteral("/usr/lib/x86_64-linux-gnu/alsa-lib") : given;
}

/// A desktop runs its sound server above ordinary programs (nice -11, as PulseAudio and
/// PipeWire ask for themselves), so that a busy machine does not make the server itself
/// miss its deadlines; the recorder is raised the same way so its own holes stay out.
void RaisePriority(qint64 pid) {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), -11);
}

} // namespace

SoundServer::SoundServer(Kind kind) : kind_(kind) {}

SoundServer::~SoundServer() {
    StopRecording();
    Kill();
    if (busPid_ > 0) {
        ::kill(static_cast<pid_t>(busPid_), SIGTERM);
    }
}

bool SoundServer::WriteConfiguration() {
    const QString root = dir_.path();
    QDir().mkpath(root + QStringLiteral("/run"));
    QFile::setPermissions(root + QStringLiteral("/run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + QStringLiteral("/run")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")));
    qputenv("HOME", QFile::encodeName(root));
    qunsetenv("PULSE_SERVER");
    qunsetenv("PIPEWIRE_REMOTE");
    const QString asound = root + QStringLiteral("/asound.conf");
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(asound));
    if (kind_ == Kind::PulseAudio) {
        return WriteFile(asound, "pcm.!default { type pulse }\nctl.!default { type pulse }\n");
    }
    const QString plugins = PipeWireAlsaPlugins();
    return WriteFile(root + QStringLiteral("/config/pipewire/pipewire.conf.d/50-null-sink.conf"),
                     "context.objects = [\n"
                     "  { factory = adapter\n"
                     "    args = { factory.name = support.null-audio-sink\n"
                     "             node.name = \"velmoranta_null\"\n"
                     "             media.class = Audio/Sink\n"
                     "             audio.position = [ FL FR ] } }\n"
                     "]\n") &&
           WriteFile(asound, QStringLiteral("pcm_type.pipewire { lib \"%1/"
                                            "libasound_module_pcm_pipewire.so\" }\n"
                                            "pcm.!default { type pipewire playback_node \"-1\" "
                                            "capture_node \"-1\" }\n")
                                 .arg(plugins)
                                 .toUtf8());
}

void SoundServer::Launch(const QString& program, const QStringList& arguments) {
    auto& process = processes_.emplace_back(std::make_unique<QProcess>());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(dir_.filePath(QFileInfo(program).fileName() + ".log"),
                                  QIODevice::Append);
    process->start(program, arguments);
    if (process->waitForStarted(3000)) {
        pids_.push_back(process->processId());
        RaisePriority(process->processId());
    }
}

bool SoundServer::Start() {
    if (!dir_.isValid()) {
        return false;
    }
    if (busPid_ == 0) {
        if (!WriteConfiguration()) {
            return false;
        }
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--fork"),
                   QStringLiteral("--print-address=1"), QStringLiteral("--print-pid=1")});
        if (!bus.waitForFinished(5000) || bus.exitCode() != 0) {
            return false;
        }
        const QList<QByteArray> lines = bus.readAllStandardOutput().trimmed().split('\n');
        if (lines.size() < 2) {
            return false;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", lines[0].trimmed());
        busPid_ = lines[1].trimmed().toLongLong();
    }
    if (kind_ == Kind::PulseAudio) {
        Launch(QStringLiteral("pulseaudio"),
               {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--log-target=stderr"),
                QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix"),
                QStringLiteral("-L"),
                QStringLiteral("module-null-sink sink_name=velmoranta_null")});
    } else {
        Launch(QStringLiteral("pipewire"), {});
        QThread::msleep(300);
        Launch(QStringLiteral("wireplumber"), {});
        Launch(QStringLiteral("pipewire-pulse"), {});
    }
    for (int i = 0; i < 100; ++i) {
        if (Answers()) {
            // Let the session manager settle the default sink before anything plays.
            QThread::msleep(1000);
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

void SoundServer::Signal(int signal) {
    for (const qint64 pid : pids_) {
        ::kill(static_cast<pid_t>(pid), signal);
    }
}

void SoundServer::Kill() {
    Signal(SIGCONT);
    Signal(SIGKILL);
    for (const auto& process : processes_) {
        process->waitForFinished(3000);
    }
    processes_.clear();
    pids_.clear();
}

bool SoundServer::StartRecording() {
    recorder_.setStandardOutputFile(dir_.filePath(QStringLiteral("rec.raw")));
    recorder_.start(QStringLiteral("parec"),
                    {QStringLiteral("-d"), QStringLiteral("velmoranta_null.monitor"),
                     QStringLiteral("--format=u8"), QStringLiteral("--rate=22050"),
                     QStringLiteral("--channels=1")});
    if (!recorder_.waitForStarted(3000)) {
        return false;
    }
    RaisePriority(recorder_.processId());
    // A late start would cut the first clip.
    QThread::msleep(2000);
    return true;
}

QByteArray SoundServer::StopRecording() {
    if (recorder_.state() == QProcess::NotRunning) {
        return {};
    }
    QThread::msleep(1000);
    recorder_.terminate();
    if (!recorder_.waitForFinished(3000)) {
        recorder_.kill();
        recorder_.waitForFinished();
    }
    QFile file(dir_.filePath(QStringLiteral("rec.raw")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
