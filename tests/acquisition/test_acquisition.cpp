#include "AdcLink.h"
#include "RecordingPort.h"
#include "SampleStore.h"
#include "SimulatedPort.h"
#include "TemperatureText.h"

#include <QLocale>
#include <QTest>
#include <array>
#include <map>

class AcquisitionTest : public QObject {
    Q_OBJECT
private slots:
    void cycleTrafficIsExact();
    void bitsArriveMostSignificantFirst();
    void onlyTheOwnStatusBitCounts_data();
    void onlyTheOwnStatusBitCounts();
    void simulatedConvertersAnswerThroughTheCycle();
    void simulatedTemperatureDriftsSlowly();
    void storeKeepsMaximumAndMinimum();
    void counterStopsAtTheLastSlot();
    void temperatureText_data();
    void temperatureText();
};

// One cycle: 21 data writes (1,0,2,0, eight times 2,0, then 1) and 8 status reads, each
// right after a falling clock edge, every access wrapped in control read + write-back.
void AcquisitionTest::cycleTrafficIsExact() {
    RecordingPort port;
    port.control = 0x0C;
    AdcLink link(port);
    link.LeerSensor1();

    std::vector<int> primitives; // data value written, or -1 for a status read
    for (int v : {1, 0, 2, 0}) {
        primitives.push_back(v);
    }
    for (int i = 0; i < 8; ++i) {
        primitives.insert(primitives.end(), {2, 0, -1});
    }
    primitives.push_back(1);

    QCOMPARE(port.log.size(), std::size_t{87});
    std::size_t at = 0;
    for (int p : primitives) {
        const auto& before = port.log[at++];
        QVERIFY(!before.write);
        QCOMPARE(before.address, PuertoControl);
        const auto& access = port.log[at++];
        if (p < 0) {
            QCOMPARE(access, (RecordingPort::Access{false, PuertoEstado, 0}));
        } else {
            QCOMPARE(access, (RecordingPort::Access{true, PuertoDatos, std::uint8_t(p)}));
        }
        const auto& after = port.log[at++];
        QCOMPARE(after, (RecordingPort::Access{true, PuertoControl, before.value}));
        QCOMPARE(after.value, std::uint8_t{0x0C});
    }
    QCOMPARE(port.data, std::uint8_t{1}); // select high, clock low between cycles
}

void AcquisitionTest::bitsArriveMostSignificantFirst() {
    RecordingPort port;
    const int bits[] = {1, 0, 1, 1, 1, 0, 0, 0};
    port.status = [&](int n) { return std::uint8_t(bits[n] ? 0x10 : 0x00); };
    AdcLink link(port);
    QCOMPARE(link.LeerSensor1(), std::uint8_t{0xB8});
}

void AcquisitionTest::onlyTheOwnStatusBitCounts_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("sensor1");
    QTest::addColumn<int>("sensor2");
    QTest::newRow("only bit 4") << 0x10 << 255 << 0;
    QTest::newRow("only bit 5") << 0x20 << 0 << 255;
    QTest::newRow("all but 4 and 5") << 0xCF << 0 << 0;
    QTest::newRow("everything") << 0xFF << 255 << 255;
}

void AcquisitionTest::onlyTheOwnStatusBitCounts() {
    QFETCH(int, status);
    QFETCH(int, sensor1);
    QFETCH(int, sensor2);
    RecordingPort port;
    port.status = [&](int) { return std::uint8_t(status); };
    AdcLink link(port);
    QCOMPARE(int(link.LeerSensor1()), sensor1);
    QCOMPARE(int(link.LeerSensor2()), sensor2);
}

void AcquisitionTest::simulatedConvertersAnswerThroughTheCycle() {
    double now = 0;
    SimulatedPort port(42, [&] { return now; });
    AdcLink link(port);
    bool channelsDiffer = false;
    for (now = 0; now < 600; now += 7.5) {
        const std::uint8_t one = link.LeerSensor1();
        const std::uint8_t two = link.LeerSensor2();
        QCOMPARE(one, port.ReadingAt(0, now));
        QCOMPARE(two, port.ReadingAt(1, now));
        channelsDiffer = channelsDiffer || one != two;
    }
    QVERIFY(channelsDiffer);
    // The same seed and clock give the same readings.
    SimulatedPort again(42, [&] { return now; });
    QCOMPARE(AdcLink(again).LeerSensor1(), port.ReadingAt(0, now));
}

// Two sensors in one room, read every second for an hour: each moves half a degree at a time
// over 1 to 3 degrees, without dwelling at its extremes as a clamped value would; the second
// stays 2 to 5 degrees above the first.
void AcquisitionTest::simulatedTemperatureDriftsSlowly() {
    for (const std::uint32_t seed : {1u, 3u, 42u, 2026u, 4000000000u}) {
        double now = 0;
        SimulatedPort port(seed, [&] { return now; });
        AdcLink link(port);
        std::array<std::map<int, int>, 2> seconds; // per channel: reading -> seconds held
        std::array<int, 2> previous = {link.LeerSensor1(), link.LeerSensor2()};
        for (now = 1; now < 3600; now += 1) {
            const std::array<int, 2> reading = {link.LeerSensor1(), link.LeerSensor2()};
            const int apart = reading[1] - reading[0];
            QVERIFY2(apart >= 4 && apart <= 10, "apart");
            for (int c = 0; c < 2; ++c) {
                QVERIFY2(std::abs(reading[c] - previous[c]) <= 1, "jumped");
                ++seconds[c][reading[c]];
            }
            previous = reading;
        }
        for (const auto& held : seconds) {
            const auto [lowest, atLowest] = *held.begin();
            const auto [highest, atHighest] = *held.rbegin();
            QVERIFY2(highest - lowest >= 2 && highest - lowest <= 6, "range");
            QVERIFY2(atLowest <= held.at(lowest + 1), "held at its lowest");
            QVERIFY2(atHighest <= held.at(highest - 1), "held at its highest");
        }
    }
}

void AcquisitionTest::storeKeepsMaximumAndMinimum() {
    SampleStore store;
    // First tick on an empty store: slot 1 is written before the comparison, so the
    // reading is its own minimum; the maximum rises above the old 0.
    QVERIFY(AvanzarContador(store));
    QCOMPARE(store.Contador, 1);
    GuardarLectura(store.Sensor1, store.Contador, 47);
    QCOMPARE(store.Sensor1[0], 47);
    QCOMPARE(store.Sensor1[1], 47);

    store.Sensor1[1] = 30;
    store.Contador = 6;
    GuardarLectura(store.Sensor1, 6, 47); // equal to the maximum: nothing changes
    GuardarLectura(store.Sensor1, 7, 30); // equal to the minimum: nothing changes
    QCOMPARE(store.Sensor1[0], 47);
    QCOMPARE(store.Sensor1[1], 30);
    GuardarLectura(store.Sensor1, 8, 29);
    GuardarLectura(store.Sensor1, 9, 48);
    QCOMPARE(store.Sensor1[0], 48);
    QCOMPARE(store.Sensor1[1], 29);
    QCOMPARE(store.Sensor1[8], 29);
    QCOMPARE(store.Sensor2[9], 0); // the other channel untouched
}

void AcquisitionTest::counterStopsAtTheLastSlot() {
    SampleStore store;
    store.Contador = 4999;
    QVERIFY(AvanzarContador(store));
    QCOMPARE(store.Contador, 5000);
    QVERIFY(!AvanzarContador(store));
    QCOMPARE(store.Contador, 5000);
    QVERIFY(!AvanzarContador(store));
    QCOMPARE(store.Contador, LimiteMuestras);
}

void AcquisitionTest::temperatureText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("reading");
    QTest::addColumn<QString>("text");
    QTest::newRow("comma half") << "es_ES" << 47 << "23,5";
    QTest::newRow("comma whole") << "es_ES" << 46 << "23";
    QTest::newRow("comma top") << "es_ES" << 255 << "127,5";
    QTest::newRow("comma zero") << "es_ES" << 0 << "0";
    QTest::newRow("comma wide, no grouping") << "es_ES" << 123457 << "61728,5";
    QTest::newRow("point half") << "en_US" << 47 << "23.5";
    QTest::newRow("negative") << "en_US" << -3 << "-1.5";
}

void AcquisitionTest::temperatureText() {
    QFETCH(QString, locale);
    QFETCH(int, reading);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(TextoTemperatura(reading), text);
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(AcquisitionTest)
#include "test_acquisition.moc"
