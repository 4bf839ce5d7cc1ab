#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>

/// The runtime's file error codes that carry a message of their own.
namespace CodigoES {
inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFilename = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int FileNotOpen = 103;
/// Seeking before the start of a file.
inline constexpr int NegativeSeek = 131;
/// A device I/O failure with no closer code; also used for errno values whose number the
/// runtime already gives another meaning (EIO is 5, which would read "File access denied").
inline constexpr int DeviceIoError = 1117;
} // namespace CodigoES

/// A failed file operation: the runtime's code and its message ("File not found", ...,
/// "I/O error %d" for codes without a message of their own).
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);
    int code() const { return code_; }

    /// The message the runtime shows for `code`.
    static std::string MessageFor(int code);

protected:
    /// For errors that belong to a code but say more than its standard message.
    EInOutError(int code, const std::string& message);

private:
    int code_;
};

/// The runtime code for a system error number, so an open, read or write that fails with
/// `errno` reports what the user knows from the runtime.
int CodigoDeErrno(int err);

/// Throws the EInOutError for the system error `err`.
[[noreturn]] void LanzarErrno(int err);

/// A text that is not a decimal integer in the 32-bit range.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& text);
};

/// The standard text-to-integer conversion: leading spaces and one optional sign, then
/// decimal digits up to the end of the text; nothing may follow. Values outside the 32-bit
/// range fail like any other bad text.
std::int32_t StrToInt(const QString& text);

/// A path given to the file list names a file that does not exist.
class EInvalidFileName : public std::runtime_error {
public:
    explicit EInvalidFileName(const QString& text);
};
