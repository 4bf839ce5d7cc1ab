#include "AlsaSoundCall.h"
#include "Bench.h"
#include "Locutor.h"
#include "RiffWave.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double SecondsOf(const TWavClip& clip) {
    const auto wave = ParseRiffWave(std::as_bytes(
        std::span(clip.Data().constData(), static_cast<std::size_t>(clip.Data().size()))));
    return wave ? static_cast<double>(wave->Samples.size()) / wave->Format.AvgBytesPerSec : 0.0;
}

/// 20 ms of silence in the clips' format, to find out whether the device plays at all.
QByteArray SilenceImage() {
    const int samples = 441;
    QByteArray image(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x22\x56\0\0\x01\0\x08\0"
        "data\xb9\x01\0\0",
        44);
    image += QByteArray(samples, '\x80');
    return image;
}

} // namespace

// How long a whole announcement takes on ALSA's default device against the length of its
// sound: the difference is what opening, starting and draining the device costs.
void RunVoiceBenchmarks() {
    AlsaSoundCall sound;
    const QByteArray silence = SilenceImage();
    const auto start = std::chrono::steady_clock::now();
    const bool playable = sound.PlaySound(
        std::as_bytes(std::span(silence.constData(), static_cast<std::size_t>(silence.size()))),
        SoundModule::None, SND_MEMORY | SND_NODEFAULT);
    const double silenceSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!playable) {
        std::printf("voice: no usable sound device on ALSA \"default\": announcements are "
                    "silent, chain timing skipped\n");
        return;
    }
    const bool realTime = silenceSeconds >= 0.015;
    if (!realTime) {
        std::printf("voice: ALSA \"default\" plays faster than real time (%.2f ms for 20 ms of "
                    "sound): not a real-time device, figures below show only the call's cost\n",
                    silenceSeconds * 1e3);
    }

    Locutor locutor(sound);
    std::vector<std::pair<int, const char*>> readings{
        {24, "reading 24: doce grados"}, {49, "reading 49: veinticuatro grados y medio"}};
    for (const auto& [lectura, what] : readings) {
        const int number = lectura / 2;
        double heard = SecondsOf(*locutor.Clips()[static_cast<std::size_t>(number - 10)]) +
                       SecondsOf(locutor.grados());
        int clips = 2;
        if (lectura % 2 != 0) {
            heard += SecondsOf(locutor.ymedio());
            ++clips;
        }
        const double took =
            MedianSeconds(3, [&] { locutor.DecirTemperatura(static_cast<std::uint8_t>(lectura)); });
        Report(what, took);
        if (realTime) {
            std::printf("%-48s sound %9.3f ms, overhead per clip %7.2f ms\n", "", heard * 1e3,
                        (took - heard) * 1e3 / clips);
        } else {
            std::printf("%-48s call cost per clip %9.2f us\n", "", took * 1e6 / clips);
        }
    }
}
