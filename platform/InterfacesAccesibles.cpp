#include "InterfacesAccesibles.h"
#include "CajaAccesible.h"
#include "DocumentoAccesible.h"
#include "DocumentoAyuda.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {
QAccessibleInterface* Fabrica(const QString& classname, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) {
        return nullptr;
    }
    if (classname == QLatin1String("TDriveComboBox") ||
        classname == QLatin1String("TFilterComboBox")) {
        return new CajaAccesible(static_cast<QComboBox*>(widget));
    }
    if (classname == QLatin1String("DocumentoAyuda")) {
        return new DocumentoAccesible(static_cast<DocumentoAyuda*>(widget));
    }
    if (classname == QLatin1String("QFrame")) {
        // Bevels and panels only group what lies on them.
        return new QAccessibleWidget(widget, QAccessible::Pane);
    }
    return nullptr;
}
} // namespace

void InstalarInterfacesAccesibles() {
    QAccessible::installFactory(Fabrica);
}
