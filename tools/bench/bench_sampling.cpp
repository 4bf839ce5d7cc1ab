#include "AdcLink.h"
#include "Bench.h"
#include "Dialogs.h"
#include "HelpViewer.h"
#include "PlantillaMuestras.h"
#include "SimulatedPort.h"
#include "SoundCall.h"
#include "TForm1.h"
#include "TemperatureText.h"
#include "ui_TForm1.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

namespace {
struct NoDialogs final : Dialogs {
    void ShowMessage(const QString&) override {}
    bool AskYesNo(const QString&, Boton) override { return false; }
    bool ExecuteSave(QString&, const QString&, const QString&) override { return false; }
};
struct NoErrors final : ErrorReport {
    void Report(const QString&) override {}
};
struct NoHelp final : HelpViewer {
    void ShowContents(const QString&, QWidget*) override {}
};
struct Silence final : SoundCall {
    bool PlaySound(SoundArgument, SoundModule, std::uint32_t) override { return true; }
};
// Counts the chart's paints, to show the repaint figures do repaint.
struct ContadorPintadas final : QObject {
    int veces = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        veces += event->type() == QEvent::Paint;
        return false;
    }
};
struct Clock0 final : Clock {
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
} // namespace

void RunSamplingBenchmarks() {
    SimulatedPort port(7);
    AdcLink link(port);
    volatile std::uint8_t sink = 0;
    Report("conversion cycle, simulated port",
           MedianSeconds(20001, [&] { sink = link.LeerSensor1(); }));
    (void)sink;

    NoDialogs dialogs;
    NoErrors errors;
    NoHelp help;
    Clock0 clock;
    Silence sound;
    // The window starts as the program does: on a fresh default table in its own folder.
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    EscribirPlantilla(QStringLiteral("MUESTRAS.DBF"));
    TForm1 form(FormSeams{port, dialogs, errors, clock, help, sound});
    form.FormActivate();
    form.show();
    // Under X the window must be mapped before a repaint reaches the screen.
    for (int i = 0; i < 500 && !(form.windowHandle() && form.windowHandle()->isExposed()); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
    ContadorPintadas pintadas;
    form.ui().Image1->installEventFilter(&pintadas);

    SampleStore& store = form.Store();
    // Ticks land on visible columns, as they do while the user watches the chart.
    const auto tick = [&] {
        if (store.Contador >= 318) {
            store.Contador = 1;
        }
        form.Timer1Timer();
    };
    Report("tick without sound, no repaint", MedianSeconds(4999, tick));
    QCoreApplication::processEvents();
    pintadas.veces = 0;
    constexpr int kTicks = 4999;
    Report("tick without sound, with its repaint",
           MedianSeconds(kTicks,
                         [&] {
                             tick();
                             QCoreApplication::processEvents();
                         }),
           20e-6);
    std::printf("%-48s %16d of %d\n", "  chart repaints seen", pintadas.veces, kTicks);

    volatile std::int32_t lectura = 47;
    Report("temperature text of a reading",
           MedianSeconds(20001, [&] { (void)TextoTemperatura(lectura).size(); }));

    store.Contador = LimiteMuestras;
    for (int i = 0; i <= LimiteMuestras; ++i) {
        store.Sensor1[i] = 30 + i % 40;
        store.Sensor2[i] = 50 + i % 30;
    }
    form.ui().barra->setValue(0);
    TemperatureChart& chart = form.Chart();
    Report("grid alone", MedianSeconds(2001, [&] { chart.DibujarRejilla(); }), 10e-6);
    Report("grid and 10002 dots, chart alone",
           MedianSeconds(2001,
                         [&] {
                             chart.DibujarRejilla();
                             chart.DibujarSerie(store, 0);
                         }),
           50e-6);
    Report("full redraw of 5001 slots, no repaint",
           MedianSeconds(2001, [&] { form.barraChange(); }), 50e-6);
    QCoreApplication::processEvents();
    pintadas.veces = 0;
    constexpr int kRedibujos = 501;
    Report("full redraw of 5001 slots, with its repaint", MedianSeconds(kRedibujos, [&] {
               form.barraChange();
               QCoreApplication::processEvents();
           }));
    std::printf("%-48s %16d of %d\n", "  chart repaints seen", pintadas.veces, kRedibujos);
    std::printf("%-48s %16s\n", "  platform", qPrintable(QGuiApplication::platformName()));
    QDir::setCurrent(previous);
}
