#include "Colocacion.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {
constexpr QSize kTamanoExterior(580, 432);

// The window's outer size is what it was designed at. The frame the window manager adds is
// known only once it has framed the window, which it has by the window's first exposure;
// the placing waits for that, but not for ever. Without a frame the client size stays.
class Colocacion final : public QObject {
public:
    explicit Colocacion(QWidget& form) : QObject(&form), form_(form) {
        form_.windowHandle()->installEventFilter(this);
        QTimer::singleShot(kEsperaMarco, this, &Colocacion::Colocar);
        if (form_.windowHandle()->isExposed()) {
            QTimer::singleShot(0, this, &Colocacion::Colocar);
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            // After the exposure has been handled, not inside it.
            QTimer::singleShot(0, this, &Colocacion::Colocar);
        }
        return false;
    }

private:
    static constexpr int kEsperaMarco = 1000; // ms

    void Colocar() {
        if (hecho_) {
            return;
        }
        hecho_ = true;
        form_.windowHandle()->removeEventFilter(this);
        const QMargins marco = form_.windowHandle()->frameMargins();
        const QSize frame(marco.left() + marco.right(), marco.top() + marco.bottom());
        if (frame != QSize(0, 0) && frame.width() < 100 && frame.height() < 100) {
            form_.resize(kTamanoExterior - frame);
        }
        if (const QScreen* screen = form_.screen()) {
            QRect outer(QPoint(0, 0), form_.size() + frame);
            outer.moveCenter(screen->availableGeometry().center());
            form_.move(outer.topLeft());
        }
        deleteLater();
    }

    QWidget& form_;
    bool hecho_ = false;
};

} // namespace

void MostrarCentrado(QWidget& form) {
    form.show();
    // Without a window manager nobody hands the new window the focus; ask for it.
    form.activateWindow();
    new Colocacion(form);
}
