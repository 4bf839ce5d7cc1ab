#include "TemperatureText.h"

#include <QLocale>

QString TextoGrados(double grados) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(grados, 'g', QLocale::FloatingPointShortest);
}

QString TextoTemperatura(std::int32_t lectura) {
    return TextoGrados(lectura * 0.5);
}
