#include "FileStorage.h"

#include "FileStorageErrors.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>

namespace {

/// Restores a stream's byte order on the way out, so the record's own order does not leak
/// into what the caller reads or writes next.
class LittleEndianScope {
public:
    explicit LittleEndianScope(QDataStream& stream) : stream_(stream), saved_(stream.byteOrder()) {
        stream_.setByteOrder(QDataStream::LittleEndian);
    }
    ~LittleEndianScope() { stream_.setByteOrder(saved_); }
    LittleEndianScope(const LittleEndianScope&) = delete;
    LittleEndianScope& operator=(const LittleEndianScope&) = delete;

private:
    QDataStream& stream_;
    QDataStream::ByteOrder saved_;
};

/// Reads in slices, so a corrupt count cannot make us allocate gigabytes up front.
bool ReadExactly(QDataStream& stream, qsizetype count, QByteArray& into) {
    constexpr qsizetype kSlice = 1 << 16;
    into.clear();
    while (into.size() < count) {
        const qsizetype want = std::min(kSlice, count - into.size());
        const qsizetype at = into.size();
        into.resize(at + want);
        if (stream.readRawData(into.data() + at, static_cast<int>(want)) != want) {
            return false;
        }
    }
    return true;
}

} // namespace

bool TCustomFileStorage::LoadFromFile(const QString& name) {
    bool result = false;
    Clear();
    const auto report = [&] {
        if (OnLoad) {
            OnLoad(this, result);
        }
    };
    if (!name.isEmpty() && QFileInfo::exists(name)) {
        QFile file(name);
        QByteArray all;
        if (file.open(QIODevice::ReadOnly)) {
            all = file.readAll();
        }
        if (!file.isOpen() || file.error() != QFileDevice::NoError) {
            file.close();
            report();
            throw EFileStorage(QStringLiteral("Can not load data from the \"%1\" file").arg(name));
        }
        data_ = all;
        result = true;
    }
    report();
    return result;
}

bool TCustomFileStorage::SaveToFile(const QString& name) {
    bool result = false;
    bool overrideFile = true;
    const auto report = [&] {
        if (OnSave) {
            OnSave(this, result);
        }
    };
    if (QFileInfo::exists(name) && OnConfirmOverride) {
        OnConfirmOverride(this, overrideFile);
    }
    if (overrideFile) {
        QFile file(name);
        bool written = !name.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       file.write(data_) == data_.size() && file.flush();
        file.close();
        written = written && file.error() == QFileDevice::NoError;
        if (!written) {
            report();
            throw EFileStorage(QStringLiteral("Can not save data to the \"%1\" file").arg(name));
        }
        result = true;
    }
    report();
    return result;
}

void TCustomFileStorage::WriteFileData(QDataStream& stream) const {
    LittleEndianScope order(stream);
    stream << static_cast<quint32>(data_.size());
    if (!data_.isEmpty()) {
        stream.writeRawData(data_.constData(), static_cast<int>(data_.size()));
    }
}

void TCustomFileStorage::ReadFileData(QDataStream& stream) {
    LittleEndianScope order(stream);
    Clear();
    quint32 count = 0;
    stream >> count;
    if (stream.status() != QDataStream::Ok) {
        throw EReadError();
    }
    // A count that is 0 or negative as a signed number announces no bytes; the block
    // stays empty and DataSize() with it.
    const auto signedCount = static_cast<qint32>(count);
    if (signedCount > 0) {
        QByteArray block;
        if (!ReadExactly(stream, signedCount, block)) {
            throw EReadError();
        }
        data_ = block;
    }
}

void TCustomFileStorage::SetFileName(const QString& name) {
    fileName_ = name;
}

void TCustomFileStorage::Clear() {
    data_.clear();
}

void TCustomFileStorage::Loaded() {
    if (autoSave_ && !Designing()) {
        SaveToFile(saveName_);
    }
}
