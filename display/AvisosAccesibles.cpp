#include "AvisosAccesibles.h"

#include <QAccessible>
#include <QWidget>

namespace {
constexpr char kCambioOculto[] = "velmoranta_cambioOculto";

// Qt keeps a single update handler for the whole program; the one it had before the filter
// is where passed notices go (none: the platform's bridge).
QAccessible::UpdateHandler siguiente = nullptr;

void Entregar(QAccessibleEvent* event) {
    if (siguiente) {
        siguiente(event);
        return;
    }
    // With no handler installed Qt hands the notice to the platform's bridge.
    const QAccessible::UpdateHandler propio = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(propio);
}

bool EsCambioDeTexto(QAccessible::Event type) {
    switch (type) {
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
        return true;
    default:
        return false;
    }
}

bool EsCambioDeContenido(QAccessible::Event type) {
    return type == QAccessible::NameChanged || type == QAccessible::DescriptionChanged ||
           type == QAccessible::ValueChanged || EsCambioDeTexto(type);
}

// A change nobody can see: the control says once that it changed when it shows again.
bool Oculto(const QAccessibleEvent& event) {
    const auto* widget = qobject_cast<const QWidget*>(event.object());
    return widget && !widget->isVisible() && EsCambioDeContenido(event.type());
}

// The text of a field the user is not in: the program rewrote it, nobody is reading there. A
// reader asks a field for its text when it gets there (text is never cached), so holding the
// notice back leaves nothing stale, and a tick that sets new extremes stays a few notices.
bool TextoAjeno(const QAccessibleEvent& event) {
    const auto* widget = qobject_cast<const QWidget*>(event.object());
    return widget && !widget->hasFocus() && EsCambioDeTexto(event.type());
}

void Filtrar(QAccessibleEvent* event) {
    QObject* object = event->object();
    if (Oculto(*event)) {
        object->setProperty(kCambioOculto, true);
        return;
    }
    if (TextoAjeno(*event)) {
        return;
    }
    Entregar(event);
    if (event->type() == QAccessible::ObjectShow && object &&
        object->property(kCambioOculto).toBool()) {
        object->setProperty(kCambioOculto, QVariant());
        QAccessibleEvent name(object, QAccessible::NameChanged);
        Entregar(&name);
        QAccessibleEvent description(object, QAccessible::DescriptionChanged);
        Entregar(&description);
    }
}
} // namespace

bool AvisoRetenido(const QAccessibleEvent& event) {
    return Oculto(event) || TextoAjeno(event);
}

void FiltrarAvisosOcultos() {
    const QAccessible::UpdateHandler previo = QAccessible::installUpdateHandler(Filtrar);
    if (previo != Filtrar) {
        siguiente = previo;
    }
}
