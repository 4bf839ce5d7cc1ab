#pragma once

#include <QImage>
#include <QWidget>

/// A picture control: shows its off-screen picture unscaled from the top-left corner and
/// reports pointer moves in picture pixels.
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

private:
    QImage picture_;
    /// The focus ring, drawn around the control by a sibling so the picture stays untouched.
    QWidget* marco_ = nullptr;
};
