#include "FileIo.h"

#include "NombresFichero.h"
#include "RuntimeErrors.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void ComprobarPosicion(std::int64_t offset) {
    if (offset < 0) {
        throw EInOutError(CodigoES::NegativeSeek);
    }
}

/// The runtime code for what `path` names now: 0 for a regular file or nothing at all.
int CodigoSiNoRegular(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return CodigoES::AccessDenied;
    }
    return 0;
}

} // namespace

void LeerExacto(int fd, std::int64_t offset, void* data, std::size_t size) {
    ComprobarPosicion(offset);
    auto* p = static_cast<unsigned char*>(data);
    // A regular file only comes back short at its end or when a signal cuts the call; the
    // loop tells the two apart.
    while (size > 0) {
        const ssize_t got = ::pread(fd, p, size, static_cast<off_t>(offset));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            LanzarErrno(errno);
        }
        if (got == 0) {
            throw EInOutError(CodigoES::ReadBeyondEnd);
        }
        p += got;
        offset += got;
        size -= static_cast<std::size_t>(got);
    }
}

void EscribirExacto(int fd, std::int64_t offset, const void* data, std::size_t size) {
    ComprobarPosicion(offset);
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t put = ::pwrite(fd, p, size, static_cast<off_t>(offset));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            LanzarErrno(errno);
        }
        if (put == 0) {
            throw EInOutError(CodigoES::DiskFull);
        }
        p += put;
        offset += put;
        size -= static_cast<std::size_t>(put);
    }
}

void BloquearExclusivo(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EINTR) {
            continue;
        }
        if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS) {
            return;
        }
        LanzarErrno(err);
    }
}

int AbrirFicheroTabla(const QString& name, int flags, mode_t mode) {
    const QByteArray path = QFile::encodeName(ResolverNombreTabla(name));
    // Refused before opening, so a device is not even opened; checked again on the
    // descriptor, for whatever took the name in between.
    if (const int code = CodigoSiNoRegular(path)) {
        throw EInOutError(code);
    }
    int fd = -1;
    do {
        fd = ::open(path.constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        // A FIFO without reader or a socket refuses a non-blocking open this way.
        LanzarErrno(errno == ENXIO ? EACCES : errno);
    }
    struct stat st {};
    const int err = ::fstat(fd, &st) != 0 ? errno : (S_ISREG(st.st_mode) ? 0 : EACCES);
    if (err != 0) {
        ::close(fd);
        LanzarErrno(err);
    }
    // Regular files never wait; the flag is dropped so the file behaves as opened plainly.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int EliminarFicheroTabla(const QString& name) {
    const QByteArray path = QFile::encodeName(ResolverNombreTabla(name));
    if (const int code = CodigoSiNoRegular(path)) {
        return code;
    }
    return ::unlink(path.constData()) == 0 ? 0 : CodigoDeErrno(errno);
}
