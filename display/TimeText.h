#pragma once

#include <QDate>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTime>

/// Time of day in the locale's long time format, without the time zone (14:05:09).
QString TextoHora(const QTime& time);
/// Date in the locale's short date format.
QString TextoFecha(const QDate& date);

/// Times that between them are as wide in `font` as any time of day in the locale's format:
/// every hour, with the widest minutes and seconds.
QStringList HorasMasAnchas(const QFont& font);
/// Dates of `year` that between them are as wide as any of its dates in the locale's format:
/// every month, each with days of two digits and, where the format names them, every weekday.
QStringList FechasMasAnchas(int year);
