#include "SimulatedPort.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <random>

namespace {
constexpr std::uint8_t kSelect = 0x01;
constexpr std::uint8_t kClock = 0x02;
constexpr std::array<std::uint8_t, 2> kDataLine = {0x10, 0x20};
// Status lines the converters do not drive read as a printer port idles with nothing on it.
constexpr std::uint8_t kIdleStatus = 0x87 & ~0x30;
} // namespace

SimulatedPort::SimulatedPort(std::uint32_t seed, Clock clock) : clock_(std::move(clock)) {
    if (!clock_) {
        const auto start = std::chrono::steady_clock::now();
        clock_ = [start] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
    }
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // Channel 1 around 21 degrees, channel 2 around 25: apart, both inside 18 to 28.
    const std::array<double, 2> centres = {42.0, 50.0};
    for (int c = 0; c < 2; ++c) {
        Drift& d = drift_[c];
        d.base = centres[c] + 2.0 * unit(random) - 1.0;
        d.slow = 4.0 + 2.0 * unit(random);
        d.slowPeriod = 180.0 + 120.0 * unit(random);
        d.fast = 1.0 + unit(random);
        d.fastPeriod = 30.0 + 30.0 * unit(random);
        d.phase = 2.0 * std::numbers::pi * unit(random);
    }
}

std::uint8_t SimulatedPort::ReadingAt(int channel, double seconds) const {
    const Drift& d = drift_[channel & 1];
    const double w = 2.0 * std::numbers::pi;
    const double value = d.base + d.slow * std::sin(w * seconds / d.slowPeriod + d.phase) +
                         d.fast * std::sin(w * seconds / d.fastPeriod + 2.0 * d.phase);
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 36L, 56L));
}

std::uint8_t SimulatedPort::Read(std::uint16_t address) {
    switch (address) {
    case PuertoDatos:
        return data_;
    case PuertoControl:
        return control_;
    case PuertoEstado: {
        std::uint8_t status = kIdleStatus;
        // After the start pulse, each falling clock edge shifts out the next bit, MSB first.
        const int bit = 7 - (fallingEdges_ - 2);
        if ((data_ & kSelect) == 0 && bit >= 0 && bit <= 7) {
            for (int c = 0; c < 2; ++c) {
                if ((latched_[c] >> bit) & 1) {
                    status |= kDataLine[c];
                }
            }
        }
        return status;
    }
    default:
        return 0xFF;
    }
}

void SimulatedPort::Write(std::uint16_t address, std::uint8_t value) {
    if (address == PuertoControl) {
        control_ = value;
        return;
    }
    if (address != PuertoDatos) {
        return;
    }
    const bool wasSelected = (data_ & kSelect) == 0;
    const bool selected = (value & kSelect) == 0;
    if (selected && !wasSelected) {
        // Selecting starts a conversion: both converters sample their sensor now.
        const double now = clock_();
        latched_ = {ReadingAt(0, now), ReadingAt(1, now)};
        fallingEdges_ = 0;
    }
    if (selected && (data_ & kClock) && !(value & kClock)) {
        ++fallingEdges_;
    }
    data_ = value;
}
