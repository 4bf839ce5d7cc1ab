#include "WavClip.h"

namespace {

SoundArgument TextArgument(const QByteArray& text) {
    // Handed over with its terminating zero, as a C string would be.
    return {reinterpret_cast<const std::byte*>(text.constData()),
            static_cast<std::size_t>(text.size()) + 1};
}

/// Clears a playing flag however the scope is left.
class PlayingScope {
public:
    explicit PlayingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~PlayingScope() { flag_ = false; }
    PlayingScope(const PlayingScope&) = delete;
    PlayingScope& operator=(const PlayingScope&) = delete;

private:
    bool& flag_;
};

} // namespace

TWavClip::TWavClip(SoundCall& sound) : sound_(sound) {}

TWavClip::~TWavClip() {
    Stop();
}

void TWavClip::PrepareCall() {
    call_ = {};
    if (asyncPlay_) {
        call_.Flags |= SND_ASYNC;
    }
    if (looped_) {
        call_.Flags |= SND_LOOP;
    }
    if (noDefaultSound_) {
        call_.Flags |= SND_NODEFAULT;
    }
    if (noStopSound_) {
        call_.Flags |= SND_NOSTOP;
    }
    if (noWaitIfBusy_) {
        call_.Flags |= SND_NOWAIT;
    }
    switch (playFrom_) {
    case pfFile:
        call_.Flags |= SND_FILENAME;
        callText_ = FileName().toUtf8();
        call_.Sound = TextArgument(callText_);
        break;
    case pfResource:
        call_.Flags |= SND_RESOURCE;
        callText_ = resourceName_.toUtf8();
        call_.Sound = TextArgument(callText_);
        call_.Module = SoundModule::Program;
        break;
    case pfForm:
        call_.Flags |= SND_MEMORY;
        // An empty block gives a null argument, which the sound call takes as a stop.
        if (!Data().isEmpty()) {
            call_.Sound = {reinterpret_cast<const std::byte*>(Data().constData()),
                           static_cast<std::size_t>(Data().size())};
        }
        break;
    case pfSystemEvent:
        call_.Flags |= SND_ALIAS;
        callText_ = eventAlias_.toUtf8();
        call_.Sound = TextArgument(callText_);
        break;
    }
}

void TWavClip::Play() {
    PrepareCall();
    PlayingScope playing(playing_);
    if (OnPlayBefore) {
        OnPlayBefore(this);
    }
    sound_.PlaySound(call_.Sound, call_.Module, call_.Flags);
    if (OnPlayAfter) {
        OnPlayAfter(this);
    }
}

void TWavClip::Stop() {
    playing_ = false;
    sound_.PlaySound({}, SoundModule::None, 0);
}

void TWavClip::SetAsyncPlay(bool value) {
    if (value == asyncPlay_) {
        return;
    }
    asyncPlay_ = value;
    if (value && playing_) {
        Stop();
    }
}

void TWavClip::SetLooped(bool value) {
    if (value == looped_) {
        return;
    }
    looped_ = value;
    if (playing_) {
        Stop();
        if (looped_) {
            Play();
        }
    }
}

void TWavClip::SetNoWaitIfBusy(bool value) {
    if (value == noWaitIfBusy_) {
        return;
    }
    noWaitIfBusy_ = value;
    if (value && playing_) {
        Stop();
        Play();
    }
}

void TWavClip::SetPlayFrom(TWavPlayFrom value) {
    if (value == playFrom_) {
        return;
    }
    playFrom_ = value;
    if (value == pfForm) {
        LoadFromFile(FileName());
    } else {
        Clear();
    }
}

void TWavClip::SetResourceName(const QString& value) {
    if (value == resourceName_) {
        return;
    }
    resourceName_ = value;
    if (playFrom_ == pfResource && playing_) {
        Play();
    }
}

void TWavClip::SetEventAlias(const QString& value) {
    if (value == eventAlias_) {
        return;
    }
    eventAlias_ = value;
    if (playFrom_ == pfSystemEvent) {
        if (playing_) {
            Play();
        } else {
            Stop();
        }
    }
}

void TWavClip::SetFileName(const QString& name) {
    if (name == FileName()) {
        return;
    }
    TCustomFileStorage::SetFileName(name);
    if (playFrom_ == pfForm) {
        if (Designing()) {
            LoadFromFile(name);
        }
        if (playing_) {
            Play();
        } else {
            Stop();
        }
    }
}

QStringList TWavClip::StoredProperties() const {
    QStringList stored;
    if (!asyncPlay_) {
        stored << QStringLiteral("AsyncPlay");
    }
    if (playFrom_ == pfSystemEvent && !eventAlias_.isEmpty()) {
        stored << QStringLiteral("EventAlias");
    }
    if (playFrom_ == pfFile && !FileName().isEmpty()) {
        stored << QStringLiteral("FileName");
    }
    if (looped_) {
        stored << QStringLiteral("Looped");
    }
    if (!noDefaultSound_) {
        stored << QStringLiteral("NoDefaultSound");
    }
    if (noStopSound_) {
        stored << QStringLiteral("NoStopSound");
    }
    if (!noWaitIfBusy_) {
        stored << QStringLiteral("NoWaitIfBusy");
    }
    if (playFrom_ != pfFile) {
        stored << QStringLiteral("PlayFrom");
    }
    if (playFrom_ == pfResource && !resourceName_.isEmpty()) {
        stored << QStringLiteral("ResourceName");
    }
    if (OnPlayAfter) {
        stored << QStringLiteral("OnPlayAfter");
    }
    if (OnPlayBefore) {
        stored << QStringLiteral("OnPlayBefore");
    }
    // Written by every clip, also when its block is empty.
    return stored + TCustomFileStorage::StoredProperties();
}
