#pragma once

#include "FileStorage.h"
#include "SoundCall.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

class TWavClip;

/// Where a clip finds its sound.
enum TWavPlayFrom : std::uint8_t { pfFile = 0, pfResource = 1, pfForm = 2, pfSystemEvent = 3 };

using TNotifyEvent = std::function<void(TWavClip* sender)>;

/// The arguments of the sound call, prepared by Play from the clip's properties.
struct TPreparedSoundCall {
    SoundArgument Sound;
    SoundModule Module = SoundModule::None;
    std::uint32_t Flags = 0;
};

/// A recorded sound kept in memory (PlayFrom pfForm), or a sound file, program resource or
/// system event sound, played through the sound call with an event just before and just
/// after the call. A synchronous clip's OnPlayAfter runs once the sound has been heard, so
/// whatever it plays follows the clip.
///
/// The sound call must outlive the clip: the destructor stops the sound.
class TWavClip : public TCustomFileStorage {
public:
    explicit TWavClip(SoundCall& sound);
    ~TWavClip() override;

    /// Prepares the call, then: playing flag set, OnPlayBefore, the sound call (its result
    /// ignored), OnPlayAfter, playing flag cleared, also when an event throws.
    void Play();
    /// Clears the playing flag and asks the sound call to stop the program's sound.
    void Stop();
    /// True only while Play runs, including everything its events do.
    bool Playing() const { return playing_; }
    /// The arguments of the last call Play made.
    const TPreparedSoundCall& PreparedCall() const { return call_; }

    bool AsyncPlay() const { return asyncPlay_; }
    void SetAsyncPlay(bool value);
    bool Looped() const { return looped_; }
    void SetLooped(bool value);
    bool NoDefaultSound() const { return noDefaultSound_; }
    void SetNoDefaultSound(bool value) { noDefaultSound_ = value; }
    bool NoStopSound() const { return noStopSound_; }
    void SetNoStopSound(bool value) { noStopSound_ = value; }
    bool NoWaitIfBusy() const { return noWaitIfBusy_; }
    void SetNoWaitIfBusy(bool value);
    TWavPlayFrom PlayFrom() const { return playFrom_; }
    /// Discards the data, except that pfForm loads FileName() when that file exists.
    void SetPlayFrom(TWavPlayFrom value);
    const QString& ResourceName() const { return resourceName_; }
    void SetResourceName(const QString& value);
    const QString& EventAlias() const { return eventAlias_; }
    void SetEventAlias(const QString& value);
    void SetFileName(const QString& name) override;

    QStringList StoredProperties() const override;

    TNotifyEvent OnPlayAfter;
    TNotifyEvent OnPlayBefore;

protected:
    virtual void PrepareCall();

private:
    SoundCall& sound_;
    bool asyncPlay_ = true;
    bool looped_ = false;
    bool noDefaultSound_ = true;
    bool noStopSound_ = false;
    TWavPlayFrom playFrom_ = pfFile;
    QString resourceName_ = QStringLiteral("WAVE1");
    bool noWaitIfBusy_ = true;
    QString eventAlias_ = QStringLiteral(".Default");
    bool playing_ = false;
    /// Holds the zero-terminated name that a prepared call points to.
    QByteArray callText_;
    TPreparedSoundCall call_;
};
