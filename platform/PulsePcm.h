#pragma once

#include "AlsaSoundCall.h"

#include <memory>
#include <string>

/// Playback through the desktop's sound server with its own client library (PulseAudio, or
/// PipeWire serving the same protocol). The server tells how much of what was written has
/// been played, so a sound's end is known rather than guessed from a plugin's delay. No call
/// waits on the server for long: one that does not answer within half a second has failed.
std::unique_ptr<PcmDevice> MakePulsePcm();

/// The sound server's client library where a server answers, ALSA's `alsaDevice` where none
/// does. Once a server has answered, its client library is kept, through restarts and stalls.
PcmDeviceFactory ServerOrAlsaPcm(std::string alsaDevice);
