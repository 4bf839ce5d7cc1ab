#pragma once

#include "SoundCall.h"

#include <QByteArray>

#include <functional>
#include <vector>

/// A sound call that records what it was asked to play and hears nothing.
class RecordingSoundCall : public SoundCall {
public:
    struct Call {
        const std::byte* Data = nullptr;
        std::size_t Size = 0;
        SoundModule Module = SoundModule::None;
        std::uint32_t Flags = 0;
        /// A copy of the bytes, so the test can read a name after the clip has moved on.
        QByteArray Bytes;
    };

    std::vector<Call> Calls;

    /// Runs `during` inside every call, while the sound would be playing, for as long as
    /// the returned object lives. Declare it after whatever `during` uses, so it is unhooked
    /// before those go (a clip's destructor calls the sound too).
    [[nodiscard]] auto Listen(std::function<void(const Call&)> during) {
        during_ = std::move(during);
        struct Unhook {
            RecordingSoundCall* sound;
            ~Unhook() { sound->during_ = nullptr; }
        };
        return Unhook{this};
    }

    bool PlaySound(SoundArgument sound, SoundModule module, std::uint32_t flags) override {
        Call call{sound.data(), sound.size(), module, flags,
                  QByteArray(reinterpret_cast<const char*>(sound.data()),
                             static_cast<qsizetype>(sound.size()))};
        Calls.push_back(call);
        if (during_) {
            during_(call);
        }
        return true;
    }

    /// The calls that played something, leaving out stop requests.
    std::vector<Call> Sounds() const {
        std::vector<Call> sounds;
        for (const auto& c : Calls) {
            if (c.Data != nullptr) {
                sounds.push_back(c);
            }
        }
        return sounds;
    }

private:
    std::function<void(const Call&)> during_;
};
