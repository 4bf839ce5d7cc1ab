// Any bytes as a clip's stored "FileData" record: reading it either fills the block with
// exactly the bytes it announces or fails with EReadError and leaves the block empty.
#include "Fuzz.h"

#include "FileStorage.h"
#include "FileStorageErrors.h"

#include <QByteArray>
#include <QDataStream>
#include <QtEndian>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TFileStorage storage;
    QDataStream stream(bytes);
    try {
        storage.ReadFileData(stream);
    } catch (const EReadError&) {
        if (storage.DataSize() != 0 || !storage.Data().isEmpty()) {
            Fallo("a record that ended early left data in the block");
        }
        return 0;
    }
    // A signed little-endian count; 0 or below announces nothing.
    const qsizetype announced = std::max<qint32>(0, qFromLittleEndian<qint32>(data));
    if (storage.DataSize() != static_cast<std::uint32_t>(announced) ||
        storage.Data() != bytes.mid(4, announced)) {
        Fallo("the block is not the bytes the record announces");
    }
    return 0;
}
