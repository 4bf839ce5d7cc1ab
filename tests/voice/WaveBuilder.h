#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <span>

/// Builds RIFF WAVE images chunk by chunk, including the faults real files have.
class WaveBuilder {
public:
    static QByteArray Le16(std::uint16_t v) {
        const char bytes[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
        return QByteArray(bytes, 2);
    }
    static QByteArray Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

    /// A chunk with the given id, declared length and body; a pad byte only when asked.
    static QByteArray Chunk(const char* id, std::uint32_t declared, const QByteArray& body,
                            bool pad = false) {
        return QByteArray(id, 4) + Le32(declared) + body + (pad ? QByteArray(1, '\0') : "");
    }
    static QByteArray Chunk(const char* id, const QByteArray& body, bool pad = false) {
        return Chunk(id, static_cast<std::uint32_t>(body.size()), body, pad);
    }

    static QByteArray Fmt(std::uint16_t tag = 1, std::uint16_t channels = 1,
                          std::uint32_t rate = 22050, std::uint16_t bits = 8) {
        const auto align = static_cast<std::uint16_t>(channels * bits / 8);
        return Chunk("fmt ", Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) +
                                 Le16(align) + Le16(bits));
    }

    /// "RIFF", its length (by default the true one, `lengthError` bytes off), "WAVE", chunks.
    static QByteArray Riff(const QByteArray& chunks, int lengthError = 0) {
        const auto length = static_cast<std::uint32_t>(chunks.size() + 4 + lengthError);
        return QByteArray("RIFF") + Le32(length) + QByteArray("WAVE") + chunks;
    }

    static QByteArray Samples(int count) {
        QByteArray s(count, '\0');
        for (int i = 0; i < count; ++i) {
            s[i] = static_cast<char>(0x80 + (i % 64) - 32);
        }
        return s;
    }

    static std::span<const std::byte> View(const QByteArray& b) {
        return std::as_bytes(std::span(b.constData(), static_cast<std::size_t>(b.size())));
    }
};
