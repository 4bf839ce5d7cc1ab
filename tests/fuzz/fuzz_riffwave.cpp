// Any bytes as a wave image in memory, as the sound call receives a clip's data: a playable
// result has its samples inside the image and is PCM.
#include "Fuzz.h"

#include "RiffWave.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> image(reinterpret_cast<const std::byte*>(data), size);
    const auto wave = ParseRiffWave(image);
    if (!wave) {
        return 0;
    }
    // Unsigned, so samples before the image count as far beyond it.
    const std::size_t desde = reinterpret_cast<std::uintptr_t>(wave->Samples.data()) -
                              reinterpret_cast<std::uintptr_t>(image.data());
    if (desde > image.size() || wave->Samples.size() > image.size() - desde) {
        Fallo("the samples lie outside the image");
    }
    if (wave->Format.FormatTag != WaveFormatPcm) {
        Fallo("a compressed format was accepted");
    }
    return 0;
}
