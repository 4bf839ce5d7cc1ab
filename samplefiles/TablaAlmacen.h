#pragma once

#include "DBase3Plus.h"
#include "SampleStore.h"

#include <QString>

#include <cstdint>

// Record k of a sample table holds slot k of both channels: VALOR is Sensor1, VALOR2 is
// Sensor2, UNIDAD is never filled. Tables on disk rely on this mapping, including its
// quirks: a load stops short of the last record, a save leaves that record alone.
//
// A table with more records than the store has slots is treated as if it ended at record
// LimiteMuestras - 1: a load fills what fits and sets Contador to LimiteMuestras, and a save
// leaves every record from LimiteMuestras - 1 on as it is in the file.

/// What a load found.
struct ResultadoCarga {
    /// The table's RecordCount.
    std::int32_t Registros = 0;
    /// The table holds more records than the store: only its first ones were loaded.
    bool Recortada = false;
};

/// Reads the open table into the store: records 0 to RecordCount - 2 into the slots of the
/// same number, a minimum of 0 becomes 100, Contador := RecordCount (at most
/// LimiteMuestras). A field that is not an integer stops the load with EConvertError; slots
/// loaded before it keep their new values and Contador is left as it was.
ResultadoCarga CargarTabla(TDBase3Plus& tabla, SampleStore& store);

/// Writes the store into the open table: records 0 to RecordCount - 2 from the slots of the
/// same number, then appends records until the table holds Contador of them, each appended
/// record k from slot k. Records are never removed; the last one is left as it is unless it
/// is missing or blank, when it gets its slot too. Nothing is written unless the table's name
/// still names the file it holds open ("File not found" otherwise) and every value fits its
/// field (EFieldTooLong otherwise). Killed at any point, it leaves a table that loads with
/// every record it completed; when it returns, the table is on the disk.
void EscribirAlmacen(TDBase3Plus& tabla, const SampleStore& store);

/// The notice for a table that did not fit the store, naming its record count.
QString TextoTablaRecortada(std::int32_t registros);
