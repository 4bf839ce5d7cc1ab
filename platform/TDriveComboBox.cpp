#include "TDriveComboBox.h"
#include "TDirectoryListBox.h"

#include <QStorageInfo>
#include <QStyle>

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (dirList_) {
            dirList_->SetDirectory(itemData(index).toString());
        }
    });
}

void TDriveComboBox::showEvent(QShowEvent* event) {
    if (glyph_.isNull()) {
        glyph_ = style()->standardIcon(QStyle::SP_DriveHDIcon);
        for (int i = 0; i < count(); ++i) {
            setItemIcon(i, glyph_);
        }
    }
    QComboBox::showEvent(event);
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    dirList_ = list;
    if (dirList_) {
        connect(dirList_, &TDirectoryListBox::Change, this,
                [this] { ShowVolumeOf(dirList_->Directory()); });
        ShowVolumeOf(dirList_->Directory());
    }
}

void TDriveComboBox::ShowVolumeOf(const QString& directory) {
    const QString root = QStorageInfo(directory).rootPath();
    blockSignals(true);
    clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) {
            continue;
        }
        const QString name = volume.name().isEmpty()
                                 ? volume.rootPath()
                                 : volume.rootPath() + " [" + volume.name() + "]";
        addItem(glyph_, name, volume.rootPath());
    }
    if (findData(root) < 0 && !root.isEmpty()) {
        addItem(glyph_, root, root);
    }
    setCurrentIndex(findData(root));
    blockSignals(false);
}
