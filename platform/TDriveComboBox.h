#pragma once

#include <QComboBox>
#include <QIcon>

/// The mounted volumes, by their mount point. Choosing one opens its root in the linked
/// directory list; the box shows the volume that holds the list's directory.
class TDirectoryListBox;

class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    void SetDirList(TDirectoryListBox* list);
    /// Lists the volumes again and shows the one holding `directory`.
    void ShowVolumeOf(const QString& directory);

protected:
    /// The glyph is looked up when the box is first shown: a lookup may read the whole icon
    /// theme, which nothing needs before the box can be seen.
    void showEvent(QShowEvent* event) override;

private:
    TDirectoryListBox* dirList_ = nullptr;
    QIcon glyph_;
};
