#include "CommandLine.h"

#include <QCommandLineParser>

namespace {
struct Parser {
    QCommandLineParser parser;
    QCommandLineOption port{QStringList{"port"},
                            "Usa el dispositivo ppdev DISPOSITIVO (por omisión /dev/parport0).",
                            "DISPOSITIVO"};
    QCommandLineOption directIo{QStringList{"direct-io"},
                                "Accede directamente a los puertos 0x378-0x37A (root, x86)."};
    QCommandLineOption simulate{QStringList{"simulate"},
                                "Usa los dos conversores simulados en lugar del puerto."};
    QCommandLineOption newTable{QStringList{"nueva-tabla"},
                                "Escribe una tabla de muestras vacía FICHERO (5 registros) y "
                                "termina; no sustituye un fichero que ya exista.",
                                "FICHERO"};
    QCommandLineOption help{QStringList{"h", "help"}, "Muestra esta ayuda."};
    QCommandLineOption version{QStringList{"v", "version"}, "Muestra la versión."};

    Parser() {
        parser.setApplicationDescription(
            "Termómetro electrónico de dos canales: dos conversores serie de 8 bits en el "
            "puerto paralelo.");
        parser.addOptions({port, directIo, simulate, newTable, help, version});
    }
};
} // namespace

Opciones LeerOpciones(const QStringList& arguments) {
    Parser p;
    Opciones o;
    if (!p.parser.parse(arguments)) {
        o.error = p.parser.errorText();
        return o;
    }
    if (!p.parser.positionalArguments().isEmpty()) {
        o.error = "Argumento no reconocido: " + p.parser.positionalArguments().first();
        return o;
    }
    o.ayuda = p.parser.isSet(p.help);
    o.version = p.parser.isSet(p.version);
    o.nuevaTabla = p.parser.value(p.newTable);
    if (p.parser.isSet(p.newTable) && o.nuevaTabla.isEmpty()) {
        o.error = "--nueva-tabla necesita un nombre de fichero.";
        return o;
    }
    const int choices = int(p.parser.isSet(p.port)) + int(p.parser.isSet(p.directIo)) +
                        int(p.parser.isSet(p.simulate));
    if (choices > 1) {
        o.error = "Elija solo una de --port, --direct-io y --simulate.";
        return o;
    }
    if (p.parser.isSet(p.port)) {
        o.dispositivo = p.parser.value(p.port);
        if (o.dispositivo.isEmpty()) {
            o.error = "--port necesita un dispositivo, por ejemplo /dev/parport0.";
        }
    } else if (p.parser.isSet(p.directIo)) {
        o.puerto = Opciones::Puerto::DirectIo;
    } else if (p.parser.isSet(p.simulate)) {
        o.puerto = Opciones::Puerto::Simulado;
    }
    return o;
}

QString TextoAyudaOpciones() {
    Parser p;
    return "Uso: velmoranta [opciones]\n" + p.parser.applicationDescription() + "\n\n" +
           "Opciones:\n"
           "  --port DISPOSITIVO  " +
           p.port.description() +
           "\n"
           "  --direct-io         " +
           p.directIo.description() +
           "\n"
           "  --simulate          " +
           p.simulate.description() +
           "\n"
           "  --nueva-tabla FICHERO\n"
           "                      " +
           p.newTable.description() +
           "\n"
           "  -h, --help          " +
           p.help.description() +
           "\n"
           "  -v, --version       " +
           p.version.description() + "\n";
}
