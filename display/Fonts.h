#pragma once

#include <QObject>

class QWidget;

/// The form names the faces it was designed with; map them to installed metric twins.
void SustituirFuentes();

/// While it lives, gives every control being built the font its window description designed
/// for it: the face of its "designFont" (mapped to the installed twin) at its "fontHeight",
/// the character height in pixels that a font property cannot hold. Each control gets it
/// when the description sets "fontHeight", which comes after "designFont" and before the
/// control's texts, so no text is first laid out in a font the control will not keep. A
/// control without a font of its own inherits its parent's. Made around `setupUi`.
class FuentesDeDiseno final : public QObject {
public:
    FuentesDeDiseno();
    ~FuentesDeDiseno() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
