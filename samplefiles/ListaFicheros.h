#pragma once

#include <QString>

#include <optional>

/// What a path typed for the file list changes; the window applies it to its controls.
struct CambioListaFicheros {
    /// The directory to show, absolute.
    std::optional<QString> Directorio;
    /// The new mask, when the file part holds '*' or '?'.
    std::optional<QString> Mascara;
    /// The bare name of the file to select, which exists in the directory shown.
    std::optional<QString> Fichero;

    bool Vacio() const { return !Directorio && !Mascara && !Fichero; }
};

/// Applies `text` to a file list showing `directorio` with `seleccionada` (the full path of
/// its selected entry, or empty) selected. An empty text, or the selected path itself,
/// changes nothing. A directory part (relative ones from `directorio`) becomes the directory
/// shown; a file part with '*' or '?' becomes the mask; a file part naming a directory
/// becomes the directory shown; any other file part selects that file. A missing directory
/// is "Invalid filename" (EInOutError 3), a missing file "Invalid file name - <text>"
/// (EInvalidFileName).
CambioListaFicheros AplicarRutaALista(const QString& text, const QString& directorio,
                                      const QString& seleccionada);
