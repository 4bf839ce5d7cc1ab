// Any bytes as a clip's stored "FileData" record: reading it either fills the block with
// exactly the bytes it announces or fails with EReadError and an empty block; the block
// survives a write and a read back, and playing it from memory walks it safely.
#include "Fuzz.h"

#include "FileStorage.h"
#include "FileStorageErrors.h"
#include "WavClip.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

/// Hears a clip the way the real sound call starts to: by walking its image.
class SonidoQueRecorre : public SoundCall {
public:
    bool PlaySound(SoundArgument sound, SoundModule, std::uint32_t flags) override {
        if (sound.data() != nullptr && (flags & SND_MEMORY) != 0) {
            ComprobarOnda(sound);
        }
        return true;
    }
};

/// The block a well-formed record announces: its signed count, or nothing for 0 or below.
qsizetype TamanoAnunciado(const std::uint8_t* data) {
    std::uint32_t count = 0;
    for (int i = 3; i >= 0; --i) {
        count = (count << 8) | data[i];
    }
    return std::max<qsizetype>(0, static_cast<std::int32_t>(count));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SonidoQueRecorre sound;
    TWavClip clip(sound);
    clip.SetAsyncPlay(false);
    clip.SetPlayFrom(pfForm);
    QDataStream stream(bytes);
    try {
        clip.ReadFileData(stream);
    } catch (const EReadError&) {
        if (clip.DataSize() != 0 || !clip.Data().isEmpty()) {
            Fallo("a record that ended early left data in the block");
        }
        return 0;
    }
    const qsizetype announced = TamanoAnunciado(data);
    if (clip.DataSize() != static_cast<std::uint32_t>(announced) ||
        clip.Data() != bytes.mid(4, announced)) {
        Fallo("the block is not the bytes the record announces");
    }

    QByteArray stored;
    {
        QDataStream out(&stored, QIODevice::WriteOnly);
        clip.WriteFileData(out);
    }
    TFileStorage copy;
    QDataStream in(stored);
    copy.ReadFileData(in);
    if (copy.Data() != clip.Data()) {
        Fallo("the block changed on its way through a stored record");
    }

    clip.Play();
    return 0;
}
