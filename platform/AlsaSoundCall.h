#pragma once

#include "SoundCall.h"

#include <memory>
#include <string>

/// The sound call on ALSA. Plays RIFF WAVE images of plain PCM on one PCM device (by
/// default ALSA's "default"); a synchronous call writes the samples and drains, so it returns
/// once the sound has been heard. The device stays open between sounds of the same format,
/// which keeps the gap between the clips of an announcement short, and is released after a
/// moment of silence so that other programs can use it. Every failure (no device, device
/// busy, image not understood) is silence; nothing is printed or thrown.
///
/// SND_MEMORY plays the image given; SND_FILENAME a file; SND_RESOURCE a Qt resource of the
/// program (":/name" unless the name starts with ':'); SND_ALIAS stays silent, as there are
/// no system event sounds here. SND_ASYNC plays on a worker thread and returns at once;
/// SND_LOOP repeats an asynchronous sound until it is stopped. A null sound stops the sound
/// being played, as does any new sound unless SND_NOSTOP makes the new one give way.
class AlsaSoundCall final : public SoundCall {
public:
    explicit AlsaSoundCall(std::string device = "default");
    ~AlsaSoundCall() override;
    AlsaSoundCall(const AlsaSoundCall&) = delete;
    AlsaSoundCall& operator=(const AlsaSoundCall&) = delete;

    bool PlaySound(SoundArgument sound, SoundModule module, std::uint32_t flags) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
