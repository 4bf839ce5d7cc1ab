#include "RiffWave.h"
#include "WaveBuilder.h"

#include <QTest>

class TstRiffWave : public QObject {
    Q_OBJECT

    using W = WaveBuilder;

private slots:
    void accepted_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QByteArray>("samples");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("channels");
        const QByteArray even = W::Samples(200);
        const QByteArray odd = W::Samples(201);
        const QByteArray acpr = W::Chunk("acpr", QByteArray(4, 'z'));
        QTest::newRow("plain") << W::Riff(W::Fmt() + W::Chunk("data", even)) << even << 8 << 1;
        // As the recorder wrote them: odd data, no pad byte, a chunk after, RIFF 4 short.
        QTest::newRow("recorded quirks")
            << W::Riff(W::Fmt() + W::Chunk("data", odd) + acpr, -4) << odd << 8 << 1;
        QTest::newRow("odd data with its pad byte, then a chunk")
            << W::Riff(W::Fmt() + W::Chunk("data", odd, true) + acpr) << odd << 8 << 1;
        QTest::newRow("odd data last, no pad")
            << W::Riff(W::Fmt() + W::Chunk("data", odd)) << odd << 8 << 1;
        QTest::newRow("RIFF length far too long")
            << W::Riff(W::Fmt() + W::Chunk("data", even), 100000) << even << 8 << 1;
        QTest::newRow("RIFF length 0")
            << W::Riff(W::Fmt() + W::Chunk("data", even), -1 * 216) << even << 8 << 1;
        QTest::newRow("extra chunk after the data")
            << W::Riff(W::Fmt() + W::Chunk("data", even) + W::Chunk("LIST", W::Samples(30))) << even
            << 8 << 1;
        QTest::newRow("odd chunk before fmt, no pad")
            << W::Riff(W::Chunk("junk", W::Samples(3)) + W::Fmt() + W::Chunk("data", even)) << even
            << 8 << 1;
        QTest::newRow("data before fmt")
            << W::Riff(W::Chunk("data", even) + W::Fmt()) << even << 8 << 1;
        QTest::newRow("longer fmt (18 bytes)")
            << W::Riff(W::Chunk("fmt ", W::Fmt().mid(8) + W::Le16(0)) + W::Chunk("data", even))
            << even << 8 << 1;
        QTest::newRow("zero-length data")
            << W::Riff(W::Fmt() + W::Chunk("data", QByteArray())) << QByteArray() << 8 << 1;
        QTest::newRow("16-bit stereo, partial frame dropped")
            << W::Riff(W::Fmt(1, 2, 44100, 16) + W::Chunk("data", W::Samples(203)))
            << W::Samples(200) << 16 << 2;
    }
    void accepted() {
        QFETCH(QByteArray, image);
        QFETCH(QByteArray, samples);
        QFETCH(int, bits);
        QFETCH(int, channels);
        const auto wave = ParseRiffWave(W::View(image));
        QVERIFY(wave.has_value());
        QCOMPARE(wave->Format.BitsPerSample, bits);
        QCOMPARE(wave->Format.Channels, channels);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(wave->Samples.data()),
                            static_cast<qsizetype>(wave->Samples.size())),
                 samples);
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("image");
        const QByteArray data = W::Chunk("data", W::Samples(100));
        const QByteArray good = W::Riff(W::Fmt() + data);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("only the RIFF header") << good.left(12);
        QTest::newRow("cut inside fmt") << good.left(30);
        QTest::newRow("cut inside the samples") << good.left(good.size() - 1);
        QTest::newRow("data length beyond the end")
            << W::Riff(W::Fmt() + W::Chunk("data", 5000, W::Samples(100)));
        QTest::newRow("data length 0xFFFFFFFF")
            << W::Riff(W::Fmt() + W::Chunk("data", 0xFFFFFFFFu, W::Samples(100)));
        QTest::newRow("no fmt") << W::Riff(data);
        QTest::newRow("no data") << W::Riff(W::Fmt());
        QTest::newRow("fmt too short") << W::Riff(W::Chunk("fmt ", W::Fmt().mid(8, 14)) + data);
        QTest::newRow("compressed format") << W::Riff(W::Fmt(2) + data);
        QTest::newRow("12-bit samples") << W::Riff(W::Fmt(1, 1, 22050, 12) + data);
        QTest::newRow("no channels") << W::Riff(W::Fmt(1, 0) + data);
        QTest::newRow("rate 0") << W::Riff(W::Fmt(1, 1, 0) + data);
        QByteArray badAlign = W::Fmt();
        badAlign[8 + 12] = 2; // block align 2 for 8-bit mono
        QTest::newRow("block align disagrees") << W::Riff(badAlign + data);
        QTest::newRow("not RIFF") << QByteArray("RIFX") + good.mid(4);
        QTest::newRow("not WAVE") << good.left(8) + "AVI " + good.mid(12);
    }
    void refused() {
        QFETCH(QByteArray, image);
        QVERIFY(!ParseRiffWave(W::View(image)).has_value());
    }

    // Every cut of a recorded image either fails or yields samples inside the cut.
    void everyTruncationStaysInBounds() {
        const QByteArray image =
            W::Riff(W::Chunk("junk", W::Samples(5)) + W::Fmt() + W::Chunk("data", W::Samples(301)) +
                        W::Chunk("acpr", QByteArray(4, 'z')),
                    -4);
        int parsed = 0;
        for (int cut = 0; cut <= image.size(); ++cut) {
            const QByteArray prefix = image.left(cut);
            const auto wave = ParseRiffWave(W::View(prefix));
            if (wave) {
                ++parsed;
                const auto* begin = reinterpret_cast<const std::byte*>(prefix.constData());
                QVERIFY(wave->Samples.data() >= begin);
                QVERIFY(wave->Samples.data() + wave->Samples.size() <= begin + prefix.size());
                QCOMPARE(wave->Samples.size(), 301u);
            }
        }
        // Only the cuts that keep all the samples play: the ones losing the trailing chunk.
        QCOMPARE(parsed, 1 + 12);
    }
};

QTEST_GUILESS_MAIN(TstRiffWave)
#include "tst_riffwave.moc"
