#include "DirectIoPort.h"
#include "PortOpenError.h"

#include <cerrno>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define VELMORANTA_HAS_PORT_IO 1
#endif

namespace {
constexpr const char* kDevice = "E/S directa 0x378";
}

#ifdef VELMORANTA_HAS_PORT_IO

DirectIoPort::DirectIoPort() {
    if (::ioperm(PuertoDatos, 3, 1) != 0) {
        const int error = errno;
        throw PortOpenError(kDevice, RazonDelSistema(error),
                            "La E/S directa necesita ser root (o CAP_SYS_RAWIO); use mejor "
                            "/dev/parport0 con el grupo lp, o --simulate.");
    }
}

DirectIoPort::~DirectIoPort() {
    ::ioperm(PuertoDatos, 3, 0);
}

std::uint8_t DirectIoPort::Read(std::uint16_t address) {
    return ::inb(address);
}

void DirectIoPort::Write(std::uint16_t address, std::uint8_t value) {
    ::outb(value, address);
}

#else

DirectIoPort::DirectIoPort() {
    throw PortOpenError(kDevice, "este procesador no tiene E/S de puertos",
                        "Use /dev/parport0 (--port) o --simulate.");
}
DirectIoPort::~DirectIoPort() = default;
std::uint8_t DirectIoPort::Read(std::uint16_t) {
    return 0;
}
void DirectIoPort::Write(std::uint16_t, std::uint8_t) {}

#endif
