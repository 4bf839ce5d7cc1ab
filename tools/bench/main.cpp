#include "Bench.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    RunSamplingBenchmarks();
    RunSamplefilesBenchmarks();
    return 0;
}
