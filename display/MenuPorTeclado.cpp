#include "MenuPorTeclado.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QWidget>

MenuPorTeclado::MenuPorTeclado(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

MenuPorTeclado::~MenuPorTeclado() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool MenuPorTeclado::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier) {
        return false;
    }
    // A key reaches the focused control first; the menu is that control's, or, where it has
    // none, its parents' in turn.
    auto* control = static_cast<QWidget*>(watched);
    if (!control->isEnabled()) {
        return false;
    }
    const QPoint pos = control->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, pos, control->mapToGlobal(pos),
                           key->modifiers());
    QApplication::sendEvent(control, &menu);
    return true;
}
