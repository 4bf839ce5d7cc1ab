#include "RecordingSoundCall.h"
#include "WavClip.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

Q_DECLARE_METATYPE(TWavPlayFrom)

namespace {

/// Fills a clip's block the way the window description does.
void GiveData(TWavClip& clip, const QByteArray& bytes) {
    QByteArray record;
    QDataStream out(&record, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << static_cast<quint32>(bytes.size());
    out.writeRawData(bytes.constData(), static_cast<int>(bytes.size()));
    QDataStream in(record);
    clip.ReadFileData(in);
}

/// The settings every clip of the announcer is given.
void MakeProgramClip(TWavClip& clip) {
    clip.SetAsyncPlay(false);
    clip.SetNoStopSound(true);
    clip.SetNoWaitIfBusy(false);
    clip.SetPlayFrom(pfForm);
}

QByteArray Text(const RecordingSoundCall::Call& call) {
    return call.Bytes;
}

} // namespace

class TstWavClip : public QObject {
    Q_OBJECT

private slots:
    void initialValues() {
        RecordingSoundCall sound;
        TWavClip clip(sound);
        QCOMPARE(clip.AsyncPlay(), true);
        QCOMPARE(clip.Looped(), false);
        QCOMPARE(clip.NoDefaultSound(), true);
        QCOMPARE(clip.NoStopSound(), false);
        QCOMPARE(clip.NoWaitIfBusy(), true);
        QCOMPARE(clip.PlayFrom(), pfFile);
        QCOMPARE(clip.ResourceName(), QStringLiteral("WAVE1"));
        QCOMPARE(clip.EventAlias(), QStringLiteral(".Default"));
        QCOMPARE(clip.FileName(), QString());
        QCOMPARE(clip.DataSize(), 0u);
        QCOMPARE(clip.Playing(), false);
        QCOMPARE(clip.StoredProperties(), QStringList{"FileData"});
    }

    void callForEachSource_data() {
        QTest::addColumn<TWavPlayFrom>("from");
        QTest::addColumn<bool>("looped");
        QTest::addColumn<quint32>("flags");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("programModule");
        // Defaults add SND_ASYNC, SND_NODEFAULT and SND_NOWAIT.
        QTest::newRow("file") << pfFile << false << 0x00022003u << QByteArray("voz.wav\0", 8)
                              << false;
        QTest::newRow("file looped")
            << pfFile << true << 0x0002200Bu << QByteArray("voz.wav\0", 8) << false;
        QTest::newRow("resource") << pfResource << false << 0x00042007u << QByteArray("WAVE1\0", 6)
                                  << true;
        QTest::newRow("system event")
            << pfSystemEvent << false << 0x00012003u << QByteArray(".Default\0", 9) << false;
        QTest::newRow("form, empty") << pfForm << false << 0x00002007u << QByteArray() << false;
    }
    void callForEachSource() {
        QFETCH(TWavPlayFrom, from);
        QFETCH(bool, looped);
        QFETCH(quint32, flags);
        QFETCH(QByteArray, text);
        QFETCH(bool, programModule);
        RecordingSoundCall sound;
        TWavClip clip(sound);
        clip.SetFileName(QStringLiteral("voz.wav"));
        clip.SetPlayFrom(from);
        clip.SetLooped(looped);
        sound.Calls.clear();
        clip.Play();
        QCOMPARE(sound.Calls.size(), 1u);
        const auto& call = sound.Calls[0];
        QCOMPARE(call.Flags, flags);
        QCOMPARE(call.Module, programModule ? SoundModule::Program : SoundModule::None);
        QCOMPARE(call.Data == nullptr, text.isEmpty());
        QCOMPARE(Text(call), text);
    }

    void programClipPlaysItsImageWith0x16() {
        RecordingSoundCall sound;
        TWavClip clip(sound);
        MakeProgramClip(clip);
        GiveData(clip, QByteArray("RIFF-image-bytes"));
        clip.Play();
        QCOMPARE(sound.Calls.size(), 1u);
        QCOMPARE(sound.Calls[0].Flags, 0x16u);
        QCOMPARE(sound.Calls[0].Module, SoundModule::None);
        QCOMPARE(static_cast<const void*>(sound.Calls[0].Data),
                 static_cast<const void*>(clip.Data().constData()));
        QCOMPARE(sound.Calls[0].Size, std::size_t{16});
    }

    void eventsSurroundTheCall() {
        RecordingSoundCall sound;
        TWavClip clip(sound);
        MakeProgramClip(clip);
        GiveData(clip, "x");
        QStringList log;
        clip.OnPlayBefore = [&](TWavClip* sender) {
            log << QStringLiteral("before %1 %2").arg(sender == &clip).arg(clip.Playing());
        };
        auto listening = sound.Listen(
            [&](const auto&) { log << QStringLiteral("sound %1").arg(clip.Playing()); });
        clip.OnPlayAfter = [&](TWavClip* sender) {
            log << QStringLiteral("after %1 %2").arg(sender == &clip).arg(clip.Playing());
        };
        clip.Play();
        QCOMPARE(log, (QStringList{"before 1 1", "sound 1", "after 1 1"}));
        QCOMPARE(clip.Playing(), false);
    }

    void emptyClipStillRunsBothEvents() {
        RecordingSoundCall sound;
        TWavClip clip(sound);
        MakeProgramClip(clip);
        int events = 0;
        clip.OnPlayBefore = [&](TWavClip*) { ++events; };
        clip.OnPlayAfter = [&](TWavClip*) { ++events; };
        clip.Play();
        QCOMPARE(events, 2);
        QCOMPARE(sound.Calls.size(), 1u);
        QVERIFY(sound.Calls[0].Data == nullptr);
        QCOMPARE(sound.Calls[0].Flags, 0x16u);
    }

    void playFromAfterEventNests() {
        RecordingSoundCall sound;
        TWavClip first(sound);
        TWavClip second(sound);
        MakeProgramClip(first);
        MakeProgramClip(second);
        GiveData(first, "uno");
        GiveData(second, "dos");
        first.OnPlayAfter = [&](TWavClip*) { second.Play(); };
        QStringList heard;
        auto listening = sound.Listen([&](const RecordingSoundCall::Call& call) {
            heard << QStringLiteral("%1 first=%2 second=%3")
                         .arg(QString::fromLatin1(call.Bytes))
                         .arg(first.Playing())
                         .arg(second.Playing());
        });
        first.Play();
        QCOMPARE(heard, (QStringList{"uno first=1 second=0", "dos first=1 second=1"}));
        QVERIFY(!first.Playing());
        QVERIFY(!second.Playing());
    }

    void playingFlagClearedWhenAStepThrows_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("callsMade");
        QTest::newRow("OnPlayBefore") << 0 << 0;
        QTest::newRow("sound call") << 1 << 1;
        QTest::newRow("OnPlayAfter") << 2 << 1;
    }
    void playingFlagClearedWhenAStepThrows() {
        QFETCH(int, step);
        QFETCH(int, callsMade);
        RecordingSoundCall sound;
        TWavClip clip(sound);
        MakeProgramClip(clip);
        const auto fail = [](int at, int here) {
            if (at == here) {
                throw std::runtime_error("fallo");
            }
        };
        clip.OnPlayBefore = [&](TWavClip*) { fail(step, 0); };
        auto listening = sound.Listen([&](const auto&) { fail(step, 1); });
        clip.OnPlayAfter = [&](TWavClip*) { fail(step, 2); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, clip.Play());
        QVERIFY(!clip.Playing());
        QCOMPARE(static_cast<int>(sound.Calls.size()), callsMade);
    }

    void stopAsksToStopTheSound() {
        RecordingSoundCall sound;
        {
            TWavClip clip(sound);
            clip.Stop();
            QCOMPARE(sound.Calls.size(), 1u);
            QVERIFY(sound.Calls[0].Data == nullptr);
            QCOMPARE(sound.Calls[0].Flags, 0u);
        }
        // And the destructor stops too.
        QCOMPARE(sound.Calls.size(), 2u);
        QVERIFY(sound.Calls[1].Data == nullptr);
    }

    void settingPlayFromDiscardsOrLoads() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("voz.wav"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("contenido");
        file.close();

        RecordingSoundCall sound;
        TWavClip clip(sound);
        GiveData(clip, "previo");
        clip.SetPlayFrom(pfFile); // unchanged: keeps the data
        QCOMPARE(clip.Data(), QByteArray("previo"));
        clip.SetPlayFrom(pfResource);
        QCOMPARE(clip.DataSize(), 0u);

        clip.SetFileName(path); // not pfForm: nothing is loaded
        QCOMPARE(clip.DataSize(), 0u);
        clip.SetPlayFrom(pfForm);
        QCOMPARE(clip.Data(), QByteArray("contenido"));
        QCOMPARE(clip.DataSize(), 9u);

        clip.SetDataSize(1000);
        QCOMPARE(clip.DataSize(), 9u);

        clip.SetPlayFrom(pfSystemEvent);
        QCOMPARE(clip.DataSize(), 0u);
        clip.SetFileName(dir.filePath(QStringLiteral("ninguno.wav")));
        clip.SetPlayFrom(pfForm);
        QCOMPARE(clip.DataSize(), 0u);
    }

    void fileNameAtRunTimeStopsWithoutLoading() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("voz.wav"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("abc");
        file.close();

        RecordingSoundCall sound;
        TWavClip clip(sound);
        MakeProgramClip(clip);
        sound.Calls.clear();
        clip.SetFileName(path);
        QCOMPARE(clip.DataSize(), 0u);
        QCOMPARE(sound.Calls.size(), 1u);
        QVERIFY(sound.Calls[0].Data == nullptr);

        clip.SetFileName(path); // same name: nothing happens
        QCOMPARE(sound.Calls.size(), 1u);

        // In a form designer the new name is loaded at once.
        clip.SetDesigning(true);
        clip.SetFileName(QString());
        clip.SetFileName(path);
        QCOMPARE(clip.Data(), QByteArray("abc"));
    }

    void settersActWhilePlaying_data() {
        QTest::addColumn<QString>("setter");
        QTest::addColumn<QStringList>("expected");
        // What the sound call hears: "play" for a clip sound, "stop" for a null argument.
        QTest::newRow("AsyncPlay on stops") << "AsyncPlay" << QStringList{"play", "stop"};
        QTest::newRow("Looped restarts looped")
            << "Looped" << QStringList{"play", "stop", "play looped"};
        QTest::newRow("NoWaitIfBusy restarts")
            << "NoWaitIfBusy" << QStringList{"play", "stop", "play"};
        QTest::newRow("NoStopSound does nothing more") << "NoStopSound" << QStringList{"play"};
        QTest::newRow("FileName replays") << "FileName" << QStringList{"play", "play"};
    }
    void settersActWhilePlaying() {
        QFETCH(QString, setter);
        QFETCH(QStringList, expected);
        RecordingSoundCall sound;
        TWavClip clip(sound);
        MakeProgramClip(clip);
        GiveData(clip, "x");
        QStringList heard;
        auto listening = sound.Listen([&](const RecordingSoundCall::Call& call) {
            heard << (call.Data == nullptr            ? QStringLiteral("stop")
                      : (call.Flags & SND_LOOP) != 0u ? QStringLiteral("play looped")
                                                      : QStringLiteral("play"));
        });
        bool done = false;
        clip.OnPlayAfter = [&](TWavClip*) {
            if (done) {
                return;
            }
            done = true;
            if (setter == "AsyncPlay") {
                clip.SetAsyncPlay(true);
                QVERIFY(!clip.Playing());
            } else if (setter == "Looped") {
                clip.SetLooped(true);
            } else if (setter == "NoWaitIfBusy") {
                clip.SetNoWaitIfBusy(true);
            } else if (setter == "NoStopSound") {
                clip.SetNoStopSound(false);
            } else if (setter == "FileName") {
                clip.SetFileName(QStringLiteral("otro.wav"));
            }
        };
        clip.Play();
        QCOMPARE(heard, expected);
        QVERIFY(!clip.Playing());
    }

    void namesReplayOnlyForTheirSource() {
        RecordingSoundCall sound;
        TWavClip clip(sound);
        clip.SetEventAlias(QStringLiteral("Otro")); // pfFile: nothing
        QVERIFY(sound.Calls.empty());
        clip.SetPlayFrom(pfSystemEvent);
        clip.SetEventAlias(QStringLiteral("SystemAsterisk")); // idle: stop
        QCOMPARE(sound.Calls.size(), 1u);
        QVERIFY(sound.Calls[0].Data == nullptr);

        clip.SetResourceName(QStringLiteral("WAVE2")); // not pfResource: nothing
        QCOMPARE(sound.Calls.size(), 1u);
        clip.SetPlayFrom(pfResource);
        clip.SetResourceName(QStringLiteral("WAVE3")); // idle: nothing
        QCOMPARE(sound.Calls.size(), 1u);
        clip.OnPlayAfter = [&](TWavClip*) {
            clip.OnPlayAfter = nullptr;
            clip.SetResourceName(QStringLiteral("WAVE4"));
        };
        clip.Play();
        QCOMPARE(sound.Calls.size(), 3u);
        QCOMPARE(Text(sound.Calls[2]), QByteArray("WAVE4\0", 6));
    }

    void storedProperties_data() {
        QTest::addColumn<TWavPlayFrom>("from");
        QTest::addColumn<bool>("program");
        QTest::addColumn<bool>("events");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("announcer clip")
            << pfForm << true << true << QStringList{"AsyncPlay", "NoStopSound", "NoWaitIfBusy",
                                                     "PlayFrom",  "OnPlayAfter", "FileData"};
        QTest::newRow("announcer clip without event")
            << pfForm << true << false
            << QStringList{"AsyncPlay", "NoStopSound", "NoWaitIfBusy", "PlayFrom", "FileData"};
        QTest::newRow("file with name")
            << pfFile << false << false << QStringList{"FileName", "FileData"};
        QTest::newRow("resource") << pfResource << false << false
                                  << QStringList{"PlayFrom", "ResourceName", "FileData"};
        QTest::newRow("system event")
            << pfSystemEvent << false << true
            << QStringList{"EventAlias", "PlayFrom", "OnPlayAfter", "FileData"};
    }
    void storedProperties() {
        QFETCH(TWavPlayFrom, from);
        QFETCH(bool, program);
        QFETCH(bool, events);
        QFETCH(QStringList, stored);
        RecordingSoundCall sound;
        TWavClip clip(sound);
        clip.SetFileName(QStringLiteral("voz.wav"));
        if (program) {
            MakeProgramClip(clip);
        }
        clip.SetPlayFrom(from);
        if (events) {
            clip.OnPlayAfter = [](TWavClip*) {};
        }
        QCOMPARE(clip.StoredProperties(), stored);
    }
};

QTEST_GUILESS_MAIN(TstWavClip)
#include "tst_wavclip.moc"
