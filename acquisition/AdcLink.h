#pragma once

#include "PortIo.h"

#include <cstdint>

/// The serial converter link on the parallel port. The program is the only master: it
/// selects, clocks and samples bit by bit, with no delay between accesses. Every access
/// to the data or status register is wrapped in a read of the control register and a
/// write of the same byte back, as the hardware was always driven.
class AdcLink {
public:
    explicit AdcLink(PortIo& port) : port_(port) {}

    void EscribirDatos(std::uint8_t value);
    std::uint8_t LeerEstado();
    /// One full conversion cycle each; they differ only in the status bit sampled.
    std::uint8_t LeerSensor1();
    std::uint8_t LeerSensor2();

private:
    std::uint8_t Convertir(std::uint8_t statusMask, double scale);
    PortIo& port_;
};
