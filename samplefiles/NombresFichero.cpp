#include "NombresFichero.h"

#include <QFile>

#include <sys/stat.h>

QString ConExtensionDbf(const QString& name) {
    qsizetype start = 0;
    for (const QChar separator : {u'/', u'\\', u':'}) {
        start = std::max(start, name.lastIndexOf(separator) + 1);
    }
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot >= start ? name.mid(dot) : QString();
    if (extension.toUpper() == QStringLiteral(".DBF")) {
        return name;
    }
    return name + QStringLiteral(".dbf");
}

QString NombreSinRuta(const QString& text) {
    return text.mid(text.lastIndexOf(u'/') + 1);
}

bool FicheroEnUso(const QString& name, const TDBase3Plus& tabla) {
    if (name == tabla.FileName()) {
        return true;
    }
    const auto abierto = tabla.OpenFileIdentity();
    if (!abierto) {
        return false;
    }
    struct stat st {};
    if (::stat(QFile::encodeName(name).constData(), &st) != 0) {
        return false;
    }
    return TFileIdentity{st.st_dev, st.st_ino} == *abierto;
}
