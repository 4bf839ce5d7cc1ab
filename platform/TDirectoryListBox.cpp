#include "TDirectoryListBox.h"
#include "TFileListBox.h"

#include <QDir>
#include <QLabel>
#include <QStyle>

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kOpenRole = Qt::UserRole + 1; // shown with the open folder
} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
    FilasDeLista(this);
    directory_ = QDir::currentPath();
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { SetDirectory(item->data(kPathRole).toString()); });
    Fill();
}

void TDirectoryListBox::showEvent(QShowEvent* event) {
    if (open_.isNull()) {
        closed_ = style()->standardIcon(QStyle::SP_DirClosedIcon);
        open_ = style()->standardIcon(QStyle::SP_DirOpenIcon);
        for (int i = 0; i < count(); ++i) {
            item(i)->setIcon(Glyph(item(i)->data(kOpenRole).toBool()));
        }
        // Rows laid out without the glyphs would stay that narrow.
        doItemsLayout();
    }
    QListWidget::showEvent(event);
}

void TDirectoryListBox::SetDirLabel(QLabel* label) {
    dirLabel_ = label;
    if (dirLabel_) {
        dirLabel_->setText(directory_);
    }
}

void TDirectoryListBox::SetDirectory(const QString& directory) {
    const QString path = QDir(directory).canonicalPath();
    if (path.isEmpty() || path == directory_) {
        return;
    }
    directory_ = path;
    Fill();
    emit Change();
}

void TDirectoryListBox::Fill() {
    clear();
    QStringList chain; // root first
    for (QDir dir(directory_);; dir.cdUp()) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot()) {
            break;
        }
    }
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const QString& path : chain) {
        const QString name = depth == 0 ? path : QDir(path).dirName();
        auto* item = new QListWidgetItem(Glyph(true), QString(depth * 2, ' ') + name);
        // The blanks only draw the depth; a screen reader hears the name alone.
        item->setData(Qt::AccessibleTextRole, name);
        item->setData(kPathRole, path);
        item->setData(kOpenRole, true);
        addItem(item);
        current = item;
        ++depth;
    }
    const QStringList children =
        QDir(directory_)
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) {
        auto* item = new QListWidgetItem(Glyph(false), QString(depth * 2, ' ') + child);
        item->setData(Qt::AccessibleTextRole, child);
        item->setData(kPathRole, QDir(directory_).filePath(child));
        addItem(item);
    }
    setCurrentItem(current);
    if (dirLabel_) {
        dirLabel_->setText(directory_);
    }
}
