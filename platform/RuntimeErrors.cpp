#include "RuntimeErrors.h"

#include <cerrno>
#include <limits>

EInOutError::EInOutError(int code) : std::runtime_error(MessageFor(code)), code_(code) {}

EInOutError::EInOutError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

std::string EInOutError::MessageFor(int code) {
    switch (code) {
    case CodigoES::FileNotFound:
        return "File not found";
    case CodigoES::InvalidFilename:
        return "Invalid filename";
    case CodigoES::TooManyOpenFiles:
        return "Too many open files";
    case CodigoES::AccessDenied:
        return "File access denied";
    case CodigoES::ReadBeyondEnd:
        return "Read beyond end of file";
    case CodigoES::DiskFull:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(code);
    }
}

int CodigoDeErrno(int err) {
    switch (err) {
    case ENOENT:
        return CodigoES::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return CodigoES::InvalidFilename;
    case EMFILE:
    case ENFILE:
        return CodigoES::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
    case EWOULDBLOCK:
        return CodigoES::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CodigoES::DiskFull;
    default:
        break;
    }
    // Pass the system's number on, unless the runtime already reads it as something else.
    switch (err) {
    case CodigoES::FileNotFound:
    case CodigoES::InvalidFilename:
    case CodigoES::TooManyOpenFiles:
    case CodigoES::AccessDenied:
    case CodigoES::ReadBeyondEnd:
    case CodigoES::DiskFull:
    case CodigoES::FileNotOpen:
    case CodigoES::NegativeSeek:
        return CodigoES::DeviceIoError;
    default:
        return err;
    }
}

void LanzarErrno(int err) {
    throw EInOutError(CodigoDeErrno(err));
}

namespace {

/// `text` with each control character written as '#' and its code ("#0" for a zero byte),
/// so a zero byte neither cuts the message nor vanishes from it, and none hides in any font.
QString ControlesVisibles(const QString& text) {
    QString visible;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            visible += u'#' + QString::number(c.unicode());
        } else {
            visible += c;
        }
    }
    return visible;
}

} // namespace

EConvertError::EConvertError(const QString& text)
    : std::runtime_error(QStringLiteral("'%1' is not a valid integer value")
                             .arg(ControlesVisibles(text))
                             .toStdString()) {}

std::int32_t StrToInt(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ') {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == n) {
        throw EConvertError(text);
    }
    // Accumulate the magnitude; the negative range is one larger than the positive one.
    const std::int64_t limit =
        negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                 : std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            throw EConvertError(text);
        }
        value = value * 10 + (c - u'0');
        if (value > limit) {
            throw EConvertError(text);
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

EInvalidFileName::EInvalidFileName(const QString& text)
    : std::runtime_error(QStringLiteral("Invalid file name - %1").arg(text).toStdString()) {}
