#pragma once

#include "RiffWave.h"
#include "SoundCall.h"

#include <functional>
#include <memory>
#include <string>

/// A PCM playback device as the sound call uses it: ALSA in the program, a scripted device in
/// tests. Any of these may block for as long as the device pleases (a stopped sound server),
/// so only the sound call's own thread calls them.
class PcmDevice {
public:
    virtual ~PcmDevice() = default;
    /// Opens the device for `format`, closing it first if open. False when it cannot play.
    virtual bool Open(const WaveFormat& format) = 0;
    /// Frames' worth of time the device may hold its position once open without having
    /// stalled (one that takes its data in gulps).
    virtual long PauseFrames() const = 0;
    /// Writes up to `frames` frames without waiting: the frames taken, 0 when there is no
    /// room, negative when the device has failed.
    virtual long Write(const std::byte* data, long frames) = 0;
    /// Waits up to `milliseconds` for room to write.
    virtual void Wait(int milliseconds) = 0;
    /// Frames written and not yet heard; negative when the device has failed.
    virtual long Delay() = 0;
    /// Frames the device still held when it last ran dry (a sound server's own output
    /// latency): the next sound must be in before the delay falls that low.
    virtual long DryAt() const { return 0; }
    /// Waits until everything written has been heard.
    virtual void Drain() = 0;
    /// Discards what has not been heard and is ready for more.
    virtual void Drop() = 0;
    virtual void Close() = 0;
};

using PcmDeviceFactory = std::function<std::unique_ptr<PcmDevice>()>;

/// ALSA's PCM of that name.
std::unique_ptr<PcmDevice> MakeAlsaPcm(std::string name);

/// The sound call on a PCM device thread. Plays RIFF WAVE images of plain PCM on one PCM device (by
/// default ALSA's "default"). A synchronous call returns once the device's own delay says the sound
/// has been heard, all but its last few milliseconds (5 ms; in front of a sound server, 5 ms
/// more than the server itself holds beyond the plugin's buffer, which it measures as it
/// plays, since what the buffer lacks when the server next takes from it is heard as a gap);
/// the stream keeps running, so the next clip of an
/// announcement goes in right behind instead of the device draining and starting again
/// between them. The device is released after a moment of silence so that other programs
/// can use it. Every failure (no device, device busy, image not understood, device stalled)
/// is silence; nothing is printed or thrown.
///
/// The device belongs to a thread of the sound call's own: no device call runs on the
/// caller's thread. A device whose delay has not shrunk, nor taken data, for 0.75 s beyond
/// the pause it may make (an ALSA device up to a quarter of a second) has stalled, and the sound is
/// silence, as is a sound not heard within a second after the device should have played all of
/// it (a server that keeps holding the stream and playing on); a device that does not even
/// come back from a call is given up after a second and a half. A device that fails again
/// before it has taken a frame since it was readied after a failure has failed. A device that
/// has failed, stalled or could not be opened is down: sounds are silence at once, and each
/// sound asked for meanwhile lets the thread try the device again, 0.3 s after the last try and
/// twice as long after each failed try, up to 1.2 s; it is back once it has been seen to play.
///
/// SND_MEMORY plays the image given; SND_FILENAME a file; SND_RESOURCE a Qt resource of the
/// program (":/name" unless the name starts with ':'); SND_ALIAS stays silent, as there are
/// no system event sounds here. SND_ASYNC returns at once; SND_LOOP repeats an asynchronous
/// sound until it is stopped. A null sound stops the sound being played, as does any new
/// sound unless SND_NOSTOP makes the new one give way.
class AlsaSoundCall final : public SoundCall {
public:
    explicit AlsaSoundCall(std::string device = "default");
    /// Plays on devices made by `factory` instead of ALSA.
    explicit AlsaSoundCall(PcmDeviceFactory factory);
    ~AlsaSoundCall() override;
    AlsaSoundCall(const AlsaSoundCall&) = delete;
    AlsaSoundCall& operator=(const AlsaSoundCall&) = delete;

    bool PlaySound(SoundArgument sound, SoundModule module, std::uint32_t flags) override;

private:
    /// What the caller and the device's thread share; outlives a thread left stuck.
    struct Channel;
    std::shared_ptr<Channel> channel_;
};
