#include "ClipboardText.h"
#include "MeanTemperature.h"

#include <QLocale>
#include <QTest>

class StatsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
    void mean_data();
    void mean();
    void meanOverTheWholeStoreIsExact();
    void clipboardText_data();
    void clipboardText();
};

void StatsTest::mean_data() {
    QTest::addColumn<QList<int>>("series"); // from slot 6 on
    QTest::addColumn<int>("contador");
    QTest::addColumn<QString>("caption");
    QTest::newRow("23.5 rounds up to even 24") << QList<int>{46, 47, 47, 48} << 9 << "24º ";
    QTest::newRow("22.5 rounds down to even 22") << QList<int>{45} << 6 << "22º ";
    QTest::newRow("nothing to average at 5") << QList<int>{90} << 5 << "0º ";
    QTest::newRow("nothing at 0") << QList<int>{} << 0 << "0º ";
    QTest::newRow("below a half rounds down") << QList<int>{40, 41, 41} << 8 << "20º ";
    QTest::newRow("above a half rounds up") << QList<int>{41, 41, 41, 42} << 9 << "21º ";
}

void StatsTest::mean() {
    QFETCH(QList<int>, series);
    QFETCH(int, contador);
    QFETCH(QString, caption);
    Serie serie{};
    serie[0] = 250; // maximum, minimum and the slots before 6 never count
    serie[1] = 1;
    serie[5] = 200;
    for (int i = 0; i < series.size(); ++i) {
        serie[6 + i] = series[i];
    }
    QCOMPARE(TextoMedia(CalcularMedia(serie, contador)), caption);
}

void StatsTest::meanOverTheWholeStoreIsExact() {
    Serie serie{};
    for (int k = 6; k <= LimiteMuestras; ++k) {
        serie[k] = (k % 2) ? 47 : 48; // 23.5 and 24 alternating
    }
    // 4995 slots: 2497 of 23.5 (odd k) and 2498 of 24.
    const double expected = (2497 * 23.5 + 2498 * 24.0) / 4995.0;
    QCOMPARE(CalcularMedia(serie, LimiteMuestras), expected);
    QCOMPARE(TextoMedia(CalcularMedia(serie, LimiteMuestras)), QString("24º "));
}

void StatsTest::clipboardText_data() {
    QTest::addColumn<QList<int>>("series"); // from slot 2 on
    QTest::addColumn<int>("contador");
    QTest::addColumn<QString>("text");
    QTest::newRow("two lines, comma") << QList<int>{40, 41} << 3 << "20\r\n20,5\r\n";
    QTest::newRow("wide value cut to five") << QList<int>{123457} << 2 << "61728\r\n";
    QTest::newRow("999 stays whole") << QList<int>{999} << 2 << "499,5\r\n";
    QTest::newRow("255") << QList<int>{255} << 2 << "127,5\r\n";
    QTest::newRow("nothing below slot 2") << QList<int>{40} << 1 << "";
    QTest::newRow("empty store") << QList<int>{} << 0 << "";
}

void StatsTest::clipboardText() {
    QFETCH(QList<int>, series);
    QFETCH(int, contador);
    QFETCH(QString, text);
    Serie serie{};
    serie[0] = 77;
    serie[1] = 11;
    for (int i = 0; i < series.size(); ++i) {
        serie[2 + i] = series[i];
    }
    QCOMPARE(TextoPortapapeles(serie, contador), text);
}

QTEST_GUILESS_MAIN(StatsTest)
#include "test_stats.moc"
