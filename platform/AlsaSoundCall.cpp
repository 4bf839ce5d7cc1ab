#include "AlsaSoundCall.h"

#include "RiffWave.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

/// How long an unused device stays open. Long enough to cover the gaps of an announcement,
/// short enough not to keep the device from other programs.
constexpr auto kIdleRelease = std::chrono::seconds(2);

/// Buffer length asked of the device: small, so a stop takes effect quickly and a clip
/// starts without waiting for a long buffer to fill.
constexpr unsigned kLatencyMicroseconds = 100000;

/// How long a device may go without taking data before the sound is given up as silence.
constexpr int kStallMilliseconds = 1000;

void SilentAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

std::optional<snd_pcm_format_t> PcmFormatOf(const WaveFormat& f) {
    switch (f.BitsPerSample) {
    case 8:
        return SND_PCM_FORMAT_U8;
    case 16:
        return SND_PCM_FORMAT_S16_LE;
    case 24:
        return SND_PCM_FORMAT_S24_3LE;
    case 32:
        return SND_PCM_FORMAT_S32_LE;
    default:
        return std::nullopt;
    }
}

bool SameFormat(const WaveFormat& a, const WaveFormat& b) {
    return a.Channels == b.Channels && a.SamplesPerSec == b.SamplesPerSec &&
           a.BitsPerSample == b.BitsPerSample;
}

QString NameOf(SoundArgument sound) {
    auto bytes = QByteArray(reinterpret_cast<const char*>(sound.data()),
                            static_cast<qsizetype>(sound.size()));
    // A name may come with or without its terminating zero.
    const auto end = bytes.indexOf('\0');
    if (end >= 0) {
        bytes.truncate(end);
    }
    return QString::fromUtf8(bytes);
}

std::vector<std::byte> ReadWhole(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray all = file.readAll();
    const auto* first = reinterpret_cast<const std::byte*>(all.constData());
    return {first, first + all.size()};
}

} // namespace

struct AlsaSoundCall::Impl {
    explicit Impl(std::string deviceName) : device(std::move(deviceName)) {
        closer = std::jthread([this](std::stop_token stop) { ReleaseWhenIdle(stop); });
    }

    ~Impl() {
        StopAsync();
        closer.request_stop();
        closer.join();
        Close();
    }

    std::string device;

    // Guards the PCM handle; held for the whole of a playback.
    std::mutex mutex;
    std::condition_variable_any idle;
    snd_pcm_t* pcm = nullptr;
    WaveFormat openFormat;
    SteadyClock::time_point lastUse;

    std::jthread worker;
    std::atomic<bool> asyncPlaying = false;
    std::jthread closer;

    void Close() {
        if (pcm != nullptr) {
            snd_pcm_close(pcm);
            pcm = nullptr;
        }
    }

    void ReleaseWhenIdle(std::stop_token stop) {
        std::unique_lock lock(mutex);
        while (!stop.stop_requested()) {
            if (pcm == nullptr) {
                idle.wait(lock, stop, [this] { return pcm != nullptr; });
                continue;
            }
            const auto due = lastUse + kIdleRelease;
            if (SteadyClock::now() >= due) {
                Close();
                continue;
            }
            idle.wait_until(lock, stop, due, [] { return false; });
        }
    }

    /// Readies the device for `format`, keeping it open when the format has not changed.
    /// Call with `mutex` held.
    bool Ready(const WaveFormat& format) {
        const auto pcmFormat = PcmFormatOf(format);
        if (!pcmFormat) {
            return false;
        }
        if (pcm != nullptr && SameFormat(format, openFormat)) {
            if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED || snd_pcm_prepare(pcm) == 0) {
                return true;
            }
        }
        if (pcm != nullptr) {
            snd_pcm_drop(pcm);
            if (snd_pcm_set_params(pcm, *pcmFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.Channels,
                                   format.SamplesPerSec, 1, kLatencyMicroseconds) == 0) {
                openFormat = format;
                return true;
            }
            Close();
        }
        // Kept non-blocking: a busy device fails at once instead of waiting, and a device
        // that stops taking data cannot hold the program forever (see Play).
        if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) != 0) {
            pcm = nullptr;
            return false;
        }
        if (snd_pcm_set_params(pcm, *pcmFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.Channels,
                               format.SamplesPerSec, 1, kLatencyMicroseconds) != 0) {
            Close();
            return false;
        }
        openFormat = format;
        idle.notify_all();
        return true;
    }

    /// Plays the image to its end, or until `stop` is set. Repeats while `loop`.
    bool Play(const WaveImage& wave, const std::atomic<bool>* stop, bool loop) {
        std::unique_lock lock(mutex);
        if (!Ready(wave.Format)) {
            return false;
        }
        const auto stopped = [stop] { return stop != nullptr && stop->load(); };
        const std::size_t frameBytes = wave.Format.BlockAlign;
        const auto totalFrames = static_cast<snd_pcm_uframes_t>(wave.Samples.size() / frameBytes);
        bool ok = true;
        do {
            snd_pcm_uframes_t done = 0;
            while (done < totalFrames && ok && !stopped()) {
                // Written a slice at a time so that a stop request is seen soon.
                const snd_pcm_uframes_t slice = std::min<snd_pcm_uframes_t>(
                    totalFrames - done, wave.Format.SamplesPerSec / 20 + 1);
                const snd_pcm_sframes_t n =
                    snd_pcm_writei(pcm, wave.Samples.data() + done * frameBytes, slice);
                if (n >= 0) {
                    done += static_cast<snd_pcm_uframes_t>(n);
                } else if (n == -EAGAIN) {
                    // The buffer is full: wait for room, but not for ever.
                    const int ready = snd_pcm_wait(pcm, kStallMilliseconds);
                    if (ready == 0 || (ready < 0 && snd_pcm_recover(pcm, ready, 1) != 0)) {
                        ok = false;
                    }
                } else if (snd_pcm_recover(pcm, static_cast<int>(n), 1) != 0) {
                    ok = false;
                }
            }
        } while (loop && ok && !stopped());
        if (ok && !stopped()) {
            ok = Drain();
        }
        if (!ok || stopped()) {
            snd_pcm_drop(pcm);
        }
        lastUse = SteadyClock::now();
        if (!ok) {
            // A device that failed or stalled is opened afresh for the next sound.
            Close();
        }
        idle.notify_all();
        return ok && !stopped();
    }

    /// Waits until what was written has been heard. False when the device stalls or a stop
    /// is requested meanwhile.
    bool Drain() {
        const int err = snd_pcm_drain(pcm);
        if (err == 0) {
            return true;
        }
        if (err != -EAGAIN) {
            return false;
        }
        snd_pcm_sframes_t pending = 0;
        if (snd_pcm_delay(pcm, &pending) != 0 || pending < 0) {
            pending = 0;
        }
        const auto deadline =
            SteadyClock::now() + std::chrono::milliseconds(kStallMilliseconds) +
            std::chrono::microseconds(pending * 1000000LL / std::max(1u, openFormat.SamplesPerSec));
        while (snd_pcm_state(pcm) == SND_PCM_STATE_DRAINING) {
            if (SteadyClock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    void StopAsync() {
        if (worker.joinable()) {
            worker.request_stop();
            worker.join();
        }
        asyncPlaying = false;
    }

    void StartAsync(std::vector<std::byte> image, bool loop) {
        asyncPlaying = true;
        worker = std::jthread([this, image = std::move(image), loop](std::stop_token stop) {
            std::atomic<bool> stopFlag = false;
            std::stop_callback onStop(stop, [&stopFlag] { stopFlag = true; });
            if (const auto wave = ParseRiffWave(image)) {
                Play(*wave, &stopFlag, loop);
            }
            asyncPlaying = false;
        });
    }
};

AlsaSoundCall::AlsaSoundCall(std::string device)
    : impl_(std::make_unique<Impl>(std::move(device))) {
    // Without a device ALSA would print its complaints on every clip; a missing device is
    // silence here, not an error.
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(SilentAlsaErrors); });
}

AlsaSoundCall::~AlsaSoundCall() = default;

bool AlsaSoundCall::PlaySound(SoundArgument sound, SoundModule module, std::uint32_t flags) {
    Impl& d = *impl_;
    if (sound.data() == nullptr) {
        d.StopAsync();
        return true;
    }
    if ((flags & SND_NOSTOP) != 0 && d.asyncPlaying) {
        return false;
    }
    d.StopAsync();

    std::vector<std::byte> owned;
    SoundArgument image;
    if ((flags & SND_ALIAS) != 0) {
        return false;
    } else if ((flags & SND_RESOURCE) == SND_RESOURCE) {
        const QString name = NameOf(sound);
        if (module != SoundModule::Program || name.isEmpty()) {
            return false;
        }
        owned = ReadWhole(name.startsWith(u':') ? name : QStringLiteral(":/") + name);
        image = owned;
    } else if ((flags & SND_MEMORY) != 0) {
        image = sound;
    } else {
        owned = ReadWhole(NameOf(sound));
        image = owned;
    }

    if ((flags & SND_ASYNC) != 0) {
        if (owned.empty()) {
            owned.assign(image.begin(), image.end());
        }
        if (!ParseRiffWave(owned)) {
            return false;
        }
        d.StartAsync(std::move(owned), (flags & SND_LOOP) != 0);
        return true;
    }
    const auto wave = ParseRiffWave(image);
    return wave && d.Play(*wave, nullptr, false);
}
