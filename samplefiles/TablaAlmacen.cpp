#include "TablaAlmacen.h"

#include "NombresFichero.h"
#include "RuntimeErrors.h"

#include <algorithm>

namespace {

/// The loop bound of a load and of a save's rewrite: they run while RecNo is below it.
std::int32_t UltimoRegistro(const TDBase3Plus& tabla) {
    return std::min(tabla.RecordCount() - 1, LimiteMuestras - 1);
}

std::size_t Slot(std::int32_t recNo) {
    return static_cast<std::size_t>(recNo);
}

} // namespace

ResultadoCarga CargarTabla(TDBase3Plus& tabla, SampleStore& store) {
    tabla.First();
    const std::int32_t ultimo = UltimoRegistro(tabla);
    while (tabla.RecNo() < ultimo) {
        store.Sensor1[Slot(tabla.RecNo())] = StrToInt(tabla.Values[1]);
        store.Sensor2[Slot(tabla.RecNo())] = StrToInt(tabla.Values[2]);
        tabla.Next();
    }
    // 100 is 50.0 degrees, the starting minimum; a maximum of 0 stays.
    if (store.Sensor1[1] == 0) {
        store.Sensor1[1] = 100;
    }
    if (store.Sensor2[1] == 0) {
        store.Sensor2[1] = 100;
    }
    const std::int32_t registros = tabla.RecordCount();
    store.Contador = std::min(registros, LimiteMuestras);
    return {registros, registros > LimiteMuestras};
}

void EscribirAlmacen(TDBase3Plus& tabla, const SampleStore& store) {
    // Another program may have deleted or replaced the table meanwhile; the readings then
    // stay in memory rather than go into a file nobody can reach.
    ComprobarMismoFichero(tabla);
    tabla.First();
    const std::int32_t ultimo = UltimoRegistro(tabla);
    while (tabla.RecNo() < ultimo) {
        tabla.Values[1] = QString::number(store.Sensor1[Slot(tabla.RecNo())]);
        tabla.Values[2] = QString::number(store.Sensor2[Slot(tabla.RecNo())]);
        tabla.WriteRecord(tabla.RecNo());
        tabla.Next();
    }
    const std::int32_t contador = std::min(store.Contador, LimiteMuestras);
    while (tabla.RecordCount() < contador) {
        tabla.Append();
        tabla.Values[1] = QString::number(store.Sensor1[Slot(tabla.RecNo())]);
        tabla.Values[2] = QString::number(store.Sensor2[Slot(tabla.RecNo())]);
        tabla.WriteRecord(tabla.RecNo());
    }
}

QString TextoTablaRecortada(std::int32_t registros) {
    return QStringLiteral("La tabla tiene %1 registros y solo caben %2 en memoria: se han "
                          "cargado los primeros y los demás se conservan en el fichero sin "
                          "cambios.")
        .arg(registros)
        .arg(LimiteMuestras);
}
