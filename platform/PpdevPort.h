#pragma once

#include "PortIo.h"

#include <chrono>
#include <functional>
#include <string>

/// Claims an opened ppdev device for this process: 0, or the errno of the refusal.
using ReclamoPuerto = std::function<int(int fd)>;

/// Runs `call`, a system call that may sleep until someone else acts (it returns -1 and sets
/// errno when it fails), and interrupts it once `limit` has passed. Returns 0, the call's
/// errno, or ETIMEDOUT when the call was still sleeping at the limit.
int LlamadaConLimite(const std::function<int()>& call, std::chrono::milliseconds limit);

/// The kernel's claim sleeps for as long as another program holds the port; this one gives up
/// after two seconds.
int ReclamarPpdev(int fd);

/// The port through the kernel's ppdev driver: needs membership of group lp, not root.
/// The device is claimed while this object lives.
class PpdevPort final : public PortIo {
public:
    /// Opens and claims the device; throws PortOpenError when it cannot.
    explicit PpdevPort(std::string device, const ReclamoPuerto& reclamo = ReclamarPpdev);
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    std::uint8_t Read(std::uint16_t address) override;
    void Write(std::uint16_t address, std::uint8_t value) override;

private:
    std::string device_;
    int fd_ = -1;
};
