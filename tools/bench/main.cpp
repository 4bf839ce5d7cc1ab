#include "Bench.h"

#include <QApplication>
#include <cstring>

int main(int argc, char** argv) {
    // The tick and the redraw run in a real window; no display is needed to time them, but
    // under X (DISPLAY set) they include what the X server is sent.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // `bench sampling startup` runs only those parts; no argument runs them all.
    const auto run = [&](const char* part) {
        if (argc < 2) {
            return true;
        }
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], part) == 0) {
                return true;
            }
        }
        return false;
    };
    if (run("sampling")) {
        RunSamplingBenchmarks();
    }
    if (run("startup")) {
        RunStartupBenchmarks();
    }
    if (run("samplefiles")) {
        RunSamplefilesBenchmarks();
    }
    if (run("voice")) {
        RunVoiceBenchmarks();
    }
    return 0;
}
