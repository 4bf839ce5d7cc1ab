#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Flags of the sound call, with the values the clips have always used, so that a clip's
// prepared call reads the same as it did on the original platform.
inline constexpr std::uint32_t SND_SYNC = 0x0000;
inline constexpr std::uint32_t SND_ASYNC = 0x0001;
inline constexpr std::uint32_t SND_NODEFAULT = 0x0002;
inline constexpr std::uint32_t SND_MEMORY = 0x0004;
inline constexpr std::uint32_t SND_LOOP = 0x0008;
inline constexpr std::uint32_t SND_NOSTOP = 0x0010;
inline constexpr std::uint32_t SND_NOWAIT = 0x00002000;
inline constexpr std::uint32_t SND_ALIAS = 0x00010000;
inline constexpr std::uint32_t SND_FILENAME = 0x00020000;
/// Includes the SND_MEMORY bit: test for the whole value before testing SND_MEMORY.
inline constexpr std::uint32_t SND_RESOURCE = 0x00040004;

/// Whose resources a SND_RESOURCE name refers to.
enum class SoundModule { None, Program };

/// The bytes handed to the sound call: a RIFF WAVE image (SND_MEMORY) or a name (file,
/// resource or alias, without its terminating zero). A null `data()` asks to stop the sound
/// the program is playing. The size travels with the image so that nothing past it is read.
using SoundArgument = std::span<const std::byte>;

/// The program's sound output. Playback failures are silence: the result says whether the
/// sound was played, and callers are free to ignore it.
class SoundCall {
public:
    virtual ~SoundCall() = default;
    /// Without SND_ASYNC returns only after the sound has been heard.
    virtual bool PlaySound(SoundArgument sound, SoundModule module, std::uint32_t flags) = 0;
};
