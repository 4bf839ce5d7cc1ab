#include "AlsaSoundCall.h"
#include "Locutor.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Without a usable sound device the clips are silent, but an announcement still runs its
// whole chain of events and the gate remembers the reading.
class TstAlsaNoDevice : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QString config = dir_.filePath(QStringLiteral("asound.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("pcm.!default {\n    type hw\n    card 97\n}\n");
        file.close();
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));
    }

    void chainRunsThroughItsEvents() {
        AlsaSoundCall sound;
        Locutor locutor(sound);
        QStringList events;
        locutor.BindPlayAfter(
            [&](TWavClip* sender) {
                events << sender->Name();
                locutor.diecisietePlayAfter(sender);
            },
            [&](TWavClip* sender) {
                events << sender->Name();
                locutor.gradosPlayAfter(sender);
            });
        locutor.ymedio().OnPlayAfter = [&](TWavClip* sender) { events << sender->Name(); };
        locutor.ComprobarAnuncio(47, 2, 1, true);
        QCOMPARE(events, (QStringList{"veintitres", "grados", "ymedio"}));
        QCOMPARE(locutor.UltimaAnunciada2, 47);
        QCOMPARE(locutor.LecturaAnunciada, 47);
    }

    void soundCallReportsSilence() {
        AlsaSoundCall sound;
        QFile file(QStringLiteral(":/voice/clips/grados.wav"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray image = file.readAll();
        const auto view =
            std::as_bytes(std::span(image.constData(), static_cast<std::size_t>(image.size())));
        QVERIFY(!sound.PlaySound(view, SoundModule::None, SND_MEMORY | SND_NODEFAULT));
        // Asynchronous: accepted, then silent on the worker; stopping must still work.
        sound.PlaySound(view, SoundModule::None, SND_MEMORY | SND_ASYNC | SND_LOOP);
        QVERIFY(sound.PlaySound({}, SoundModule::None, 0));
    }
};

QTEST_GUILESS_MAIN(TstAlsaNoDevice)
#include "tst_alsanodevice.moc"
