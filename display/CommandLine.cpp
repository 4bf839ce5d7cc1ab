#include "CommandLine.h"

#include "NombresFichero.h"
#include "PlantillaMuestras.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <exception>

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
    QCommandLineOption folder{QStringList{"carpeta"},
                              "Trabaja en CARPETA (~ es la carpeta personal): la crea si falta "
                              "y, si no tiene MUESTRAS.DBF, escribe uno nuevo; nunca "
                              "sustituye una tabla que ya exista.",
                              "CARPETA"};
    QCommandLineOption newTable{QStringList{"nueva-tabla"},
                                "Escribe una tabla de muestras vacía FICHERO (5 registros) y "
                                "termina; no sustituye un fichero que ya exista.",
                                "FICHERO"};
    QCommandLineOption help{QStringList{"h", "help"}, "Muestra esta ayuda."};
    QCommandLineOption version{QStringList{"v", "version"}, "Muestra la versión."};
    // In the order --help lists them.
    QList<QCommandLineOption> all{port, directIo, simulate, folder, newTable, help, version};

    Parser() {
        parser.setApplicationDescription(
            "Termómetro electrónico de dos canales: dos conversores serie de 8 bits en el "
            "puerto paralelo.");
        parser.addOptions(all);
    }
};

QString SinTilde(const QString& path) {
    if (path == "~") {
        return QDir::homePath();
    }
    if (path.startsWith("~/")) {
        return QDir::homePath() + path.mid(1);
    }
    return path;
}
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
    o.carpeta = SinTilde(p.parser.value(p.folder));
    if (p.parser.isSet(p.folder) && o.carpeta.isEmpty()) {
        o.error = "--carpeta necesita el nombre de una carpeta.";
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

QString PrepararCarpeta(const QString& carpeta) {
    const QString error = "No se puede trabajar en la carpeta " + carpeta + ": ";
    const QFileInfo info(carpeta);
    if (info.exists() && !info.isDir()) {
        return error + "ya existe y no es una carpeta.";
    }
    if (!QDir().mkpath(carpeta)) {
        return error + "no se puede crear.";
    }
    // A table the start-up load would find, whatever its letter case, is kept.
    const QDir dir(carpeta);
    const QString tabla = QStringLiteral("MUESTRAS.DBF");
    if (NombreOcupado(dir.filePath(tabla))) {
        return {};
    }
    try {
        EscribirPlantilla(dir.filePath(tabla));
    } catch (const std::exception& e) {
        return error + tabla + ": " + QString::fromUtf8(e.what()) + ".";
    }
    return {};
}

QString TextoAyudaOpciones() {
    Parser p;
    constexpr int kSangria = 22;
    constexpr int kAncho = 79;
    QString text =
        "Uso: velmoranta [opciones]\n" + p.parser.applicationDescription() + "\n\nOpciones:\n";
    for (const QCommandLineOption& option : p.all) {
        QStringList names;
        for (const QString& name : option.names()) {
            names << (name.size() == 1 ? "-" : "--") + name;
        }
        QString line = "  " + names.join(", ");
        if (!option.valueName().isEmpty()) {
            line += " " + option.valueName();
        }
        // A long head gets a line of its own; descriptions wrap under each other.
        line = line.size() < kSangria ? line.leftJustified(kSangria)
                                      : line + "\n" + QString(kSangria, ' ');
        qsizetype start = line.size();
        for (const QString& word : option.description().split(' ')) {
            if (line.size() > start &&
                line.size() - line.lastIndexOf('\n') + word.size() > kAncho) {
                line += "\n" + QString(kSangria, ' ');
                start = line.size();
            } else if (line.size() > start) {
                line += ' ';
            }
            line += word;
        }
        text += line + "\n";
    }
    return text;
}
