#pragma once

#include <QComboBox>

class TFileListBox;

/// File types by name, each with its mask; choosing one sets the linked file list's mask.
/// Entries are given as "Name|mask" pairs, the way file type lists are written.
class TFilterComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString Filter READ Filter WRITE setFilter)
public:
    explicit TFilterComboBox(QWidget* parent = nullptr);

    QString Filter() const { return filter_; }
    void setFilter(const QString& filter);
    QString Mask() const { return currentData().toString(); }
    void SetFileList(TFileListBox* list);

private:
    QString filter_;
    TFileListBox* fileList_ = nullptr;
};
