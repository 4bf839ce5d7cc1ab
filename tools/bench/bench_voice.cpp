#include "AlsaSoundCall.h"
#include "Bench.h"
#include "Locutor.h"
#include "RiffWave.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
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

QString Run(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
    if (exitCode != nullptr) {
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

/// A null sink of its own on a running PulseAudio server, its monitor recorded by parec in
/// the clips' format. Unloaded again when done.
class SumideroNulo {
public:
    explicit SumideroNulo(QString name) : name_(std::move(name)) {}
    const QString& Name() const { return name_; }

    bool Load() {
        int code = 0;
        Run(QStringLiteral("pactl"), {QStringLiteral("info")}, &code);
        if (code != 0) {
            return false;
        }
        module_ = Run(QStringLiteral("pactl"),
                      {QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                       QStringLiteral("sink_name=%1").arg(name_)},
                      &code);
        return code == 0 && !module_.isEmpty();
    }

    ~SumideroNulo() {
        StopRecording();
        if (!module_.isEmpty()) {
            Run(QStringLiteral("pactl"), {QStringLiteral("unload-module"), module_});
        }
    }

    bool StartRecording() {
        if (!dir_.isValid()) {
            return false;
        }
        parec_.setStandardOutputFile(dir_.filePath(QStringLiteral("rec.raw")));
        parec_.start(QStringLiteral("parec"),
                     {QStringLiteral("-d"), QStringLiteral("%1.monitor").arg(name_),
                      QStringLiteral("--format=u8"), QStringLiteral("--rate=22050"),
                      QStringLiteral("--channels=1"),
                      // Without it the sink works in blocks of a second or two and the
                      // recording has holes of its own.
                      QStringLiteral("--latency-msec=20")});
        if (!parec_.waitForStarted(3000)) {
            return false;
        }
        // Let the recording settle before anything is played: on a busy machine parec takes
        // a while to start, and a late start would cut the first clip.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        return true;
    }

    QByteArray StopRecording() {
        if (parec_.state() == QProcess::NotRunning) {
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        parec_.terminate();
        if (!parec_.waitForFinished(3000)) {
            parec_.kill();
            parec_.waitForFinished();
        }
        QFile file(dir_.filePath(QStringLiteral("rec.raw")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString name_;
    QString module_;
    QTemporaryDir dir_;
    QProcess parec_;
};

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
    /// Each tick's sound, first to last non-silent sample, less the length of its clips, per
    /// boundary between clips: the mean gap, negative when sound was lost.
    std::vector<double> SpanPerBoundary;
};

/// Each tick's sound runs from its first non-silent sample to the last one before the pause
/// that follows it (the ticks are 300 ms apart, far longer than any silence in the clips).
void MedirSpans(const QByteArray& rec,
                const std::vector<std::vector<std::vector<QByteArray>>>& ticks, Huecos& h) {
    constexpr qsizetype kPause = 22050 / 7;
    qsizetype pos = 0;
    for (const auto& tick : ticks) {
        qsizetype length = 0;
        int clips = 0;
        for (const auto& chain : tick) {
            for (const QByteArray& clip : chain) {
                length += clip.size();
                ++clips;
            }
        }
        while (pos < rec.size() && Quiet(rec, pos)) {
            ++pos;
        }
        const qsizetype start = pos;
        qsizetype lastLoud = pos;
        for (qsizetype i = pos; i < rec.size() && i - lastLoud < kPause; ++i) {
            if (!Quiet(rec, i)) {
                lastLoud = i;
            }
        }
        if (lastLoud + kPause > rec.size()) {
            return;
        }
        h.SpanPerBoundary.push_back(static_cast<double>(lastLoud + 1 - start - length) * 1000.0 /
                                    22050.0 / (clips - 1));
        pos = lastLoud + 1;
    }
}

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

void PrintRange(const char* what, std::vector<double> ms, double target) {
    if (ms.empty()) {
        std::printf("%-48s none measured\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-48s median %6.1f ms, %5.1f to %5.1f ms   target <= %4.1f ms  %s\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), target,
                ms.back() <= target ? "ok" : "OVER");
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

/// Gaps between clips, whole clips and call times on a PulseAudio null sink, recorded by
/// parec (or not recorded, where the server takes data at its own pace).
void NullSinkBenchmarks() {
    // The unrecorded sink is a second one that nobody has ever recorded: an idle sink runs
    // in long blocks, and takes its data that slowly.
    SumideroNulo recorded(QStringLiteral("velmoranta_banco"));
    SumideroNulo idle(QStringLiteral("velmoranta_banco_sin_grabar"));
    if (!recorded.Load() || !idle.Load()) {
        std::printf("voice gaps: no PulseAudio server answers pactl (or no null sink could be "
                    "loaded): skipped\n");
        return;
    }
    struct Scenario {
        const char* Name;
        bool Recorded;
        const char* Latency;
    };
    for (const Scenario& s :
         {Scenario{"recorded", true, nullptr}, Scenario{"recorded, 2 s latency", true, "2000"},
          Scenario{"nobody recording", false, nullptr}}) {
        if (s.Latency != nullptr) {
            qputenv("PULSE_LATENCY_MSEC", s.Latency);
        } else {
            qunsetenv("PULSE_LATENCY_MSEC");
        }
        SumideroNulo& sink = s.Recorded ? recorded : idle;
        const QByteArray device = QByteArray("pulse:") + sink.Name().toUtf8();
        if (s.Recorded && !sink.StartRecording()) {
            std::printf("voice gaps: parec could not be started: skipped\n");
            return;
        }
        std::vector<double> ratios;
        std::vector<std::vector<std::vector<QByteArray>>> ticks;
        int calls = 0;
        int silent = 0;
        double longest = 0;
        {
            AlsaSoundCall alsa(device.toStdString());
            Cronometro sound(alsa);
            Locutor locutor(sound);
            ticks = Speak(locutor, ratios);
            calls = sound.Calls;
            silent = sound.Silent;
            longest = sound.Longest;
        }
        std::sort(ratios.begin(), ratios.end());
        std::printf("voice on a null sink, %s:\n", s.Name);
        std::printf("%-48s %d of %d came back silent, longest %.3f s\n", "  sound calls", silent,
                    calls, longest);
        std::printf("%-48s median %.2f, %.2f to %.2f\n", "  tick time / its sound",
                    ratios[ratios.size() / 2], ratios.front(), ratios.back());
        if (s.Recorded) {
            const QByteArray rec = sink.StopRecording();
            Huecos h = MedirHuecos(rec, ticks);
            MedirSpans(rec, ticks, h);
            std::printf("%-48s %d of %d\n", "  clips heard whole", h.Whole, h.Expected);
            PrintRange("  silence between clips of a chain", h.WithinChain, 10.0);
            PrintRange("  silence between the two channels' chains", h.BetweenChains, 10.0);
            PrintRange("  tick's sound less its clips, per boundary", h.SpanPerBoundary, 10.0);
        }
    }
    qunsetenv("PULSE_LATENCY_MSEC");
}

} // namespace

// How long a whole announcement takes on ALSA's default device against the length of its
// sound: the difference is what opening, starting and draining the device costs.
void RunVoiceBenchmarks() {
    NullSinkBenchmarks();
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
