#pragma once

#include "Dialogs.h"

class QFileDialog;
class QWidget;

/// Mends, in a file dialog of Qt's own, the texts its Spanish translation gets wrong.
void EnmendarTextosQt(QFileDialog& dialog);

/// The real boxes and dialogs, owned by the window they belong to.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text, Boton porDefecto) override;
    bool ExecuteSave(QString& fileName, const QString& filterName, const QString& mask) override;

private:
    QWidget* owner_;
};

class QtErrorReport final : public ErrorReport {
public:
    explicit QtErrorReport(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    void Report(const QString& text) override;

private:
    QWidget* owner_;
};

class SystemClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};
