#pragma once

#include <QList>
#include <QTextBrowser>

/// The help page as a read-only document: it takes the focus when its window is shown, Tab
/// and Enter follow its links, and Escape closes its window.
class DocumentoAyuda final : public QTextBrowser {
    Q_OBJECT
public:
    explicit DocumentoAyuda(QWidget* parent = nullptr);

    /// A link of the page: its characters [inicio, fin) in the text and where it leads.
    struct Enlace {
        int inicio = 0;
        int fin = 0;
        QString destino;
    };
    /// The links of the page shown, in reading order.
    QList<Enlace> Enlaces() const;
    /// Goes where the link leads, as a click on it would.
    void Seguir(const Enlace& enlace);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
