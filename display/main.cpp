#include "AlsaSoundCall.h"
#include "Colocacion.h"
#include "CommandLine.h"
#include "Fonts.h"
#include "FormSeams.h"
#include "HelpViewer.h"
#include "NombresFichero.h"
#include "PlantillaMuestras.h"
#include "PortChoice.h"
#include "PortIo.h"
#include "PrecargaArranque.h"
#include "PulsePcm.h"
#include "QtDialogs.h"
#include "TForm1.h"
#include "TImage.h"

#include <QApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>

namespace {
// Benchmark hook, never used by the program itself: with VELMORANTA_AVISAR_LISTO set, the
// program prints "listo" and ends as soon as the chart's first picture after the start-up
// load has been painted and flushed, so tools/bench can time start-to-ready.
class AvisoListo final : public QObject {
public:
    explicit AvisoListo(TImage* chart) : chart_(chart) { chart->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == chart_ && event->type() == QEvent::Paint && !chart_->Picture().isNull()) {
            chart_->removeEventFilter(this);
            // A zero timer runs after this paint's flush.
            QTimer::singleShot(0, qApp, [] {
                std::puts("listo");
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    TImage* chart_;
};
} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Answered before any window exists, so they work without a display.
    const Opciones opciones = LeerOpciones(arguments);
    if (!opciones.error.isEmpty()) {
        std::fprintf(stderr, "velmoranta: %s\n%s", qPrintable(opciones.error),
                     qPrintable(TextoAyudaOpciones()));
        return 2;
    }
    if (opciones.ayuda) {
        std::printf("%s", qPrintable(TextoAyudaOpciones()));
        return 0;
    }
    if (opciones.version) {
        std::printf("velmoranta %s\n", VELMORANTA_VERSION);
        return 0;
    }
    // Started from the menu it works in a folder of its own, entered before any table is
    // opened or written.
    QString avisoCarpeta;
    if (!opciones.carpeta.isEmpty()) {
        avisoCarpeta = PrepararCarpeta(opciones.carpeta);
        if (avisoCarpeta.isEmpty() && !QDir::setCurrent(opciones.carpeta)) {
            avisoCarpeta = "No se puede entrar en la carpeta " + opciones.carpeta + ".";
        }
        if (!avisoCarpeta.isEmpty()) {
            std::fprintf(stderr, "velmoranta: %s\n", qPrintable(avisoCarpeta));
            if (!opciones.nuevaTabla.isEmpty()) {
                return 1;
            }
        }
    }
    if (!opciones.nuevaTabla.isEmpty()) {
        // A fresh default table for a new working folder; an existing table is never replaced.
        if (NombreOcupado(opciones.nuevaTabla)) {
            std::fprintf(stderr, "velmoranta: %s ya existe; no se sustituye.\n",
                         qPrintable(opciones.nuevaTabla));
            return 1;
        }
        try {
            EscribirPlantilla(opciones.nuevaTabla);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "velmoranta: %s: %s.\n", qPrintable(opciones.nuevaTabla),
                         error.what());
            return 1;
        }
        return 0;
    }

    // Begun before the application object, so the font configuration is read alongside it.
    PrecargaArranque precarga;
    QApplication app(argc, argv);
    // Done before the application object goes, on every way out.
    const auto finPrecarga = qScopeGuard([&precarga] { precarga.Esperar(); });
    precarga.AplicacionCreada();
    // The application title captions every box; set as the name, so it is not appended to
    // the window's own caption.
    QApplication::setApplicationName(QStringLiteral("KORVALISTA"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORANTA_VERSION));
    if (!CargarTextosQt(app)) {
        std::fprintf(stderr, "velmoranta: no se encuentran las traducciones de Qt "
                             "(qtbase_es.qm); los botones de los cuadros saldrán en inglés.\n");
    }
    // Lets the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMORANTA_APP_ID));
    SustituirFuentes();

    QtDialogs dialogs;
    QtErrorReport errors;
    SystemClock clock;
    QtHelpViewer help;
    AlsaSoundCall sound(ServerOrAlsaPcm("default"));
    precarga.EsperarConfiguracion();
    // Started from the menu, the box is all the user would see of it.
    if (!avisoCarpeta.isEmpty()) {
        dialogs.ShowMessage(avisoCarpeta);
        return 1;
    }
    PuertoAbierto puerto = AbrirPuerto(opciones);
    if (!puerto.aviso.isEmpty()) {
        dialogs.ShowMessage(puerto.aviso);
    }

    TForm1 form(FormSeams{*puerto.port, dialogs, errors, clock, help, sound});
    dialogs.SetOwner(&form);
    errors.SetOwner(&form);
    std::unique_ptr<AvisoListo> aviso;
    if (qEnvironmentVariableIsSet("VELMORANTA_AVISAR_LISTO")) {
        aviso = std::make_unique<AvisoListo>(form.findChild<TImage*>(QStringLiteral("Image1")));
    }
    MostrarCentrado(form);
    return app.exec();
}
