#include "AlsaSoundCall.h"
#include "CaptureMatch.h"
#include "Locutor.h"
#include "PulsePcm.h"
#include "RiffWave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The real sound path, heard by a capture file: ALSA's default device is a file plugin over
// a null device, set up by a configuration of its own (not the system's, which might lead
// to a sound server).
class TstAlsaCapture : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    /// Generous: the device pads each sound to a period of at most its 100 ms buffer.
    static constexpr qsizetype kMaxPad = 22050 / 5;

    QString Capture() const { return dir_.filePath(QStringLiteral("captura.raw")); }

    /// Everything "played" since the last call, in the order the files were written: each
    /// opening of the device writes the next numbered file.
    QByteArray TakeCaptured() const {
        QDir dir(dir_.path());
        QStringList files =
            dir.entryList({QStringLiteral("captura.raw*")}, QDir::Files, QDir::Name);
        QByteArray all;
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                all += file.readAll();
            }
            file.remove();
        }
        return all;
    }

    static QByteArray SamplesOf(const QByteArray& image) {
        const auto wave = ParseRiffWave(
            std::as_bytes(std::span(image.constData(), static_cast<std::size_t>(image.size()))));
        return wave ? QByteArray(reinterpret_cast<const char*>(wave->Samples.data()),
                                 static_cast<qsizetype>(wave->Samples.size()))
                    : QByteArray();
    }

    static QByteArray Resource(const char* name) {
        QFile file(QStringLiteral(":/voice/clips/%1.wav").arg(QLatin1String(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static SoundArgument View(const QByteArray& bytes) {
        return std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QString config = dir_.filePath(QStringLiteral("asound.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("pcm.!default {\n"
                                  "    type file\n"
                                  "    slave.pcm { type null }\n"
                                  "    file \"%1\"\n"
                                  "    format \"raw\"\n"
                                  "    truncate false\n"
                                  "}\n")
                       .arg(Capture())
                       .toUtf8());
        file.close();
        // Before the first ALSA call, which reads the configuration once.
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));
    }

    void init() { TakeCaptured(); }

    void announcementPlaysTheClipsSampleData_data() {
        QTest::addColumn<int>("lectura");
        QTest::addColumn<QStringList>("clips");
        QTest::newRow("47") << 47 << QStringList{"veintitres", "grados", "ymedio"};
        QTest::newRow("24") << 24 << QStringList{"doce", "grados"};
    }
    void announcementPlaysTheClipsSampleData() {
        QFETCH(int, lectura);
        QFETCH(QStringList, clips);
        QList<QByteArray> expected;
        {
            AlsaSoundCall sound;
            Locutor locutor(sound);
            for (const QString& name : clips) {
                expected << SamplesOf(locutor.Clip(name).Data());
                QVERIFY(!expected.last().isEmpty());
            }
            locutor.ComprobarAnuncio(static_cast<std::uint8_t>(lectura), 1, 1, true);
            QCOMPARE(locutor.UltimaAnunciada1, lectura);
        } // closing the device flushes the capture
        const QByteArray captured = TakeCaptured();
        QString why;
        QVERIFY2(CapturedInOrder(captured, expected, kMaxPad, &why), qPrintable(why));
    }

    void eachSourcePlaysTheSameSound_data() {
        QTest::addColumn<quint32>("flags");
        QTest::newRow("memory") << quint32(SND_MEMORY | SND_NODEFAULT | SND_NOSTOP);
        QTest::newRow("file") << quint32(SND_FILENAME | SND_NODEFAULT);
        QTest::newRow("resource") << quint32(SND_RESOURCE | SND_NODEFAULT);
        QTest::newRow("memory, asynchronous") << quint32(SND_MEMORY | SND_ASYNC);
    }
    void eachSourcePlaysTheSameSound() {
        QFETCH(quint32, flags);
        const QByteArray image = Resource("grados");
        QVERIFY(!image.isEmpty());
        const QString path = dir_.filePath(QStringLiteral("grados.wav"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(image);
        }
        QByteArray argument;
        if ((flags & SND_RESOURCE) == SND_RESOURCE) {
            argument = QByteArray("voice/clips/grados.wav");
        } else if ((flags & SND_FILENAME) != 0) {
            argument = QFile::encodeName(path);
        } else {
            argument = image;
        }
        {
            AlsaSoundCall sound;
            QVERIFY(sound.PlaySound(View(argument), SoundModule::Program, flags));
            if ((flags & SND_ASYNC) != 0) {
                // While it plays, a sound that may not stop it gives way; once it has ended
                // the next one plays after it.
                const QByteArray next = Resource("diez");
                // QTRY_VERIFY evaluates its condition again after success: play once only.
                bool played = false;
                QTRY_VERIFY(played || (played = sound.PlaySound(View(next), SoundModule::None,
                                                                SND_MEMORY | SND_NOSTOP)));
            }
        }
        QFile::remove(path);
        const QByteArray captured = TakeCaptured();
        QString why;
        QList<QByteArray> expected{SamplesOf(image)};
        if ((flags & SND_ASYNC) != 0) {
            expected << SamplesOf(Resource("diez"));
        }
        QVERIFY2(CapturedInOrder(captured, expected, kMaxPad, &why), qPrintable(why));
    }

    void unplayableSoundsAreSilence_data() {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<quint32>("flags");
        const QByteArray image = Resource("doce");
        QTest::newRow("truncated image") << image.left(image.size() / 2) << quint32(SND_MEMORY);
        QTest::newRow("not an image") << QByteArray("hola, mundo") << quint32(SND_MEMORY);
        QTest::newRow("missing file") << QByteArray("/no/existe.wav") << quint32(SND_FILENAME);
        QTest::newRow("missing resource") << QByteArray("NOHAY") << quint32(SND_RESOURCE);
        QTest::newRow("system event") << QByteArray(".Default") << quint32(SND_ALIAS);
    }
    void unplayableSoundsAreSilence() {
        QFETCH(QByteArray, argument);
        QFETCH(quint32, flags);
        {
            AlsaSoundCall sound;
            QVERIFY(!sound.PlaySound(View(argument), SoundModule::Program, flags));
            QVERIFY(!sound.PlaySound(View(argument), SoundModule::Program, flags | SND_ASYNC));
        }
        QCOMPARE(TakeCaptured(), QByteArray());
    }

    // Where no sound server answers, the program's sound call plays on ALSA.
    void withoutSoundServerAlsaPlays() {
        qputenv("PULSE_SERVER", QFile::encodeName(dir_.filePath(QStringLiteral("no-server"))));
        const QByteArray image = Resource("grados");
        {
            AlsaSoundCall sound(ServerOrAlsaPcm("default"));
            QVERIFY(sound.PlaySound(View(image), SoundModule::None, SND_MEMORY));
        }
        qunsetenv("PULSE_SERVER");
        QString why;
        QVERIFY2(CapturedInOrder(TakeCaptured(), {SamplesOf(image)}, kMaxPad, &why),
                 qPrintable(why));
    }

    void formatChangeBetweenSounds() {
        // 8-bit mono, then a 16-bit stereo image, then 8-bit again: each sound in its own
        // format, nothing lost at the switches.
        QByteArray stereo("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xac\0\0\x10\xb1\x02\0"
                          "\x04\0\x10\0data\x08\0\0\0\x01\x02\x03\x04\x05\x06\x07\x08",
                          52);
        const QByteArray mono = Resource("diez");
        {
            AlsaSoundCall sound;
            QVERIFY(sound.PlaySound(View(mono), SoundModule::None, SND_MEMORY));
            QVERIFY(sound.PlaySound(View(stereo), SoundModule::None, SND_MEMORY));
            QVERIFY(sound.PlaySound(View(mono), SoundModule::None, SND_MEMORY));
        }
        const QByteArray captured = TakeCaptured();
        QVERIFY(captured.contains(QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8)));
        const QByteArray samples = SamplesOf(mono);
        QVERIFY(captured.startsWith(samples));
        QVERIFY(captured.indexOf(samples, samples.size()) > 0);
    }
};

QTEST_GUILESS_MAIN(TstAlsaCapture)
#include "tst_alsacapture.moc"
