#pragma once

#include <QPointer>
#include <QString>
#include <QTextBrowser>

class QWidget;

/// Shows the contents page of a help file, without blocking the caller.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void ShowContents(const QString& helpFile, QWidget* owner) = 0;
};

/// The program's own help, written as HTML inside the program: one non-modal window that
/// stays open beside the main window and is raised again when asked twice.
class QtHelpViewer final : public HelpViewer {
public:
    void ShowContents(const QString& helpFile, QWidget* owner) override;
    QTextBrowser* Window() const { return window_; }

private:
    QPointer<QTextBrowser> window_;
};
