#pragma once

#include "PortIo.h"

#include <string>

/// The port through the kernel's ppdev driver: needs membership of group lp, not root.
/// The device is claimed while this object lives.
class PpdevPort final : public PortIo {
public:
    /// Opens and claims the device; throws PortOpenError when it cannot.
    explicit PpdevPort(std::string device);
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    std::uint8_t Read(std::uint16_t address) override;
    void Write(std::uint16_t address, std::uint8_t value) override;

private:
    std::string device_;
    int fd_ = -1;
};
