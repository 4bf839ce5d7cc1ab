#pragma once

#include <QFont>
#include <QObject>

/// The form names the faces it was designed with; map them to installed metric twins.
void SustituirFuentes();

/// While it exists, every control takes the font its window description designed for it as
/// soon as the description has given it: the face of its "designFont" (mapped to the
/// installed twin) at its "fontHeight", the character height in pixels that a font property
/// cannot hold. A form builds each control before its children, so children are made in
/// their parent's final font and each text is laid out in fonts it keeps; a control without
/// a font of its own inherits its parent's.
class FuentesDeDiseno final : public QObject {
public:
    FuentesDeDiseno();
    ~FuentesDeDiseno() override;
    FuentesDeDiseno(const FuentesDeDiseno&) = delete;
    FuentesDeDiseno& operator=(const FuentesDeDiseno&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFont fuenteAplicacion_;
    bool ventanaVista_ = false;
};
