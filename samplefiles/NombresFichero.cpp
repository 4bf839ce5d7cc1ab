#include "NombresFichero.h"

#include "RuntimeErrors.h"

#include <QDir>
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

QString ResolverNombreTabla(const QString& name) {
    struct stat st {};
    const qsizetype slash = name.lastIndexOf(u'/');
    const QString carpeta = name.left(slash + 1);
    const QString ultimo = name.mid(slash + 1);
    if (ultimo.isEmpty() || ::lstat(QFile::encodeName(name).constData(), &st) == 0) {
        return name;
    }
    const QDir dir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta);
    const QStringList entradas =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QString encontrada;
    for (const QString& entrada : entradas) {
        if (entrada.compare(ultimo, Qt::CaseInsensitive) == 0) {
            if (!encontrada.isEmpty()) {
                return name; // two candidates: neither is meant more than the other
            }
            encontrada = entrada;
        }
    }
    return encontrada.isEmpty() ? name : carpeta + encontrada;
}

bool NombreOcupado(const QString& name) {
    struct stat st {};
    return ::lstat(QFile::encodeName(ResolverNombreTabla(name)).constData(), &st) == 0;
}

std::optional<TFileIdentity> IdentidadFichero(const QString& name) {
    struct stat st {};
    if (::stat(QFile::encodeName(ResolverNombreTabla(name)).constData(), &st) != 0) {
        return std::nullopt;
    }
    return TFileIdentity{st.st_dev, st.st_ino};
}

void ComprobarMismoFichero(const TDBase3Plus& tabla) {
    const auto abierto = tabla.OpenFileIdentity();
    if (!abierto) {
        throw EInOutError(CodigoES::FileNotOpen);
    }
    if (IdentidadFichero(tabla.FileName()) != abierto) {
        throw EInOutError(CodigoES::FileNotFound);
    }
}

bool FicheroEnUso(const QString& name, const TDBase3Plus& tabla) {
    if (name == tabla.FileName()) {
        return true;
    }
    const auto abierto = tabla.OpenFileIdentity();
    return abierto && IdentidadFichero(name) == abierto;
}
