#include "AlsaSoundCall.h"
#include "PulsePcm.h"
#include "WaveBuilder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The program's sound call on a real sound server, started headless with a null sink for
// the test; skipped where none can be started. ALSA's default device is a capture file, so
// that a sound that went to ALSA instead of the server is seen.
class TstSoundServer : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess server_;

    QString Capture() const { return dir_.filePath(QStringLiteral("captura.raw")); }

    static bool Play(AlsaSoundCall& sound, double seconds) {
        const QByteArray clip = WaveBuilder::Riff(
            WaveBuilder::Fmt() +
            WaveBuilder::Chunk("data", QByteArray(static_cast<int>(seconds * 22050), 0x20)));
        return sound.PlaySound(WaveBuilder::View(clip), SoundModule::None, SND_MEMORY);
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()) {
            QSKIP("no sound server to start here");
        }
        QVERIFY(dir_.isValid());
        const QString run = dir_.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(run));
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run));
        qputenv("HOME", QFile::encodeName(dir_.path()));
        qunsetenv("PULSE_SERVER");
        const QString config = dir_.filePath(QStringLiteral("asound.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("pcm.!default { type file slave.pcm { type null } file \"%1\" "
                                  "format \"raw\" }\n")
                       .arg(Capture())
                       .toUtf8());
        file.close();
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));
        server_.setProcessChannelMode(QProcess::ForwardedChannels);
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--log-level=0"),
                       QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix"),
                       QStringLiteral("-L"), QStringLiteral("module-null-sink")});
        if (!server_.waitForStarted(5000)) {
            QSKIP("the sound server could not be started");
        }
        const QString socket = run + QStringLiteral("/pulse/native");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket) || server_.state() != QProcess::Running,
                                 10000);
        if (server_.state() != QProcess::Running) {
            QSKIP("the sound server did not stay up");
        }
    }

    void cleanupTestCase() {
        if (server_.state() == QProcess::Running) {
            ::kill(static_cast<pid_t>(server_.processId()), SIGCONT);
            server_.kill();
            server_.waitForFinished(5000);
        }
    }

    // The server plays the clip, not ALSA, and the call returns only once all of it can
    // have been heard: it cannot take less than the clip's length, less the 5 ms the sound
    // call leaves for the next clip of a chain.
    void clipIsHeardOnTheServer() {
        AlsaSoundCall sound(ServerOrAlsaPcm("default"));
        QElapsedTimer took;
        took.start();
        QVERIFY(Play(sound, 0.3));
        QVERIFY2(took.elapsed() >= 290, qPrintable(QString::number(took.elapsed())));
        QVERIFY(!QFile::exists(Capture()) || QFile(Capture()).size() == 0);
    }

    // A stopped server is silence within the bound, and at once for the sounds after it;
    // speech comes back once the server runs again.
    void stoppedServerIsSilenceUntilItRunsAgain() {
        AlsaSoundCall sound(ServerOrAlsaPcm("default"));
        QVERIFY(Play(sound, 0.05));
        ::kill(static_cast<pid_t>(server_.processId()), SIGSTOP);
        QElapsedTimer took;
        took.start();
        QVERIFY(!Play(sound, 0.5));
        QVERIFY(took.restart() < 5000);
        QVERIFY(!Play(sound, 0.5));
        QVERIFY(!Play(sound, 0.5));
        QVERIFY(took.restart() < 1000);
        ::kill(static_cast<pid_t>(server_.processId()), SIGCONT);
        bool played = false;
        QTRY_VERIFY_WITH_TIMEOUT(played || (played = Play(sound, 0.05)), 10000);
        QVERIFY(!QFile::exists(Capture()) || QFile(Capture()).size() == 0);
    }
};

QTEST_GUILESS_MAIN(TstSoundServer)
#include "tst_soundserver.moc"
