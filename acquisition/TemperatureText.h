#pragma once

#include <QString>
#include <cstdint>

/// The degree sign the program has always shown: U+00BA, not U+00B0.
inline constexpr QChar kGrado = QChar(0x00BA);

/// A reading in half degrees as the shortest general number with the decimal separator of
/// the default locale (the user's, unless a test sets another): 47 gives "23,5" where the
/// separator is a comma, 46 gives "23". Never any group separator.
QString TextoTemperatura(std::int32_t lectura);

/// The same for a temperature already in degrees.
QString TextoGrados(double grados);
