#pragma once

#include <QIcon>
#include <QListWidget>

class QLineEdit;

/// Gives a file or directory list rows 16 pixels high, whatever the font and the glyphs, as
/// the list boxes have always had them.
void FilasDeLista(QListWidget* list);

/// The files of one directory that match a mask, with file glyphs. Re-reading the list makes
/// its directory the process's current directory, so bare table names are found there. A
/// linked edit shows the selected entry's name, or the mask when nothing is selected.
class TFileListBox : public QListWidget {
    Q_OBJECT
    // Not "Mask": a form would set it through setMask, which is QWidget's shape mask.
    Q_PROPERTY(QString FileMask READ Mask WRITE setFileMask)
public:
    explicit TFileListBox(QWidget* parent = nullptr);

    QString Directory() const { return directory_; }
    void SetDirectory(const QString& directory);
    QString Mask() const { return mask_; }
    void SetMask(const QString& mask);
    void setFileMask(const QString& mask) { SetMask(mask); }
    void SetFileEdit(QLineEdit* edit) { fileEdit_ = edit; }

    /// Reads the directory again; the selected entry stays selected while it is still listed.
    void Update();
    /// Selects the entry of that bare name; false when the list has none.
    bool SelectFile(const QString& name);
    /// The selected entry's directory and name joined, or empty when none is selected.
    QString FileName() const;

protected:
    /// The glyph is looked up when the list is first shown: a lookup may read the whole icon
    /// theme, which nothing needs before the list can be seen.
    void showEvent(QShowEvent* event) override;

private:
    void ShowSelection();
    QString directory_;
    // The folder the entries were last read from.
    QString leido_;
    QString mask_ = QStringLiteral("*.*");
    QLineEdit* fileEdit_ = nullptr;
    QIcon glyph_;
};
