#include "TImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>

namespace {
constexpr int kAnchoMarco = 2;

// A ring just outside its owner: transparent to the mouse, masked to the ring itself.
class MarcoDeFoco final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), palette().highlight());
    }
};
} // namespace

TImage::TImage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // Every pixel is painted here, so a one-pixel update repaints that pixel and not the
    // page and tab frame behind the control.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    const QRect cubierta = area & picture_.rect();
    if (cubierta != area) {
        // Before the first drawing, or where the picture does not reach, the page's face.
        painter.fillRect(area, palette().window());
    }
    if (!cubierta.isEmpty()) {
        painter.drawImage(cubierta.topLeft(), picture_, cubierta);
    }
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    const QPointF exacto = punteroEnVentana_ - mapTo(window(), QPointF(0, 0));
    // The window's position is used only where it is the one this move was rounded from.
    if (exacto.toPoint() == p) {
        p = QPoint(static_cast<int>(std::floor(exacto.x())),
                   static_cast<int>(std::floor(exacto.y())));
    }
    emit MouseMove(p.x(), p.y());
}

void TImage::focusInEvent(QFocusEvent* event) {
    if (!marco_ && parentWidget()) {
        marco_ = new MarcoDeFoco(parentWidget());
        marco_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (marco_) {
        const QRect anillo =
            geometry().adjusted(-kAnchoMarco, -kAnchoMarco, kAnchoMarco, kAnchoMarco);
        marco_->setGeometry(anillo);
        const QRect dentro =
            marco_->rect().adjusted(kAnchoMarco, kAnchoMarco, -kAnchoMarco, -kAnchoMarco);
        marco_->setMask(QRegion(marco_->rect()) - QRegion(dentro));
        marco_->raise();
        marco_->show();
    }
    QWidget::focusInEvent(event);
}

void TImage::focusOutEvent(QFocusEvent* event) {
    if (marco_) {
        marco_->hide();
    }
    QWidget::focusOutEvent(event);
}

void TImage::showEvent(QShowEvent* event) {
    // Shown, the control's window has its native window; filtering one twice keeps one filter.
    if (QWindow* ventana = window()->windowHandle()) {
        ventana->installEventFilter(this);
    }
    QWidget::showEvent(event);
}

bool TImage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && watched == window()->windowHandle()) {
        punteroEnVentana_ = static_cast<QMouseEvent*>(event)->position();
    }
    return QWidget::eventFilter(watched, event);
}
