#pragma once

#include "DBase3Plus.h"

#include <QString>

#include <optional>

/// The save dialog's name rule: unless the extension (from the last '.' after the last
/// '/', '\' or ':') is DBF in any letter case, ".dbf" is appended.
QString ConExtensionDbf(const QString& name);

/// The part of `text` after its last '/'. Only '/' separates: on this system '\' and ':'
/// are ordinary characters of a file name.
QString NombreSinRuta(const QString& text);

/// The name under which a table named `name` is found: `name` itself when it names an entry
/// of its folder exactly, else the one entry of that folder equal to its last part when
/// letter case is ignored ("Muestras.dbf" stands for a lone "MUESTRAS.DBF"). With no such
/// entry, or more than one, `name` is returned unchanged. The folder part is kept as given.
QString ResolverNombreTabla(const QString& name);

/// Whether `name`, resolved as above, names anything at all, a broken link too: a fresh
/// table is never written over it.
bool NombreOcupado(const QString& name);

/// The device and inode of the file `name` resolves to; empty when it names nothing.
std::optional<TFileIdentity> IdentidadFichero(const QString& name);

/// Raises unless the open table's name still names the file it holds: "I/O error 103" when
/// it is closed, "File not found" when the file was deleted or replaced since it was opened.
/// Run before writing into the open table, so nothing lands in a file no name reaches.
void ComprobarMismoFichero(const TDBase3Plus& tabla);

/// Whether deleting `name` would hit the open table: the same text as its FileName, or,
/// while it is open, the same file reached through another path (a relative form, a link).
bool FicheroEnUso(const QString& name, const TDBase3Plus& tabla);
