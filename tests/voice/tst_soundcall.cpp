#include "AlsaSoundCall.h"

#include <QByteArray>
#include <QStringList>
#include <QTest>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>

using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr unsigned kRate = 22050;

/// What a scripted device did and how it is to behave; shared with the sound call's thread,
/// which may outlive the test's sound call when it is left stuck.
struct Guion {
    std::mutex mutex;
    std::condition_variable released;
    /// Calls into the device block until `release` is set (a stopped sound server).
    bool stuck = false;
    bool release = false;
    /// The delay stays where it is and no room opens (a server that has stopped moving).
    bool frozen = false;
    /// Room opens only this often, however far playback has got (a server that takes its
    /// data in gulps); zero for room whenever there is space.
    std::chrono::milliseconds roomEvery{0};
    long capacity = kRate / 10;

    QStringList log;
    long opens = 0;
    long queued = 0;
    double starved = 0; // seconds of playing nothing since the first write
    bool started = false;
    SteadyClock::time_point last;
    SteadyClock::time_point opened;
    SteadyClock::time_point nextRoom;

    /// Plays in real time up to now. Call with `mutex` held.
    void Advance() {
        const auto now = SteadyClock::now();
        if (started && !frozen) {
            const double due = std::chrono::duration<double>(now - last).count() * kRate;
            if (due > static_cast<double>(queued)) {
                starved += (due - static_cast<double>(queued)) / kRate;
            }
            queued = std::max(0L, queued - static_cast<long>(due));
        }
        last = now;
    }

    void Block(std::unique_lock<std::mutex>& lock) {
        released.wait(lock, [this] { return !stuck || release; });
    }
};

/// A device that plays from its queue in real time, scripted by a Guion.
class FakePcm final : public PcmDevice {
public:
    explicit FakePcm(std::shared_ptr<Guion> g) : g_(std::move(g)) {}

    bool Open(const WaveFormat&) override {
        std::unique_lock lock(g_->mutex);
        g_->log << QStringLiteral("open");
        ++g_->opens;
        g_->queued = 0;
        g_->started = false;
        g_->opened = g_->nextRoom = SteadyClock::now();
        return true;
    }
    long BufferFrames() const override { return kRate / 10; }
    long Write(const std::byte* data, long frames) override {
        std::unique_lock lock(g_->mutex);
        g_->Block(lock);
        g_->Advance();
        if (g_->frozen && g_->started) {
            return 0;
        }
        const auto now = SteadyClock::now();
        if (g_->roomEvery.count() > 0) {
            if (now < g_->nextRoom) {
                return 0;
            }
            g_->nextRoom = now + g_->roomEvery;
        }
        const long n = std::min(frames, g_->capacity - g_->queued);
        if (n <= 0) {
            return 0;
        }
        // The clips under test are loud throughout; silence is what the sound call adds.
        const bool silence = std::to_integer<int>(data[0]) == 0x80;
        g_->log << QStringLiteral("%1 %2").arg(silence ? "silence" : "write").arg(n);
        g_->queued += n;
        g_->started = true;
        return n;
    }
    void Wait(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(milliseconds, 5)));
    }
    long Delay() override {
        std::unique_lock lock(g_->mutex);
        g_->Block(lock);
        g_->Advance();
        return g_->queued;
    }
    void Drain() override { Note("drain"); }
    void Drop() override { Note("drop"); }
    void Close() override { Note("close"); }

private:
    void Note(const char* what) {
        std::unique_lock lock(g_->mutex);
        g_->Block(lock);
        g_->log << QLatin1String(what);
        g_->queued = 0;
    }
    std::shared_ptr<Guion> g_;
};

PcmDeviceFactory FakeDevices(const std::shared_ptr<Guion>& g) {
    return [g] { return std::make_unique<FakePcm>(g); };
}

/// An unsigned 8-bit mono image of `seconds` of a loud square wave.
QByteArray Clip(double seconds) {
    const auto n = static_cast<quint32>(seconds * kRate);
    QByteArray image(
        "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x22\x56\0\0\x01\0\x08\0"
        "data",
        40);
    for (int i = 0; i < 4; ++i) {
        image += static_cast<char>((n >> (8 * i)) & 0xff);
    }
    for (quint32 i = 0; i < n; ++i) {
        image += (i / 20) % 2 == 0 ? '\x20' : '\xe0';
    }
    return image;
}

SoundArgument View(const QByteArray& bytes) {
    return std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

/// Frames the log says were written as sound (not silence).
long SoundFrames(const QStringList& log) {
    long frames = 0;
    for (const QString& entry : log) {
        if (entry.startsWith(QLatin1String("write "))) {
            frames += entry.mid(6).toLong();
        }
    }
    return frames;
}

} // namespace

// The sound call's own thread and its judgement of a device, on a scripted device.
class TstSoundCall : public QObject {
    Q_OBJECT

private slots:
    // One clip after another: the stream runs on between them (no drain, drop, close or new
    // open), each call returns once its clip has been heard, and the device plays at most
    // 10 ms of silence between them.
    void chainRunsWithoutGaps() {
        auto g = std::make_shared<Guion>();
        const QByteArray first = Clip(0.3);
        const QByteArray second = Clip(0.2);
        QStringList log;
        double starvedBetween = 0;
        long leftAfterFirst = 0;
        {
            AlsaSoundCall sound(FakeDevices(g));
            QVERIFY(sound.PlaySound(View(first), SoundModule::None, SND_MEMORY | SND_NOSTOP));
            {
                std::lock_guard lock(g->mutex);
                g->Advance();
                leftAfterFirst = g->queued;
                starvedBetween = g->starved;
            }
            QVERIFY(sound.PlaySound(View(second), SoundModule::None, SND_MEMORY | SND_NOSTOP));
            std::lock_guard lock(g->mutex);
            g->Advance();
            starvedBetween = g->starved - starvedBetween;
            log = g->log;
        }
        QCOMPARE(log.first(), QStringLiteral("open"));
        QCOMPARE(log.count(QStringLiteral("open")), 1);
        for (const char* op : {"drain", "drop", "close"}) {
            QVERIFY2(!log.contains(QLatin1String(op)), qPrintable(log.join(u',')));
        }
        QCOMPARE(SoundFrames(log), long(0.5 * kRate));
        QVERIFY2(leftAfterFirst <= long(0.010 * kRate),
                 qPrintable(QString::number(leftAfterFirst)));
        // Silence written between the clips plus whatever the device ran dry.
        long silenceBetween = 0;
        long sound = 0;
        for (const QString& entry : log) {
            if (sound >= long(0.3 * kRate) && entry.startsWith(QLatin1String("write "))) {
                break;
            }
            sound += SoundFrames({entry});
            if (sound >= long(0.3 * kRate) && entry.startsWith(QLatin1String("silence "))) {
                silenceBetween += entry.mid(8).toLong();
            }
        }
        const double gap = static_cast<double>(silenceBetween) / kRate + starvedBetween;
        QVERIFY2(gap <= 0.010, qPrintable(QString::number(gap)));
    }

    // A device that takes nothing for longer than its buffer time and a second, while its
    // delay keeps shrinking, is slow, not stalled: the clip is played whole.
    void slowDeviceIsNotCut() {
        auto g = std::make_shared<Guion>();
        g->capacity = long(0.8 * kRate);
        g->roomEvery = std::chrono::milliseconds(1300);
        const QByteArray clip = Clip(1.2);
        bool heard = false;
        {
            AlsaSoundCall sound(FakeDevices(g));
            heard = sound.PlaySound(View(clip), SoundModule::None, SND_MEMORY);
        }
        std::lock_guard lock(g->mutex);
        QVERIFY(heard);
        QCOMPARE(SoundFrames(g->log), long(1.2 * kRate));
        QCOMPARE(g->opens, 1L);
    }

    // A device that stops moving, or stops answering at all, is silence within the bound;
    // while it stays stuck the next sound is silence at once, and the sound call can be
    // destroyed without waiting for it.
    void stalledDeviceIsSilence_data() {
        QTest::addColumn<bool>("stuck");
        QTest::newRow("delay frozen") << false;
        QTest::newRow("stuck in a call") << true;
    }
    void stalledDeviceIsSilence() {
        QFETCH(bool, stuck);
        auto g = std::make_shared<Guion>();
        const QByteArray clip = Clip(0.5);
        auto sound = std::make_unique<AlsaSoundCall>(FakeDevices(g));
        QVERIFY(sound->PlaySound(View(Clip(0.05)), SoundModule::None, SND_MEMORY));
        {
            std::lock_guard lock(g->mutex);
            g->frozen = !stuck;
            g->stuck = stuck;
        }
        // Bounds far above the sound call's own, so that only a hang fails.
        const auto returns = [&](std::chrono::seconds within) {
            auto call = std::async(std::launch::async, [&] {
                return sound->PlaySound(View(clip), SoundModule::None, SND_MEMORY);
            });
            return call.wait_for(within) == std::future_status::ready && !call.get();
        };
        QVERIFY(returns(std::chrono::seconds(8)));
        if (stuck) {
            QVERIFY(returns(std::chrono::seconds(1)));
        }
        auto destroyed = std::async(std::launch::async, [&] { sound.reset(); });
        QVERIFY(destroyed.wait_for(std::chrono::seconds(8)) == std::future_status::ready);
        std::lock_guard lock(g->mutex);
        g->release = true;
        g->released.notify_all();
        QCOMPARE(g->opens, 1L);
    }
};

QTEST_GUILESS_MAIN(TstSoundCall)
#include "tst_soundcall.moc"
