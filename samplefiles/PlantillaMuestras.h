#pragma once

#include <QString>

#include <array>
#include <cstdint>

/// The content of every new or cleared sample table: the header, the fields VALOR (N 3),
/// VALOR2 (N 3) and UNIDAD (C 1), five records and the end-of-file byte. Its numbers stand
/// right-aligned and record 4 carries the flag byte '0', as the tables in use always had.
extern const std::array<std::uint8_t, 170> PlantillaMuestras;

/// Creates `name`, or rewrites it (the file it resolves to, whatever its letter case), so that
/// it holds exactly the 170 bytes of the template. A file another copy of the program holds
/// open, or anything but a regular file, is refused with "File access denied" instead. A new
/// file appears whole or not at all; a rewritten one, stopped half way, still loads as the
/// template.
void EscribirPlantilla(const QString& name);
