#pragma once

#include <QImage>
#include <QWidget>

/// A picture control: shows its off-screen picture unscaled from the top-left corner and
/// reports pointer moves in picture pixels, the one whose area holds the pointer.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    /// The picture shown; callers draw into it and then call update().
    QImage& Picture() { return picture_; }
    const QImage& Picture() const { return picture_; }

signals:
    void MouseMove(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage picture_;
    /// The focus ring, drawn around the control by a sibling so the picture stays untouched.
    QWidget* marco_ = nullptr;
    // Where the window last saw the pointer, in its own coordinates and still fractional: on
    // a scaled screen a device pixel is part of a column, and the position a widget gets is
    // already rounded to the nearest column.
    QPointF punteroEnVentana_{-1e9, -1e9};
};
