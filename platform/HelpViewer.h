#pragma once

#include <QPointer>
#include <QString>

class DocumentoAyuda;
class QTextBrowser;
class QWidget;

/// Shows the contents page of a help file, without blocking the caller.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void ShowContents(const QString& helpFile, QWidget* owner) = 0;
};

/// The program's own help, written as HTML inside the program: one non-modal window that
/// stays open beside the main window and is raised again when asked twice. The page is a
/// document that holds the focus; Escape closes its window.
class QtHelpViewer final : public HelpViewer {
public:
    void ShowContents(const QString& helpFile, QWidget* owner) override;
    /// The document shown, while its window is open.
    QTextBrowser* Window() const;

private:
    QPointer<DocumentoAyuda> document_;
};
