// Any bytes as a sample table on disk, taken through a start-up load, a save of one more
// reading and a reload. Every step either works or raises one of the table's own errors; a
// table stays openable after any save; what a save rewrote reads back unchanged; and no run
// leaves a descriptor open.
#include "Fuzz.h"

#include "DBase3Plus.h"
#include "RuntimeErrors.h"
#include "SampleStore.h"
#include "TablaAlmacen.h"
#include "TableErrors.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

/// The table's file: one private folder for the whole process, removed at exit, and one file
/// in it that every run overwrites.
const QString& RutaTabla() {
    static const QTemporaryDir carpeta;
    static const QString ruta = carpeta.filePath(QStringLiteral("MUESTRAS.DBF"));
    if (!carpeta.isValid()) {
        Fallo("no private temporary folder");
    }
    return ruta;
}

void EscribirFichero(const QString& ruta, const std::uint8_t* data, std::size_t size) {
    QFile file(ruta);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        Fallo("cannot write the table file");
    }
}

/// Runs one step; false when it raised one of the errors a damaged table may give (refused
/// or unreadable table, a field that is no integer, a value too long for its field). Any
/// other exception ends the run as a crash.
template <typename Paso> bool Intentar(Paso paso) {
    try {
        paso();
        return true;
    } catch (const EInOutError&) {
    } catch (const EConvertError&) {
    } catch (const EFieldTooLong&) {
    }
    return false;
}

void Probar(const QString& ruta) {
    auto store = std::make_unique<SampleStore>();
    std::int32_t reescritos = 0;
    bool guardada = false;
    {
        TDBase3Plus tabla;
        tabla.SetFileName(ruta);
        if (!Intentar([&] {
                tabla.Open();
                CargarTabla(tabla, *store);
            })) {
            return;
        }
        // The save rewrites every record the load read, then appends the new reading.
        reescritos = std::min(tabla.RecordCount() - 1, LimiteMuestras - 1);
        if (store->Contador < LimiteMuestras) {
            ++store->Contador;
        }
        guardada = Intentar([&] { EscribirAlmacen(tabla, *store); });
    }

    TDBase3Plus tabla;
    tabla.SetFileName(ruta);
    try {
        tabla.Open();
    } catch (const EInOutError&) {
        Fallo(guardada ? "a saved table no longer opens"
                       : "a failed save left a table that no longer opens");
    }
    if (!guardada) {
        return;
    }
    auto releida = std::make_unique<SampleStore>();
    try {
        CargarTabla(tabla, *releida);
    } catch (const EConvertError&) {
        // Records the save did not touch may hold anything.
        if (tabla.RecNo() < reescritos) {
            Fallo("a record the save wrote is no integer");
        }
    } catch (const EInOutError&) {
        Fallo("a saved table no longer loads");
    }
    for (std::int32_t k = 0; k < reescritos; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        if (releida->Sensor1[slot] != store->Sensor1[slot] ||
            releida->Sensor2[slot] != store->Sensor2[slot]) {
            Fallo("a saved reading read back changed");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString& ruta = RutaTabla();
    const int libre = PrimerDescriptorLibre();
    EscribirFichero(ruta, data, size);
    Probar(ruta);
    if (PrimerDescriptorLibre() != libre) {
        Fallo("a descriptor was left open");
    }
    return 0;
}
