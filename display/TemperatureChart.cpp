#include "TemperatureChart.h"
#include "Colors.h"

#include <algorithm>
#include <cstring>

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

TemperatureChart::Lienzo TemperatureChart::Preparar() {
    // Every pixel is written straight into 32-bit rows; a picture made some other way is
    // brought to that form first, with the same pixels.
    if (picture_.format() != QImage::Format_RGB32) {
        picture_.convertTo(QImage::Format_RGB32);
    }
    return Lienzo{picture_.bits(), picture_.bytesPerLine()}; // detaches once, not per pixel
}

// The same pixels as drawing the outline rectangle, then the centre lines, then the grid
// lines, each line ending one pixel short of its end point: a grid row or column is wholly
// the grid's colour, the outline shows where no grid line crosses it, the rest is teal.
// Lines outside the picture are left out before anything is drawn, and each row is written
// once: the rows between grid lines are all alike, so one is drawn and copied.
void TemperatureChart::DibujarRejilla() {
    const int w = picture_.width();
    const int h = picture_.height();
    PasoRejilla = h / 10;
    CuentaVerticales = w / 10;
    const QRgb contorno = pen_;
    pen_ = RgbFromBgr(clGrid);
    if (w <= 0 || h <= 0) {
        return;
    }
    const Lienzo lienzo = Preparar();
    const QRgb rejilla = pen_;
    const auto esLineaHorizontal = [&](int y) {
        return y == h / 2 ||
               (PasoRejilla > 0 && y > 0 && y % PasoRejilla == 0 && y / PasoRejilla <= h / 10);
    };
    const auto lineasVerticales = [&](QRgb* fila) {
        fila[w / 2] = rejilla;
        // Vertical lines use the vertical pitch too, so the cells are square; a zero pitch
        // puts every one of them on column 0.
        for (int k = 1; k <= CuentaVerticales && k * PasoRejilla < w; ++k) {
            fila[k * PasoRejilla] = rejilla;
            if (PasoRejilla == 0) {
                break;
            }
        }
    };
    const std::size_t bytesFila = static_cast<std::size_t>(w) * sizeof(QRgb);
    const QRgb* filaLinea = nullptr;
    const QRgb* filaCelda = nullptr;
    for (int y = 0; y < h; ++y) {
        QRgb* fila = lienzo.Fila(y);
        if (esLineaHorizontal(y)) {
            if (filaLinea) {
                std::memcpy(fila, filaLinea, bytesFila);
            } else {
                std::fill_n(fila, w, rejilla);
                filaLinea = fila;
            }
        } else if (y == 0 || y == h - 1) {
            std::fill_n(fila, w, contorno);
            lineasVerticales(fila);
        } else if (filaCelda) {
            std::memcpy(fila, filaCelda, bytesFila);
        } else {
            std::fill_n(fila, w, RgbFromBgr(clTeal));
            fila[0] = contorno;
            fila[w - 1] = contorno;
            lineasVerticales(fila);
            filaCelda = fila;
        }
    }
}

void TemperatureChart::DibujarSerie(SampleStore& store, std::int32_t desplazamiento) {
    const int w = picture_.width();
    const int h = picture_.height();
    const std::int32_t last = std::min(store.Contador, LimiteMuestras);
    const Lienzo lienzo = w > 0 && h > 0 ? Preparar() : Lienzo{};
    const QRgb amarillo = RgbFromBgr(clYellow);
    const QRgb lima = RgbFromBgr(clLime);
    // A dot outside the picture leaves no mark; Fila gives -1 for any reading not seen.
    const auto punto = [&](std::int32_t column, std::int32_t row, QRgb colour) {
        if (row >= 0 && row < h && column >= 0 && column < w) {
            lienzo.Fila(row)[column] = colour;
        }
    };
    for (std::int32_t i = std::max(desplazamiento, 0); i <= last; ++i) {
        store.Lectura = store.Sensor1[static_cast<std::size_t>(i)];
        punto(i - desplazamiento, Fila(h, store.Lectura), amarillo);
        store.Lectura = store.Sensor2[static_cast<std::size_t>(i)];
        punto(i - desplazamiento, Fila(h, store.Lectura), lima);
    }
}
