#include "RiffWave.h"

#include <cstring>

namespace {

std::uint16_t Le16(std::span<const std::byte> b, std::size_t at) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(b[at]) |
                                      std::to_integer<unsigned>(b[at + 1]) << 8);
}

std::uint32_t Le32(std::span<const std::byte> b, std::size_t at) {
    return static_cast<std::uint32_t>(Le16(b, at)) | static_cast<std::uint32_t>(Le16(b, at + 2))
                                                         << 16;
}

bool IdIs(std::span<const std::byte> b, std::size_t at, const char (&id)[5]) {
    return std::memcmp(b.data() + at, id, 4) == 0;
}

/// A chunk identifier is four printable ASCII characters; used to tell whether an odd-sized
/// chunk was followed by its pad byte or, as some recorders do, directly by the next chunk.
bool LooksLikeChunk(std::span<const std::byte> b, std::size_t at) {
    if (at + 8 > b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const auto c = std::to_integer<unsigned>(b[at + i]);
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

bool IsPlayablePcm(const WaveFormat& f) {
    if (f.FormatTag != WaveFormatPcm || f.Channels < 1 || f.Channels > 8) {
        return false;
    }
    if (f.BitsPerSample != 8 && f.BitsPerSample != 16 && f.BitsPerSample != 24 &&
        f.BitsPerSample != 32) {
        return false;
    }
    if (f.BlockAlign != f.Channels * (f.BitsPerSample / 8)) {
        return false;
    }
    return f.SamplesPerSec >= 1000 && f.SamplesPerSec <= 384000;
}

} // namespace

std::optional<WaveImage> ParseRiffWave(std::span<const std::byte> image) {
    if (image.size() < 12 || !IdIs(image, 0, "RIFF") || !IdIs(image, 8, "WAVE")) {
        return std::nullopt;
    }
    // The RIFF length is not trusted: recorded images get it a few bytes wrong. The walk is
    // bounded by the image itself.
    std::optional<WaveFormat> format;
    std::optional<std::span<const std::byte>> samples;
    std::size_t pos = 12;
    while (pos + 8 <= image.size() && !(format && samples)) {
        const std::uint32_t length = Le32(image, pos + 4);
        const std::size_t body = pos + 8;
        const bool isFmt = IdIs(image, pos, "fmt ");
        const bool isData = IdIs(image, pos, "data");
        if (length > image.size() - body) {
            // A truncated image: its sound cannot be trusted to be all there.
            return std::nullopt;
        }
        if (isFmt && !format) {
            if (length < 16) {
                return std::nullopt;
            }
            format =
                WaveFormat{Le16(image, body),     Le16(image, body + 2),  Le32(image, body + 4),
                           Le32(image, body + 8), Le16(image, body + 12), Le16(image, body + 14)};
        } else if (isData && !samples) {
            samples = image.subspan(body, length);
        }
        std::size_t next = body + length;
        if (length % 2 != 0 && !LooksLikeChunk(image, next)) {
            ++next; // the pad byte the format asks for
        }
        pos = next;
    }
    if (!format || !samples || !IsPlayablePcm(*format)) {
        return std::nullopt;
    }
    // A trailing partial frame cannot be played.
    const std::size_t whole = samples->size() - samples->size() % format->BlockAlign;
    return WaveImage{*format, samples->first(whole)};
}
