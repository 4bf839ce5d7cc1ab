#include "TFilterComboBox.h"
#include "TFileListBox.h"

TFilterComboBox::TFilterComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this] {
        if (fileList_) {
            fileList_->SetMask(Mask());
        }
    });
}

void TFilterComboBox::setFilter(const QString& filter) {
    filter_ = filter;
    clear();
    const QStringList parts = filter.split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        addItem(parts[i], parts[i + 1]);
    }
}

void TFilterComboBox::SetFileList(TFileListBox* list) {
    fileList_ = list;
    if (fileList_ && count() > 0) {
        fileList_->SetMask(Mask());
    }
}
