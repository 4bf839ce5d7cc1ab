#include "AlsaSoundCall.h"
#include "WaveBuilder.h"

#include <QElapsedTimer>
#include <QTest>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

constexpr long kRate = 22050;

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// How the scripted device behaves and what it heard; shared with the sound call's thread,
/// which may outlive the sound call when left stuck.
struct Script {
    std::mutex mutex;
    std::condition_variable unstuck;
    bool stuck = false;   // every call blocks until cleared (a stopped sound server)
    bool frozen = false;  // the delay stands still and no room opens
    bool failing = false; // the device cannot be opened (no server to play on)
    bool eager = false;   // says all is played and room is free, yet takes nothing (a server gone)
    long writes = 0;
    double speed = 1;     // below 1, plays slower than real time (a server that keeps pausing)
    double roomEvery = 0; // room opens only this often (a server taking data in gulps)
    QStringList calls;    // open, drain, drop, close
    long soundFrames = 0;
    double gap = 0; // longest silence heard between sound frames, in seconds
    double playedUntil = 0, soundEnd = 0, nextRoom = 0;
};

/// A device that plays what it is given in real time.
class FakePcm final : public PcmDevice {
public:
    explicit FakePcm(std::shared_ptr<Script> s) : s_(std::move(s)) {}

    bool Open(const WaveFormat&) override {
        Note("open");
        auto lock = Lock();
        return !s_->failing;
    }
    long PauseFrames() const override { return kRate / 10; }
    long Write(const std::byte* data, long frames) override {
        auto lock = Lock();
        ++s_->writes;
        if (s_->eager) {
            return 0;
        }
        const double now = Now();
        const long n = std::min(frames, long(0.8 * kRate) - Queued(now)); // room for a clip
        if (s_->frozen || now < s_->nextRoom || n <= 0) {
            return 0;
        }
        s_->nextRoom = now + s_->roomEvery;
        const double start = std::max(now, s_->playedUntil);
        s_->playedUntil = start + static_cast<double>(n) / (kRate * s_->speed);
        if (data[0] != std::byte{0x80}) { // the clips are loud; silence is the sound call's
            s_->gap = s_->soundFrames > 0 ? std::max(s_->gap, start - s_->soundEnd) : 0;
            s_->soundFrames += n;
            s_->soundEnd = s_->playedUntil;
        }
        return n;
    }
    void Wait(int) override {
        if (auto lock = Lock(); s_->eager) {
            return;
        }
        std::this_thread::sleep_for(1ms);
    }
    long Delay() override {
        auto lock = Lock();
        return s_->frozen ? kRate : s_->eager ? 0 : Queued(Now());
    }
    void Drain() override { Note("drain"); }
    void Drop() override { Note("drop"); }
    void Close() override { Note("close"); }

private:
    std::unique_lock<std::mutex> Lock() {
        std::unique_lock lock(s_->mutex);
        s_->unstuck.wait(lock, [this] { return !s_->stuck; });
        return lock;
    }
    long Queued(double now) const {
        return std::max(0L, static_cast<long>((s_->playedUntil - now) * kRate * s_->speed));
    }
    bool Note(const char* call) {
        auto lock = Lock();
        s_->calls << QLatin1String(call);
        s_->playedUntil = Now();
        return true;
    }
    std::shared_ptr<Script> s_;
};

std::unique_ptr<AlsaSoundCall> SoundOn(const std::shared_ptr<Script>& s) {
    return std::make_unique<AlsaSoundCall>([s] { return std::make_unique<FakePcm>(s); });
}

/// Plays `seconds` of a loud unsigned 8-bit mono clip and waits for it.
bool Play(AlsaSoundCall& sound, double seconds) {
    const QByteArray clip = WaveBuilder::Riff(
        WaveBuilder::Fmt() + WaveBuilder::Chunk("data", QByteArray(long(seconds * kRate), 0x20)));
    return sound.PlaySound(WaveBuilder::View(clip), SoundModule::None, SND_MEMORY);
}

} // namespace

// The sound call's own thread and its judgement of a device, on a scripted device.
class TstSoundCall : public QObject {
    Q_OBJECT

private slots:
    // One clip after another: the stream runs on (no drain, drop, close or new open), each
    // call returns with at most 10 ms of its clip left, and at most 10 ms of silence is heard.
    void chainRunsWithoutGaps() {
        auto s = std::make_shared<Script>();
        const auto sound = SoundOn(s);
        for (const double seconds : {0.3, 0.2}) {
            QVERIFY(Play(*sound, seconds));
            std::lock_guard lock(s->mutex);
            const double left = s->soundEnd - Now();
            QVERIFY2(left <= 0.010, qPrintable(QString::number(left)));
        }
        std::lock_guard lock(s->mutex);
        QCOMPARE(s->calls, QStringList{QStringLiteral("open")});
        QCOMPARE(s->soundFrames, long(0.5 * kRate));
        QVERIFY2(s->gap <= 0.010, qPrintable(QString::number(s->gap)));
    }

    // A device that takes nothing for longer than its buffer time and a second, while its
    // delay still shrinks, is slow, not stalled: the clip is played whole.
    void slowDeviceIsNotCut() {
        auto s = std::make_shared<Script>();
        s->roomEvery = 1.3;
        const auto sound = SoundOn(s);
        QVERIFY(Play(*sound, 0.9));
    }

    // A device that stops moving, or stops answering at all, is silence within the bound;
    // while it stays stuck the sounds that follow are silence at once, not another wait
    // each, and the sound call can be destroyed without waiting for it. A device that moves
    // again plays again. The bounds are far above the sound call's own.
    void stalledDeviceIsSilence_data() {
        QTest::addColumn<bool>("stuck");
        QTest::newRow("delay frozen") << false;
        QTest::newRow("stuck in a call") << true;
    }
    void stalledDeviceIsSilence() {
        QFETCH(bool, stuck);
        auto s = std::make_shared<Script>();
        auto sound = SoundOn(s);
        QVERIFY(Play(*sound, 0.05));
        {
            std::lock_guard lock(s->mutex);
            (stuck ? s->stuck : s->frozen) = true;
        }
        QElapsedTimer took;
        took.start();
        QVERIFY(!Play(*sound, 0.5));
        QVERIFY(took.restart() < 5000);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!Play(*sound, 0.5));
        }
        QVERIFY(took.restart() < 1000);
        if (!stuck) {
            {
                std::lock_guard lock(s->mutex);
                s->frozen = false;
            }
            bool played = false;
            QTRY_VERIFY_WITH_TIMEOUT(played || (played = Play(*sound, 0.05)), 5000);
        }
        sound.reset();
        QVERIFY(took.elapsed() < 5000);
        std::lock_guard lock(s->mutex);
        s->stuck = false;
        s->unstuck.notify_all();
    }

    // A device that cannot be opened (its server killed) is tried again no more than a few
    // times a second however often sounds are asked for, and plays once it can be opened.
    void failingDeviceIsRetriedAtABoundedRate() {
        auto s = std::make_shared<Script>();
        s->failing = true;
        const auto sound = SoundOn(s);
        QElapsedTimer took;
        took.start();
        for (int i = 0; i < 40; ++i) {
            QVERIFY(!Play(*sound, 0.05));
            std::this_thread::sleep_for(25ms);
        }
        {
            std::lock_guard lock(s->mutex);
            const double seconds = took.elapsed() / 1000.0;
            const auto opens = s->calls.count(QStringLiteral("open"));
            QVERIFY2(opens >= 1 && opens <= 2 + seconds * 4, qPrintable(QString::number(opens)));
            s->failing = false;
        }
        bool played = false;
        QTRY_VERIFY_WITH_TIMEOUT(played || (played = Play(*sound, 0.05)), 5000);
    }

    // A device whose position moves, but far slower than it plays, does not keep the call
    // waiting: it is given up a while after the sound should have been heard.
    void creepingDeviceIsGivenUp() {
        auto s = std::make_shared<Script>();
        s->speed = 0.1;
        const auto sound = SoundOn(s);
        QElapsedTimer took;
        took.start();
        QVERIFY(!Play(*sound, 0.5));
        QVERIFY(took.elapsed() < 4000);
    }

    // A device whose wait answers at once while it takes nothing is not asked again and
    // again without a pause until the sound is given up.
    void eagerDeviceIsNotSpunOn() {
        auto s = std::make_shared<Script>();
        const auto sound = SoundOn(s);
        QVERIFY(Play(*sound, 0.05));
        {
            std::lock_guard lock(s->mutex);
            s->eager = true;
            s->writes = 0;
        }
        QVERIFY(!Play(*sound, 0.5));
        std::lock_guard lock(s->mutex);
        QVERIFY2(s->writes < 5000, qPrintable(QString::number(s->writes)));
    }
};

QTEST_GUILESS_MAIN(TstSoundCall)
#include "tst_soundcall.moc"
