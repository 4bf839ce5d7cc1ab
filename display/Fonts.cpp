#include "Fonts.h"

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

void AplicarFuentes(QWidget* form) {
    QList<QWidget*> controls = form->findChildren<QWidget*>();
    controls.prepend(form);
    // Children before their parents: a control given its whole font first is left alone when
    // its parent's font changes, so no text is laid out again in a font it will not keep.
    for (auto it = controls.crbegin(); it != controls.crend(); ++it) {
        QWidget* control = *it;
        const QVariant designed = control->property("designFont");
        if (!designed.isValid()) {
            continue;
        }
        QFont font = designed.value<QFont>();
        // Named by the installed face, a font is matched at once; by a face that is not
        // installed, every text would first search the system's fallbacks for it.
        font.setFamily(QFont::substitute(font.family()));
        font.setPixelSize(control->property("fontHeight").toInt());
        control->setFont(font);
    }
}
