#include "MeanTemperature.h"
#include "TemperatureText.h"

#include <algorithm>
#include <cmath>

double CalcularMedia(const Serie& serie, std::int32_t contador) {
    const std::int32_t last = std::min(contador, LimiteMuestras);
    if (last < 6) {
        return 0.0;
    }
    // Every term is a multiple of 0.5 and there are at most 4995 of them: the sum is exact.
    double suma = 0.0;
    for (std::int32_t k = 6; k <= last; ++k) {
        suma += serie[static_cast<std::size_t>(k)] * 0.5;
    }
    return suma / (last - 5);
}

QString TextoMedia(double media) {
    // Round half to even, whatever rounding mode the process happens to be in.
    const double down = std::floor(media);
    const double diff = media - down;
    double rounded = down;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(down, 2.0) != 0.0)) {
        rounded = down + 1.0;
    }
    return QString::number(rounded, 'f', 0) + kGrado + ' ';
}
