#pragma once

#include "DBase3Plus.h"

#include <QString>

/// The save dialog's name rule: unless the extension (from the last '.' after the last
/// '/', '\' or ':') is DBF in any letter case, ".dbf" is appended.
QString ConExtensionDbf(const QString& name);

/// The part of `text` after its last '/'. Only '/' separates: on this system '\' and ':'
/// are ordinary characters of a file name.
QString NombreSinRuta(const QString& text);

/// Whether deleting `name` would hit the open table: the same text as its FileName, or,
/// while it is open, the same file reached through another path (a relative form, a link).
bool FicheroEnUso(const QString& name, const TDBase3Plus& tabla);
