#pragma once

#include <cstdint>

// Registers of the first parallel port, as the converter link addresses them.
inline constexpr std::uint16_t PuertoDatos = 0x378;
inline constexpr std::uint16_t PuertoEstado = 0x379;
inline constexpr std::uint16_t PuertoControl = 0x37A;

/// Byte-wide access to an I/O port address. The converter cycle uses nothing else of the
/// hardware, so any backend (ppdev, direct I/O, simulation, a test's recorder) fits here.
class PortIo {
public:
    virtual ~PortIo() = default;
    virtual std::uint8_t Read(std::uint16_t address) = 0;
    virtual void Write(std::uint16_t address, std::uint8_t value) = 0;
};

/// Nothing attached: every register reads 0 and writes go nowhere. Used after a port could
/// not be opened, so the program runs on with readings of 0.
class SilentPort final : public PortIo {
public:
    std::uint8_t Read(std::uint16_t) override { return 0; }
    void Write(std::uint16_t, std::uint8_t) override {}
};
