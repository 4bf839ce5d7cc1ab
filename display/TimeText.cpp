#include "TimeText.h"

#include <QLocale>
#include <QRegularExpression>

QString TextoHora(const QTime& time) {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    // Drop the zone and the blank or bracket around it; the clock shows local time only.
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?"));
    format.remove(zone);
    return QLocale().toString(time, format.trimmed());
}

QString TextoFecha(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}
