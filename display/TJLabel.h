#pragma once

#include <QColor>
#include <QLabel>

/// A label that can take another look while the pointer is over it: other background and
/// text colours and other font styles on entry, a second pair of colours and plain style on
/// leaving. New property values take effect at the next entry or leaving, never at once.
/// The look is the label's palette and font, so a form styles these labels through palette
/// and font too; the background colours show only on a label that paints its background
/// (autoFillBackground), a transparent one shows the text's changes alone.
class TJLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QColor OnMoveBColor READ OnMoveBColor WRITE setOnMoveBColor)
    Q_PROPERTY(QColor OffMoveBColor READ OffMoveBColor WRITE setOffMoveBColor)
    Q_PROPERTY(QColor OnMoveFColor READ OnMoveFColor WRITE setOnMoveFColor)
    Q_PROPERTY(QColor OffMoveFColor READ OffMoveFColor WRITE setOffMoveFColor)
    Q_PROPERTY(FontStyles OnStyles READ OnStyles WRITE setOnStyles)
    Q_PROPERTY(bool OnEnabled READ OnEnabled WRITE setOnEnabled)
public:
    enum FontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(FontStyles, FontStyle)
    Q_FLAG(FontStyles)

    explicit TJLabel(QWidget* parent = nullptr);

    QColor OnMoveBColor() const { return onMoveBColor_; }
    QColor OffMoveBColor() const { return offMoveBColor_; }
    QColor OnMoveFColor() const { return onMoveFColor_; }
    QColor OffMoveFColor() const { return offMoveFColor_; }
    FontStyles OnStyles() const { return onStyles_; }
    bool OnEnabled() const { return onEnabled_; }

    void setOnMoveBColor(const QColor& value);
    void setOffMoveBColor(const QColor& value);
    void setOnMoveFColor(const QColor& value);
    void setOffMoveFColor(const QColor& value);
    void setOnStyles(FontStyles value) { onStyles_ = value; }
    void setOnEnabled(bool value) { onEnabled_ = value; }

    /// The label's own background and text colours, which the hover look changes.
    QColor Color() const;
    QColor FontColor() const;
    FontStyles Styles() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void ApplyLook(const QColor& background, const QColor& text, FontStyles styles);
    bool HoldsCapture() const;

    QColor onMoveBColor_ = Qt::black;
    QColor offMoveBColor_ = Qt::black;
    QColor onMoveFColor_ = Qt::black;
    QColor offMoveFColor_ = Qt::black;
    FontStyles onStyles_;
    bool onEnabled_ = false;
    bool Dentro = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TJLabel::FontStyles)
