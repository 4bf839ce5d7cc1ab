#include "Colors.h"
#include "TImage.h"
#include "TemperatureChart.h"

#include <QTest>
#include <limits>

class ChartTest : public QObject {
    Q_OBJECT
private slots:
    void gridLinesAndOutline();
    void outlineTakesThePensLastColour();
    void readingsMapToRows_data();
    void readingsMapToRows();
    void seriesStartsAtTheShownSlot();
    void equalReadingsShowLime();
    void pixelsOutsideAreIgnored();
    void controlRepaintsOnlyItself();

private:
    QImage picture{320, 200, QImage::Format_RGB32};
};

static QRgb Px(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000;
}

void ChartTest::gridLinesAndOutline() {
    TemperatureChart chart(picture);
    chart.DibujarRejilla();
    QCOMPARE(chart.PasoRejilla, 20);
    QCOMPARE(chart.CuentaVerticales, 32);
    const QRgb grid = RgbFromBgr(clGrid);
    const QRgb teal = RgbFromBgr(clTeal);
    QCOMPARE(grid, qRgb(0, 0, 0xA0));
    QCOMPARE(teal, qRgb(0, 0x80, 0x80));
    // Square cells of 20: rows 20..180 and columns 20..300, centre lines among them.
    for (int k = 1; k <= 9; ++k) {
        QCOMPARE(Px(picture, 7, k * 20), grid);
        QCOMPARE(Px(picture, 7, k * 20 + 1), teal);
    }
    for (int k = 1; k <= 15; ++k) {
        QCOMPARE(Px(picture, k * 20, 7), grid);
        QCOMPARE(Px(picture, k * 20 - 1, 7), teal);
    }
    QCOMPARE(Px(picture, 33, 100), grid);
    QCOMPARE(Px(picture, 160, 33), grid);
    // The first outline is the pen's initial black, on all four edges.
    const QRgb black = qRgb(0, 0, 0);
    QCOMPARE(Px(picture, 7, 0), black);
    QCOMPARE(Px(picture, 7, 199), black);
    QCOMPARE(Px(picture, 0, 7), black);
    QCOMPARE(Px(picture, 319, 7), black);
}

void ChartTest::outlineTakesThePensLastColour() {
    TemperatureChart chart(picture);
    chart.DibujarRejilla();
    chart.PintarMuestra(5, 5, clYellow);
    chart.DibujarRejilla();
    const QRgb grid = RgbFromBgr(clGrid);
    QCOMPARE(Px(picture, 7, 0), grid);
    QCOMPARE(Px(picture, 319, 7), grid);
    QCOMPARE(Px(picture, 5, 5), RgbFromBgr(clTeal)); // the redraw cleared the dot
}

void ChartTest::readingsMapToRows_data() {
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("row"); // -1: nowhere
    QTest::newRow("half a degree, bottom row") << 1 << 199;
    QTest::newRow("100 degrees, top row") << 200 << 0;
    QTest::newRow("23.5 degrees") << 47 << 153;
    QTest::newRow("zero, below the picture") << 0 << -1;
    QTest::newRow("above the top") << 201 << -1;
    QTest::newRow("255") << 255 << -1;
    QTest::newRow("far out of range") << std::numeric_limits<int>::min() << -1;
    QTest::newRow("far out of range high") << std::numeric_limits<int>::max() << -1;
}

void ChartTest::readingsMapToRows() {
    QFETCH(int, reading);
    QFETCH(int, row);
    TemperatureChart chart(picture);
    chart.DibujarRejilla();
    SampleStore store;
    store.Contador = 10;
    store.Sensor1[10] = reading;
    store.Sensor2[10] = 60; // lime dot elsewhere, on row 140
    store.Sensor1[0] = store.Sensor1[1] = store.Sensor2[0] = store.Sensor2[1] = 0;
    chart.DibujarSerie(store, 0);
    for (int y = 0; y < 200; ++y) {
        const bool expected = y == row;
        const bool yellow = Px(picture, 10, y) == RgbFromBgr(clYellow);
        QVERIFY2(yellow == expected, qPrintable(QString("row %1").arg(y)));
    }
    QCOMPARE(Px(picture, 10, 140), RgbFromBgr(clLime));
}

void ChartTest::seriesStartsAtTheShownSlot() {
    TemperatureChart chart(picture);
    chart.DibujarRejilla();
    SampleStore store;
    store.Contador = 400;
    for (int i = 0; i <= 400; ++i) {
        store.Sensor1[i] = 1 + (i % 150); // every slot at its own row
        store.Sensor2[i] = 0;             // never visible
    }
    chart.DibujarSerie(store, 40);
    // Column c shows slot 40 + c.
    for (int c : {0, 1, 150, 319}) {
        const int row = 200 - store.Sensor1[40 + c];
        QCOMPARE(Px(picture, c, row), RgbFromBgr(clYellow));
    }
    // At position 0 the maximum and minimum slots are drawn in columns 0 and 1.
    chart.DibujarRejilla();
    store.Sensor1[0] = 80;
    store.Sensor1[1] = 20;
    chart.DibujarSerie(store, 0);
    QCOMPARE(Px(picture, 0, 120), RgbFromBgr(clYellow));
    QCOMPARE(Px(picture, 1, 180), RgbFromBgr(clYellow));
}

void ChartTest::equalReadingsShowLime() {
    TemperatureChart chart(picture);
    chart.DibujarRejilla();
    SampleStore store;
    store.Contador = 3;
    store.Sensor1[3] = store.Sensor2[3] = 50;
    chart.DibujarSerie(store, 0);
    QCOMPARE(Px(picture, 3, 150), RgbFromBgr(clLime));
}

void ChartTest::pixelsOutsideAreIgnored() {
    TemperatureChart chart(picture);
    chart.DibujarRejilla();
    const QImage before = picture.copy();
    chart.PintarMuestra(320, 5, clYellow);
    chart.PintarMuestra(-1, 5, clYellow);
    chart.PintarMuestra(5, 200, clYellow);
    chart.PintarMuestra(5, -1, clYellow);
    QCOMPARE(picture, before);
    // A scroll past Contador draws no slot at all.
    SampleStore store;
    store.Contador = 10;
    store.Sensor1.fill(50);
    chart.DibujarSerie(store, 20);
    QCOMPARE(picture, before);
}

namespace {
struct ContadorPintadas final : QObject {
    int veces = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        veces += event->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

// The control paints all its pixels, the page's face where it has no picture: a one-pixel
// update leaves the page behind it alone.
void ChartTest::controlRepaintsOnlyItself() {
    QWidget page;
    auto* image = new TImage(&page);
    image->setGeometry(10, 10, 40, 30);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    image->Picture() = QImage(20, 30, QImage::Format_RGB32);
    image->Picture().fill(RgbFromBgr(clTeal));
    QCOMPARE(image->grab().toImage().pixelColor(20, 5), image->palette().color(QPalette::Window));

    ContadorPintadas pagina;
    ContadorPintadas grafica;
    page.installEventFilter(&pagina);
    image->installEventFilter(&grafica);
    image->update(5, 5, 1, 1);
    QTRY_VERIFY(grafica.veces > 0);
    QCOMPARE(pagina.veces, 0);
}

QTEST_MAIN(ChartTest)
#include "test_chart.moc"
