#include "TemperatureChart.h"
#include "Colors.h"

namespace {
// A table may hold any 32-bit value; one far out of range must not overflow the row.
std::int32_t Fila(int height, std::int32_t lectura) {
    const std::int64_t row = std::int64_t{height} - lectura;
    return row < 0 || row > height ? -1 : static_cast<std::int32_t>(row);
}
} // namespace

void TemperatureChart::PintarMuestra(std::int32_t column, std::int32_t row,
                                     std::uint32_t colourBgr) {
    if (picture_.valid(column, row)) {
        picture_.setPixel(column, row, RgbFromBgr(colourBgr));
    }
}

// Horizontal and vertical lines only, each ending one pixel short of its end point.
void TemperatureChart::Line(int x0, int y0, int x1, int y1, QRgb colour) {
    if (y0 == y1) {
        for (int x = std::max(x0, 0); x < std::min(x1, picture_.width()); ++x) {
            if (picture_.valid(x, y0)) {
                picture_.setPixel(x, y0, colour);
            }
        }
    } else {
        for (int y = std::max(y0, 0); y < std::min(y1, picture_.height()); ++y) {
            if (picture_.valid(x0, y)) {
                picture_.setPixel(x0, y, colour);
            }
        }
    }
}

void TemperatureChart::DibujarRejilla() {
    const int w = picture_.width();
    const int h = picture_.height();
    PasoRejilla = h / 10;
    CuentaVerticales = w / 10;
    picture_.fill(RgbFromBgr(clTeal));
    // The rectangle's outline, in whatever colour the pen still has.
    Line(0, 0, w, 0, pen_);
    Line(0, h - 1, w, h - 1, pen_);
    Line(0, 0, 0, h, pen_);
    Line(w - 1, 0, w - 1, h, pen_);
    pen_ = RgbFromBgr(clGrid);
    Line(0, h / 2, w, h / 2, pen_);
    Line(w / 2, 0, w / 2, h, pen_);
    for (int k = 1; k <= h / 10; ++k) {
        Line(0, k * PasoRejilla, w, k * PasoRejilla, pen_);
    }
    // Vertical lines use the vertical pitch too, so the cells are square.
    for (int k = 1; k <= CuentaVerticales; ++k) {
        Line(k * PasoRejilla, 0, k * PasoRejilla, h, pen_);
    }
}

void TemperatureChart::DibujarSerie(SampleStore& store, std::int32_t desplazamiento) {
    const int h = picture_.height();
    const std::int32_t last = std::min(store.Contador, LimiteMuestras);
    for (std::int32_t i = std::max(desplazamiento, 0); i <= last; ++i) {
        store.Lectura = store.Sensor1[static_cast<std::size_t>(i)];
        PintarMuestra(i - desplazamiento, Fila(h, store.Lectura), clYellow);
        store.Lectura = store.Sensor2[static_cast<std::size_t>(i)];
        PintarMuestra(i - desplazamiento, Fila(h, store.Lectura), clLime);
    }
}
