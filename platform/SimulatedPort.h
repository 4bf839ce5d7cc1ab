#pragma once

#include "PortIo.h"

#include <array>
#include <cstdint>
#include <functional>

/// Two serial 8-bit converters wired as the real ones: select on data bit 0 (active low),
/// a common clock on data bit 1, sensor 1's data on status bit 4 and sensor 2's on bit 5.
/// They are driven only by what is written to the data register. Each presents a room
/// temperature that drifts smoothly with time, in half-degree steps, never noise.
class SimulatedPort final : public PortIo {
public:
    using Clock = std::function<double()>; // seconds, any origin

    /// The seed chooses the drift of both channels; the same seed and clock give the same
    /// readings. Without a clock, the time since construction is used.
    explicit SimulatedPort(std::uint32_t seed = 1, Clock clock = {});

    std::uint8_t Read(std::uint16_t address) override;
    void Write(std::uint16_t address, std::uint8_t value) override;

    /// What converter `channel` (0 or 1) would convert at `seconds` on the clock.
    std::uint8_t ReadingAt(int channel, double seconds) const;

private:
    struct Drift {
        double base; // half degrees
        double slow; // amplitude of the slow wave, half degrees
        double slowPeriod;
        double fast;
        double fastPeriod;
        double phase;
    };
    std::array<Drift, 2> drift_{};
    Clock clock_;
    std::uint8_t data_ = 0x01;
    std::uint8_t control_ = 0x0C;
    std::array<std::uint8_t, 2> latched_{};
    int fallingEdges_ = 0; // since the converters were selected
};
