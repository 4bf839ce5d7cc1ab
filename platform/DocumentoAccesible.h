#pragma once

#include <QAccessibleWidget>
#include <QList>

class DocumentoAyuda;

/// The help document as a screen reader meets it: a read-only document whose text can be read
/// and walked, with its links as children of the link role that can be followed. Qt's bridge
/// to the desktop offers no hypertext interface, so the links stand as objects of their own.
class DocumentoAccesible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DocumentoAccesible(DocumentoAyuda* view);
    ~DocumentoAccesible() override;

    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The text, over the document and its cursor.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    using QAccessibleWidget::text;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    DocumentoAyuda* Vista() const;
    /// The link children of the page shown; made again when the page changes.
    const QList<QAccessible::Id>& Enlaces() const;
    void Olvidar() const;

    mutable QList<QAccessible::Id> enlaces_;
    mutable int revision_ = -1;
};
