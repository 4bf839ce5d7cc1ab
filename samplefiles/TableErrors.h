#pragma once

#include "RuntimeErrors.h"

#include <QString>

#include <stdexcept>

/// The system's code for a file whose contents cannot be made sense of.
inline constexpr int CodigoTablaDanada = 1392;

/// A table whose header or field descriptors cannot describe its records. It is refused
/// when opened, so nothing is read or written through a layout that does not fit.
class EDamagedTable : public EInOutError {
public:
    EDamagedTable(const QString& fileName, const QString& reason);
};

/// A value that does not fit its field. Refused rather than cut, so no reading is silently
/// changed and nothing lands outside the record.
class EFieldTooLong : public std::runtime_error {
public:
    EFieldTooLong(const QString& value, const QString& fieldName, int fieldLength);
};

/// A table the program will not write into: it did not load, or another program changed it
/// since. The message says which, and what to do instead.
class ETableNotWritable : public std::runtime_error {
public:
    explicit ETableNotWritable(const QString& message);
};
