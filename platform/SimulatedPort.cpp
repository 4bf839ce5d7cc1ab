#include "SimulatedPort.h"

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
    const auto wave = [&](double amplitude, double period, double spread) {
        return Wave{amplitude, period + spread * unit(random),
                    2.0 * std::numbers::pi * unit(random)};
    };
    // Channel 1 near 21 degrees, channel 2 some 3.5 degrees warmer.
    base_ = {41.0 + 2.0 * unit(random), 0.0};
    base_[1] = base_[0] + 6.5 + unit(random);
    // The room moves both sensors alike (at most 1 degree either way); each sensor adds a
    // smaller wander of its own (at most half a degree), so the two never come closer than
    // 2 degrees nor part by more than 5. Several incommensurate waves make the readings
    // wander rather than swing: the extremes are passed, not dwelt on.
    room_ = {wave(1.0, 240.0, 120.0), wave(0.6, 130.0, 50.0), wave(0.4, 75.0, 25.0)};
    for (auto& own : own_) {
        own = {wave(0.6, 170.0, 50.0), wave(0.4, 95.0, 30.0)};
    }
}

std::uint8_t SimulatedPort::ReadingAt(int channel, double seconds) const {
    const auto sum = [seconds](const auto& waves) {
        double value = 0.0;
        for (const Wave& w : waves) {
            value += w.amplitude * std::sin(2.0 * std::numbers::pi * seconds / w.period + w.phase);
        }
        return value;
    };
    const int c = channel & 1;
    return static_cast<std::uint8_t>(std::lround(base_[c] + sum(room_) + sum(own_[c])));
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
