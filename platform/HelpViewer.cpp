#include "HelpViewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

void QtHelpViewer::ShowContents(const QString& helpFile, QWidget* owner) {
    if (!window_) {
        window_ = new QTextBrowser(owner);
        window_->setWindowFlag(Qt::Window);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->setOpenExternalLinks(false);
        window_->resize(560, 480);
    }
    // A help file name maps to the page of the same base name among the program's resources.
    const QString page = ":/help/" + QFileInfo(helpFile).completeBaseName().toLower() + ".html";
    window_->setSource(QUrl("qrc" + page));
    window_->setWindowTitle(window_->documentTitle().isEmpty() ? helpFile
                                                               : window_->documentTitle());
    window_->show();
    window_->raise();
    window_->activateWindow();
}
