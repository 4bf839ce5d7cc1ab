#include "DocumentoAccesible.h"
#include "DocumentoAyuda.h"

#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QWindow>

namespace {
QRect RectanguloEnPantalla(const DocumentoAyuda* view, int start, int end) {
    QTextCursor cursor(view->document());
    cursor.setPosition(start);
    QRect rect = view->cursorRect(cursor);
    cursor.setPosition(end);
    rect = rect.united(view->cursorRect(cursor));
    return QRect(view->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

// One link of the document: named by its text, it leads where its target says when pressed.
class EnlaceAccesible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    EnlaceAccesible(DocumentoAyuda* view, const DocumentoAyuda::Enlace& enlace)
        : view_(view), enlace_(enlace) {}

    bool isValid() const override { return !view_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!view_) {
            return {};
        }
        if (t == QAccessible::Name) {
            return view_->toPlainText().mid(enlace_.inicio, enlace_.fin - enlace_.inicio);
        }
        return t == QAccessible::Value ? enlace_.destino : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        return view_ ? RectanguloEnPantalla(view_, enlace_.inicio, enlace_.fin) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = view_.isNull() || !view_->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (view_ && action == pressAction()) {
            view_->Seguir(enlace_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<DocumentoAyuda> view_;
    DocumentoAyuda::Enlace enlace_;
};
} // namespace

DocumentoAccesible::DocumentoAccesible(DocumentoAyuda* view)
    : QAccessibleWidget(view, QAccessible::Document) {}

DocumentoAccesible::~DocumentoAccesible() {
    Olvidar();
}

DocumentoAyuda* DocumentoAccesible::Vista() const {
    return static_cast<DocumentoAyuda*>(widget());
}

void DocumentoAccesible::Olvidar() const {
    for (const QAccessible::Id id : std::as_const(enlaces_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
    enlaces_.clear();
}

const QList<QAccessible::Id>& DocumentoAccesible::Enlaces() const {
    const int revision = Vista()->document()->revision();
    if (revision != revision_) {
        Olvidar();
        revision_ = revision;
        for (const DocumentoAyuda::Enlace& enlace : Vista()->Enlaces()) {
            enlaces_.append(
                QAccessible::registerAccessibleInterface(new EnlaceAccesible(Vista(), enlace)));
        }
    }
    return enlaces_;
}

void* DocumentoAccesible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

QAccessible::State DocumentoAccesible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

int DocumentoAccesible::childCount() const {
    return static_cast<int>(Enlaces().size());
}

QAccessibleInterface* DocumentoAccesible::child(int index) const {
    const auto& enlaces = Enlaces();
    return index >= 0 && index < enlaces.size() ? QAccessible::accessibleInterface(enlaces[index])
                                                : nullptr;
}

int DocumentoAccesible::indexOfChild(const QAccessibleInterface* child) const {
    const auto& enlaces = Enlaces();
    for (int i = 0; i < enlaces.size(); ++i) {
        if (QAccessible::accessibleInterface(enlaces[i]) == child) {
            return i;
        }
    }
    return -1;
}

QAccessibleInterface* DocumentoAccesible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface* enlace = child(i);
        if (enlace->rect().contains(x, y)) {
            return enlace;
        }
    }
    return nullptr;
}

void DocumentoAccesible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const QTextCursor cursor = Vista()->textCursor();
    const bool any = selectionIndex == 0 && cursor.hasSelection();
    *startOffset = any ? cursor.selectionStart() : 0;
    *endOffset = any ? cursor.selectionEnd() : 0;
}

int DocumentoAccesible::selectionCount() const {
    return Vista()->textCursor().hasSelection() ? 1 : 0;
}

void DocumentoAccesible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void DocumentoAccesible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        QTextCursor cursor = Vista()->textCursor();
        cursor.clearSelection();
        Vista()->setTextCursor(cursor);
    }
}

void DocumentoAccesible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) {
        return;
    }
    QTextCursor cursor(Vista()->document());
    cursor.setPosition(std::clamp(startOffset, 0, characterCount()));
    cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
    Vista()->setTextCursor(cursor);
}

int DocumentoAccesible::cursorPosition() const {
    return Vista()->textCursor().position();
}

void DocumentoAccesible::setCursorPosition(int position) {
    QTextCursor cursor(Vista()->document());
    cursor.setPosition(std::clamp(position, 0, characterCount()));
    Vista()->setTextCursor(cursor);
}

QString DocumentoAccesible::text(int startOffset, int endOffset) const {
    return Vista()->toPlainText().mid(startOffset, endOffset - startOffset);
}

int DocumentoAccesible::characterCount() const {
    return static_cast<int>(Vista()->toPlainText().size());
}

QRect DocumentoAccesible::characterRect(int offset) const {
    return RectanguloEnPantalla(Vista(), offset, std::min(offset + 1, characterCount()));
}

int DocumentoAccesible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = Vista()->viewport()->mapFromGlobal(point);
    return Vista()->viewport()->rect().contains(local)
               ? Vista()->cursorForPosition(local).position()
               : -1;
}

void DocumentoAccesible::scrollToSubstring(int startIndex, int endIndex) {
    setSelection(0, startIndex, endIndex);
    Vista()->ensureCursorVisible();
}

QString DocumentoAccesible::attributes(int offset, int* startOffset, int* endOffset) const {
    // No text attributes are offered: the whole text is one run.
    *startOffset = offset < 0 ? -1 : 0;
    *endOffset = offset < 0 ? -1 : characterCount();
    return {};
}
