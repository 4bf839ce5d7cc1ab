#include "TForm1.h"
#include "ui_TForm1.h"

#include "AvisosAccesibles.h"
#include "CabidaTextos.h"
#include "ClipboardText.h"
#include "Colors.h"
#include "Dialogs.h"
#include "FileIo.h"
#include "Fonts.h"
#include "HelpViewer.h"
#include "InterfacesAccesibles.h"
#include "ListaFicheros.h"
#include "MeanTemperature.h"
#include "MenuPorTeclado.h"
#include "NombresFichero.h"
#include "PlantillaMuestras.h"
#include "RuntimeErrors.h"
#include "TablaAlmacen.h"
#include "TemperatureText.h"
#include "TimeText.h"

#include <QAccessible>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QScopeGuard>
#include <QTabBar>
#include <QToolTip>
#include <QTranslator>
#include <cerrno>
#include <exception>
#include <unistd.h>

namespace {
constexpr int kAlturaGrafico = 200;
constexpr std::int32_t kIntervalos[] = {100, 1000, 60000};
// Longest the input that waited through a long tick is given before the catch-up tick.
constexpr int kPlazoEntradaPendiente = 100; // ms
const QString kFicheroAyuda = QStringLiteral("VELMORAN.HLP");
const QString kTablaInicial = QStringLiteral("MUESTRAS.DBF");

// Qt announces every description set, even an equal one.
void Describir(QWidget* widget, const QString& description) {
    if (widget->accessibleDescription() != description) {
        widget->setAccessibleDescription(description);
    }
}

// "24º " is read as "Media: 24 grados".
QString DescripcionMedia(const QString& caption) {
    return QStringLiteral("Media: ") + QString(caption).remove(kGrado).trimmed() +
           QStringLiteral(" grados");
}

// A copy takes the slots from 2 to Contador, one line each.
QString DescripcionCopia(std::int32_t contador) {
    const std::int32_t lineas = std::max(0, contador - 1);
    return lineas == 1 ? QStringLiteral("Copiada 1 lectura")
                       : QStringLiteral("Copiadas %1 lecturas").arg(lineas);
}

// A focused control that is disabled hands the focus to the next one in the tab chain, which
// after Pausa is Salir: the next Space would end the program. The button that takes over the
// task gets it instead.
void Desactivar(QWidget* control, QWidget* heredero) {
    if (control->window()->focusWidget() == control) {
        if (heredero->isEnabled()) {
            heredero->setFocus(Qt::OtherFocusReason);
        } else {
            control->clearFocus();
        }
    }
    control->setEnabled(false);
}
} // namespace

void SetCaption(QLabel* label, const QString& text) {
    label->setText(text);
    if (label->property("autoSize").toBool()) {
        label->adjustSize();
        return;
    }
    if (label->wordWrap() || text.isEmpty()) {
        // A wrapped caption keeps the box it was laid out in.
        return;
    }
    // A caption that does not fit its box in the installed faces widens or heightens it,
    // from the edge it is aligned to, as a self-sizing label would.
    HacerSitio(label, {text});
}

bool CargarTextosQt(QCoreApplication& app) {
    auto* traductor = new QTranslator(&app);
    if (!traductor->load(QStringLiteral("qtbase_es"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traductor;
        return false;
    }
    return QCoreApplication::installTranslator(traductor);
}

// The form is built before the members that refer to its controls.
std::unique_ptr<Ui::TForm1> TForm1::CrearFormulario(TForm1* form) {
    // The pictures live in this static library; pull them in before the form uses them.
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(help);
    auto ui = std::make_unique<Ui::TForm1>();
    const FuentesDeDiseno fuentes;
    // Before any control exists, so none is ever announced or described otherwise.
    FiltrarAvisosOcultos();
    InstalarInterfacesAccesibles();
    ui->setupUi(form);
    return ui;
}

TForm1::TForm1(const FormSeams& seams, QWidget* parent)
    : QWidget(parent), ui_(CrearFormulario(this)), seams_(seams), link_(seams.port),
      chart_(ui_->Image1->Picture()), locutor_(seams.sound) {
    Timer1.setInterval(1000);
    Timer1.setSingleShot(false);
    // Samples a tenth of a second apart should be just that, not within five percent.
    Timer1.setTimerType(Qt::PreciseTimer);
    // Labels without a size of their own fit their caption in the fonts actually installed.
    for (QLabel* label : findChildren<QLabel*>()) {
        SetCaption(label, label->text());
    }
    // The readings' boxes are sized once for the widest reading of the locale, so that none
    // is clipped and none moves a box while sampling.
    const QStringList lecturas = TextosDeLecturas();
    const QStringList lecturasConGrado = TextosDeLecturas(QString(kGrado));
    for (QLabel* label : {ui_->Actual, ui_->Actual2}) {
        HacerSitio(label, lecturasConGrado);
    }
    for (QLineEdit* edit : {ui_->Edit1, ui_->Edit2, ui_->Edit3, ui_->Edit4}) {
        // Qt keeps two pixels right of the text for a cursor these boxes never need; given to
        // the text, the widest reading takes the columns the copy buttons leave.
        edit->setTextMargins(0, 0, -2, 0);
        HacerSitio(edit, lecturas);
    }
    // Sensor 2's column keeps the form's one-pixel gap from sensor 1's.
    Apartar(ui_->Edit1, ui_->Edit3, 1);
    Apartar(ui_->Edit2, ui_->Edit4, 1);
    HacerSitioAHoras();
    Muestras.SetFileName(kTablaInicial);
    locutor_.BindPlayAfter([this](TWavClip* sender) { diecisietePlayAfter(sender); },
                           [this](TWavClip* sender) { gradosPlayAfter(sender); });
    // The file page's controls drive each other as one group.
    ui_->FileListBox1->SetFileEdit(ui_->FileEdit);
    ui_->DirectoryListBox1->SetDirLabel(ui_->PathLabel);
    ui_->FileListBox1->SetDirectory(ui_->DirectoryListBox1->Directory());
    ui_->FilterComboBox1->SetFileList(ui_->FileListBox1);
    ui_->DriveComboBox1->SetDirList(ui_->DirectoryListBox1);
    ui_->FileEdit->installEventFilter(this);
    ui_->barra->installEventFilter(this);
    ui_->Image1->installEventFilter(this);
    ui_->TabbedNotebook1->tabBar()->installEventFilter(this);
    new MenuPorTeclado(this);
    MostrarRutaCompleta();
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
    connect(&Timer1, &QTimer::timeout, this, &TForm1::EntregarTick);
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
    on(ui_->Guardar, &QPushButton::clicked, &TForm1::GuardarClick);
    on(ui_->Abrir, &QPushButton::clicked, &TForm1::AbrirClick);
    on(ui_->Borrar, &QPushButton::clicked, &TForm1::BorrarClick);
    on(ui_->Eliminar, &QPushButton::clicked, &TForm1::EliminarClick);
    on(ui_->DirectoryListBox1, &TDirectoryListBox::Change, &TForm1::DirectoryListBox1Change);
    connect(ui_->DirectoryListBox1, &TDirectoryListBox::Change, this, &TForm1::MostrarRutaCompleta);
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
    MostrarNombreFichero(QStringLiteral("Muestras.dbf"), -1);
    DibujarRejilla();
    Muestras.Open();
    ui_->Current->setText(QString::number(Muestras.RecNo()));
    ui_->totalrecs->setText(QString::number(Muestras.RecordCount()));
    CargarTabla();
    barraChange();
    Timer1.stop();
    Desactivar(ui_->Pausa, ui_->Inicio);
    ui_->version->setText(QString::number(Muestras.Version()));
    ui_->year->setText(QString::number(Muestras.UpdateDate()[0]));
    ui_->numrecs->setText(QString::number(Muestras.RecordCount()));
    ui_->headlen->setText(QString::number(Muestras.HeaderLength()));
}

// The system's time and date formats may be longer than the form's boxes ("9:15:52 AM",
// "8 Dec 2026"). The boxes are sized once for the widest the locale writes, and what stands
// beside or around them makes room, so no caption is clipped or moves while sampling.
void TForm1::HacerSitioAHoras() {
    HacerSitio(ui_->Horainicio, HorasMasAnchas(ui_->Horainicio->font()));
    HacerSitio(ui_->HoraActual, HorasMasAnchas(ui_->HoraActual->font()));
    HacerSitio(ui_->Fecha, FechasMasAnchas(seams_.clock.Now().date().year()));
    constexpr int kHueco = 12;
    constexpr int kMargen = 6;
    const int limite = ui_->TabbedNotebook1->width() -
                       2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - kMargen;
    Apartar(ui_->Horainicio, ui_->Fecha, kHueco);
    Encerrar(ui_->Bevel3, {ui_->Fecha}, kMargen, limite);
    Encerrar(ui_->Bevel4, {ui_->HoraActual}, kMargen, limite);
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
    Desactivar(ui_->Inicio, ui_->Pausa);
    const QDateTime now = seams_.clock.Now();
    ui_->Horainicio->setText(TextoHora(now.time()));
    ui_->Fecha->setText(TextoFecha(now.date()));
}

void TForm1::PausaClick() {
    Timer1.stop();
    ui_->Inicio->setEnabled(true);
    Desactivar(ui_->Pausa, ui_->Inicio);
}

void TForm1::MuestreoClick() {
    const int index = ui_->Muestreo->itemIndex();
    // Only a change of interval restarts the period; the rate already chosen changes nothing.
    if (index >= 0 && index < static_cast<int>(std::size(kIntervalos)) &&
        Timer1.interval() != kIntervalos[index]) {
        // An active timer restarts its period from now.
        Timer1.setInterval(kIntervalos[index]);
    }
}

void TForm1::EntregarTick() {
    Guarded([this] { Timer1Timer(); });
    if (Timer1.isActive() && Timer1.remainingTime() == 0) {
        // The tick outlasted its period (a spoken chain), so the next one is due already. A
        // window-message timer delivers it only when no input waits: what came meanwhile
        // (Pausa, Salir, the rate, the boxes) is handled first, with timers held back; then
        // the one catch-up tick follows, if sampling still runs.
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers, kPlazoEntradaPendiente);
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
    const QString texto1 = TextoTemperatura(store_.Lectura);
    PintarMuestra(contador - Desplazamiento_, altura - store_.Lectura, clYellow);
    ui_->X->setText(QString::number(contador));
    ui_->Y->setText(texto1);
    ui_->Actual->setText(texto1 + kGrado);
    GuardarLectura(store_.Sensor1, contador, store_.Lectura);
    if (ui_->Muestreo->itemIndex() > 0) {
        ui_->HoraActual->setText(TextoHora(seams_.clock.Now().time()));
    }
    ComprobarAnuncio(store_.Lectura, 1);

    store_.Lectura = link_.LeerSensor2();
    const QString texto2 = TextoTemperatura(store_.Lectura);
    PintarMuestra(contador - Desplazamiento_, altura - store_.Lectura, clLime);
    ui_->Actual2->setText(texto2 + kGrado);
    GuardarLectura(store_.Sensor2, contador, store_.Lectura);
    ComprobarAnuncio(store_.Lectura, 2);

    MostrarMaximasMinimas();
    DescribirGrafica(contador, texto1, texto2);
}

// Runs inside the tick: a chain plays synchronously, so the tick waits until it is heard.
// Sensor 1's maximum and minimum, then sensor 2's, without degree sign. An edit is rewritten
// only when its text differs: every rewrite is announced to a screen reader as a new text.
void TForm1::MostrarMaximasMinimas() {
    const std::pair<QLineEdit*, std::int32_t> campos[] = {{ui_->Edit1, store_.Sensor1[0]},
                                                          {ui_->Edit2, store_.Sensor1[1]},
                                                          {ui_->Edit3, store_.Sensor2[0]},
                                                          {ui_->Edit4, store_.Sensor2[1]}};
    for (const auto& [edit, lectura] : campos) {
        const QString texto = TextoTemperatura(lectura);
        if (edit->text() != texto) {
            edit->setText(texto);
        }
    }
}

void TForm1::ComprobarAnuncio(std::int32_t lectura, int canal) {
    const QCheckBox* sonido = canal == 1 ? ui_->Sonido : ui_->Sonido2;
    locutor_.ComprobarAnuncio(static_cast<std::uint8_t>(lectura), canal, ui_->Muestreo->itemIndex(),
                              sonido->isChecked());
}

void TForm1::diecisietePlayAfter(TWavClip* Sender) {
    locutor_.diecisietePlayAfter(Sender);
}

void TForm1::gradosPlayAfter(TWavClip* Sender) {
    locutor_.gradosPlayAfter(Sender);
}

void TForm1::barraChange() {
    Desplazamiento_ = ui_->barra->value() * chart_.PasoRejilla;
    DibujarRejilla();
    chart_.DibujarSerie(store_, Desplazamiento_);
    ui_->Image1->update();
    ui_->Label2->setText(QString::number(ui_->barra->value()));
    SetCaption(ui_->Referencia, QString::number(Desplazamiento_));
    // A page turned is heard as its first slot, where the keys start reading again.
    columnaTeclado_ = 0;
    const auto primera = static_cast<std::size_t>(Desplazamiento_);
    DescribirGrafica(Desplazamiento_, TextoTemperatura(store_.Sensor1[primera]),
                     TextoTemperatura(store_.Sensor2[primera]));
}

void TForm1::Image1MouseMove(int x, int) {
    // Moves with a button held arrive from outside the picture too; they read the nearest
    // column, so no slot outside the store is ever looked up.
    LeerColumna(std::clamp(x, 0, ui_->Image1->width() - 1));
    if (QToolTip::isVisible()) {
        QToolTip::showText(QCursor::pos(), ui_->Image1->toolTip(), ui_->Image1);
    }
}

bool TForm1::Image1KeyDown(int key) {
    const int ultima = ui_->Image1->width() - 1;
    switch (key) {
    case Qt::Key_Left:
        --columnaTeclado_;
        break;
    case Qt::Key_Right:
        ++columnaTeclado_;
        break;
    case Qt::Key_Home:
        columnaTeclado_ = 0;
        break;
    case Qt::Key_End:
        columnaTeclado_ = ultima;
        break;
    default:
        return false;
    }
    // The keys stay on the columns shown; the scroll bar turns the page.
    columnaTeclado_ = std::clamp(columnaTeclado_, 0, ultima);
    LeerColumna(columnaTeclado_);
    // The hint stands under the column read, where the pointer would have been.
    const QPoint bajo(columnaTeclado_, ui_->Image1->height());
    QToolTip::showText(ui_->Image1->mapToGlobal(bajo), ui_->Image1->toolTip(), ui_->Image1);
    return true;
}

// The readout of one column, the same for the pointer and the keys.
void TForm1::LeerColumna(int column) {
    const std::int32_t i = std::clamp(Desplazamiento_ + column, 0, LimiteMuestras);
    const QString t1 = TextoTemperatura(store_.Sensor1[static_cast<std::size_t>(i)]);
    const QString t2 = TextoTemperatura(store_.Sensor2[static_cast<std::size_t>(i)]);
    ui_->Actual->setText(t1);
    ui_->Actual2->setText(t2);
    ui_->Image1->setToolTip(QStringLiteral("Posición del cursor:") + t1 + ' ' + t2);
    DescribirGrafica(i, t1, t2);
}

// A screen reader hears the chart as the two readings last shown: the column under the
// pointer or the keys, the first slot of a page turned, or the slot of the last tick.
void TForm1::DescribirGrafica(std::int32_t slot, const QString& texto1, const QString& texto2) {
    Describir(ui_->Image1, QStringLiteral("Muestra %1: sensor 1, %2 grados; sensor 2, %3 grados")
                               .arg(QString::number(slot), texto1, texto2));
}

void TForm1::SalirClick() {
    if (!PuedeSalir()) {
        return;
    }
    // With no table open there is nothing to close; the exit button always ends the program.
    CerrarSiAbierta();
    salidaAceptada_ = true;
    close();
    salidaAceptada_ = false;
}

bool TForm1::PuedeSalir() {
    if (store_.Contador == contadorCargado_) {
        return true;
    }
    // No is what Enter answers: a stray key never throws readings away. Sampling goes on
    // meanwhile, and after No.
    return seams_.dialogs.AskYesNo(
        QStringLiteral("Hay lecturas que no se han guardado. ¿Desea salir sin guardarlas?"),
        Dialogs::Boton::No);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!salidaAceptada_ && !PuedeSalir()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TForm1::BitBtn1Click() {
    seams_.help.ShowContents(kFicheroAyuda, this);
}

// The result lands in a label elsewhere on the page; the button's description carries it
// too, so a screen reader says it where the focus is.
void TForm1::BitBtn2Click() {
    SetCaption(ui_->Media1, TextoMedia(CalcularMedia(store_.Sensor1, store_.Contador)));
    Describir(ui_->BitBtn2, DescripcionMedia(ui_->Media1->text()));
}

void TForm1::BitBtn3Click() {
    SetCaption(ui_->Media2, TextoMedia(CalcularMedia(store_.Sensor2, store_.Contador)));
    Describir(ui_->BitBtn3, DescripcionMedia(ui_->Media2->text()));
}

void TForm1::PortapapelesClick(QObject* Sender) {
    const Serie& serie = Sender == ui_->Portapapeles ? store_.Sensor1 : store_.Sensor2;
    const QString text = TextoPortapapeles(serie, store_.Contador);
    // Memo1 keeps the last copy; the clipboard gets the text itself, so every line keeps
    // its CR LF (an edit's own copy would turn them into bare line feeds).
    ui_->Memo1->setPlainText(text);
    QGuiApplication::clipboard()->setText(text);
    Describir(Sender == ui_->Portapapeles ? ui_->Portapapeles : ui_->Portapapeles2,
              DescripcionCopia(store_.Contador));
}

// ---- The file page ----

void TForm1::CargarTabla() {
    // Only a table that loaded is written into again.
    huella_.reset();
    const ResultadoCarga carga = ::CargarTabla(Muestras, store_);
    huella_ = HuellaDe(Muestras);
    contadorCargado_ = store_.Contador;
    if (carga.Recortada) {
        seams_.dialogs.ShowMessage(TextoTablaRecortada(carga.Registros));
    }
}

void TForm1::ActualizarTabla(QObject*) {
    CargarTabla();
    barraChange();
    Timer1.stop();
    Desactivar(ui_->Pausa, ui_->Inicio);
    MostrarMaximasMinimas();
}

void TForm1::DetenerMuestreo() {
    Timer1.stop();
    ui_->Inicio->setEnabled(true);
    Desactivar(ui_->Pausa, ui_->Inicio);
}

// After a failed open no table is open; closing it then would stop every way back to a
// table, so only an open table is closed.
void TForm1::CerrarSiAbierta() {
    if (Muestras.Active()) {
        Muestras.Close();
    }
}

/// The name label fits its text; the panel around it is 10 pixels wider than `panelWidth`,
/// or than the label when that is negative.
void TForm1::MostrarNombreFichero(const QString& name, int panelWidth) {
    SetCaption(ui_->NombreFile, name);
    const int width = (panelWidth < 0 ? ui_->NombreFile->width() : panelWidth) + 10;
    ui_->Panel1->resize(width, ui_->Panel1->height());
}

void TForm1::GuardarClick() {
    DetenerMuestreo();
    QString name = guardarNombre_;
    bool nueva = false;
    if (seams_.dialogs.ExecuteSave(name, QStringLiteral("Ficheros de muestras(dbf)"),
                                   QStringLiteral("*.dbf"))) {
        guardarNombre_ = name;
        if (name != Muestras.FileName()) {
            name = ConExtensionDbf(name);
            guardarNombre_ = name;
            MostrarNombreFichero(name, -1);
            CerrarSiAbierta();
            Muestras.SetFileName(name);
            DibujarRejilla();
            EscribirPlantilla(name);
            Muestras.Open();
            nueva = true;
        }
    }
    if (!nueva) {
        // Only into a table this program loaded, and as it left it.
        ComprobarEscribible(Muestras, huella_);
    }
    {
        // Finished or not, what the save leaves is the program's own.
        const auto dejada = qScopeGuard([this] { huella_ = HuellaDe(Muestras); });
        EscribirAlmacen(Muestras, store_);
    }
    Timer1.stop();
    Desactivar(ui_->Pausa, ui_->Inicio);
    ActualizarTabla(ui_->Guardar);
    ui_->FileListBox1->Update();
}

void TForm1::AbrirClick() {
    DetenerMuestreo();
    CerrarSiAbierta();
    Muestras.SetFileName(NombreSinRuta(ui_->FileEdit->text()));
    MostrarNombreFichero(ui_->FileEdit->text(), ui_->FileEdit->width());
    DibujarRejilla();
    Muestras.Open();
    ActualizarTabla(ui_->Abrir);
    ui_->TabbedNotebook1->setCurrentIndex(0);
}

void TForm1::BorrarClick() {
    DetenerMuestreo();
    // Only the table held open is cleared: none open is "I/O error 103", and a file that
    // took its name meanwhile is not truncated ("File not found"); nor one that did not load
    // or that another program changed since.
    ComprobarEscribible(Muestras, huella_);
    Muestras.Close();
    EscribirPlantilla(Muestras.FileName());
    Muestras.Open();
    ActualizarTabla(ui_->Borrar);
    ui_->barra->setValue(0);
    ui_->TabbedNotebook1->setCurrentIndex(0);
}

void TForm1::EliminarClick() {
    DetenerMuestreo();
    const QString name = NombreSinRuta(ui_->FileEdit->text());
    const QString path = ui_->FileListBox1->FileName();
    // The open table is refused by its name and by its identity, whatever path names it.
    if (FicheroEnUso(name, Muestras) || (!path.isEmpty() && FicheroEnUso(path, Muestras))) {
        seams_.dialogs.ShowMessage(QStringLiteral(" ¡Fichero en USO !"));
        return;
    }
    if (!seams_.dialogs.AskYesNo(QStringLiteral("¿Desea borrar ") + path + '?',
                                 Dialogs::Boton::Si)) {
        ui_->FileListBox1->Update();
        return;
    }
    const int error = EliminarFicheroTabla(path);
    ui_->FileListBox1->Update();
    if (error != 0) {
        throw EInOutError(error);
    }
    seams_.dialogs.ShowMessage(QStringLiteral(" Fichero eliminado "));
}

void TForm1::AplicarRutaAListaFicheros(const QString& text) {
    const CambioListaFicheros cambio =
        AplicarRutaALista(text, ui_->FileListBox1->Directory(), ui_->FileListBox1->FileName());
    if (cambio.Directorio) {
        ui_->DirectoryListBox1->SetDirectory(*cambio.Directorio);
        ui_->FileListBox1->SetDirectory(*cambio.Directorio);
    }
    if (cambio.Mascara) {
        ui_->FileListBox1->SetMask(*cambio.Mascara);
    }
    if (cambio.Fichero) {
        ui_->FileListBox1->SelectFile(*cambio.Fichero);
    }
}

void TForm1::FileEditKeyPress(QObject*, QChar& Key) {
    if (Key == QChar(13)) {
        // Consumed first: an error in applying the path must not reach the edit either.
        Key = QChar(0);
        AplicarRutaAListaFicheros(ui_->FileEdit->text());
    }
}

void TForm1::DirectoryListBox1Change() {
    AplicarRutaAListaFicheros(ui_->DirectoryListBox1->Directory());
}

// The path label is narrow; its tooltip shows a long path whole.
void TForm1::MostrarRutaCompleta() {
    ui_->PathLabel->setToolTip(ui_->PathLabel->text());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->TabbedNotebook1->tabBar() && event->type() == QEvent::FocusIn) {
        // The style frames the focus only once a key has moved it, and the tab bar holds it
        // from the start, before any key: framed now, the first page shows where keys go.
        setAttribute(Qt::WA_KeyboardFocusChange);
    }
    if (watched == ui_->FileEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            QChar character(13);
            Guarded([&] { FileEditKeyPress(ui_->FileEdit, character); });
            return character.isNull();
        }
    }
    if (watched == ui_->Image1 && event->type() == QEvent::KeyPress) {
        bool leida = false;
        Guarded([&] { leida = Image1KeyDown(static_cast<QKeyEvent*>(event)->key()); });
        if (leida) {
            return true;
        }
    }
    if (watched == ui_->barra && event->type() == QEvent::KeyPress) {
        // Qt's scroll bar inverts its controls so that Down and Page Down move on, which
        // turns the horizontal arrows round; Right moves on to later slots too.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            ui_->barra->triggerAction(key == Qt::Key_Right ? QAbstractSlider::SliderSingleStepAdd
                                                           : QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    if (watched == ui_->barra &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // The style draws no focus on a scroll bar; a keyboard user sees it tinted instead.
        QPalette tinte;
        if (event->type() == QEvent::FocusIn) {
            tinte = ui_->barra->palette();
            const QColor cara = tinte.color(QPalette::Button);
            const QColor realce = tinte.color(QPalette::Highlight);
            tinte.setColor(QPalette::Button, QColor((cara.red() + realce.red()) / 2,
                                                    (cara.green() + realce.green()) / 2,
                                                    (cara.blue() + realce.blue()) / 2));
        }
        // An empty palette hands the bar back the page's own.
        ui_->barra->setPalette(tinte);
    }
    return QWidget::eventFilter(watched, event);
}
