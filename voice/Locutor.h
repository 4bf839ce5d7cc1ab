#pragma once

#include "WavClip.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class SoundCall;

/// The spoken temperature: the 27 word clips and the memory of what was said. A changed
/// reading between 12 and 31.5 degrees is spoken as the number clip, then `grados`, then
/// `ymedio` for a half degree; each clip's OnPlayAfter starts the next, and every clip plays
/// synchronously, so the whole chain has been heard when DecirTemperatura returns.
///
/// The sound call must outlive the Locutor.
class Locutor {
public:
    /// Creates the clips and gives each its stored properties and its recording.
    explicit Locutor(SoundCall& sound);
    ~Locutor();
    Locutor(const Locutor&) = delete;
    Locutor& operator=(const Locutor&) = delete;

    /// The announcement gate, run once per channel (1 or 2) and tick. Only a change is
    /// spoken, and only when the rate is a second or a minute (`muestreoItemIndex` > 0) and
    /// the channel's sound box is checked; such a change is remembered even when it is out
    /// of the spoken range.
    void ComprobarAnuncio(std::uint8_t lectura, int canal, int muestreoItemIndex,
                          bool sonidoChecked);
    /// Starts the chain for a reading of 24 to 67; other readings are only recorded.
    void DecirTemperatura(std::uint8_t lectura);

    /// The number clips' default OnPlayAfter: the word for degrees follows the number.
    void diecisietePlayAfter(TWavClip* sender);
    /// The default OnPlayAfter of `grados`: "y medio" follows for a half degree.
    void gradosPlayAfter(TWavClip* sender);
    /// Binds the chain to other handlers, for an owner that keeps them itself; they should
    /// end up calling diecisietePlayAfter and gradosPlayAfter.
    void BindPlayAfter(const TNotifyEvent& numberClips, const TNotifyEvent& gradosClip);

    /// The clip of that name (`diez` ... `treinta4`, `grados`, `ymedio`), or null.
    TWavClip* FindClip(const QString& name) const;
    /// As FindClip, for a name known to exist; throws std::out_of_range otherwise.
    TWavClip& Clip(const QString& name) const;
    TWavClip& grados() const { return *clips_[NumeroGrados]; }
    TWavClip& ymedio() const { return *clips_[NumeroYMedio]; }
    /// All 27, in the order of TablaClips.
    const std::vector<std::unique_ptr<TWavClip>>& Clips() const { return clips_; }

    /// Last reading of each channel that passed the gate's checks; 0 at start.
    std::uint8_t UltimaAnunciada1 = 0;
    std::uint8_t UltimaAnunciada2 = 0;
    /// The reading whose announcement started last; decides the half-degree ending.
    std::uint8_t LecturaAnunciada = 0;

private:
    static constexpr int NumeroGrados = 25;
    static constexpr int NumeroYMedio = 26;
    std::vector<std::unique_ptr<TWavClip>> clips_;
};
