#pragma once

#include <QDate>
#include <QString>
#include <QTime>

/// Time of day in the locale's long time format, without the time zone (14:05:09).
QString TextoHora(const QTime& time);
/// Date in the locale's short date format.
QString TextoFecha(const QDate& date);
