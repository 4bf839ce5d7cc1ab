#include "TImage.h"

#include <QMouseEvent>
#include <QPainter>

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
    const QPoint p = event->position().toPoint();
    emit MouseMove(p.x(), p.y());
}
