#include "TJLabel.h"

#include <QMouseEvent>

TJLabel::TJLabel(QWidget* parent) : QLabel(parent) {
    // Every move over the label must reach it, not only moves with a button held.
    setMouseTracking(true);
}

void TJLabel::setOnMoveBColor(const QColor& value) {
    if (value != onMoveBColor_) {
        onMoveBColor_ = value;
    }
}
void TJLabel::setOffMoveBColor(const QColor& value) {
    if (value != offMoveBColor_) {
        offMoveBColor_ = value;
    }
}
void TJLabel::setOnMoveFColor(const QColor& value) {
    if (value != onMoveFColor_) {
        onMoveFColor_ = value;
    }
}
void TJLabel::setOffMoveFColor(const QColor& value) {
    if (value != offMoveFColor_) {
        offMoveFColor_ = value;
    }
}

QColor TJLabel::Color() const {
    return palette().color(QPalette::Window);
}
QColor TJLabel::FontColor() const {
    return palette().color(QPalette::WindowText);
}

TJLabel::FontStyles TJLabel::Styles() const {
    FontStyles styles;
    const QFont f = font();
    styles.setFlag(fsBold, f.bold());
    styles.setFlag(fsItalic, f.italic());
    styles.setFlag(fsUnderline, f.underline());
    styles.setFlag(fsStrikeOut, f.strikeOut());
    return styles;
}

bool TJLabel::HoldsCapture() const {
    return QWidget::mouseGrabber() == this;
}

void TJLabel::ApplyLook(const QColor& background, const QColor& text, FontStyles styles) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    setPalette(p);
    QFont f = font();
    f.setBold(styles.testFlag(fsBold));
    f.setItalic(styles.testFlag(fsItalic));
    f.setUnderline(styles.testFlag(fsUnderline));
    f.setStrikeOut(styles.testFlag(fsStrikeOut));
    setFont(f);
}

// The label's own move handling replaces the ordinary one: it raises no move event.
void TJLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!onEnabled_) {
        return;
    }
    const QPoint p = event->position().toPoint();
    if (!HoldsCapture()) {
        grabMouse();
        if (isEnabled() && isVisible() && window()->isActiveWindow()) {
            ApplyLook(onMoveBColor_, onMoveFColor_, onStyles_);
        }
    }
    // The right and bottom edges themselves still count as inside.
    const bool outside = p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height();
    if (HoldsCapture() && outside && Dentro) {
        Dentro = false;
        ApplyLook(offMoveBColor_, offMoveFColor_, {});
        releaseMouse();
    }
    if (HoldsCapture() && !outside && !Dentro) {
        Dentro = true;
    }
}
