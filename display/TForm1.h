#pragma once

#include "AdcLink.h"
#include "DBase3Plus.h"
#include "FormSeams.h"
#include "HuellaTabla.h"
#include "Locutor.h"
#include "SampleStore.h"
#include "TemperatureChart.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class TForm1;
}
class QCoreApplication;
class QLabel;

/// The one main window: three pages, the sampling timer, the chart and the store. Its
/// handlers apply their steps in order and leave the rules to the logic they call; every
/// handler runs through Guarded, so an error ends up in the error report, never in Qt.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(const FormSeams& seams, QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1& ui() { return *ui_; }
    SampleStore& Store() { return store_; }
    TemperatureChart& Chart() { return chart_; }
    std::int32_t Desplazamiento() const { return Desplazamiento_; }

    /// The sampling timer: off, 1000 ms, until Inicio.
    QTimer Timer1;
    /// The current sample table.
    TDBase3Plus Muestras;

    // Handlers, named after their control and event.
    void FormActivate();
    void InicioClick();
    void PausaClick();
    void MuestreoClick();
    void Timer1Timer();
    /// What Timer1 calls: the tick, and after a tick that outlasted its period the input
    /// that arrived during it, before the one tick that fell due.
    void EntregarTick();
    void barraChange();
    void Image1MouseMove(int x, int y);
    /// Left and Right move the column read by one slot, Home and End to the first and last
    /// column shown; the column reads as under the pointer. False for any other key.
    bool Image1KeyDown(int key);
    void SalirClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    /// Shared by both copy buttons: Portapapeles copies sensor 1, any other sender sensor 2.
    void PortapapelesClick(QObject* Sender);

    /// The 27 word clips and the memory of what was announced.
    Locutor& Voz() { return locutor_; }
    /// The number clips' OnPlayAfter: "grados" follows.
    void diecisietePlayAfter(TWavClip* Sender);
    /// OnPlayAfter of "grados": "y medio" follows a half degree.
    void gradosPlayAfter(TWavClip* Sender);

    // The file page.
    void CargarTabla();
    void ActualizarTabla(QObject* Sender);
    void GuardarClick();
    void AbrirClick();
    void BorrarClick();
    void EliminarClick();
    /// Enter applies the edit's text to the file list and is consumed (Key becomes 0).
    void FileEditKeyPress(QObject* Sender, QChar& Key);
    void DirectoryListBox1Change();
    /// The name the save dialog offers next: the last one chosen, as amended.
    QString GuardarDBFFileName() const { return guardarNombre_; }

    /// Runs one handler; an error it raises is shown by the error report, as the message
    /// followed by ".", and goes no further.
    void Guarded(const std::function<void()>& handler);

protected:
    bool event(QEvent* event) override;
    /// The close button, Alt+F4 and Salir: readings not yet saved go only when the user
    /// agrees.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::unique_ptr<Ui::TForm1> CrearFormulario(TForm1* form);
    void ConnectHandlers();
    void DibujarRejilla();
    void PintarMuestra(std::int32_t column, std::int32_t row, std::uint32_t colourBgr);
    void ComprobarAnuncio(std::int32_t lectura, int canal);
    void ArrancarCargaInicial();
    void DetenerMuestreo();
    void MostrarMaximasMinimas();
    void CerrarSiAbierta();
    void MostrarNombreFichero(const QString& name, int panelWidth);
    void AplicarRutaAListaFicheros(const QString& text);
    void MostrarRutaCompleta();
    void DescribirGrafica(std::int32_t slot, const QString& texto1, const QString& texto2);
    /// True when leaving loses no reading, or the user agreed to lose them.
    bool PuedeSalir();
    void LeerColumna(int column);
    void HacerSitioAHoras();

    std::unique_ptr<Ui::TForm1> ui_;
    FormSeams seams_;
    AdcLink link_;
    SampleStore store_;
    TemperatureChart chart_;
    Locutor locutor_;
    std::int32_t Desplazamiento_ = 0;
    /// The chart's column the keys read, counted from the left edge.
    int columnaTeclado_ = 0;
    bool activado_ = false;
    QString guardarNombre_ = QStringLiteral("Muestras.dbf");
    /// How the program last left the open table; empty while its load failed.
    std::optional<HuellaTabla> huella_;
    /// Contador as the last load left it: readings taken since move it on.
    std::int32_t contadorCargado_ = 0;
    /// Salir already asked; the close it makes goes through.
    bool salidaAceptada_ = false;
};

/// Sets a label's caption; a label marked autoSize in the form then fits its text, and any
/// other label that does not word-wrap grows until the caption fits.
void SetCaption(QLabel* label, const QString& text);

/// Qt's own texts (box buttons, the file dialog) in Spanish, whatever the user's locale;
/// numbers and times still follow the locale. False when the translations are not installed.
bool CargarTextosQt(QCoreApplication& app);
