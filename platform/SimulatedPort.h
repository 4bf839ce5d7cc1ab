#pragma once

#include "PortIo.h"

#include <array>
#include <cstdint>
#include <functional>

/// Two serial 8-bit converters wired as the real ones: select on data bit 0 (active low),
/// a common clock on data bit 1, sensor 1's data on status bit 4 and sensor 2's on bit 5.
/// They are driven only by what is written to the data register. They present two sensors in
/// one room: each drifts slowly, within about 1.5 degrees either way, in half-degree steps,
/// the second 2 to 5 degrees warmer than the first.
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
    struct Wave {
        double amplitude; // half degrees
        double period;    // seconds
        double phase;
    };
    std::array<double, 2> base_{}; // half degrees
    std::array<Wave, 3> room_{};   // shared by both sensors
    std::array<std::array<Wave, 2>, 2> own_{};
    Clock clock_;
    std::uint8_t data_ = 0x01;
    std::uint8_t control_ = 0x0C;
    std::array<std::uint8_t, 2> latched_{};
    int fallingEdges_ = 0; // since the converters were selected
};
