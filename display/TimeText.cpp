#include "TimeText.h"

#include <QFontMetrics>
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

QStringList HorasMasAnchas(const QFont& font) {
    // Digits need not be equally wide; the widest pair stands for both minutes and seconds.
    const QFontMetrics metrics(font);
    int minuto = 0;
    int ancho = -1;
    for (int m = 0; m < 60; ++m) {
        const int w =
            metrics.horizontalAdvance(QLocale().toString(QTime(0, m), QStringLiteral("mm")));
        if (w > ancho) {
            ancho = w;
            minuto = m;
        }
    }
    QStringList texts;
    for (int hora = 0; hora < 24; ++hora) {
        texts << TextoHora(QTime(hora, minuto, minuto));
    }
    return texts;
}

QStringList FechasMasAnchas(int year) {
    // The last days of each month have two digits; a week of them has every weekday's name,
    // for the formats that write it.
    const bool nombraDias =
        QLocale().dateFormat(QLocale::ShortFormat).contains(QStringLiteral("ddd"));
    const int ultimos = nombraDias ? 7 : 3;
    QStringList texts;
    for (int month = 1; month <= 12; ++month) {
        const int days = QDate(year, month, 1).daysInMonth();
        for (int day = days - ultimos + 1; day <= days; ++day) {
            texts << TextoFecha(QDate(year, month, day));
        }
    }
    return texts;
}
