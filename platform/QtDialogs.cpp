#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>

namespace {
// Room the window manager's title bar takes beside the caption: the window's icon and its
// buttons.
constexpr int kBotonesTitulo = 120;

// Boxes carry the application's title as their caption, as every notice always has, and are
// at least wide enough for the title bar to show it whole.
int Mostrar(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons,
            QWidget* owner, QMessageBox::StandardButton porDefecto = QMessageBox::NoButton) {
    const QString caption = QApplication::applicationDisplayName();
    QMessageBox box(icon, caption, text, buttons, owner);
    if (porDefecto != QMessageBox::NoButton) {
        box.setDefaultButton(porDefecto);
    }
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    const int width = title.horizontalAdvance(caption) + kBotonesTitulo;
    // The box sizes itself to its layout whenever shown; a spacer as wide as the caption
    // needs is what it respects.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box.exec();
}
} // namespace

void EnmendarTextosQt(QFileDialog& dialog) {
    // Qt's Spanish translation lost the first letter of this one.
    if (auto* subir = dialog.findChild<QWidget*>(QStringLiteral("toParentButton"));
        subir && subir->accessibleDescription() == QStringLiteral("r al directorio superior")) {
        subir->setAccessibleDescription(QStringLiteral("Ir al directorio superior"));
    }
}

void QtDialogs::ShowMessage(const QString& text) {
    Mostrar(QMessageBox::NoIcon, text, QMessageBox::Ok, owner_);
}

bool QtDialogs::AskYesNo(const QString& text, Boton porDefecto) {
    return Mostrar(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, owner_,
                   porDefecto == Boton::No ? QMessageBox::No : QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool QtDialogs::ExecuteSave(QString& fileName, const QString& filterName, const QString& mask) {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filterName + " (" + mask + ")");
    // The usual question before replacing an existing file stays on.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    // The table gets its extension anyway; the dialog must ask about the name that will be
    // written, not about the name typed without it.
    dialog.setDefaultSuffix(QStringLiteral("dbf"));
    dialog.selectFile(fileName);
    EnmendarTextosQt(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    fileName = dialog.selectedFiles().first();
    return true;
}

void QtErrorReport::Report(const QString& text) {
    Mostrar(QMessageBox::Critical, text, QMessageBox::Ok, owner_);
}
