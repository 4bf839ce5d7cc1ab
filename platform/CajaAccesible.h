#pragma once

#include <QAccessibleWidget>

class QComboBox;

/// A file-page box as a screen reader meets it: named by its caption (the accessible name,
/// else its label), its value the entry shown, its one child the list it opens. Qt's own
/// interface names a box by the entry shown, which says nothing of what the box is for.
class CajaAccesible final : public QAccessibleWidget {
public:
    explicit CajaAccesible(QComboBox* box);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

private:
    QComboBox* Caja() const;
};
