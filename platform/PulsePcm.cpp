#include "PulsePcm.h"

#include <pulse/pulseaudio.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace {

using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

/// How long the server has to answer a connection, a new stream or a question about its
/// position: a stopped server takes the connection and never replies.
constexpr auto kAnswerWithin = milliseconds(500);

/// Latency asked of the server: the sink then runs in steps this short while a sound plays,
/// so the next clip of a chain, handed over once the previous one has been heard, follows
/// it with no more silence than that.
constexpr pa_usec_t kTargetLatencyUsec = 20000;

/// A question about the position is left a little longer, for a machine under load.
constexpr auto kAnswerQuestionWithin = milliseconds(750);

/// A server that answers may still hold its position this long: a sink that nobody listens
/// to closely works in blocks of half a second or more. A stopped server does not answer.
constexpr pa_usec_t kMostPauseUsec = 2000000;

/// How far ahead of what has been played a sound is written: a whole clip, so that a busy
/// machine that leaves the thread waiting does not cut it; more than the server asks for is
/// kept by the server until it is due.
constexpr pa_usec_t kWriteAheadUsec = 1000000;

/// The server's position is asked for this often; between its answers the played position
/// is carried forward by the clock, for no longer than kTrustClock past the last answer, so
/// that a server that has stopped shows a position that stands still. The client library's
/// own carrying forward is not used: it stops whenever an answer said the stream was not
/// playing (as after it ran dry between two sounds) and stood still for up to seconds after
/// playback had started again.
constexpr auto kTimingEvery = milliseconds(10);
constexpr auto kTrustClock = milliseconds(100);

std::optional<pa_sample_format_t> SampleFormatOf(const WaveFormat& f) {
    switch (f.BitsPerSample) {
    case 8:
        return PA_SAMPLE_U8;
    case 16:
        return PA_SAMPLE_S16LE;
    case 24:
        return PA_SAMPLE_S24LE;
    case 32:
        return PA_SAMPLE_S32LE;
    default:
        return std::nullopt;
    }
}

class PulsePcm final : public PcmDevice {
public:
    PulsePcm() = default;
    ~PulsePcm() override { Close(); }
    PulsePcm(const PulsePcm&) = delete;
    PulsePcm& operator=(const PulsePcm&) = delete;

    bool Open(const WaveFormat& format) override {
        Close();
        const bool ok = Connect(format);
        if (!ok) {
            Close();
        }
        return ok;
    }

    long PauseFrames() const override { return Frames(kMostPauseUsec); }

    /// Whether the server that answered last is PipeWire serving this protocol.
    bool OnPipeWire() const { return onPipeWire_; }

    bool Connect(const WaveFormat& format) {
        const auto sampleFormat = SampleFormatOf(format);
        if (!sampleFormat || format.Channels == 0 || format.Channels > PA_CHANNELS_MAX) {
            return false;
        }
        spec_ = {*sampleFormat, std::max(1u, format.SamplesPerSec),
                 static_cast<std::uint8_t>(format.Channels)};
        if (pa_sample_spec_valid(&spec_) == 0) {
            return false;
        }
        frameBytes_ = pa_frame_size(&spec_);
        loop_ = pa_threaded_mainloop_new();
        if (loop_ == nullptr) {
            return false;
        }
        if (pa_threaded_mainloop_start(loop_) < 0) {
            pa_threaded_mainloop_free(loop_);
            loop_ = nullptr;
            return false;
        }
        Locked lock(loop_);
        context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Velmoranta");
        if (context_ == nullptr) {
            return false;
        }
        pa_context_set_state_callback(context_, &PulsePcm::Changed, this);
        // No server is started for us: where none runs, ALSA plays instead.
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            !Await(lock, [this] { return pa_context_get_state(context_) == PA_CONTEXT_READY; })) {
            return false;
        }
        if (pa_operation* op = pa_context_get_server_info(context_, &PulsePcm::ServerIs, this)) {
            Await(lock, [op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
            pa_operation_unref(op);
        }
        stream_ = pa_stream_new(context_, "Velmoranta", &spec_, nullptr);
        if (stream_ == nullptr) {
            return false;
        }
        pa_stream_set_state_callback(stream_, &PulsePcm::StreamChanged, this);
        pa_stream_set_write_callback(stream_, &PulsePcm::Room, this);
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(kTargetLatencyUsec, &spec_));
        // Playback starts with the first frame, and again with the first frame after the
        // stream has run dry, so no clip waits for more to come.
        attr.prebuf = static_cast<std::uint32_t>(frameBytes_);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        const auto flags =
            static_cast<pa_stream_flags_t>(PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
        if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0 ||
            !Await(lock, [this] { return pa_stream_get_state(stream_) == PA_STREAM_READY; })) {
            return false;
        }
        written_ = 0;
        return true;
    }

    long Write(const std::byte* data, long frames) override {
        if (loop_ == nullptr) {
            return -1;
        }
        Locked lock(loop_);
        if (!Good()) {
            return -1;
        }
        const std::size_t asked = pa_stream_writable_size(stream_);
        if (asked == static_cast<std::size_t>(-1)) {
            return -1;
        }
        long room = static_cast<long>(asked / frameBytes_);
        pa_usec_t latency = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream_, &latency, &negative) == 0) {
            const long queued = negative != 0 ? 0 : Frames(latency);
            room = std::max(room, Frames(kWriteAheadUsec) - queued);
        }
        const long n = std::min(frames, room);
        if (n <= 0) {
            return 0;
        }
        if (pa_stream_write(stream_, data, static_cast<std::size_t>(n) * frameBytes_, nullptr, 0,
                            PA_SEEK_RELATIVE) < 0) {
            return -1;
        }
        written_ += n;
        return n;
    }

    void Wait(int milliseconds) override {
        std::unique_lock lock(wake_);
        woken_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return roused_; });
        roused_ = false;
    }

    long Delay() override {
        if (loop_ == nullptr) {
            return -1;
        }
        Locked lock(loop_);
        if (!Good()) {
            return -1;
        }
        // The server is asked for its position all the time; a question it leaves
        // unanswered for long (stopped) stops the clock from carrying the position on.
        const auto now = SteadyClock::now();
        if (!timingAsked_ && now - asked_ >= kTimingEvery) {
            if (pa_operation* op = pa_stream_update_timing_info(stream_, &PulsePcm::Timed, this)) {
                timingAsked_ = true;
                asked_ = now;
                pa_operation_unref(op);
            }
        }
        pa_usec_t latency = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream_, &latency, &negative) < 0) {
            // No report yet: nothing written has been heard.
            return written_;
        }
        if (negative != 0) {
            latency = 0;
        }
        const auto unanswered = timingAsked_ ? now - asked_ : SteadyClock::duration::zero();
        if (unanswered > kAnswerQuestionWithin) {
            return -1; // stopped: the sound is given up at once rather than waited for
        }
        if (const pa_timing_info* info = pa_stream_get_timing_info(stream_)) {
            const pa_usec_t carried = std::min<pa_usec_t>(
                pa_timeval_age(&info->timestamp),
                std::chrono::duration_cast<std::chrono::microseconds>(kTrustClock).count());
            latency = latency > carried ? latency - carried : 0;
        }
        return std::min(Frames(latency), written_);
    }

    void Drain() override {
        if (loop_ == nullptr) {
            return;
        }
        Locked lock(loop_);
        if (!Good()) {
            return;
        }
        pa_usec_t latency = 0;
        int negative = 0;
        pa_stream_get_latency(stream_, &latency, &negative);
        pa_operation* op = pa_stream_drain(stream_, &PulsePcm::Done, this);
        if (op == nullptr) {
            return;
        }
        const auto within =
            milliseconds(static_cast<long>(latency / PA_USEC_PER_MSEC)) + kAnswerWithin;
        Await(
            lock, [op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; }, within);
        pa_operation_unref(op);
    }

    void Drop() override {
        if (loop_ == nullptr) {
            return;
        }
        Locked lock(loop_);
        if (Good()) {
            if (pa_operation* op = pa_stream_flush(stream_, nullptr, nullptr)) {
                pa_operation_unref(op);
            }
        }
    }

    void Close() override {
        if (loop_ == nullptr) {
            return;
        }
        {
            Locked lock(loop_);
            if (stream_ != nullptr) {
                pa_stream_set_state_callback(stream_, nullptr, nullptr);
                pa_stream_set_write_callback(stream_, nullptr, nullptr);
                pa_stream_disconnect(stream_);
                pa_stream_unref(stream_);
                stream_ = nullptr;
            }
            if (context_ != nullptr) {
                pa_context_set_state_callback(context_, nullptr, nullptr);
                pa_context_disconnect(context_);
                pa_context_unref(context_);
                context_ = nullptr;
            }
        }
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
        timingAsked_ = false;
    }

private:
    struct Locked {
        explicit Locked(pa_threaded_mainloop* loop) : loop(loop) {
            pa_threaded_mainloop_lock(loop);
        }
        ~Locked() { pa_threaded_mainloop_unlock(loop); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;
        pa_threaded_mainloop* loop;
    };

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_sample_spec spec_{};
    std::size_t frameBytes_ = 1;
    long written_ = 0;
    bool timingAsked_ = false;
    bool onPipeWire_ = false;
    SteadyClock::time_point asked_;

    std::mutex wake_;
    std::condition_variable woken_;
    bool roused_ = false;

    long Frames(pa_usec_t usec) const {
        return static_cast<long>(usec * spec_.rate / PA_USEC_PER_SEC);
    }

    bool Good() const {
        return context_ != nullptr && stream_ != nullptr &&
               pa_context_get_state(context_) == PA_CONTEXT_READY &&
               pa_stream_get_state(stream_) == PA_STREAM_READY;
    }

    /// Waits, with the loop locked, until `done` or a failure, for at most `within`: the
    /// library's own wait has no time limit, and a stopped server never answers.
    template <class Done>
    bool Await(Locked& lock, Done done, SteadyClock::duration within = kAnswerWithin) {
        const auto until = SteadyClock::now() + within;
        while (!done()) {
            if (Failed() || SteadyClock::now() >= until) {
                return false;
            }
            pa_threaded_mainloop_unlock(lock.loop);
            std::this_thread::sleep_for(milliseconds(2));
            pa_threaded_mainloop_lock(lock.loop);
        }
        return true;
    }

    bool Failed() const {
        if (context_ != nullptr && !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_))) {
            return true;
        }
        return stream_ != nullptr && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_));
    }

    /// Wakes the sound call's thread from Wait: room to write, or a change of state.
    void Rouse() {
        std::lock_guard lock(wake_);
        roused_ = true;
        woken_.notify_all();
    }

    static void Changed(pa_context*, void* self) { static_cast<PulsePcm*>(self)->Rouse(); }
    static void StreamChanged(pa_stream*, void* self) { static_cast<PulsePcm*>(self)->Rouse(); }
    static void Room(pa_stream*, std::size_t, void* self) { static_cast<PulsePcm*>(self)->Rouse(); }
    static void Timed(pa_stream*, int, void* self) {
        static_cast<PulsePcm*>(self)->timingAsked_ = false;
    }
    static void Done(pa_stream*, int, void*) {}
    static void ServerIs(pa_context*, const pa_server_info* info, void* self) {
        static_cast<PulsePcm*>(self)->onPipeWire_ =
            info != nullptr && info->server_name != nullptr &&
            std::string_view(info->server_name).find("PipeWire") != std::string_view::npos;
    }
};

/// Whether PipeWire's own socket takes a connection. Trying its ALSA plugin costs some
/// milliseconds of work each time, which a device that stays down would pay again and again
/// while the server is gone; a connection refused costs next to nothing.
bool PipeWireAnswers() {
    const char* remote = std::getenv("PIPEWIRE_REMOTE");
    std::string path = remote != nullptr && *remote != '\0' ? remote : "pipewire-0";
    if (path.front() != '/') {
        const char* dir = std::getenv("PIPEWIRE_RUNTIME_DIR");
        if (dir == nullptr || *dir == '\0') {
            dir = std::getenv("XDG_RUNTIME_DIR");
        }
        if (dir == nullptr || *dir == '\0') {
            return true; // cannot tell: the plugin finds out
        }
        path = std::string(dir) + '/' + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return true;
    }
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return true;
    }
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

/// The server's client library while PulseAudio answers (or once has); ALSA where no server
/// answers, and where PipeWire does: there its own ALSA plugin keeps clips whole and close
/// together, and its protocol server plays on past the end of what a client wrote.
class ServerOrAlsa final : public PcmDevice {
public:
    explicit ServerOrAlsa(std::string alsaDevice)
        : server_(std::make_unique<PulsePcm>()), alsa_(MakeAlsaPcm(std::move(alsaDevice))) {}

    bool Open(const WaveFormat& format) override {
        if (choice_ != Choice::Alsa && server_->Open(format)) {
            if (!server_->OnPipeWire()) {
                choice_ = Choice::Server;
                active_ = server_.get();
                return true;
            }
            server_->Close();
            choice_ = Choice::Alsa;
            onPipeWire_ = true;
        }
        active_ = choice_ == Choice::Server ? static_cast<PcmDevice*>(server_.get()) : alsa_.get();
        return choice_ != Choice::Server && (!onPipeWire_ || PipeWireAnswers()) &&
               alsa_->Open(format);
    }
    long PauseFrames() const override { return active_->PauseFrames(); }
    long Write(const std::byte* data, long frames) override { return active_->Write(data, frames); }
    void Wait(int milliseconds) override { active_->Wait(milliseconds); }
    long Delay() override { return active_->Delay(); }
    long DryAt() const override { return active_->DryAt(); }
    void Drain() override { active_->Drain(); }
    void Drop() override { active_->Drop(); }
    void Close() override { active_->Close(); }

private:
    /// Undecided until a server has answered or the program found none; then kept.
    enum class Choice { Undecided, Server, Alsa };
    std::unique_ptr<PulsePcm> server_;
    std::unique_ptr<PcmDevice> alsa_;
    PcmDevice* active_ = server_.get();
    Choice choice_ = Choice::Undecided;
    bool onPipeWire_ = false;
};

} // namespace

std::unique_ptr<PcmDevice> MakePulsePcm() {
    return std::make_unique<PulsePcm>();
}

PcmDeviceFactory ServerOrAlsaPcm(std::string alsaDevice) {
    return
        [alsaDevice = std::move(alsaDevice)] { return std::make_unique<ServerOrAlsa>(alsaDevice); };
}
