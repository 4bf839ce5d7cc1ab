#include "Locutor.h"

#include "ClipTable.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>

#include <stdexcept>

// The recordings are compiled into this static library; referencing their initialiser
// makes the linker keep them.
static void IncluirGrabaciones() {
    Q_INIT_RESOURCE(clips);
}

namespace {

/// A clip's "FileData" record as the window description would hold it: the byte count,
/// then the recording.
QByteArray RegistroGrabacion(const char* name) {
    QFile file(RecursoClip(name));
    const QByteArray image = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QByteArray record;
    QDataStream out(&record, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << static_cast<quint32>(image.size());
    out.writeRawData(image.constData(), static_cast<int>(image.size()));
    return record;
}

} // namespace

Locutor::Locutor(SoundCall& sound) {
    IncluirGrabaciones();
    clips_.reserve(TablaClips.size());
    for (std::size_t i = 0; i < TablaClips.size(); ++i) {
        auto clip = std::make_unique<TWavClip>(sound);
        clip->SetName(QLatin1String(TablaClips[i].Name));
        // The stored properties, in the order a form description applies them. PlayFrom
        // comes before the recording because switching to pfForm empties the block.
        clip->SetAsyncPlay(false);
        clip->SetNoStopSound(true);
        clip->SetNoWaitIfBusy(false);
        clip->SetPlayFrom(pfForm);
        if (static_cast<int>(i) < NumeroClips) {
            clip->OnPlayAfter = [this](TWavClip* sender) { diecisietePlayAfter(sender); };
        } else if (static_cast<int>(i) == NumeroGrados) {
            clip->OnPlayAfter = [this](TWavClip* sender) { gradosPlayAfter(sender); };
        }
        const QByteArray record = RegistroGrabacion(TablaClips[i].Name);
        QDataStream in(record);
        clip->ReadFileData(in);
        clips_.push_back(std::move(clip));
    }
    for (const auto& clip : clips_) {
        clip->Loaded();
    }
}

Locutor::~Locutor() = default;

void Locutor::ComprobarAnuncio(std::uint8_t lectura, int canal, int muestreoItemIndex,
                               bool sonidoChecked) {
    if (canal != 1 && canal != 2) {
        throw std::invalid_argument("ComprobarAnuncio: channel must be 1 or 2");
    }
    std::uint8_t& ultima = canal == 1 ? UltimaAnunciada1 : UltimaAnunciada2;
    if (lectura == ultima || muestreoItemIndex <= 0 || !sonidoChecked) {
        return;
    }
    if (lectura > 23 && lectura < 64) {
        DecirTemperatura(lectura);
    }
    ultima = lectura;
}

void Locutor::DecirTemperatura(std::uint8_t lectura) {
    LecturaAnunciada = lectura;
    if (lectura >= 24 && lectura <= 67) {
        clips_[static_cast<std::size_t>(lectura / 2 - PrimerNumero)]->Play();
    }
}

void Locutor::diecisietePlayAfter(TWavClip*) {
    grados().Play();
}

void Locutor::gradosPlayAfter(TWavClip*) {
    if (LecturaAnunciada % 2 != 0) {
        ymedio().Play();
    }
}

void Locutor::BindPlayAfter(const TNotifyEvent& numberClips, const TNotifyEvent& gradosClip) {
    for (int i = 0; i < NumeroClips; ++i) {
        clips_[static_cast<std::size_t>(i)]->OnPlayAfter = numberClips;
    }
    grados().OnPlayAfter = gradosClip;
}

TWavClip* Locutor::FindClip(const QString& name) const {
    for (const auto& clip : clips_) {
        if (clip->Name() == name) {
            return clip.get();
        }
    }
    return nullptr;
}

TWavClip& Locutor::Clip(const QString& name) const {
    if (TWavClip* clip = FindClip(name)) {
        return *clip;
    }
    throw std::out_of_range("No clip named " + name.toStdString());
}
