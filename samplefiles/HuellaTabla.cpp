#include "HuellaTabla.h"

#include "NombresFichero.h"
#include "TableErrors.h"

std::optional<HuellaTabla> HuellaDe(const TDBase3Plus& tabla) {
    const auto st = tabla.OpenFileStatus();
    if (!st) {
        return std::nullopt;
    }
    return HuellaTabla{TFileIdentity{st->st_dev, st->st_ino}, st->st_size,
                       static_cast<std::int64_t>(st->st_mtim.tv_sec) * 1'000'000'000 +
                           st->st_mtim.tv_nsec};
}

void ComprobarEscribible(const TDBase3Plus& tabla, const std::optional<HuellaTabla>& dejada) {
    ComprobarMismoFichero(tabla);
    if (!dejada) {
        throw ETableNotWritable(
            QStringLiteral("La tabla %1 no se ha cargado, así que no se guarda en ella ni se "
                           "borra: guarde las muestras con otro nombre")
                .arg(tabla.FileName()));
    }
    if (HuellaDe(tabla) != dejada) {
        throw ETableNotWritable(
            QStringLiteral("Otro programa ha cambiado la tabla %1 desde que se cargó o se "
                           "guardó, así que no se guarda en ella ni se borra: guarde las "
                           "muestras con otro nombre")
                .arg(tabla.FileName()));
    }
}
