#include "Bench.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The tick and the redraw run in a real window; no display is needed to time them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    RunSamplingBenchmarks();
    RunSamplefilesBenchmarks();
    RunVoiceBenchmarks();
    return 0;
}
