#pragma once

#include <stdexcept>
#include <string>

/// A port backend that could not be opened: names the device, the reason and what to do.
class PortOpenError : public std::runtime_error {
public:
    PortOpenError(const std::string& device, const std::string& reason, const std::string& fix)
        : std::runtime_error(reason), device_(device), reason_(reason), fix_(fix) {}
    const std::string& device() const { return device_; }
    const std::string& reason() const { return reason_; }
    const std::string& fix() const { return fix_; }

private:
    std::string device_;
    std::string reason_;
    std::string fix_;
};

/// The reason behind a system error code, in Spanish whatever the user's locale: the notice
/// around it is Spanish, so the C library's English text would read as a foreign phrase.
std::string RazonDelSistema(int error);
