#include "TForm1.h"
#include "ui_TForm1.h"

#include "ClipboardText.h"
#include "Colors.h"
#include "Dialogs.h"
#include "HelpViewer.h"
#include "MeanTemperature.h"
#include "TemperatureText.h"
#include "TimeText.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QToolTip>
#include <exception>

namespace {
constexpr int kAlturaGrafico = 200;
constexpr std::int32_t kIntervalos[] = {100, 1000, 60000};
const QString kFicheroAyuda = QStringLiteral("VELMORAN.HLP");
} // namespace

void SetCaption(QLabel* label, const QString& text) {
    label->setText(text);
    if (label->property("autoSize").toBool()) {
        label->adjustSize();
    }
}

// The form is built before the members that refer to its controls.
std::unique_ptr<Ui::TForm1> TForm1::CrearFormulario(TForm1* form) {
    // The pictures live in this static library; pull them in before the form uses them.
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(help);
    auto ui = std::make_unique<Ui::TForm1>();
    ui->setupUi(form);
    return ui;
}

TForm1::TForm1(const FormSeams& seams, QWidget* parent)
    : QWidget(parent), ui_(CrearFormulario(this)), seams_(seams), link_(seams.port),
      chart_(ui_->Image1->Picture()) {
    Timer1.setInterval(1000);
    Timer1.setSingleShot(false);
    // Samples a tenth of a second apart should be just that, not within five percent.
    Timer1.setTimerType(Qt::PreciseTimer);
    ConnectHandlers();
}

TForm1::~TForm1() = default;

void TForm1::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        seams_.errors.Report(QString::fromUtf8(error.what()) + ".");
    } catch (...) {
        seams_.errors.Report(QStringLiteral("Error desconocido."));
    }
}

void TForm1::ConnectHandlers() {
    const auto on = [this](auto* sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
    };
    connect(&Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
    on(ui_->Inicio, &QPushButton::clicked, &TForm1::InicioClick);
    on(ui_->Pausa, &QPushButton::clicked, &TForm1::PausaClick);
    on(ui_->Salir, &QPushButton::clicked, &TForm1::SalirClick);
    on(ui_->BitBtn1, &QPushButton::clicked, &TForm1::BitBtn1Click);
    on(ui_->BitBtn2, &QPushButton::clicked, &TForm1::BitBtn2Click);
    on(ui_->BitBtn3, &QPushButton::clicked, &TForm1::BitBtn3Click);
    for (QPushButton* button : {ui_->Portapapeles, ui_->Portapapeles2}) {
        connect(button, &QPushButton::clicked, this,
                [this, button] { Guarded([&] { PortapapelesClick(button); }); });
    }
    on(ui_->Muestreo, &TRadioGroup::Click, &TForm1::MuestreoClick);
    on(ui_->barra, &QScrollBar::valueChanged, &TForm1::barraChange);
    connect(ui_->Image1, &TImage::MouseMove, this,
            [this](int x, int y) { Guarded([&] { Image1MouseMove(x, y); }); });
}

// Activation work runs once per run, when the window first becomes the focused window;
// boxes and dialogs that hand the focus back do not run it again.
bool TForm1::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && !activado_) {
        activado_ = true;
        Guarded([this] { FormActivate(); });
    }
    return handled;
}

void TForm1::FormActivate() {
    activado_ = true;
    ui_->Image1->resize(ui_->Image1->width(), kAlturaGrafico);
    ArrancarCargaInicial();
}

void TForm1::ArrancarCargaInicial() {
    DibujarRejilla();
    barraChange();
    Timer1.stop();
    ui_->Pausa->setEnabled(false);
}

void TForm1::DibujarRejilla() {
    QImage& picture = ui_->Image1->Picture();
    if (picture.size() != ui_->Image1->size()) {
        // The off-screen picture follows the control's size, created on the first drawing.
        picture = QImage(ui_->Image1->size(), QImage::Format_RGB32);
    }
    chart_.DibujarRejilla();
    ui_->Image1->update();
}

void TForm1::PintarMuestra(std::int32_t column, std::int32_t row, std::uint32_t colourBgr) {
    chart_.PintarMuestra(column, row, colourBgr);
    ui_->Image1->update(column, row, 1, 1);
}

void TForm1::InicioClick() {
    Timer1.start();
    ui_->Pausa->setEnabled(true);
    ui_->Inicio->setEnabled(false);
    const QDateTime now = seams_.clock.Now();
    ui_->Horainicio->setText(TextoHora(now.time()));
    ui_->Fecha->setText(TextoFecha(now.date()));
}

void TForm1::PausaClick() {
    Timer1.stop();
    ui_->Pausa->setEnabled(false);
    ui_->Inicio->setEnabled(true);
}

void TForm1::MuestreoClick() {
    const int index = ui_->Muestreo->itemIndex();
    if (index >= 0 && index < static_cast<int>(std::size(kIntervalos))) {
        // An active timer restarts its period from now.
        Timer1.setInterval(kIntervalos[index]);
    }
}

void TForm1::Timer1Timer() {
    if (!AvanzarContador(store_)) {
        // Full: sampling stops with the buttons as they are, nothing read or shown.
        Timer1.stop();
        return;
    }
    const std::int32_t contador = store_.Contador;
    const int altura = ui_->Image1->height();

    store_.Lectura = link_.LeerSensor1();
    PintarMuestra(contador - Desplazamiento_, altura - store_.Lectura, clYellow);
    ui_->X->setText(QString::number(contador));
    ui_->Y->setText(TextoTemperatura(store_.Lectura));
    ui_->Actual->setText(TextoTemperatura(store_.Lectura) + kGrado);
    GuardarLectura(store_.Sensor1, contador, store_.Lectura);
    if (ui_->Muestreo->itemIndex() > 0) {
        ui_->HoraActual->setText(TextoHora(seams_.clock.Now().time()));
    }
    ComprobarAnuncio(store_.Lectura, 1);

    store_.Lectura = link_.LeerSensor2();
    PintarMuestra(contador - Desplazamiento_, altura - store_.Lectura, clLime);
    ui_->Actual2->setText(TextoTemperatura(store_.Lectura) + kGrado);
    GuardarLectura(store_.Sensor2, contador, store_.Lectura);
    ComprobarAnuncio(store_.Lectura, 2);

    ui_->Edit1->setText(TextoTemperatura(store_.Sensor1[0]));
    ui_->Edit2->setText(TextoTemperatura(store_.Sensor1[1]));
    ui_->Edit3->setText(TextoTemperatura(store_.Sensor2[0]));
    ui_->Edit4->setText(TextoTemperatura(store_.Sensor2[1]));
}

void TForm1::ComprobarAnuncio(std::int32_t, int) {}

void TForm1::barraChange() {
    Desplazamiento_ = ui_->barra->value() * chart_.PasoRejilla;
    DibujarRejilla();
    chart_.DibujarSerie(store_, Desplazamiento_);
    ui_->Image1->update();
    ui_->Label2->setText(QString::number(ui_->barra->value()));
    SetCaption(ui_->Referencia, QString::number(Desplazamiento_));
}

void TForm1::Image1MouseMove(int x, int) {
    // Moves with a button held arrive from outside the picture too; they read the nearest
    // column, so no slot outside the store is ever looked up.
    const int column = std::clamp(x, 0, ui_->Image1->width() - 1);
    const std::int32_t i = std::clamp(Desplazamiento_ + column, 0, LimiteMuestras);
    const QString t1 = TextoTemperatura(store_.Sensor1[static_cast<std::size_t>(i)]);
    const QString t2 = TextoTemperatura(store_.Sensor2[static_cast<std::size_t>(i)]);
    ui_->Actual->setText(t1);
    ui_->Actual2->setText(t2);
    const QString tip = QStringLiteral("Posición del cursor:") + t1 + ' ' + t2;
    ui_->Image1->setToolTip(tip);
    if (QToolTip::isVisible()) {
        QToolTip::showText(QCursor::pos(), tip, ui_->Image1);
    }
}

void TForm1::SalirClick() { close(); }

void TForm1::BitBtn1Click() { seams_.help.ShowContents(kFicheroAyuda, this); }

void TForm1::BitBtn2Click() {
    SetCaption(ui_->Media1, TextoMedia(CalcularMedia(store_.Sensor1, store_.Contador)));
}

void TForm1::BitBtn3Click() {
    SetCaption(ui_->Media2, TextoMedia(CalcularMedia(store_.Sensor2, store_.Contador)));
}

void TForm1::PortapapelesClick(QObject* Sender) {
    const Serie& serie = Sender == ui_->Portapapeles ? store_.Sensor1 : store_.Sensor2;
    const QString text = TextoPortapapeles(serie, store_.Contador);
    // Memo1 keeps the last copy; the clipboard gets the text itself, so every line keeps
    // its CR LF (an edit's own copy would turn them into bare line feeds).
    ui_->Memo1->setPlainText(text);
    QGuiApplication::clipboard()->setText(text);
}
