#include "TemperatureText.h"

#include <QLocale>

namespace {
// The tick writes seven temperatures; the formatting locale is made once per thread and
// made again only when the default locale is no longer the one it was made from (a test
// or the user's settings changed it).
const QLocale& LocaleGrados() {
    struct Cache {
        bool hecho = false;
        QLocale origen;
        QLocale formato;
    };
    thread_local Cache cache;
    const QLocale actual; // a shared copy of the default, no allocation
    if (!cache.hecho || actual != cache.origen) {
        cache.origen = actual;
        cache.formato = actual;
        cache.formato.setNumberOptions(QLocale::OmitGroupSeparator);
        cache.hecho = true;
    }
    return cache.formato;
}
} // namespace

QString TextoGrados(double grados) {
    return LocaleGrados().toString(grados, 'g', QLocale::FloatingPointShortest);
}

QString TextoTemperatura(std::int32_t lectura) {
    return TextoGrados(lectura * 0.5);
}
