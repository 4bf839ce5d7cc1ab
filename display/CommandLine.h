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
    /// --carpeta: the folder to work in, with a leading ~ already standing for the home
    /// folder (a desktop entry cannot expand it). Empty: the current folder.
    QString carpeta;
    /// Not empty when the arguments cannot be used; says why.
    QString error;
};

/// Reads the arguments (the program's name first, as argv has it).
Opciones LeerOpciones(const QStringList& arguments);

/// Makes `carpeta` fit to work in: creates it when missing and writes a fresh default table
/// into it when it holds none (in any letter case); a table that is there is never
/// replaced. Returns why it cannot, empty when it can.
QString PrepararCarpeta(const QString& carpeta);

/// The text of --help.
QString TextoAyudaOpciones();
