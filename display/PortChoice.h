#pragma once

#include "CommandLine.h"
#include "PpdevPort.h"

#include <QString>
#include <memory>

class PortIo;

struct PuertoAbierto {
    std::unique_ptr<PortIo> port;
    /// Empty when the chosen port opened; otherwise the notice for the user, after which
    /// the program runs on with converters that read 0.
    QString aviso;
};

/// Opens the port the options ask for; a ppdev device is claimed with `reclamo`.
PuertoAbierto AbrirPuerto(const Opciones& opciones, const ReclamoPuerto& reclamo = ReclamarPpdev);
