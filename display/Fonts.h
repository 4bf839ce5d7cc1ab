#pragma once

class QWidget;

/// The form names the faces it was designed with; map them to installed metric twins.
void SustituirFuentes();

/// Gives every control of `form` the font its window description designed for it: the face
/// of its "designFont" (mapped to the installed twin) at its "fontHeight", the character
/// height in pixels that a font property cannot hold. Applied once, after the form is built,
/// so controls never lay out text in a half-set font; a control without a font of its own
/// inherits its parent's.
void AplicarFuentes(QWidget* form);
