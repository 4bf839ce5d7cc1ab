#include "FileIo.h"

#include "RuntimeErrors.h"

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

namespace {

void ComprobarPosicion(std::int64_t offset) {
    if (offset < 0) {
        throw EInOutError(CodigoES::NegativeSeek);
    }
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
