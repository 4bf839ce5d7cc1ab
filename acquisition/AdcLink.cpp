#include "AdcLink.h"

void AdcLink::EscribirDatos(std::uint8_t value) {
    const std::uint8_t control = port_.Read(PuertoControl);
    port_.Write(PuertoDatos, value);
    port_.Write(PuertoControl, control);
}

std::uint8_t AdcLink::LeerEstado() {
    const std::uint8_t control = port_.Read(PuertoControl);
    const std::uint8_t status = port_.Read(PuertoEstado);
    port_.Write(PuertoControl, control);
    return status;
}

std::uint8_t AdcLink::Convertir(std::uint8_t statusMask, double scale) {
    EscribirDatos(1); // idle: select high, clock low
    EscribirDatos(0); // select
    EscribirDatos(2); // start pulse, no bit follows it
    EscribirDatos(0);
    std::uint8_t value = 0;
    for (int pass = 0; pass < 8; ++pass) {
        // The shift comes before the bit of this pass, so the first bit ends in bit 7.
        value = static_cast<std::uint8_t>(value << 1);
        EscribirDatos(2);
        EscribirDatos(0);
        const std::uint8_t status = LeerEstado();
        // Truncation of an exact 0 or 1: the masked bit moved down to bit 0.
        value |= static_cast<std::uint8_t>(static_cast<int>((status & statusMask) * scale));
    }
    EscribirDatos(1);
    return value;
}

std::uint8_t AdcLink::LeerSensor1() {
    return Convertir(0x10, 0.0625);
}

std::uint8_t AdcLink::LeerSensor2() {
    return Convertir(0x20, 0.03125);
}
