#include "DocumentoAyuda.h"

#include <QKeyEvent>
#include <QTextBlock>

DocumentoAyuda::DocumentoAyuda(QWidget* parent) : QTextBrowser(parent) {
    setOpenExternalLinks(false);
    setFocusPolicy(Qt::StrongFocus);
}

QList<DocumentoAyuda::Enlace> DocumentoAyuda::Enlaces() const {
    QList<Enlace> enlaces;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isAnchor() || format.anchorHref().isEmpty()) {
                continue;
            }
            const int fin = fragment.position() + fragment.length();
            // A link in several faces comes as several fragments; it is one link.
            if (!enlaces.isEmpty() && enlaces.last().fin == fragment.position() &&
                enlaces.last().destino == format.anchorHref()) {
                enlaces.last().fin = fin;
            } else {
                enlaces.append({fragment.position(), fin, format.anchorHref()});
            }
        }
    }
    return enlaces;
}

void DocumentoAyuda::Seguir(const Enlace& enlace) {
    QTextCursor cursor(document());
    cursor.setPosition(enlace.inicio);
    setTextCursor(cursor);
    setSource(source().resolved(QUrl(enlace.destino)));
}

void DocumentoAyuda::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        window()->close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}
