#pragma once

#include <QStringList>

class QLabel;
class QLineEdit;
class QWidget;

/// Grows a label that does not word-wrap, from the edge it is aligned to, until each of
/// `texts` fits it whole in its font; a label already big enough keeps its size.
void HacerSitio(QLabel* label, const QStringList& texts);
/// The same for a line edit: each text shows whole, none scrolled out of its box.
void HacerSitio(QLineEdit* edit, const QStringList& texts);

/// Keeps `derecha` at least `hueco` pixels right of `izquierda`, moving it right if needed.
void Apartar(const QWidget* izquierda, QWidget* derecha, int hueco);
/// Widens a frame until it holds each of `dentro` with `margen` pixels to spare on the right;
/// where that would take it past `limite`, the frame and what it holds move left instead.
void Encerrar(QWidget* marco, const QList<QWidget*>& dentro, int margen, int limite);

/// Texts that between them are as wide as any reading (0 to 127,5 in the locale's format),
/// each followed by `sufijo`.
QStringList TextosDeLecturas(const QString& sufijo = {});
