#pragma once

#include <QObject>

/// While it lives, Shift+F10 opens the context menu of the control that has the focus, at the
/// place the Menu key opens it: the desktop's other key for the same menu, which Qt leaves
/// to the program.
class MenuPorTeclado final : public QObject {
public:
    explicit MenuPorTeclado(QObject* parent = nullptr);
    ~MenuPorTeclado() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
