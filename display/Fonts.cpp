#include "Fonts.h"

#include <QCoreApplication>
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

FuentesDeDiseno::FuentesDeDiseno() {
    QCoreApplication::instance()->installEventFilter(this);
}

FuentesDeDiseno::~FuentesDeDiseno() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool FuentesDeDiseno::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::DynamicPropertyChange || !watched->isWidgetType() ||
        static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() != "fontHeight") {
        return false;
    }
    auto* control = static_cast<QWidget*>(watched);
    const QVariant designed = control->property("designFont");
    if (!designed.isValid()) {
        return false;
    }
    QFont font = designed.value<QFont>();
    // Named by the installed face, a font is matched at once; by a face that is not
    // installed, every text would first search the system's fallbacks for it.
    font.setFamily(QFont::substitute(font.family()));
    font.setPixelSize(control->property("fontHeight").toInt());
    control->setFont(font);
    return false;
}
