#pragma once

#include "Colors.h"
#include "SampleStore.h"

#include <QImage>
#include <cstdint>

/// The chart's drawing on its off-screen picture: one column per slot, one row per half
/// degree, dots only. Pixels and lines outside the picture are ignored, never an error.
class TemperatureChart {
public:
    explicit TemperatureChart(QImage& picture) : picture_(picture) {}

    /// Grid pitch (picture height div 10) and number of vertical lines (width div 10), as set
    /// by the last DibujarRejilla.
    std::int32_t PasoRejilla = 0;
    std::int32_t CuentaVerticales = 0;

    /// Clears the picture to teal with an outline in the pen's colour, then draws the grid.
    /// The pen keeps its colour between drawings: the first outline is black, later ones the
    /// grid's dark blue.
    void DibujarRejilla();
    void PintarMuestra(std::int32_t column, std::int32_t row, std::uint32_t colourBgr);
    /// Plots every slot from `desplazamiento` to Contador, sensor 1 then sensor 2 in each
    /// slot, using the store's Lectura as the value being plotted.
    void DibujarSerie(SampleStore& store, std::int32_t desplazamiento);

private:
    /// The picture's 32-bit rows, valid until the picture is next replaced or shared.
    struct Lienzo {
        uchar* bits = nullptr;
        qsizetype bytesPorLinea = 0;
        QRgb* Fila(int y) const { return reinterpret_cast<QRgb*>(bits + y * bytesPorLinea); }
    };
    Lienzo Preparar();
    QImage& picture_;
    QRgb pen_ = RgbFromBgr(clBlack);
};
