#include "AlsaSoundCall.h"
#include "Bench.h"
#include "Locutor.h"
#include "PulsePcm.h"
#include "RiffWave.h"

#include "SoundServer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

QByteArray SamplesOf(const TWavClip& clip) {
    const auto wave = ParseRiffWave(std::as_bytes(
        std::span(clip.Data().constData(), static_cast<std::size_t>(clip.Data().size()))));
    return wave ? QByteArray(reinterpret_cast<const char*>(wave->Samples.data()),
                             static_cast<qsizetype>(wave->Samples.size()))
                : QByteArray();
}

double SecondsOf(const TWavClip& clip) {
    return SamplesOf(clip).size() / 22050.0;
}

/// 200 ms of silence in the clips' format, to find out whether the device plays at all, and
/// in real time (a call may return a few tens of milliseconds before the end is heard).
QByteArray SilenceImage() {
    const int samples = 4410;
    QByteArray image(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x22\x56\0\0\x01\0\x08\0"
        "data\x3a\x11\0\0",
        44);
    image += QByteArray(samples, '\x80');
    return image;
}

/// The clips a reading is spoken by, in order.
std::vector<const TWavClip*> ClipsOf(const Locutor& locutor, int lectura) {
    std::vector<const TWavClip*> clips{
        locutor.Clips()[static_cast<std::size_t>(lectura / 2 - 10)].get(), &locutor.grados()};
    if (lectura % 2 != 0) {
        clips.push_back(&locutor.ymedio());
    }
    return clips;
}

/// The null sink carries silence through exactly; the resampling on the way may leave a
/// clip's own quiet ends one step off it.
bool Quiet(const QByteArray& rec, qsizetype i) {
    return std::abs(int(static_cast<unsigned char>(rec[i])) - 128) <= 1;
}

/// Whether the recording of `clip` at `at` has a hole: 20 ms of exact silence where the
/// clip is not silent.
bool Holed(const QByteArray& rec, qsizetype at, const QByteArray& clip) {
    constexpr qsizetype kWindow = 441;
    for (qsizetype w = 0; w + kWindow <= clip.size(); w += kWindow / 2) {
        if (at + w + kWindow > rec.size()) {
            return true;
        }
        bool silent = true;
        long loud = 0;
        for (qsizetype i = w; i < w + kWindow; ++i) {
            silent = silent && static_cast<unsigned char>(rec[at + i]) == 0x80;
            loud += std::abs(int(static_cast<unsigned char>(clip[i])) - 128);
        }
        if (silent && loud > 3 * kWindow) {
            return true;
        }
    }
    return false;
}

struct Huecos {
    std::vector<double> WithinChain;   // ms of silence between the clips of one chain
    std::vector<double> BetweenChains; // ms between channel 1's chain and channel 2's
    int Whole = 0;
    int Expected = 0;
};

/// Walks the recording clip by clip, in the order played: each clip starts at the first
/// sound after the previous one's silence, and the silence that follows its expected end is
/// the gap before the next. The clips begin and end on sound, so that silence is all gap.
Huecos MedirHuecos(const QByteArray& rec,
                   const std::vector<std::vector<std::vector<QByteArray>>>& ticks) {
    constexpr qsizetype kSmear = 40; // samples the resampler may move an edge by
    Huecos h;
    qsizetype pos = 0;
    for (const auto& tick : ticks) {
        while (pos < rec.size() && Quiet(rec, pos)) {
            ++pos;
        }
        for (std::size_t chain = 0; chain < tick.size(); ++chain) {
            for (std::size_t i = 0; i < tick[chain].size(); ++i) {
                const QByteArray& clip = tick[chain][i];
                ++h.Expected;
                if (pos + clip.size() > rec.size()) {
                    return h;
                }
                if (!Holed(rec, pos, clip)) {
                    ++h.Whole;
                }
                const qsizetype end = pos + clip.size();
                qsizetype quiet = end;
                while (quiet < end + kSmear && quiet < rec.size() && !Quiet(rec, quiet)) {
                    ++quiet;
                }
                qsizetype next = quiet;
                while (next < rec.size() && Quiet(rec, next)) {
                    ++next;
                }
                if (quiet >= end + kSmear) {
                    next = end; // no silence at all: the next clip follows at once
                }
                const bool last = chain + 1 == tick.size() && i + 1 == tick[chain].size();
                if (!last) {
                    const double ms =
                        static_cast<double>(std::max<qsizetype>(next - end, 0)) * 1000.0 / 22050.0;
                    (i + 1 == tick[chain].size() ? h.BetweenChains : h.WithinChain).push_back(ms);
                }
                pos = next;
            }
        }
    }
    return h;
}

/// A sound call that times every sound and counts the ones that came back as silence.
class Cronometro final : public SoundCall {
public:
    explicit Cronometro(SoundCall& inner) : inner_(inner) {}
    bool PlaySound(SoundArgument sound, SoundModule module, std::uint32_t flags) override {
        const auto start = SteadyClock::now();
        const bool ok = inner_.PlaySound(sound, module, flags);
        if (sound.data() != nullptr) {
            Longest = std::max(Longest,
                               std::chrono::duration<double>(SteadyClock::now() - start).count());
            Silent += ok ? 0 : 1;
            ++Calls;
        }
        return ok;
    }
    int Calls = 0;
    int Silent = 0;
    double Longest = 0;

private:
    SoundCall& inner_;
};

/// Plays `ticks` announcements of both channels, one tick after the other as the sampling
/// tick does; gives each tick's chains of clip samples, and each tick's time over its sound.
std::vector<std::vector<std::vector<QByteArray>>> Speak(Locutor& locutor,
                                                        std::vector<double>& ratios) {
    static constexpr std::pair<int, int> kTicks[] = {{47, 24}, {49, 31}, {25, 62}, {40, 41}};
    std::vector<std::vector<std::vector<QByteArray>>> ticks;
    for (const auto& [uno, dos] : kTicks) {
        auto& tick = ticks.emplace_back();
        double heard = 0;
        for (int lectura : {uno, dos}) {
            auto& chain = tick.emplace_back();
            for (const TWavClip* clip : ClipsOf(locutor, lectura)) {
                chain.push_back(SamplesOf(*clip));
                heard += SecondsOf(*clip);
            }
        }
        const auto start = SteadyClock::now();
        locutor.DecirTemperatura(static_cast<std::uint8_t>(uno));
        locutor.DecirTemperatura(static_cast<std::uint8_t>(dos));
        ratios.push_back(std::chrono::duration<double>(SteadyClock::now() - start).count() / heard);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    return ticks;
}

double Seconds(SteadyClock::time_point since) {
    return std::chrono::duration<double>(SteadyClock::now() - since).count();
}

/// CPU time of every thread of this process but the window's, in seconds.
double CpuBesideWindowThread() {
    const QString self = QString::number(::getpid());
    double seconds = 0;
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (task == self) {
            continue;
        }
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(task));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12) {
            seconds += (fields[11].toDouble() + fields[12].toDouble()) /
                       static_cast<double>(::sysconf(_SC_CLK_TCK));
        }
    }
    return seconds;
}

/// One sampling tick: both channels' announcements, as the sampling timer runs them.
struct Tick {
    double Start = 0; // since the run began
    double Took = 0;
    double Sound = 0; // length of its clips
    int Silent = 0;   // calls that came back as silence
};

/// Ticks 300 ms apart on a running event loop for `seconds`, as the window runs them; gives
/// the ticks and the longest stretches the loop could not run (no repaint), by their end.
struct TickRun {
    std::vector<Tick> Ticks;
    std::vector<std::pair<double, double>> Blocked; // (end, length) of stretches over 50 ms
    SteadyClock::time_point Began = SteadyClock::now();

    /// Longest the loop could not run after an input at any moment in [from, to].
    double LongestBlocked(double from, double to) const {
        double longest = 0;
        for (const auto& [end, length] : Blocked) {
            if (end >= from && end - length <= to) {
                longest = std::max(longest, end - std::max(end - length, from));
            }
        }
        return longest;
    }
    /// Longest time a tick took beyond its sound, of the ticks that ran in [from, to].
    double LongestExtra(double from, double to) const {
        double longest = 0;
        for (const Tick& t : Ticks) {
            if (t.Start + t.Took >= from && t.Start <= to) {
                longest = std::max(longest, t.Took - t.Sound);
            }
        }
        return longest;
    }
    /// Seconds from `from` to the start of the first tick after it that was heard whole.
    double UntilHeard(double from) const {
        for (const Tick& t : Ticks) {
            if (t.Start >= from && t.Silent == 0) {
                return t.Start - from;
            }
        }
        return -1;
    }
};

TickRun RunTicks(Locutor& locutor, Cronometro& sound, double seconds,
                 const std::function<void(double)>& onLoop = {}) {
    static constexpr std::pair<int, int> kLecturas[] = {{47, 24}, {49, 31}, {25, 62}, {40, 41}};
    TickRun run;
    QEventLoop loop;
    QTimer watch;
    auto lastWatch = SteadyClock::now();
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const auto now = SteadyClock::now();
        const double gap = std::chrono::duration<double>(now - lastWatch).count();
        if (gap > 0.05) {
            run.Blocked.emplace_back(Seconds(run.Began), gap);
        }
        lastWatch = now;
        if (onLoop) {
            onLoop(Seconds(run.Began));
        }
    });
    watch.start(10);
    QTimer tick;
    tick.setSingleShot(true);
    std::size_t n = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (Seconds(run.Began) > seconds) {
            loop.quit();
            return;
        }
        const auto [uno, dos] = kLecturas[n++ % std::size(kLecturas)];
        Tick t;
        t.Start = Seconds(run.Began);
        for (int lectura : {uno, dos}) {
            for (const TWavClip* clip : ClipsOf(locutor, lectura)) {
                t.Sound += SecondsOf(*clip);
            }
        }
        const int silentBefore = sound.Silent;
        locutor.DecirTemperatura(static_cast<std::uint8_t>(uno));
        locutor.DecirTemperatura(static_cast<std::uint8_t>(dos));
        t.Took = Seconds(run.Began) - t.Start;
        t.Silent = sound.Silent - silentBefore;
        run.Ticks.push_back(t);
        tick.start(300);
    });
    tick.start(0);
    loop.exec();
    return run;
}

std::unique_ptr<SoundCall> SoundCallFor(const QString& backend) {
    if (backend == QLatin1String("server")) {
        return std::make_unique<AlsaSoundCall>(ServerOrAlsaPcm("default"));
    }
    return std::make_unique<AlsaSoundCall>("default");
}

void Figure(const char* name, double value) {
    std::printf("FIGURE %s %.6g\n", name, value);
    std::fflush(stdout);
}

/// One server and one way of playing on it, in a process of its own (the environment that
/// points ALSA and the client library at the server is read once per process).
void MeasureOneServer(const QString& which) {
    const QStringList parts = which.split(u':');
    SoundServer server(parts.value(0) == QLatin1String("pipewire") ? SoundServer::Kind::PipeWire
                                                                   : SoundServer::Kind::PulseAudio);
    if (!server.Start()) {
        std::printf("FAILED the server did not start\n");
        return;
    }
    const auto call = SoundCallFor(parts.value(1));
    if (!call) {
        std::printf("FAILED no such way of playing\n");
        return;
    }
    Cronometro sound(*call);
    Locutor locutor(sound);

    // Gaps and whole clips, recorded from the sink's monitor.
    if (!server.StartRecording()) {
        std::printf("FAILED parec did not start\n");
        return;
    }
    std::vector<double> ratios;
    std::vector<std::vector<std::vector<QByteArray>>> ticks;
    for (int round = 0; round < 3; ++round) {
        auto more = Speak(locutor, ratios);
        ticks.insert(ticks.end(), more.begin(), more.end());
    }
    const QByteArray rec = server.StopRecording();
    // BENCH_VOICE_KEEP names a folder to keep each column's recording in, to listen to.
    if (const QString keep = qEnvironmentVariable("BENCH_VOICE_KEEP"); !keep.isEmpty()) {
        QFile file(QDir(keep).filePath(QString(which).replace(u':', u'-') + QStringLiteral(".u8")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(rec);
        }
    }
    Huecos h = MedirHuecos(rec, ticks);
    std::sort(h.WithinChain.begin(), h.WithinChain.end());
    std::sort(h.BetweenChains.begin(), h.BetweenChains.end());
    const auto at = [](const std::vector<double>& v, double q) {
        return v.empty() ? -1.0 : v[std::min(v.size() - 1, static_cast<std::size_t>(q * v.size()))];
    };
    Figure("gap_median", at(h.WithinChain, 0.5));
    Figure("gap_p90", at(h.WithinChain, 0.9));
    Figure("gap_max", h.WithinChain.empty() ? -1.0 : h.WithinChain.back());
    Figure("between_max", h.BetweenChains.empty() ? -1.0 : h.BetweenChains.back());
    Figure("whole", h.Whole);
    Figure("expected", h.Expected);
    Figure("silent_calls", sound.Silent);

    // An 8-s stall: the server's processes stopped and continued.
    {
        std::atomic<double> stoppedAt = -1, continuedAt = -1;
        const auto began = SteadyClock::now();
        std::thread fault([&] {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            server.Signal(SIGSTOP);
            stoppedAt = Seconds(began);
            std::this_thread::sleep_for(std::chrono::seconds(8));
            server.Signal(SIGCONT);
            continuedAt = Seconds(began);
        });
        const TickRun run = RunTicks(locutor, sound, 17);
        fault.join();
        const double offset = std::chrono::duration<double>(run.Began - began).count();
        const double from = stoppedAt - offset, to = continuedAt - offset;
        if (qEnvironmentVariableIsSet("BENCH_VOICE_TICKS")) {
            std::fprintf(stderr, "%s stall %.2f to %.2f\n", qPrintable(which), from, to);
            for (const Tick& t : run.Ticks) {
                std::fprintf(stderr, "  tick at %.2f took %.2f for %.2f of sound, %d silent\n",
                             t.Start, t.Took, t.Sound, t.Silent);
            }
        }
        Figure("stall_tick_extra", run.LongestExtra(from, to));
        Figure("stall_blocked", run.LongestBlocked(from, to));
        Figure("stall_until_heard", run.UntilHeard(to));
    }

    // The server killed, then started again.
    {
        std::atomic<double> killedAt = -1;
        std::atomic<double> cpu = -1;
        const auto began = SteadyClock::now();
        std::thread fault([&] {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            server.Signal(SIGKILL);
            killedAt = Seconds(began);
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const double before = CpuBesideWindowThread();
            std::this_thread::sleep_for(std::chrono::seconds(4));
            cpu = (CpuBesideWindowThread() - before) / 4.0;
        });
        double restartedAt = -1;
        const TickRun run = RunTicks(locutor, sound, 16, [&](double now) {
            if (restartedAt < 0 && cpu >= 0) {
                server.Kill();
                server.Start();
                restartedAt = Seconds(began);
                (void)now;
            }
        });
        fault.join();
        const double offset = std::chrono::duration<double>(run.Began - began).count();
        Figure("kill_cpu_percent", cpu * 100.0);
        Figure("kill_tick_extra", run.LongestExtra(killedAt - offset, restartedAt - offset));
        Figure("kill_until_heard", run.UntilHeard(restartedAt - offset));
    }
}

/// Both servers side by side, each with ALSA through its plugin and with the server's own
/// client library: every column is a child process of this benchmark.
void ServerBenchmarks() {
    for (const char* tool : {"pulseaudio", "pipewire", "wireplumber", "pipewire-pulse", "parec",
                             "pactl", "dbus-daemon"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            std::printf("voice on sound servers: %s is not installed: skipped\n", tool);
            return;
        }
    }
    const QStringList columns{QStringLiteral("pulseaudio:alsa"),
                              QStringLiteral("pulseaudio:server"), QStringLiteral("pipewire:alsa"),
                              QStringLiteral("pipewire:server")};
    std::vector<std::map<QByteArray, double>> figures;
    for (const QString& column : columns) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("BENCH_VOICE_SERVER"), column);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("voice")});
        child.waitForFinished(300000);
        auto& f = figures.emplace_back();
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words[0] == "FIGURE") {
                f[words[1]] = words[2].toDouble();
            } else if (!line.isEmpty()) {
                std::printf("  %s: %s\n", qPrintable(column), line.constData());
            }
        }
    }
    std::printf("voice on sound servers (null sink recorded by parec at its default latency)\n");
    std::printf("%-34s", "");
    for (const QString& c : columns) {
        std::printf(" %18s", qPrintable(c));
    }
    std::printf("   target\n");
    const auto row = [&](const char* label, const char* key, const char* format,
                         const char* target) {
        std::printf("%-34s", label);
        for (const auto& f : figures) {
            const auto it = f.find(key);
            if (it == f.end()) {
                std::printf(" %18s", "-");
            } else {
                std::printf(" %18s", qPrintable(QString::asprintf(format, it->second)));
            }
        }
        std::printf("   %s\n", target);
    };
    row("gap within a chain, median (ms)", "gap_median", "%.1f", "");
    row("gap within a chain, p90 (ms)", "gap_p90", "%.1f", "<= 10");
    row("gap within a chain, max (ms)", "gap_max", "%.1f", "<= 25");
    row("gap between the channels, max (ms)", "between_max", "%.1f", "");
    row("clips heard whole", "whole", "%.0f", "all");
    row("clips expected", "expected", "%.0f", "");
    row("calls that came back silent", "silent_calls", "%.0f", "0");
    row("8-s stall: longest tick beyond sound (s)", "stall_tick_extra", "%.2f", "<= 1.5");
    row("8-s stall: click to repaint, most (s)", "stall_blocked", "%.2f", "<= 1.5");
    row("8-s stall: resumed to a whole tick (s)", "stall_until_heard", "%.2f", "<= a tick");
    row("killed: CPU beside window thread (%)", "kill_cpu_percent", "%.1f", "~0");
    row("killed: longest tick beyond sound (s)", "kill_tick_extra", "%.2f", "<= 1.5");
    row("killed: restarted to a whole tick (s)", "kill_until_heard", "%.2f", "<= a tick");
}
} // namespace

// How long a whole announcement takes on ALSA's default device against the length of its
// sound: the difference is what opening, starting and draining the device costs.
void RunVoiceBenchmarks() {
    const QString server = qEnvironmentVariable("BENCH_VOICE_SERVER");
    if (!server.isEmpty()) {
        MeasureOneServer(server);
        return;
    }
    ServerBenchmarks();
    AlsaSoundCall sound;
    const QByteArray silence = SilenceImage();
    const auto start = SteadyClock::now();
    const bool playable = sound.PlaySound(
        std::as_bytes(std::span(silence.constData(), static_cast<std::size_t>(silence.size()))),
        SoundModule::None, SND_MEMORY | SND_NODEFAULT);
    const double silenceSeconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    if (!playable) {
        std::printf("voice: no usable sound device on ALSA \"default\": announcements are "
                    "silent, chain timing skipped\n");
        return;
    }
    const bool realTime = silenceSeconds >= 0.15;
    if (!realTime) {
        std::printf("voice: ALSA \"default\" plays faster than real time (%.2f ms for 200 ms of "
                    "sound): not a real-time device, figures below show only the call's cost\n",
                    silenceSeconds * 1e3);
    }

    Locutor locutor(sound);
    std::vector<std::pair<int, const char*>> readings{
        {24, "reading 24: doce grados"}, {49, "reading 49: veinticuatro grados y medio"}};
    for (const auto& [lectura, what] : readings) {
        double heard = 0;
        const auto clips = ClipsOf(locutor, lectura);
        for (const TWavClip* clip : clips) {
            heard += SecondsOf(*clip);
        }
        const double took =
            MedianSeconds(3, [&] { locutor.DecirTemperatura(static_cast<std::uint8_t>(lectura)); });
        Report(what, took);
        const auto n = static_cast<double>(clips.size());
        if (realTime) {
            std::printf("%-48s sound %9.3f ms, overhead per clip %7.2f ms\n", "", heard * 1e3,
                        (took - heard) * 1e3 / n);
        } else {
            std::printf("%-48s call cost per clip %9.2f us\n", "", took * 1e6 / n);
        }
    }
}
