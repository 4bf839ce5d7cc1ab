#include "ClipboardText.h"
#include "TemperatureText.h"

#include <algorithm>

QString TextoPortapapeles(const Serie& serie, std::int32_t contador) {
    QString text;
    const std::int32_t last = std::min(contador, LimiteMuestras);
    for (std::int32_t k = 2; k <= last; ++k) {
        // Readings fit in five characters; only wider values loaded from a table are cut.
        text += TextoTemperatura(serie[static_cast<std::size_t>(k)]).left(5);
        text += QStringLiteral("\r\n");
    }
    return text;
}
