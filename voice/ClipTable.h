#pragma once

#include <QString>

#include <array>

/// One recorded word: the clip's name and how long its sound lasts.
struct ClipRow {
    const char* Name;
    double Seconds;
};

/// The 27 clips in the order the window holds them: the numbers 10 to 34, then the word
/// for degrees and the words for "and a half".
inline constexpr std::array<ClipRow, 27> TablaClips{{
    {"diez", 0.20},       {"once", 0.34},        {"doce", 0.31},         {"trece", 0.38},
    {"catorce", 0.57},    {"quince", 0.36},      {"dieciseis", 0.58},    {"diecisiete", 0.69},
    {"dieciocho", 0.57},  {"diecinueve", 0.63},  {"veinte", 0.39},       {"veintiun", 0.48},
    {"veintidos", 0.54},  {"veintitres", 0.60},  {"veinticuatro", 0.78}, {"veinticinco", 0.71},
    {"veintiseis", 0.60}, {"veintisiete", 0.74}, {"veintiocho", 0.62},   {"veintinueve", 0.73},
    {"treinta", 0.43},    {"treinta1", 0.70},    {"treinta2", 0.72},     {"treinta3", 0.73},
    {"treinta4", 0.96},   {"grados", 0.44},      {"ymedio", 0.51},
}};

/// The first 25 rows say numbers; the number of row i is 10 + i.
inline constexpr int NumeroClips = 25;
inline constexpr int PrimerNumero = 10;

/// Where a clip's recording lives among the program's resources.
inline QString RecursoClip(const char* name) {
    return QStringLiteral(":/voice/clips/%1.wav").arg(QLatin1String(name));
}
