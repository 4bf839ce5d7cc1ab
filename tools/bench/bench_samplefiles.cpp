#include "Bench.h"
#include "DBase3Plus.h"
#include "PlantillaMuestras.h"
#include "TablaAlmacen.h"

#include <QTemporaryDir>

#include <memory>

namespace {
// A full store: 5000 readings per channel.
std::unique_ptr<SampleStore> AlmacenLleno() {
    auto store = std::make_unique<SampleStore>();
    for (std::int32_t k = 0; k <= LimiteMuestras; ++k) {
        store->Sensor1[static_cast<std::size_t>(k)] = k % 256;
        store->Sensor2[static_cast<std::size_t>(k)] = (k * 7) % 256;
    }
    store->Contador = LimiteMuestras;
    return store;
}
} // namespace

void EscribirTabla5000(const QString& path) {
    EscribirPlantilla(path);
    TDBase3Plus t;
    t.SetFileName(path);
    t.Open();
    EscribirAlmacen(t, *AlmacenLleno());
}

void RunSamplefilesBenchmarks() {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::printf("sample files: no temporary directory\n");
        return;
    }
    const std::unique_ptr<SampleStore> store = AlmacenLleno();
    const QString tabla5000 = dir.filePath(QStringLiteral("MUESTRAS.DBF"));
    EscribirTabla5000(tabla5000);

    auto cargado = std::make_unique<SampleStore>();
    Report("start-up load, 5000 records (open + load)", MedianSeconds(21, [&] {
               TDBase3Plus t;
               t.SetFileName(tabla5000);
               t.Open();
               CargarTabla(t, *cargado);
           }));

    const QString nueva = dir.filePath(QStringLiteral("NUEVA.DBF"));
    Report("save to a new table, 5000 records", MedianSeconds(11, [&] {
               TDBase3Plus t;
               t.SetFileName(nueva);
               EscribirPlantilla(nueva);
               t.Open();
               EscribirAlmacen(t, *store);
           }));

    TDBase3Plus abierta;
    abierta.SetFileName(nueva);
    abierta.Open();
    Report("reload of the open table, 5000 records",
           MedianSeconds(21, [&] { CargarTabla(abierta, *cargado); }));
    // The common save: every record rewritten in place, none appended.
    Report("save into the open table, 5000 records",
           MedianSeconds(21, [&] { EscribirAlmacen(abierta, *store); }));
}
