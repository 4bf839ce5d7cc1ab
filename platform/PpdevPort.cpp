#include "PpdevPort.h"
#include "PortOpenError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
std::string FixFor(int error, const std::string& device) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "Añada su usuario al grupo lp (sudo adduser $USER lp) y vuelva a entrar, "
               "o pruebe con --simulate.";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return "Cargue el módulo ppdev (sudo modprobe ppdev), indique otro dispositivo con "
               "--port, o use los conversores simulados con --simulate. (" +
               device + ")";
    case EBUSY:
        return "Otro programa está usando el puerto; ciérrelo o use --simulate.";
    default:
        return "Compruebe el puerto paralelo o use --simulate.";
    }
}
} // namespace

PpdevPort::PpdevPort(std::string device) : device_(std::move(device)) {
    fd_ = ::open(device_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        throw PortOpenError(device_, std::strerror(error), FixFor(error, device_));
    }
    if (::ioctl(fd_, PPCLAIM) < 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        throw PortOpenError(device_, std::strerror(error), FixFor(error, device_));
    }
    // The converters are driven from the data lines, so they must be outputs.
    int forward = 0;
    ::ioctl(fd_, PPDATADIR, &forward);
}

PpdevPort::~PpdevPort() {
    if (fd_ >= 0) {
        ::ioctl(fd_, PPRELEASE);
        ::close(fd_);
    }
}

// ppdev reports no useful failure once the port is claimed; like the bare hardware, a
// register that cannot be read reads 0.
std::uint8_t PpdevPort::Read(std::uint16_t address) {
    unsigned char value = 0;
    switch (address) {
    case PuertoDatos:
        ::ioctl(fd_, PPRDATA, &value);
        break;
    case PuertoEstado:
        ::ioctl(fd_, PPRSTATUS, &value);
        break;
    case PuertoControl:
        ::ioctl(fd_, PPRCONTROL, &value);
        break;
    default:
        break;
    }
    return value;
}

void PpdevPort::Write(std::uint16_t address, std::uint8_t value) {
    unsigned char byte = value;
    switch (address) {
    case PuertoDatos:
        ::ioctl(fd_, PPWDATA, &byte);
        break;
    case PuertoControl:
        ::ioctl(fd_, PPWCONTROL, &byte);
        break;
    default:
        break;
    }
}
