#include "ListaFicheros.h"

#include "RuntimeErrors.h"

#include <QDir>
#include <QFileInfo>

CambioListaFicheros AplicarRutaALista(const QString& text, const QString& directorio,
                                      const QString& seleccionada) {
    CambioListaFicheros cambio;
    // File names differ by letter case here, so the selected path counts only when exact.
    if (text.isEmpty() || text == seleccionada) {
        return cambio;
    }
    const qsizetype slash = text.lastIndexOf(u'/');
    const QString dirPart = slash >= 0 ? text.left(slash + 1) : QString();
    const QString filePart = text.mid(slash + 1);

    QDir dir(directorio);
    if (!dirPart.isEmpty()) {
        const QFileInfo info(dir, dirPart);
        if (!info.isDir()) {
            throw EInOutError(CodigoES::InvalidFilename);
        }
        dir.setPath(info.absoluteFilePath());
        cambio.Directorio = QDir::cleanPath(dir.absolutePath());
    }
    if (filePart.isEmpty()) {
        return cambio;
    }
    if (filePart.contains(u'*') || filePart.contains(u'?')) {
        cambio.Mascara = filePart;
        return cambio;
    }
    const QFileInfo info(dir, filePart);
    if (info.isDir()) {
        cambio.Directorio = QDir::cleanPath(info.absoluteFilePath());
    } else if (info.isFile()) {
        cambio.Fichero = filePart;
    } else {
        throw EInvalidFileName(text);
    }
    return cambio;
}
