#include "TFileListBox.h"

#include <QDir>
#include <QLineEdit>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {
constexpr int kAltoFila = 16;

class AltoFijoFilas final : public QStyledItemDelegate {
public:
    explicit AltoFijoFilas(QObject* parent) : QStyledItemDelegate(parent) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kAltoFila};
    }
};
} // namespace

void FilasDeLista(QListWidget* list) {
    list->setUniformItemSizes(true);
    list->setIconSize(QSize(kAltoFila, kAltoFila));
    list->setItemDelegate(new AltoFijoFilas(list));
}

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    FilasDeLista(this);
    connect(this, &QListWidget::itemSelectionChanged, this, &TFileListBox::ShowSelection);
}

void TFileListBox::showEvent(QShowEvent* event) {
    if (glyph_.isNull()) {
        glyph_ = style()->standardIcon(QStyle::SP_FileIcon);
        for (int i = 0; i < count(); ++i) {
            item(i)->setIcon(glyph_);
        }
        // Rows laid out without the glyph would stay that narrow.
        doItemsLayout();
    }
    QListWidget::showEvent(event);
}

void TFileListBox::SetDirectory(const QString& directory) {
    directory_ = QDir(directory).absolutePath();
    Update();
}

void TFileListBox::SetMask(const QString& mask) {
    mask_ = mask;
    Update();
}

void TFileListBox::Update() {
    if (directory_.isEmpty()) {
        directory_ = QDir::currentPath();
    }
    QDir::setCurrent(directory_);
    // Read again in the same folder, the list keeps the entry the user chose while it is
    // still there.
    const QList<QListWidgetItem*> selected = selectedItems();
    const QString chosen =
        directory_ == leido_ && !selected.isEmpty() ? selected.first()->text() : QString();
    leido_ = directory_;
    blockSignals(true);
    clear();
    const QDir dir(directory_);
    // Masks match names in any letter case, as they always have for these tables.
    const QStringList names =
        dir.entryList(mask_.split(';', Qt::SkipEmptyParts), QDir::Files | QDir::Hidden,
                      QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        addItem(new QListWidgetItem(glyph_, name));
    }
    if (!chosen.isEmpty()) {
        SelectFile(chosen);
    }
    blockSignals(false);
    ShowSelection();
}

bool TFileListBox::SelectFile(const QString& name) {
    const QList<QListWidgetItem*> found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) {
        return false;
    }
    setCurrentItem(found.first());
    return true;
}

QString TFileListBox::FileName() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return {};
    }
    return QDir(directory_).filePath(selected.first()->text());
}

void TFileListBox::ShowSelection() {
    if (!fileEdit_) {
        return;
    }
    const QList<QListWidgetItem*> selected = selectedItems();
    fileEdit_->setText(selected.isEmpty() ? mask_ : selected.first()->text());
}
