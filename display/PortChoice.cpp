#include "PortChoice.h"

#include "DirectIoPort.h"
#include "PortOpenError.h"
#include "PpdevPort.h"
#include "SimulatedPort.h"

#include <chrono>

PuertoAbierto AbrirPuerto(const Opciones& opciones, const ReclamoPuerto& reclamo) {
    PuertoAbierto result;
    try {
        switch (opciones.puerto) {
        case Opciones::Puerto::Simulado: {
            // A new drift every run; tests build their own port with a fixed seed.
            const auto seed = static_cast<std::uint32_t>(
                std::chrono::system_clock::now().time_since_epoch().count());
            result.port = std::make_unique<SimulatedPort>(seed);
            break;
        }
        case Opciones::Puerto::DirectIo:
            result.port = std::make_unique<DirectIoPort>();
            break;
        case Opciones::Puerto::Ppdev:
            result.port = std::make_unique<PpdevPort>(opciones.dispositivo.toStdString(), reclamo);
            break;
        }
    } catch (const PortOpenError& error) {
        result.port = std::make_unique<SilentPort>();
        result.aviso =
            QString("No se puede abrir el puerto %1: %2.\n\n%3\n\nEl programa sigue "
                    "sin conversores: las lecturas serán 0.")
                .arg(QString::fromStdString(error.device()), QString::fromStdString(error.reason()),
                     QString::fromStdString(error.fix()));
    }
    return result;
}
