#include "ClipTable.h"
#include "Locutor.h"
#include "RecordingSoundCall.h"
#include "RiffWave.h"

#include <QFile>
#include <QTest>

#include <stdexcept>

namespace {

/// One tick's offer to the gate.
struct Oferta {
    int Lectura;
    int Muestreo;
    bool Sonido;
};

} // namespace

Q_DECLARE_METATYPE(QList<Oferta>)

class TstLocutor : public QObject {
    Q_OBJECT

    /// The names of the clips the sound call was asked to play, in order, across chains.
    static QStringList Heard(const Locutor& locutor, const RecordingSoundCall& sound) {
        QStringList names;
        for (const auto& call : sound.Sounds()) {
            QString name = QStringLiteral("?");
            for (const auto& clip : locutor.Clips()) {
                if (static_cast<const void*>(call.Data) ==
                    static_cast<const void*>(clip->Data().constData())) {
                    name = clip->Name();
                }
            }
            names << name;
        }
        return names;
    }

private slots:
    void everyRecordingIsLoadedInTheRequiredFormat_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < static_cast<int>(TablaClips.size()); ++i) {
            QTest::newRow(TablaClips[static_cast<std::size_t>(i)].Name) << i;
        }
    }
    void everyRecordingIsLoadedInTheRequiredFormat() {
        QFETCH(int, row);
        const ClipRow& expected = TablaClips[static_cast<std::size_t>(row)];
        RecordingSoundCall sound;
        Locutor locutor(sound);
        const TWavClip& clip = *locutor.Clips()[static_cast<std::size_t>(row)];
        QCOMPARE(clip.Name(), QLatin1String(expected.Name));

        QFile file(RecursoClip(expected.Name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(clip.Data(), file.readAll());
        QCOMPARE(clip.DataSize(), static_cast<std::uint32_t>(clip.Data().size()));

        const auto bytes = std::as_bytes(
            std::span(clip.Data().constData(), static_cast<std::size_t>(clip.Data().size())));
        const auto wave = ParseRiffWave(bytes);
        QVERIFY(wave.has_value());
        QCOMPARE(wave->Format.FormatTag, WaveFormatPcm);
        QCOMPARE(wave->Format.Channels, 1);
        QCOMPARE(wave->Format.SamplesPerSec, 22050u);
        QCOMPARE(wave->Format.AvgBytesPerSec, 22050u);
        QCOMPARE(wave->Format.BlockAlign, 1);
        QCOMPARE(wave->Format.BitsPerSample, 8);
        const double seconds = static_cast<double>(wave->Samples.size()) / 22050.0;
        QVERIFY2(std::abs(seconds - expected.Seconds) < 0.05,
                 qPrintable(QStringLiteral("%1 s").arg(seconds)));

        // Not silence: a recording that lost its voice would still have the right length.
        int loud = 0;
        for (const std::byte b : wave->Samples) {
            loud += std::abs(std::to_integer<int>(b) - 128) > 32 ? 1 : 0;
        }
        QVERIFY2(loud > 100, qPrintable(QStringLiteral("%1 loud samples").arg(loud)));
    }

    void clipsHaveTheAnnouncerSettings() {
        RecordingSoundCall sound;
        Locutor locutor(sound);
        QCOMPARE(locutor.Clips().size(), 27u);
        for (const auto& clip : locutor.Clips()) {
            QCOMPARE(clip->AsyncPlay(), false);
            QCOMPARE(clip->NoStopSound(), true);
            QCOMPARE(clip->NoWaitIfBusy(), false);
            QCOMPARE(clip->PlayFrom(), pfForm);
            QCOMPARE(clip->Looped(), false);
            QCOMPARE(clip->NoDefaultSound(), true);
            QVERIFY(!clip->OnPlayBefore);
            QCOMPARE(static_cast<bool>(clip->OnPlayAfter), clip->Name() != "ymedio");
        }
        QCOMPARE(&locutor.Clip(QStringLiteral("grados")), &locutor.grados());
        QCOMPARE(locutor.FindClip(QStringLiteral("treinta1"))->Name(), QStringLiteral("treinta1"));
        QVERIFY(locutor.FindClip(QStringLiteral("treinta5")) == nullptr);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, locutor.Clip(QStringLiteral("cuarenta")));

        // Playing one clip alone goes through the whole call of the program: 0x16.
        locutor.ymedio().Play();
        QCOMPARE(sound.Calls.size(), 1u);
        QCOMPARE(sound.Calls[0].Flags, 0x16u);
        QCOMPARE(sound.Calls[0].Size, static_cast<std::size_t>(locutor.ymedio().DataSize()));
    }

    void decirTemperatura_data() {
        QTest::addColumn<int>("lectura");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("24") << 24 << QStringList{"doce", "grados"};
        QTest::newRow("25") << 25 << QStringList{"doce", "grados", "ymedio"};
        QTest::newRow("46") << 46 << QStringList{"veintitres", "grados"};
        QTest::newRow("47") << 47 << QStringList{"veintitres", "grados", "ymedio"};
        QTest::newRow("42") << 42 << QStringList{"veintiun", "grados"};
        QTest::newRow("63") << 63 << QStringList{"treinta1", "grados", "ymedio"};
        QTest::newRow("64") << 64 << QStringList{"treinta2", "grados"};
        QTest::newRow("67") << 67 << QStringList{"treinta3", "grados", "ymedio"};
        QTest::newRow("23") << 23 << QStringList{};
        QTest::newRow("68") << 68 << QStringList{};
        QTest::newRow("255") << 255 << QStringList{};
    }
    void decirTemperatura() {
        QFETCH(int, lectura);
        QFETCH(QStringList, heard);
        RecordingSoundCall sound;
        Locutor locutor(sound);
        locutor.DecirTemperatura(static_cast<std::uint8_t>(lectura));
        QCOMPARE(Heard(locutor, sound), heard);
        QCOMPARE(locutor.LecturaAnunciada, lectura);
        for (const auto& clip : locutor.Clips()) {
            QVERIFY(!clip->Playing());
        }
    }

    void gate_data() {
        QTest::addColumn<int>("canal");
        QTest::addColumn<QList<Oferta>>("ofertas");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<int>("remembered");
        const QStringList v47{"veintitres", "grados", "ymedio"};
        QTest::newRow("first reading in range") << 1 << QList<Oferta>{{47, 1, true}} << v47 << 47;
        QTest::newRow("channel 2, every minute") << 2 << QList<Oferta>{{47, 2, true}} << v47 << 47;
        QTest::newRow("steady reading spoken once")
            << 1 << QList<Oferta>{{46, 1, true}, {46, 1, true}, {46, 2, true}}
            << QStringList{"veintitres", "grados"} << 46;
        QTest::newRow("23 remembered but silent, then 24 spoken")
            << 1 << QList<Oferta>{{23, 1, true}, {24, 1, true}} << QStringList{"doce", "grados"}
            << 24;
        QTest::newRow("64 remembered but silent")
            << 2 << QList<Oferta>{{64, 1, true}} << QStringList{} << 64;
        QTest::newRow("0 at start is no change")
            << 1 << QList<Oferta>{{0, 1, true}} << QStringList{} << 0;
        QTest::newRow("every tenth: silent, not remembered")
            << 1 << QList<Oferta>{{47, 0, true}} << QStringList{} << 0;
        QTest::newRow("no rate item: silent, not remembered")
            << 1 << QList<Oferta>{{47, -1, true}} << QStringList{} << 0;
        QTest::newRow("every tenth, then every second speaks")
            << 1 << QList<Oferta>{{47, 0, true}, {47, 1, true}} << v47 << 47;
        QTest::newRow("box off keeps the remembered byte")
            << 1 << QList<Oferta>{{30, 1, true}, {40, 1, false}, {30, 1, true}}
            << QStringList{"quince", "grados"} << 30;
        QTest::newRow("box off, then a new reading speaks")
            << 2 << QList<Oferta>{{30, 1, true}, {40, 1, false}, {41, 1, true}}
            << QStringList{"quince", "grados", "veinte", "grados", "ymedio"} << 41;
        QTest::newRow("63 then out of range and back")
            << 1 << QList<Oferta>{{63, 1, true}, {64, 1, true}, {63, 1, true}}
            << QStringList{"treinta1", "grados", "ymedio", "treinta1", "grados", "ymedio"} << 63;
    }
    void gate() {
        QFETCH(int, canal);
        QFETCH(QList<Oferta>, ofertas);
        QFETCH(QStringList, heard);
        QFETCH(int, remembered);
        RecordingSoundCall sound;
        Locutor locutor(sound);
        for (const Oferta& o : ofertas) {
            locutor.ComprobarAnuncio(static_cast<std::uint8_t>(o.Lectura), canal, o.Muestreo,
                                     o.Sonido);
        }
        QCOMPARE(Heard(locutor, sound), heard);
        QCOMPARE(canal == 1 ? locutor.UltimaAnunciada1 : locutor.UltimaAnunciada2, remembered);
        QCOMPARE(canal == 1 ? locutor.UltimaAnunciada2 : locutor.UltimaAnunciada1, 0);
    }

    void bothChannelsInOneTickSpeakInTurn_data() {
        QTest::addColumn<int>("primero");
        QTest::addColumn<int>("segundo");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("half, then whole")
            << 47 << 50 << QStringList{"veintitres", "grados", "ymedio", "veinticinco", "grados"};
        QTest::newRow("whole, then half")
            << 50 << 47 << QStringList{"veinticinco", "grados", "veintitres", "grados", "ymedio"};
    }
    void bothChannelsInOneTickSpeakInTurn() {
        QFETCH(int, primero);
        QFETCH(int, segundo);
        QFETCH(QStringList, heard);
        RecordingSoundCall sound;
        Locutor locutor(sound);
        QList<int> lecturaWhileHeard;
        auto listening = sound.Listen([&](const RecordingSoundCall::Call&) {
            lecturaWhileHeard << locutor.LecturaAnunciada;
        });
        locutor.ComprobarAnuncio(static_cast<std::uint8_t>(primero), 1, 1, true);
        locutor.ComprobarAnuncio(static_cast<std::uint8_t>(segundo), 2, 1, true);
        QCOMPARE(Heard(locutor, sound), heard);
        const int firstChain = (primero % 2 != 0) ? 3 : 2;
        QCOMPARE(lecturaWhileHeard.size(), heard.size());
        for (int i = 0; i < lecturaWhileHeard.size(); ++i) {
            QCOMPARE(lecturaWhileHeard[i], i < firstChain ? primero : segundo);
        }
        QCOMPARE(locutor.UltimaAnunciada1, primero);
        QCOMPARE(locutor.UltimaAnunciada2, segundo);
    }

    void gateRemembersOnlyAfterTheChain() {
        RecordingSoundCall sound;
        Locutor locutor(sound);
        QList<int> rememberedWhileHeard;
        auto listening = sound.Listen([&](const RecordingSoundCall::Call&) {
            rememberedWhileHeard << locutor.UltimaAnunciada1;
        });
        locutor.ComprobarAnuncio(25, 1, 1, true);
        QCOMPARE(rememberedWhileHeard, (QList<int>{0, 0, 0}));
        QCOMPARE(locutor.UltimaAnunciada1, 25);
    }

    void ownerMayBindTheChainToItsHandlers() {
        RecordingSoundCall sound;
        Locutor locutor(sound);
        QStringList handled;
        locutor.BindPlayAfter(
            [&](TWavClip* sender) {
                handled << QStringLiteral("numero:") + sender->Name();
                locutor.diecisietePlayAfter(sender);
            },
            [&](TWavClip* sender) {
                handled << QStringLiteral("grados:") + sender->Name();
                locutor.gradosPlayAfter(sender);
            });
        locutor.DecirTemperatura(35);
        QCOMPARE(handled, (QStringList{"numero:diecisiete", "grados:grados"}));
        QCOMPARE(Heard(locutor, sound), (QStringList{"diecisiete", "grados", "ymedio"}));
    }

    void unknownChannelIsRefused() {
        RecordingSoundCall sound;
        Locutor locutor(sound);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, locutor.ComprobarAnuncio(40, 3, 1, true));
        QVERIFY(sound.Calls.empty());
    }
};

QTEST_GUILESS_MAIN(TstLocutor)
#include "tst_locutor.moc"
