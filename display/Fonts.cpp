#include "Fonts.h"

#include <QApplication>
#include <QDynamicPropertyChangeEvent>
#include <QFont>
#include <QWidget>

void SustituirFuentes() {
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("System"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Small Fonts"), QStringLiteral("Liberation Sans"));
}

namespace {
// The design font of one control, once its description has given both properties; false
// until then.
bool AplicarFuente(QWidget* control) {
    const QVariant designed = control->property("designFont");
    const QVariant height = control->property("fontHeight");
    if (!designed.isValid() || !height.isValid()) {
        return false;
    }
    QFont font = designed.value<QFont>();
    // Named by the installed face, a font is matched at once; by a face that is not
    // installed, every text would first search the system's fallbacks for it.
    font.setFamily(QFont::substitute(font.family()));
    font.setPixelSize(height.toInt());
    control->setFont(font);
    return true;
}
} // namespace

FuentesDeDiseno::FuentesDeDiseno() : fuenteAplicacion_(QApplication::font()) {
    QCoreApplication::instance()->installEventFilter(this);
}

FuentesDeDiseno::~FuentesDeDiseno() {
    QCoreApplication::instance()->removeEventFilter(this);
    if (ventanaVista_) {
        QApplication::setFont(fuenteAplicacion_);
    }
}

bool FuentesDeDiseno::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DynamicPropertyChange && watched->isWidgetType()) {
        const QByteArray& name = static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName();
        auto* control = static_cast<QWidget*>(watched);
        if ((name == "designFont" || name == "fontHeight") && AplicarFuente(control) &&
            control->isWindow() && !ventanaVista_) {
            // An edit lays out its empty text in the default font before it takes its own;
            // while the form is built that is the window's font, which is loaded anyway.
            ventanaVista_ = true;
            QApplication::setFont(control->font());
        }
    }
    return false;
}
