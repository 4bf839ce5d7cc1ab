#pragma once

#include <stdexcept>
#include <string>

#include <QString>

/// A component's data block could not be loaded from or saved to a file.
class EFileStorage : public std::runtime_error {
public:
    explicit EFileStorage(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// A stored data record ended before the byte count it announced.
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Stream read error") {}
};
