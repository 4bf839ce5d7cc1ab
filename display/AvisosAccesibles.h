#pragma once

class QAccessibleEvent;

/// Routes the window's accessibility notices through a filter: a change of name, description,
/// value or text of a control that is not showing stays off the bus, and the control says
/// once that it changed when it shows again, so a reader's cache never keeps a stale name;
/// neither the text nor the caret of a field the user is not in is reported as it changes. Any
/// handler installed before is still served after the filter. Safe to call again.
void FiltrarAvisosOcultos();

/// True when the notice is held back.
bool AvisoRetenido(const QAccessibleEvent& event);
