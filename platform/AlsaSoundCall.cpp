#include "AlsaSoundCall.h"

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
#include <optional>
#include <thread>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

/// How long an unused device stays open. Long enough to cover the gaps of an announcement,
/// short enough not to keep the device from other programs.
constexpr auto kIdleRelease = std::chrono::seconds(2);

/// Buffer length asked of the device: room for a whole clip, so that a sound server that
/// takes its data in gulps a second or more apart (an idle one) has all of it at once. Only
/// the clips go in ahead; a stop discards them, and silence between clips is kept short.
constexpr unsigned kLatencyMicroseconds = 1000000;

/// A device whose delay has not shrunk for this long beyond the pause it may make has
/// stalled. An ALSA device may pause for its buffer time, counted up to kMostPauseMs.
constexpr auto kStallBeyondPause = milliseconds(750);
constexpr long kMostPauseMs = 250;

/// A device that is down is tried again no sooner than this after the last try, twice as
/// long after each try that fails up to kRetryAtMost (a try can cost a sound server's client
/// some milliseconds of work), and is back once it has played this much silence within
/// kProveWithin.
constexpr auto kRetryEvery = milliseconds(300);
constexpr auto kRetryAtMost = milliseconds(1200);
constexpr long kProbeMicroseconds = 20000;
constexpr auto kProveWithin = milliseconds(500);

/// A sound not heard within this long after the device should have played all of it has
/// stalled, even if the device's position moves now and then: a sound server that holds a
/// stream for a while and plays on, again and again, would otherwise keep the call waiting.
constexpr auto kLateAtMost = milliseconds(1000);
constexpr long kPlayingFromMicroseconds = 100000;

/// How long a synchronous caller waits for the device's thread when it does not come back
/// from a call into the device (a stopped sound server) before taking the sound as silence.
constexpr auto kCallerGivesUp = milliseconds(1500);

/// How long a caller waits for a device thread that is coming back from a stuck call.
constexpr auto kRecoveryWait = milliseconds(20);

/// A sound counts as heard once no more than this is left in the device; the next clip then
/// goes in right behind it. The stream is kept at about this much silence between sounds.
constexpr auto kTailMicroseconds = 5000;
constexpr auto kKeepAliveFloorMicroseconds = 3000;

/// A delay that has not moved for this long is taken as held back by the device, and gets
/// up to kMostHeldBackMicroseconds of silence behind a sound, which releases a prebuffer; a
/// device that is only late to start (a sink that had run far ahead while idle) would
/// otherwise get silence for as long as it is late, all heard before the next sound.
constexpr auto kHeldBack = milliseconds(20);
constexpr long kMostHeldBackMicroseconds = 15000;

/// The most of a device's output latency taken into account when it runs dry (a sound
/// server's graph runs in steps of up to about 43 ms and has as much again on its way out),
/// and the latency assumed of a sound server until it has shown its own.
constexpr long kMostDryAtMs = 120;
constexpr long kServerLatencyGuessMs = 25;

/// How often the device is looked at while a sound's end is awaited.
constexpr auto kPoll = milliseconds(1);

/// Longest wait for room in one go, so that stops and stalls are seen soon.
constexpr int kRoomWaitMilliseconds = 20;

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

/// ALSA's PCM, non-blocking so that the thread that owns it can watch its progress.
class AlsaPcm final : public PcmDevice {
public:
    explicit AlsaPcm(std::string name) : name_(std::move(name)) {}
    ~AlsaPcm() override { Close(); }
    AlsaPcm(const AlsaPcm&) = delete;
    AlsaPcm& operator=(const AlsaPcm&) = delete;

    bool Open(const WaveFormat& format) override {
        Close();
        const auto pcmFormat = PcmFormatOf(format);
        if (!pcmFormat) {
            return false;
        }
        // Non-blocking: a busy device fails at once instead of waiting.
        if (snd_pcm_open(&pcm_, name_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) != 0) {
            pcm_ = nullptr;
            return false;
        }
        snd_pcm_uframes_t buffer = 0;
        snd_pcm_uframes_t period = 0;
        snd_pcm_sw_params_t* sw = nullptr;
        snd_pcm_sw_params_alloca(&sw);
        // The stream starts with its first frame, so a clip shorter than the buffer is not
        // held back and the stream runs on from one clip into the next.
        if (snd_pcm_set_params(pcm_, *pcmFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.Channels,
                               format.SamplesPerSec, 1, kLatencyMicroseconds) != 0 ||
            snd_pcm_get_params(pcm_, &buffer, &period) != 0 ||
            snd_pcm_sw_params_current(pcm_, sw) != 0 ||
            snd_pcm_sw_params_set_start_threshold(pcm_, sw, 1) != 0 ||
            snd_pcm_sw_params(pcm_, sw) != 0) {
            Close();
            return false;
        }
        buffer_ = static_cast<long>(buffer);
        rate_ = std::max(1u, format.SamplesPerSec);
        dry_ = false;
        readied_ = false;
        // A plugin in front of a sound server runs dry while the server still has its own
        // latency to play; until it has once shown how much, assume a usual one, so that
        // the first clips of a chain already follow one another without a gap.
        serverPlugin_ = snd_pcm_type(pcm_) == SND_PCM_TYPE_IOPLUG;
        if (dryAt_ == 0 && serverPlugin_) {
            dryAt_ = static_cast<long>(rate_) * kServerLatencyGuessMs / 1000;
        }
        return true;
    }

    long PauseFrames() const override {
        return std::min(buffer_, static_cast<long>(rate_) * kMostPauseMs / 1000);
    }

    long Write(const std::byte* data, long frames) override {
        if (snd_pcm_state(pcm_) == SND_PCM_STATE_XRUN) {
            if (const long left = Dry(); left != 0) {
                return left < 0 ? -1 : 0;
            }
        }
        const snd_pcm_sframes_t n =
            snd_pcm_writei(pcm_, data, static_cast<snd_pcm_uframes_t>(frames));
        if (n > 0) {
            readied_ = false;
        }
        if (n >= 0) {
            return n;
        }
        if (n == -EAGAIN) {
            return 0;
        }
        return Recover(static_cast<int>(n));
    }

    void Wait(int milliseconds) override {
        // A failing device answers at once; without the pause the thread would spin on it.
        if (snd_pcm_wait(pcm_, milliseconds) < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    }

    long Delay() override {
        switch (snd_pcm_state(pcm_)) {
        case SND_PCM_STATE_PREPARED:
            // Not started yet, which with a start at the first frame means nothing is
            // written (some plugins have no delay to give then).
            return 0;
        case SND_PCM_STATE_XRUN:
            return Dry();
        default:
            break;
        }
        snd_pcm_sframes_t delay = 0;
        const int err = snd_pcm_delay(pcm_, &delay);
        if (err == 0) {
            if (serverPlugin_) {
                LearnLatency(delay);
            }
            return std::max<long>(delay, 0);
        }
        return Recover(err);
    }

    long DryAt() const override { return dryAt_; }

    void Drain() override {
        snd_pcm_nonblock(pcm_, 0);
        snd_pcm_drain(pcm_);
        snd_pcm_nonblock(pcm_, 1);
    }

    void Drop() override {
        snd_pcm_drop(pcm_);
        snd_pcm_prepare(pcm_);
        dry_ = false;
    }

    void Close() override {
        if (pcm_ != nullptr) {
            snd_pcm_close(pcm_);
            pcm_ = nullptr;
        }
    }

private:
    /// Readies the device again after `err`: 0 once ready, -1 when it has failed. A device
    /// that fails again before it has taken a frame since it was last readied has failed for
    /// good: a sound server that has gone away fails every write, and looks ready again after
    /// every recovery, so retrying it would only spin.
    long Recover(int err) {
        if (readied_) {
            return -1;
        }
        readied_ = true;
        return snd_pcm_recover(pcm_, err, 1) == 0 ? 0 : -1;
    }

    /// A sound server takes what is in the plugin's buffer a step of its graph at a time, and
    /// what the buffer lacks when a step comes is silence. The delay beyond the buffer is
    /// what the server holds; at its most, that is where the next sound must already be in
    /// the buffer to follow without a gap.
    void LearnLatency(snd_pcm_sframes_t delay) {
        const snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_);
        if (room < 0 || room > buffer_) {
            return;
        }
        const long beyond = static_cast<long>(delay) - (buffer_ - static_cast<long>(room));
        dryAt_ = std::max(dryAt_, std::min(beyond, static_cast<long>(rate_) * kMostDryAtMs / 1000));
    }

    /// Ran dry. A sound server may still be playing what it was given last, and readying
    /// the stream again would discard that: its reported delay is counted down in real time
    /// first. How much it held is remembered, so the next sounds go in before that point.
    long Dry() {
        const auto now = SteadyClock::now();
        if (!dry_) {
            snd_pcm_sframes_t held = 0;
            if (snd_pcm_delay(pcm_, &held) != 0) {
                held = 0;
            }
            dry_ = true;
            dryFrames_ = std::clamp<long>(held, 0, static_cast<long>(rate_) * kMostDryAtMs / 1000);
            drySince_ = now;
            dryAt_ = std::max(dryAt_, dryFrames_);
        }
        const long left =
            dryFrames_ -
            static_cast<long>(std::chrono::duration<double>(now - drySince_).count() * rate_);
        if (left > 0) {
            return left;
        }
        dry_ = false;
        return Recover(-EPIPE);
    }

    std::string name_;
    snd_pcm_t* pcm_ = nullptr;
    long buffer_ = 0;
    unsigned rate_ = 1;
    bool dry_ = false;
    /// In front of a sound server, which has latency of its own beyond the buffer.
    bool serverPlugin_ = false;
    /// Readied again after a failure or after running dry, and no frame taken since.
    bool readied_ = false;
    long dryFrames_ = 0;
    long dryAt_ = 0;
    SteadyClock::time_point drySince_;
};

struct Request {
    std::uint64_t Serial = 0;
    std::vector<std::byte> Samples;
    WaveFormat Format;
    bool Loop = false;
};

/// Between the callers and the thread that owns the device. Everything but `cancelled` is
/// guarded by `mutex`.
struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    PcmDeviceFactory factory;

    std::optional<Request> pending;
    std::uint64_t lastSerial = 0;
    /// Sounds up to this serial are to stop.
    std::atomic<std::uint64_t> cancelled = 0;
    /// The last sound the thread finished, and whether it was heard to its end.
    std::uint64_t finished = 0;
    bool heard = false;
    /// An asynchronous sound not yet finished, or 0.
    std::uint64_t asynchronous = 0;
    /// Last time the thread came back from the device (or a sound was handed over).
    SteadyClock::time_point heartbeat;
    /// The device has failed, stalled or could not be opened: sounds are silence at once.
    bool down = false;
    /// A sound was asked for while the device was down: time to try it again.
    bool knock = false;
    /// A caller gave up waiting for the thread; cleared once it is back waiting for work.
    bool stuck = false;
    bool quit = false;
    bool ended = false;
};

/// The thread that owns the device: plays what it is handed, keeps the stream running with
/// a little silence between sounds, and releases the device once it has been idle a while.
class Player {
public:
    explicit Player(std::shared_ptr<Shared> shared)
        : s_(std::move(shared)), device_(s_->factory()) {}

    void Run() {
        std::unique_lock lock(s_->mutex);
        auto lastUse = SteadyClock::now();
        while (!s_->quit) {
            if (s_->down) {
                if (s_->pending) {
                    Finish(s_->pending->Serial, Outcome::Failed);
                    s_->pending.reset();
                    continue;
                }
                const auto due = lastTry_ + retryAfter_;
                if (!s_->knock || SteadyClock::now() < due) {
                    if (s_->stuck) {
                        s_->stuck = false;
                        s_->changed.notify_all();
                    }
                    s_->changed.wait_until(lock,
                                           s_->knock ? due : SteadyClock::now() + kIdleRelease);
                    continue;
                }
                s_->knock = false;
                lock.unlock();
                const bool back = Revive();
                lock.lock();
                lastTry_ = SteadyClock::now();
                retryAfter_ = std::min(retryAfter_ * 2, SteadyClock::duration(kRetryAtMost));
                s_->down = !back;
                lastUse = lastTry_;
                continue;
            }
            if (s_->pending) {
                Request request = std::move(*s_->pending);
                s_->pending.reset();
                lock.unlock();
                const Outcome outcome = Play(request);
                lock.lock();
                if (outcome == Outcome::Failed) {
                    // Down before the caller hears of it, so the sounds that follow are
                    // silence at once instead of each waiting on the device again.
                    s_->down = true;
                    s_->knock = false;
                    lastTry_ = SteadyClock::now();
                    retryAfter_ = kRetryEvery;
                }
                Finish(request.Serial, outcome);
                if (outcome == Outcome::Failed && open_) {
                    lock.unlock();
                    device_->Drop();
                    device_->Close();
                    open_ = false;
                    lock.lock();
                }
                lastUse = SteadyClock::now();
                continue;
            }
            if (s_->stuck) {
                s_->stuck = false;
                s_->changed.notify_all();
            }
            if (!open_) {
                s_->changed.wait(lock);
                continue;
            }
            if (SteadyClock::now() - lastUse > kIdleRelease) {
                lock.unlock();
                device_->Drop();
                device_->Close();
                open_ = false;
                lock.lock();
                continue;
            }
            lock.unlock();
            KeepAlive();
            lock.lock();
            s_->changed.wait_for(lock, kPoll, [this] { return s_->pending || s_->quit; });
        }
        lock.unlock();
        if (open_) {
            device_->Drain();
            device_->Close();
        }
        lock.lock();
        s_->ended = true;
        s_->changed.notify_all();
    }

private:
    enum class Outcome { Heard, Stopped, Failed };

    std::shared_ptr<Shared> s_;
    std::unique_ptr<PcmDevice> device_;
    bool open_ = false;
    WaveFormat format_;
    /// The format of the last sound asked for, which a device that is down is tried with.
    std::optional<WaveFormat> lastFormat_;
    SteadyClock::time_point lastTry_;
    SteadyClock::duration retryAfter_ = kRetryEvery;
    std::size_t frameBytes_ = 1;
    /// Frames written since the device was opened.
    long written_ = 0;
    /// The device's position (frames written less its delay) when it last moved.
    long position_ = 0;
    SteadyClock::time_point moved_;
    SteadyClock::duration stallAfter_ = kStallBeyondPause;
    std::vector<std::byte> silence_;
    SteadyClock::time_point keptAlive_;
    /// Silence written behind the sound being played because its delay stood still.
    long heldBackFor_ = 0;
    double silenceDue_ = 0;

    /// With the mutex held.
    void Finish(std::uint64_t serial, Outcome outcome) {
        s_->finished = serial;
        s_->heard = outcome == Outcome::Heard;
        if (s_->asynchronous == serial) {
            s_->asynchronous = 0;
        }
        s_->changed.notify_all();
    }

    /// Tries a device that is down: opened, and seen to play a little silence.
    bool Revive() {
        if (!lastFormat_) {
            return false;
        }
        if (Ready(*lastFormat_) && Plays()) {
            return true;
        }
        if (open_) {
            device_->Drop();
            device_->Close();
            open_ = false;
        }
        return false;
    }

    /// Whether the device, just opened, is seen to play a little silence.
    bool Plays() {
        const long probe = Frames(kProbeMicroseconds);
        const auto until = SteadyClock::now() + kProveWithin;
        long put = 0;
        long delay = 0;
        while (SteadyClock::now() < until) {
            while (put < probe) {
                const long n =
                    device_->Write(silence_.data(), std::min<long>(probe - put, Frames(5000) + 1));
                if (n <= 0) {
                    break;
                }
                put += n;
                written_ += n;
            }
            delay = device_->Delay();
            if (delay < 0) {
                break;
            }
            if (written_ - delay > position_) {
                return true;
            }
            // Not the device's own wait: a failing device may answer it at once.
            std::this_thread::sleep_for(milliseconds(5));
        }
        return false;
    }

    long Frames(long microseconds) const {
        return static_cast<long>(static_cast<long long>(format_.SamplesPerSec) * microseconds /
                                 1000000);
    }

    /// A sound counts as heard once no more than this is left; the next one goes in there.
    long Tail() const { return Frames(kTailMicroseconds) + device_->DryAt(); }
    /// Below this the stream gets silence between sounds.
    long Floor() const { return Frames(kKeepAliveFloorMicroseconds) + device_->DryAt(); }

    bool Cancelled(const Request& r) const { return s_->cancelled.load() >= r.Serial; }

    void Alive() {
        std::lock_guard lock(s_->mutex);
        s_->heartbeat = SteadyClock::now();
    }

    void Moved() {
        moved_ = SteadyClock::now();
        Alive();
    }

    /// Looks at the device's delay: false when it has failed, or has not moved for longer
    /// than a stall allows. `delay` receives the delay.
    bool Progressing(long& delay) {
        delay = device_->Delay();
        if (delay < 0) {
            return false;
        }
        const long position = written_ - delay;
        if (position > position_) {
            position_ = position;
            Moved();
            return true;
        }
        Alive();
        return SteadyClock::now() - moved_ <= stallAfter_;
    }

    bool Ready(const WaveFormat& format) {
        if (open_ && !SameFormat(format, format_)) {
            device_->Drain();
            device_->Close();
            open_ = false;
        }
        if (!open_) {
            if (!device_->Open(format)) {
                return false;
            }
            open_ = true;
            format_ = format;
            frameBytes_ = std::max<std::size_t>(format.BlockAlign, 1);
            written_ = 0;
            position_ = 0;
            const auto pause =
                std::chrono::microseconds(static_cast<long long>(device_->PauseFrames()) * 1000000 /
                                          std::max(1u, format.SamplesPerSec));
            stallAfter_ =
                std::chrono::duration_cast<SteadyClock::duration>(pause) + kStallBeyondPause;
            // Unsigned 8-bit samples are silent at their middle value, the others at zero.
            silence_.assign(
                static_cast<std::size_t>(Frames(kTailMicroseconds + kMostDryAtMs * 1000) + 1) *
                    frameBytes_,
                format.BitsPerSample == 8 ? std::byte{0x80} : std::byte{0});
        }
        long delay = device_->Delay();
        if (delay < 0) {
            return false;
        }
        position_ = written_ - delay;
        Moved();
        return true;
    }

    Outcome Play(const Request& r) {
        lastFormat_ = r.Format;
        if (!Ready(r.Format)) {
            return Outcome::Failed;
        }
        const auto stopped = [&] {
            device_->Drop();
            position_ = written_;
            return Outcome::Stopped;
        };
        const long total = static_cast<long>(r.Samples.size() / frameBytes_);
        long delay = 0;
        do {
            long done = 0;
            while (done < total) {
                if (Cancelled(r)) {
                    return stopped();
                }
                const long n = device_->Write(r.Samples.data() + done * frameBytes_, total - done);
                if (n < 0) {
                    return Outcome::Failed;
                }
                if (n > 0) {
                    done += n;
                    written_ += n;
                    Moved();
                    continue;
                }
                const auto asked = SteadyClock::now();
                device_->Wait(kRoomWaitMilliseconds);
                // A device that answers at once and still takes nothing (one whose server
                // has gone, and that says it is ready after every failure) is not asked
                // again without a pause until it counts as stalled.
                if (SteadyClock::now() - asked < kPoll) {
                    std::this_thread::sleep_for(kPoll);
                }
                if (!Progressing(delay)) {
                    return Outcome::Failed;
                }
            }
        } while (r.Loop && !Cancelled(r));
        // Heard once the device's own delay says so; the stream goes on running.
        keptAlive_ = SteadyClock::now();
        silenceDue_ = 0;
        heldBackFor_ = 0;
        // The sound is due once the device, playing, has played what it holds; a device
        // that is late to start is the stall rule's to judge, not this one's. A sound server
        // late to start may show a position that moves by a little while its own latency
        // shrinks: playing is a position that has moved by kPlayingFromMicroseconds.
        const long startedAt = position_;
        std::optional<SteadyClock::time_point> due;
        for (;;) {
            if (Cancelled(r)) {
                return stopped();
            }
            if (!Progressing(delay) || (due && SteadyClock::now() > *due)) {
                return Outcome::Failed;
            }
            if (!due && position_ - startedAt >= Frames(kPlayingFromMicroseconds)) {
                due = SteadyClock::now() +
                      std::chrono::microseconds(static_cast<long long>(delay) * 1000000LL /
                                                std::max(1u, format_.SamplesPerSec)) +
                      kLateAtMost;
            }
            if (delay <= Tail()) {
                // Silence between sounds starts from nothing, so the next clip of a chain,
                // handed over at once, goes in right behind this one.
                keptAlive_ = SteadyClock::now();
                silenceDue_ = 0;
                return Outcome::Heard;
            }
            if (SteadyClock::now() - moved_ > kHeldBack &&
                heldBackFor_ < Frames(kMostHeldBackMicroseconds)) {
                const long before = written_;
                PushSilence(delay);
                heldBackFor_ += written_ - before;
            }
            std::this_thread::sleep_for(kPoll);
        }
    }

    /// Silence written behind what is in the device, never more than the time that has
    /// passed, so a device that plays faster than real time does not fill up with it.
    void PushSilence(long delay) {
        const auto now = SteadyClock::now();
        silenceDue_ =
            std::min(silenceDue_ + std::chrono::duration<double>(now - keptAlive_).count() *
                                       format_.SamplesPerSec,
                     static_cast<double>(Tail()));
        keptAlive_ = now;
        const long frames =
            std::min(Tail() - std::min(delay, Floor()), static_cast<long>(silenceDue_));
        if (frames <= 0) {
            return;
        }
        const long n = device_->Write(silence_.data(), frames);
        if (n > 0) {
            written_ += n;
            silenceDue_ -= static_cast<double>(n);
        }
    }

    /// Between sounds the stream is kept from running dry. A server that holds back the
    /// last few milliseconds until it has more (a sound server's prebuffer) gets silence too.
    void KeepAlive() {
        long delay = device_->Delay();
        if (delay < 0) {
            return;
        }
        const long position = written_ - delay;
        if (position > position_) {
            position_ = position;
            moved_ = SteadyClock::now();
        }
        if (delay < Floor() || SteadyClock::now() - moved_ > kHeldBack) {
            PushSilence(delay);
        }
    }
};

} // namespace

std::unique_ptr<PcmDevice> MakeAlsaPcm(std::string name) {
    return std::make_unique<AlsaPcm>(std::move(name));
}

struct AlsaSoundCall::Channel : Shared {
    std::thread thread;
};

AlsaSoundCall::AlsaSoundCall(std::string device)
    : AlsaSoundCall(PcmDeviceFactory(
          [device = std::move(device)] { return std::make_unique<AlsaPcm>(device); })) {
    // Without a device ALSA would print its complaints on every clip; a missing device is
    // silence here, not an error.
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(SilentAlsaErrors); });
}

AlsaSoundCall::AlsaSoundCall(PcmDeviceFactory factory) : channel_(std::make_shared<Channel>()) {
    channel_->factory = std::move(factory);
    std::shared_ptr<Shared> shared = channel_;
    channel_->thread = std::thread([shared] { Player(shared).Run(); });
}

AlsaSoundCall::~AlsaSoundCall() {
    Channel& c = *channel_;
    std::unique_lock lock(c.mutex);
    c.quit = true;
    c.pending.reset();
    c.cancelled = c.lastSerial;
    c.changed.notify_all();
    // A thread stuck in the device is left behind; it holds the shared part itself.
    const auto wait = c.stuck ? kRecoveryWait : kCallerGivesUp;
    if (c.changed.wait_for(lock, wait, [&c] { return c.ended; })) {
        lock.unlock();
        c.thread.join();
    } else {
        c.thread.detach();
    }
}

bool AlsaSoundCall::PlaySound(SoundArgument sound, SoundModule module, std::uint32_t flags) {
    Channel& c = *channel_;
    if (sound.data() == nullptr) {
        std::lock_guard lock(c.mutex);
        c.pending.reset();
        c.asynchronous = 0;
        c.cancelled = c.lastSerial;
        c.changed.notify_all();
        return true;
    }
    if ((flags & SND_NOSTOP) != 0) {
        std::lock_guard lock(c.mutex);
        if (c.asynchronous != 0) {
            return false;
        }
    }

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
    const auto wave = ParseRiffWave(image);
    if (!wave) {
        return false;
    }
    // The thread gets its own copy: a caller that gives up may free the image at once.
    Request request{0,
                    {wave->Samples.begin(), wave->Samples.end()},
                    wave->Format,
                    (flags & SND_LOOP) != 0 && (flags & SND_ASYNC) != 0};
    const bool asynchronous = (flags & SND_ASYNC) != 0;

    std::unique_lock lock(c.mutex);
    if (c.down) {
        if (!c.knock) {
            c.knock = true;
            c.changed.notify_all();
        }
        return false;
    }
    if (!c.changed.wait_for(lock, kRecoveryWait, [&c] { return !c.stuck; })) {
        return false; // still stuck in the device: silence rather than another wait
    }
    const std::uint64_t serial = ++c.lastSerial;
    request.Serial = serial;
    c.cancelled = serial - 1;
    c.pending = std::move(request);
    c.asynchronous = asynchronous ? serial : 0;
    c.heartbeat = SteadyClock::now();
    c.changed.notify_all();
    if (asynchronous) {
        return true;
    }
    while (c.finished < serial) {
        const auto giveUp = c.heartbeat + kCallerGivesUp;
        if (SteadyClock::now() >= giveUp) {
            c.stuck = true;
            c.cancelled = serial;
            if (c.pending && c.pending->Serial == serial) {
                c.pending.reset();
            }
            return false;
        }
        c.changed.wait_until(lock, giveUp);
    }
    return c.finished == serial && c.heard;
}
