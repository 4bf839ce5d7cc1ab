#include "CajaAccesible.h"

#include <QAbstractItemView>
#include <QComboBox>

CajaAccesible::CajaAccesible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

QComboBox* CajaAccesible::Caja() const {
    return static_cast<QComboBox*>(widget());
}

QString CajaAccesible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return Caja()->currentText();
    }
    return QAccessibleWidget::text(t);
}

int CajaAccesible::childCount() const {
    return 1;
}

QAccessibleInterface* CajaAccesible::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(Caja()->view()) : nullptr;
}

int CajaAccesible::indexOfChild(const QAccessibleInterface* child) const {
    return child && child->object() == Caja()->view() ? 0 : -1;
}

QStringList CajaAccesible::actionNames() const {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
}

void CajaAccesible::doAction(const QString& action) {
    if (action == showMenuAction()) {
        Caja()->showPopup();
        return;
    }
    QAccessibleWidget::doAction(action);
}
