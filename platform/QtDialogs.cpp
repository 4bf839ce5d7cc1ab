#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
// Boxes carry the application's title as their caption, as every notice always has.
QString Caption() {
    return QApplication::applicationDisplayName();
}
} // namespace

void QtDialogs::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, Caption(), text, QMessageBox::Ok, owner_);
    box.exec();
}

bool QtDialogs::AskYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Question, Caption(), text, QMessageBox::Yes | QMessageBox::No,
                    owner_);
    return box.exec() == QMessageBox::Yes;
}

bool QtDialogs::ExecuteSave(QString& fileName, const QString& filterName, const QString& mask) {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filterName + " (" + mask + ")");
    // The usual question before replacing an existing file stays on.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    fileName = dialog.selectedFiles().first();
    return true;
}

void QtErrorReport::Report(const QString& text) {
    QMessageBox box(QMessageBox::Critical, Caption(), text, QMessageBox::Ok, owner_);
    box.exec();
}
