#include "TablaAlmacen.h"

#include "NombresFichero.h"
#include "RuntimeErrors.h"
#include "TableErrors.h"

#include <algorithm>

namespace {

/// The loop bound of a load and of a save's rewrite: they run while RecNo is below it.
std::int32_t UltimoRegistro(const TDBase3Plus& tabla) {
    return std::min(tabla.RecordCount() - 1, LimiteMuestras - 1);
}

std::size_t Slot(std::int32_t recNo) {
    return static_cast<std::size_t>(recNo);
}

/// The two readings of slot `k` as the text record `k` gets.
void PonerValores(TDBase3Plus& tabla, const SampleStore& store, std::int32_t k) {
    tabla.Values[1] = QString::number(store.Sensor1[Slot(k)]);
    tabla.Values[2] = QString::number(store.Sensor2[Slot(k)]);
}

void VaciarValores(TDBase3Plus& tabla) {
    for (int j = 1; j <= tabla.FieldCount(); ++j) {
        tabla.Values[j].clear();
    }
}

void ComprobarQueCabe(const TDBase3Plus& tabla, const SampleStore& store, std::int32_t k) {
    const std::int32_t lecturas[] = {store.Sensor1[Slot(k)], store.Sensor2[Slot(k)]};
    for (int j = 1; j <= 2; ++j) {
        const QString texto = QString::number(lecturas[j - 1]);
        const TFieldDescriptor& campo = tabla.Fields(j);
        if (texto.size() > campo.Length()) {
            throw EFieldTooLong(texto, campo.Name(), campo.Length());
        }
    }
}

/// Reads record `k`; false, with Values as they were, when the file ends before it does.
bool LeerSiEntero(TDBase3Plus& tabla, std::int32_t k) {
    try {
        tabla.ReadRecord(k);
    } catch (const EInOutError& error) {
        if (error.code() == CodigoES::ReadBeyondEnd) {
            return false;
        }
        throw;
    }
    return true;
}

/// Whether the table's last record is missing, cut short, or blank in a value field: what a
/// save killed between a count and its record left before counts followed their records.
bool UltimoRoto(TDBase3Plus& tabla) {
    if (!LeerSiEntero(tabla, tabla.RecordCount() - 1)) {
        return true;
    }
    const QString blanco = QStringLiteral(" ");
    return tabla.Values[1] == blanco || tabla.Values[2] == blanco;
}

} // namespace

ResultadoCarga CargarTabla(TDBase3Plus& tabla, SampleStore& store) {
    tabla.First();
    const std::int32_t ultimo = UltimoRegistro(tabla);
    while (tabla.RecNo() < ultimo) {
        store.Sensor1[Slot(tabla.RecNo())] = StrToInt(tabla.Values[1]);
        store.Sensor2[Slot(tabla.RecNo())] = StrToInt(tabla.Values[2]);
        try {
            tabla.Next();
        } catch (const EInOutError& error) {
            // The last record is read but never stored: one that a save cut short by a crash
            // left missing or incomplete does not stop the load.
            if (error.code() != CodigoES::ReadBeyondEnd || tabla.RecNo() != ultimo) {
                throw;
            }
        }
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
    const std::int32_t ultimo = UltimoRegistro(tabla);
    const std::int32_t registros = tabla.RecordCount();
    const std::int32_t contador = std::min(store.Contador, LimiteMuestras);
    const bool rehacerUltimo = ultimo == registros - 1 && ultimo >= 0 && UltimoRoto(tabla);

    // Every value is checked before the first record is written: a refused save leaves the
    // table as it was.
    for (std::int32_t k = 0; k < ultimo; ++k) {
        ComprobarQueCabe(tabla, store, k);
    }
    if (rehacerUltimo) {
        ComprobarQueCabe(tabla, store, ultimo);
    }
    for (std::int32_t k = registros; k < contador; ++k) {
        ComprobarQueCabe(tabla, store, k);
    }

    // Each record is read before it is rewritten, so its other fields keep their content. The
    // last record is not read here: it may be the missing one.
    tabla.First();
    for (std::int32_t k = 0; k < ultimo; ++k) {
        if (k > 0) {
            tabla.Next();
        }
        PonerValores(tabla, store, k);
        tabla.WriteRecord(k);
    }
    if (rehacerUltimo) {
        // A last record that a crash left missing or blank gets its slot, as it would have
        // when it was appended; its other fields keep what they hold, or are blank.
        VaciarValores(tabla);
        LeerSiEntero(tabla, ultimo);
        PonerValores(tabla, store, ultimo);
        tabla.WriteRecord(ultimo);
    }
    while (tabla.RecordCount() < contador) {
        VaciarValores(tabla);
        PonerValores(tabla, store, tabla.RecordCount());
        tabla.AppendRecord();
    }
    // A save that returns is on the disk; once, not per record.
    tabla.Flush();
}

QString TextoTablaRecortada(std::int32_t registros) {
    return QStringLiteral("La tabla tiene %1 registros y solo caben %2 en memoria: se han "
                          "cargado los primeros y los demás se conservan en el fichero sin "
                          "cambios.")
        .arg(registros)
        .arg(LimiteMuestras);
}
