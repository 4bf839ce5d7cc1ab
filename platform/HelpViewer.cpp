#include "HelpViewer.h"
#include "DocumentoAyuda.h"
#include "InterfacesAccesibles.h"

#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>

void QtHelpViewer::ShowContents(const QString& helpFile, QWidget* owner) {
    if (!document_) {
        InstalarInterfacesAccesibles();
        // The window holds the document, so a screen reader meets a window with a document
        // in it, as in any reader of pages.
        auto* window = new QWidget(owner, Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        document_ = new DocumentoAyuda(window);
        layout->addWidget(document_);
        window->resize(560, 480);
    }
    // A help file name maps to the page of the same base name among the program's resources.
    const QString page = ":/help/" + QFileInfo(helpFile).completeBaseName().toLower() + ".html";
    document_->setSource(QUrl("qrc" + page));
    const QString title =
        document_->documentTitle().isEmpty() ? helpFile : document_->documentTitle();
    document_->setAccessibleName(title);
    QWidget* window = document_->window();
    window->setWindowTitle(title);
    window->show();
    window->raise();
    window->activateWindow();
    document_->setFocus(Qt::ActiveWindowFocusReason);
}

QTextBrowser* QtHelpViewer::Window() const {
    return document_;
}
