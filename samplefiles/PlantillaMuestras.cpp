#include "PlantillaMuestras.h"

#include "FileIo.h"
#include "RuntimeErrors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// clang-format off
const std::array<std::uint8_t, 170> PlantillaMuestras = {
    // version 3, updated 98-06-06, 5 records, header 129 bytes, records 8 bytes
    0x03, 0x62, 0x06, 0x06, 0x05, 0x00, 0x00, 0x00, 0x81, 0x00, 0x08, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    // VALOR, N, 3.0
    0x56, 0x41, 0x4C, 0x4F, 0x52, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4E,
    0x03, 0x00, 0x8D, 0x47, 0x03, 0x00, 0x00, 0x00, 0x01,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    // VALOR2, N, 3.0
    0x56, 0x41, 0x4C, 0x4F, 0x52, 0x32, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4E,
    0x06, 0x00, 0x8D, 0x47, 0x03, 0x00, 0x00, 0x00, 0x01,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    // UNIDAD, C, 1
    0x55, 0x4E, 0x49, 0x44, 0x41, 0x44, 0x00, 0x00, 0x00, 0x00, 0x00, 0x43,
    0x09, 0x00, 0x8D, 0x47, 0x01, 0x00, 0x00, 0x00, 0x01,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x0D,
    // records 0 to 3: "  0", "  0", " "
    0x20, 0x20, 0x20, 0x30, 0x20, 0x20, 0x30, 0x20,
    0x20, 0x20, 0x20, 0x30, 0x20, 0x20, 0x30, 0x20,
    0x20, 0x20, 0x20, 0x30, 0x20, 0x20, 0x30, 0x20,
    0x20, 0x20, 0x20, 0x30, 0x20, 0x20, 0x30, 0x20,
    // record 4, flag byte '0'
    0x30, 0x20, 0x20, 0x30, 0x20, 0x20, 0x30, 0x20,
    0x1A,
};
// clang-format on

namespace {

void Cerrar(int fd) {
    if (::close(fd) != 0 && errno != EINTR) {
        LanzarErrno(errno);
    }
}

/// Makes the new file `name` from the template where nothing of that name exists. Written
/// unnamed in its folder and then given its name, the file appears whole or not at all,
/// whenever the program is stopped. False when the folder's file system has no unnamed
/// files; nothing was made then.
bool CrearEntera(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    const QByteArray carpeta = QFile::encodeName(QFileInfo(name).path());
    int fd = -1;
    do {
        fd = ::open(carpeta.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return false;
        }
        LanzarErrno(errno);
    }
    try {
        EscribirExacto(fd, 0, PlantillaMuestras.data(), PlantillaMuestras.size());
        // Named through its descriptor; an unnamed file left unnamed vanishes on close.
        const QByteArray propio = "/proc/self/fd/" + QByteArray::number(fd);
        if (::linkat(AT_FDCWD, propio.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) !=
            0) {
            LanzarErrno(errno);
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    Cerrar(fd);
    // The new name reaches the disk with its folder; a save that returns must find it there.
    const int dir = ::open(carpeta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        const int err = ::fsync(dir) == 0 ? 0 : errno;
        ::close(dir);
        if (err != 0 && err != EINVAL) {
            LanzarErrno(err);
        }
    }
    return true;
}

/// The same where unnamed files cannot be made: created under its name, then filled.
void CrearConNombre(const QString& name) {
    const int fd = AbrirFicheroTabla(name, O_WRONLY | O_CREAT | O_EXCL, 0666);
    try {
        EscribirExacto(fd, 0, PlantillaMuestras.data(), PlantillaMuestras.size());
    } catch (...) {
        ::close(fd);
        // A file made here that the template did not fit (a full disk) would be a table
        // that never loads; it goes again.
        ::unlink(QFile::encodeName(name).constData());
        throw;
    }
    Cerrar(fd);
}

} // namespace

void EscribirPlantilla(const QString& name) {
    int fd = -1;
    try {
        fd = AbrirFicheroTabla(name, O_WRONLY);
    } catch (const EInOutError& error) {
        if (error.code() != CodigoES::FileNotFound) {
            throw;
        }
        if (!CrearEntera(name)) {
            CrearConNombre(name);
        }
        return;
    }
    try {
        // Not O_TRUNC: the file is changed only once the lock shows nobody holds it open.
        BloquearExclusivo(fd);
        // The template goes over the old content before the file is cut to its length:
        // stopped in between, the file is the template followed by old bytes its count does
        // not reach, which loads as the template.
        EscribirExacto(fd, 0, PlantillaMuestras.data(), PlantillaMuestras.size());
        if (::ftruncate(fd, static_cast<off_t>(PlantillaMuestras.size())) != 0) {
            LanzarErrno(errno);
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    Cerrar(fd);
}
