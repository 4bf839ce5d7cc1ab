#pragma once

#include "PortIo.h"

/// Direct port input and output at 0x378 to 0x37A, as the bare hardware is driven.
/// x86 only; needs root or CAP_SYS_RAWIO.
class DirectIoPort final : public PortIo {
public:
    /// Asks the kernel for the three port addresses; throws PortOpenError when refused.
    DirectIoPort();
    ~DirectIoPort() override;
    DirectIoPort(const DirectIoPort&) = delete;
    DirectIoPort& operator=(const DirectIoPort&) = delete;

    std::uint8_t Read(std::uint16_t address) override;
    void Write(std::uint16_t address, std::uint8_t value) override;
};
