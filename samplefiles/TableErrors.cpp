#include "TableErrors.h"

EDamagedTable::EDamagedTable(const QString& fileName, const QString& reason)
    : EInOutError(CodigoTablaDanada,
                  QStringLiteral("Damaged table %1: %2").arg(fileName, reason).toStdString()) {}

EFieldTooLong::EFieldTooLong(const QString& value, const QString& fieldName, int fieldLength)
    : std::runtime_error(QStringLiteral("Value '%1' does not fit field %2 (%3 characters)")
                             .arg(value, fieldName)
                             .arg(fieldLength)
                             .toStdString()) {}

ETableNotWritable::ETableNotWritable(const QString& message)
    : std::runtime_error(message.toStdString()) {}
