#include "AdcLink.h"
#include "Bench.h"
#include "Dialogs.h"
#include "HelpViewer.h"
#include "PlantillaMuestras.h"
#include "SimulatedPort.h"
#include "SoundCall.h"
#include "TForm1.h"
#include "ui_TForm1.h"

#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {
struct NoDialogs final : Dialogs {
    void ShowMessage(const QString&) override {}
    bool AskYesNo(const QString&) override { return false; }
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
    SampleStore& store = form.Store();
    Report("tick without sound (both channels)", MedianSeconds(4999, [&] {
               if (store.Contador >= LimiteMuestras) {
                   store.Contador = 0;
               }
               form.Timer1Timer();
           }));

    store.Contador = LimiteMuestras;
    for (int i = 0; i <= LimiteMuestras; ++i) {
        store.Sensor1[i] = 30 + i % 40;
        store.Sensor2[i] = 50 + i % 30;
    }
    form.ui().barra->setValue(0);
    Report("full redraw of 5001 slots", MedianSeconds(501, [&] { form.barraChange(); }));
    QDir::setCurrent(previous);
}
