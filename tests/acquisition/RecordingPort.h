#pragma once

#include "PortIo.h"

#include <functional>
#include <vector>

/// A port that records every access and answers status reads from a script.
class RecordingPort final : public PortIo {
public:
    struct Access {
        bool write;
        std::uint16_t address;
        std::uint8_t value;
        bool operator==(const Access&) const = default;
    };

    std::vector<Access> log;
    std::uint8_t control = 0x0C;
    std::uint8_t data = 0;
    /// Status for the n-th status read (0-based).
    std::function<std::uint8_t(int)> status = [](int) { return std::uint8_t{0}; };
    int statusReads = 0;

    std::uint8_t Read(std::uint16_t address) override {
        std::uint8_t value = 0;
        if (address == PuertoControl) {
            value = control;
        } else if (address == PuertoEstado) {
            value = status(statusReads++);
        } else if (address == PuertoDatos) {
            value = data;
        }
        log.push_back({false, address, value});
        return value;
    }
    void Write(std::uint16_t address, std::uint8_t value) override {
        if (address == PuertoControl) {
            control = value;
        } else if (address == PuertoDatos) {
            data = value;
        }
        log.push_back({true, address, value});
    }
};
