#pragma once

// Tables built byte by byte for the tests, the way other dBase writers lay them out.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

struct CampoDePrueba {
    QByteArray Nombre;
    char Tipo = 'N';
    int Longitud = 3;
};

inline void PonerLE(QByteArray& bytes, int at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

/// Header, descriptors and terminator. Lengths not given are the ones the fields need.
inline QByteArray CabeceraDePrueba(std::int32_t registros, const std::vector<CampoDePrueba>& campos,
                                   int headerLength = -1, int recordLength = -1) {
    int total = 1;
    for (const auto& c : campos) {
        total += c.Longitud;
    }
    QByteArray h(32, '\0');
    h[0] = 3;
    h[1] = 98;
    h[2] = 6;
    h[3] = 6;
    PonerLE(h, 4, static_cast<std::uint32_t>(registros), 4);
    const int hl = headerLength >= 0 ? headerLength : 32 + 32 * int(campos.size()) + 1;
    PonerLE(h, 8, static_cast<std::uint32_t>(hl), 2);
    PonerLE(h, 10, static_cast<std::uint32_t>(recordLength >= 0 ? recordLength : total), 2);
    for (const auto& c : campos) {
        QByteArray d(32, '\0');
        d.replace(0, c.Nombre.size(), c.Nombre);
        d[11] = c.Tipo;
        d[16] = static_cast<char>(c.Longitud);
        h += d;
    }
    h += '\x0D';
    return h;
}

inline const std::vector<CampoDePrueba>& CamposMuestras() {
    static const std::vector<CampoDePrueba> campos{
        {"VALOR", 'N', 3}, {"VALOR2", 'N', 3}, {"UNIDAD", 'C', 1}};
    return campos;
}

/// A sample table as another writer makes it: numbers right-aligned, a trailing 0x1A.
inline QByteArray TablaMuestras(const std::vector<std::pair<int, int>>& lecturas,
                                bool finDeFichero = true) {
    QByteArray t = CabeceraDePrueba(static_cast<std::int32_t>(lecturas.size()), CamposMuestras());
    for (const auto& [a, b] : lecturas) {
        t += ' ';
        t += QByteArray::number(a).rightJustified(3, ' ');
        t += QByteArray::number(b).rightJustified(3, ' ');
        t += ' ';
    }
    if (finDeFichero) {
        t += '\x1A';
    }
    return t;
}

inline QByteArray LeerFichero(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

inline bool EscribirFichero(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline int DescriptoresAbiertos() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
}

/// True when nobody holds the file's exclusive lock.
inline bool BloqueoLibre(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool libre = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return libre;
}
