#pragma once

class QWidget;

/// Shows the window at the outer size it was designed at, centred on its screen, once the
/// window manager has framed it; without a window manager it keeps its client size.
void MostrarCentrado(QWidget& form);
