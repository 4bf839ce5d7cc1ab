#include "AdcLink.h"
#include "Bench.h"
#include "SimulatedPort.h"

void RunSamplingBenchmarks() {
    SimulatedPort port(7);
    AdcLink link(port);
    volatile std::uint8_t sink = 0;
    Report("conversion cycle, simulated port", MedianSeconds(20001, [&] {
               sink = link.LeerSensor1();
           }));
    (void)sink;
}
