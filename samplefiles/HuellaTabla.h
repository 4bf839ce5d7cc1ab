#pragma once

#include "DBase3Plus.h"

#include <cstdint>
#include <optional>

/// How the program last left its table: which file, how long, when last changed. Only a
/// table the program loaded, or wrote itself since, has one.
struct HuellaTabla {
    TFileIdentity Fichero;
    std::int64_t Longitud = 0;
    std::int64_t ModificadoNs = 0;
    bool operator==(const HuellaTabla&) const = default;
};

/// The open table as it is now; empty when it is closed.
std::optional<HuellaTabla> HuellaDe(const TDBase3Plus& tabla);

/// Raises unless the program may write into its open table: as ComprobarMismoFichero first,
/// then ETableNotWritable when `dejada` is empty (the table did not load) or the table is no
/// longer as the program left it (another program rewrote it in place).
void ComprobarEscribible(const TDBase3Plus& tabla, const std::optional<HuellaTabla>& dejada);
