#include "PpdevPort.h"
#include "PortOpenError.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
using namespace std::chrono_literals;

// What to do when the device cannot be opened.
std::string FixForOpen(int error, const std::string& device) {
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

[[noreturn]] void ClaimRefused(int error, const std::string& device) {
    switch (error) {
    case ETIMEDOUT:
        throw PortOpenError(device, "lo está usando otro programa",
                            "Cierre el programa que tiene el puerto (puede ser otra copia de "
                            "este mismo) y vuelva a empezar, o use los conversores simulados "
                            "con --simulate.");
    case ENXIO:
        // ppdev found the port but could not join it: another driver, or a program that
        // asked for it alone, holds it exclusively.
        throw PortOpenError(device, "lo tiene en exclusiva otro controlador o programa",
                            "Descargue el controlador que lo usa (lsmod muestra los que usan "
                            "parport; sudo modprobe -r y su nombre) o cierre el programa que lo "
                            "reservó, o use los conversores simulados con --simulate.");
    default:
        throw PortOpenError(device, RazonDelSistema(error),
                            "Compruebe el puerto paralelo o use --simulate.");
    }
}

void Despertar(int) {}
} // namespace

int LlamadaConLimite(const std::function<int()>& call, std::chrono::milliseconds limit) {
    // A timer signal for this thread alone, without SA_RESTART, ends the sleeping call with
    // EINTR; the previous handler and signal mask come back afterwards.
    struct sigaction wake {};
    wake.sa_handler = Despertar;
    sigemptyset(&wake.sa_mask);
    struct sigaction previous {};
    if (::sigaction(SIGALRM, &wake, &previous) != 0) {
        return errno;
    }
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    sigset_t mask;
    ::pthread_sigmask(SIG_UNBLOCK, &alarm, &mask);

    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = SIGALRM;
    event._sigev_un._tid = ::gettid(); // glibc has no name for this field
    timer_t timer{};
    int result = 0;
    if (::timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) {
        result = errno;
    } else {
        // It keeps firing after the limit, so a signal that lands just before the call goes
        // to sleep is followed by another.
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit);
        itimerspec when{};
        when.it_value.tv_sec = seconds.count();
        when.it_value.tv_nsec = std::chrono::nanoseconds(limit - seconds).count();
        when.it_interval.tv_nsec = std::chrono::nanoseconds(50ms).count();
        if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) {
            when.it_value.tv_nsec = 1;
        }
        const auto deadline = std::chrono::steady_clock::now() + limit;
        ::timer_settime(timer, 0, &when, nullptr);
        for (;;) {
            if (call() >= 0) {
                result = 0;
                break;
            }
            result = errno;
            if (result != EINTR) {
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                result = ETIMEDOUT;
                break;
            }
            // Another signal woke it early: the limit is not reached yet.
        }
        // A signal still due is delivered on return from this call, to the handler above.
        ::timer_delete(timer);
    }
    ::pthread_sigmask(SIG_SETMASK, &mask, nullptr);
    ::sigaction(SIGALRM, &previous, nullptr);
    return result;
}

int ReclamarPpdev(int fd) {
    return LlamadaConLimite([fd] { return ::ioctl(fd, PPCLAIM); }, 2s);
}

PpdevPort::PpdevPort(std::string device, const ReclamoPuerto& reclamo)
    : device_(std::move(device)) {
    fd_ = ::open(device_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        throw PortOpenError(device_, RazonDelSistema(error), FixForOpen(error, device_));
    }
    if (const int error = reclamo(fd_); error != 0) {
        // Closing also takes the device off the port's waiting list.
        ::close(fd_);
        fd_ = -1;
        ClaimRefused(error, device_);
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
