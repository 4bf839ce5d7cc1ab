#pragma once

#include <QString>
#include <QStringList>

/// What the command line asks for. The program needs no argument: without one it uses the
/// converters on /dev/parport0.
struct Opciones {
    enum class Puerto { Ppdev, DirectIo, Simulado };
    Puerto puerto = Puerto::Ppdev;
    QString dispositivo = QStringLiteral("/dev/parport0");
    bool ayuda = false;
    bool version = false;
    /// --nueva-tabla: write a fresh sample table of this name and end.
    QString nuevaTabla;
    /// Not empty when the arguments cannot be used; says why.
    QString error;
};

/// Reads the arguments (the program's name first, as argv has it).
Opciones LeerOpciones(const QStringList& arguments);

/// The text of --help.
QString TextoAyudaOpciones();
