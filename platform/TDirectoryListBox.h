#pragma once

#include <QIcon>
#include <QListWidget>

class QLabel;

/// The current directory as a tree list: the root and each folder down to the current one
/// (shown open), then the folders inside it, indented. Choosing an entry (double-click or
/// Enter) opens it. A linked label shows the full path.
class TDirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);

    QString Directory() const { return directory_; }
    /// Raises Change when the directory actually changes.
    void SetDirectory(const QString& directory);
    void SetDirLabel(QLabel* label);

signals:
    void Change();

protected:
    /// The glyphs are looked up when the list is first shown: a lookup may read the whole
    /// icon theme, which nothing needs before the list can be seen.
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    const QIcon& Glyph(bool open) const { return open ? open_ : closed_; }
    QString directory_;
    QLabel* dirLabel_ = nullptr;
    QIcon closed_;
    QIcon open_;
};
