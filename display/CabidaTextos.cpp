#include "CabidaTextos.h"

#include "TemperatureText.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {
// A self-sizing control keeps the edge its text is aligned to and grows from the other.
void Crecer(QWidget* control, QSize size, Qt::Alignment alignment) {
    size = size.expandedTo(control->size());
    if (size == control->size()) {
        return;
    }
    QRect box = control->geometry();
    if (alignment.testFlag(Qt::AlignRight)) {
        box.setLeft(box.right() + 1 - size.width());
    } else {
        box.setWidth(size.width());
    }
    box.setHeight(size.height());
    control->setGeometry(box);
}

// Width of the line a line edit lays its text on, inside its frame and text margins.
int AnchoDeLinea(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    // Qt keeps two pixels clear on either side of the line.
    constexpr int kMargenLinea = 2;
    return contents.width() - margins.left() - margins.right() - 2 * kMargenLinea;
}
} // namespace

void HacerSitio(QLabel* label, const QStringList& texts) {
    const QFontMetrics metrics(label->font());
    // Laid out whole, only the widest of the texts; the others are only measured.
    const QString* widest = nullptr;
    int advance = -1;
    for (const QString& text : texts) {
        if (const int w = metrics.horizontalAdvance(text); !text.isEmpty() && w > advance) {
            advance = w;
            widest = &text;
        }
    }
    if (!widest) {
        return;
    }
    QSize need = metrics.size(Qt::TextShowMnemonic, *widest);
    // An italic last letter may reach past its advance.
    need.rwidth() += std::max(0, -metrics.rightBearing(widest->back()));
    Crecer(label, need, label->alignment());
}

void HacerSitio(QLineEdit* edit, const QStringList& texts) {
    const QFontMetricsF metrics(edit->font());
    qreal widest = 0;
    for (const QString& text : texts) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    // The edit scrolls a text that leaves no pixel beside it for the cursor, measured as it
    // measures it.
    const int need = qRound(widest) + 1;
    const int missing = need - AnchoDeLinea(edit);
    if (missing > 0) {
        Crecer(edit, QSize(edit->width() + missing, edit->height()), edit->alignment());
    }
}

void Apartar(const QWidget* izquierda, QWidget* derecha, int hueco) {
    const int x = izquierda->geometry().right() + 1 + hueco;
    if (derecha->x() < x) {
        derecha->move(x, derecha->y());
    }
}

void Encerrar(QWidget* marco, const QList<QWidget*>& dentro, int margen, int limite) {
    QRect box = marco->geometry();
    for (const QWidget* control : dentro) {
        box.setRight(std::max(box.right(), control->geometry().right() + margen));
    }
    const int exceso = std::max(0, box.right() - limite);
    box.translate(-exceso, 0);
    marco->setGeometry(box);
    for (QWidget* control : dentro) {
        control->move(control->x() - exceso, control->y());
    }
}

QStringList TextosDeLecturas(const QString& sufijo) {
    // Three whole digits outweigh two in any face, so the widest is among 100 to 127,5.
    QStringList texts;
    for (std::int32_t lectura = 200; lectura <= 255; ++lectura) {
        texts << TextoTemperatura(lectura) + sufijo;
    }
    return texts;
}
