#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

/// The "fmt " chunk of a PCM wave image.
struct WaveFormat {
    std::uint16_t FormatTag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SamplesPerSec = 0;
    std::uint32_t AvgBytesPerSec = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
};

/// A playable wave image: its format and its sample data, which lies inside the image.
struct WaveImage {
    WaveFormat Format;
    std::span<const std::byte> Samples;
};

inline constexpr std::uint16_t WaveFormatPcm = 1;

/// Walks the chunks of a RIFF WAVE image without reading outside `image`. Accepts what
/// recorders write in practice: a RIFF length that disagrees with the image size, chunks
/// after the data, odd-sized data with no pad byte before the next chunk, unknown chunks.
/// Empty for anything that cannot be played as plain PCM: no "fmt " or "data" chunk, a
/// chunk running past the end, a compressed format, inconsistent sizes.
std::optional<WaveImage> ParseRiffWave(std::span<const std::byte> image);
