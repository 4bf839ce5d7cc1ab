// The yardstick of the start-up figure: an empty window of the program's size, started as
// the program is and ready, like it, once its first paint has reached the screen. With
// `--etiqueta` it holds one line of text: the least any window that shows text pays, since an
// empty window never starts the font system before its first paint. With `--fuentes` it holds
// one short line in each face the program's first page shows, the least its look pays.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {
class VentanaVacia final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        if (!avisado_) {
            avisado_ = true;
            // Runs after this paint's flush.
            QTimer::singleShot(0, qApp, [] {
                std::puts("listo");
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
    }

private:
    bool avisado_ = false;
};
} // namespace

struct Cara {
    const char* familia;
    int pixeles;
    bool negrita;
    bool cursiva;
};

// The faces of the window's captions and of its first page, with the desktop's default that
// Qt lays every new line edit out in first.
constexpr Cara kCaras[] = {
    {"Liberation Sans", 13, false, false}, {"Liberation Sans", 14, false, false},
    {"Liberation Sans", 15, true, false},  {"Liberation Sans", 13, true, true},
    {"Liberation Sans", 19, false, false}, {"Liberation Sans", 13, true, false},
    {"Liberation Serif", 21, true, true},  {"Liberation Serif", 12, true, false},
    {"Liberation Serif", 15, true, true},  {"Liberation Serif", 16, true, true},
    {"Liberation Serif", 15, true, false}, {"Liberation Serif", 21, false, true},
    {"Liberation Serif", 16, false, false}, {nullptr, 0, false, false},
};

void Etiqueta(QWidget& window, int y, const QFont& font) {
    auto* label = new QLabel(QStringLiteral("Temperatura 23,5 \u00baC"), &window);
    label->setFont(font);
    label->move(20, y);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    VentanaVacia window;
    window.resize(580, 432);
    const QByteArray modo = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (modo == "--etiqueta") {
        Etiqueta(window, 20, window.font());
    } else if (modo == "--fuentes") {
        int y = 4;
        for (const Cara& cara : kCaras) {
            QFont font = window.font();
            if (cara.familia != nullptr) {
                font = QFont(QString::fromLatin1(cara.familia));
                font.setPixelSize(cara.pixeles);
                font.setBold(cara.negrita);
                font.setItalic(cara.cursiva);
            }
            Etiqueta(window, y, font);
            y += 30;
        }
    }
    window.show();
    window.activateWindow();
    return app.exec();
}
