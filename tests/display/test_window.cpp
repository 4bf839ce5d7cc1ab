#include "Colors.h"
#include "FreshWindow.h"
#include "PlantillaMuestras.h"
#include "QtDialogs.h"
#include "ScriptedSeams.h"
#include "TForm1.h"
#include "TJLabel.h"
#include "TRadioGroup.h"
#include "ui_TForm1.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <memory>
#include <utility>

/// Window tests: a fresh TForm1 with scripted seams for every case.
class WindowTest : public QObject, protected FreshWindow {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void formHoldsEveryNamedControl();
    void activationLeavesSamplingStopped();
    void startAndPauseSwapTheButtons();
    void tickStoresShowsAndPlotsInOrder();
    void firstTickOnAnEmptyStore();
    void fullStoreStopsTheTimer();
    void rateChoiceSetsTheInterval();
    void clockCaptionFollowsTheRate();
    void scrollPositionShowsItsSlot();
    void hoverShowsTheSlotUnderThePointer();
    void hoverLabelOffTakesNoCapture();
    void hoverLabelOnChangesLook();
    void errorsEndInTheReport();
    void exitClosesTheWindow();
    void leavingWithUnsavedReadingsAsksFirst();
    void leaveQuestionAnswersNoToEnter();
    void helpOpensWithoutStoppingSampling();
    void helpWindowShowsTheContents();
    void meansAndClipboardFromTheButtons();
    void ticksAnnounceChangedReadings();
    void inputBeforeTheCatchUpTick();
    void sameRateKeepsThePeriod();
    void formShowsItsDesignedLook();
    void timesDatesAndReadingsShowWhole();
    void disabledButtonsHandTheFocusOn();
    void focusedTabIsFramed();
    void shiftF10OpensTheContextMenu();

private:
    QRgb Px(int x, int y) { return ui().Image1->Picture().pixel(x, y) | 0xFF000000; }
};

void WindowTest::init() {
    QCOMPARE(StartFresh(), QStringList{});
}

void WindowTest::cleanup() {
    Finish();
}

void WindowTest::formHoldsEveryNamedControl() {
    // clang-format off
    const QStringList names = QStringList{"Label3",
                               "Label4",
                               "Label12",
                               "Label29",
                               "TabbedNotebook1",
                               "Image1",
                               "Referencia",
                               "Actual",
                               "JLabel1",
                               "Label28",
                               "Label27",
                               "Label10",
                               "Label9",
                               "Label7",
                               "Label6",
                               "Label5",
                               "Label8",
                               "Label11",
                               "Label25",
                               "Label26",
                               "Actual2",
                               "Label13",
                               "Label14",
                               "Image2",
                               "Image3",
                               "Bevel1",
                               "Label15",
                               "Label16",
                               "barra",
                               "Muestreo"}
                              + ControlesDeMuestreo()
                              + QStringList{
                               "version",
                               "year",
                               "numrecs",
                               "headlen",
                               "reclen",
                               "rez",
                               "Label2",
                               "X",
                               "Y",
                               "totalrecs",
                               "Current",
                               "Memo1",
                               "Label1",
                               "Label17",
                               "PathLabel",
                               "Label18",
                               "Label19",
                               "Bevel2",
                               "Abrir",
                               "Guardar",
                               "Borrar",
                               "Panel1",
                               "NombreFile",
                               "FileEdit",
                               "DirectoryListBox1",
                               "FileListBox1",
                               "FilterComboBox1",
                               "DriveComboBox1",
                               "Eliminar",
                               "Bevel4",
                               "Bevel3",
                               "Horainicio",
                               "HoraActual",
                               "Label20",
                               "Label21",
                               "Label22",
                               "Fecha",
                               "Media1",
                               "Media2",
                               "BitBtn1",
                               "BitBtn2",
                               "BitBtn3",
                               "Memo3"};
    // clang-format on
    for (const QString& name : names) {
        QVERIFY2(form->findChild<QWidget*>(name), qPrintable(name));
    }
    QCOMPARE(ui().Image1->geometry(), QRect(59, 9, 320, 200));
    QCOMPARE(ui().Muestreo->itemIndex(), 1);
    QCOMPARE(ui().JLabel1->OnMoveBColor(), QColor(Qt::yellow));
    QVERIFY(!ui().JLabel1->OnEnabled());
    QCOMPARE(ui().Label26->text(), QString("0") + QChar(0xBA));
    QVERIFY(!ui().Memo1->isVisibleTo(form.get()));
    QCOMPARE(ui().Memo3->toPlainText().split('\n').value(1), QString("temperaturas a través del "));
    QCOMPARE(ui().TabbedNotebook1->count(), 3);
    QCOMPARE(ui().TabbedNotebook1->tabText(2), QString("Información y ayuda"));
}

void WindowTest::activationLeavesSamplingStopped() {
    QCOMPARE(ui().Image1->height(), 200);
    QVERIFY(!form->Timer1.isActive());
    QCOMPARE(form->Timer1.interval(), 1000);
    QVERIFY(ui().Inicio->isEnabled());
    QVERIFY(!ui().Pausa->isEnabled());
    QCOMPARE(ui().Referencia->text(), QString("0"));
    QCOMPARE(ui().TabbedNotebook1->currentIndex(), 0);
    QCOMPARE(Px(100, 100), RgbFromBgr(clGrid));
    // The start-up load draws the grid twice (before the table and in the redraw), so the
    // outline already has the grid's colour.
    QCOMPARE(Px(0, 50), RgbFromBgr(clGrid));
}

void WindowTest::startAndPauseSwapTheButtons() {
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    QVERIFY(form->Timer1.isActive());
    QVERIFY(!ui().Inicio->isEnabled());
    QVERIFY(ui().Pausa->isEnabled());
    QCOMPARE(ui().Horainicio->text(), QString("14:05:09"));
    QCOMPARE(ui().Fecha->text(), QLocale().toString(QDate(2026, 12, 7), QLocale::ShortFormat));

    seams->port.reading1 = 40;
    seams->port.reading2 = 42;
    form->Timer1Timer();
    form->Timer1Timer();
    QTest::mouseClick(ui().Pausa, Qt::LeftButton);
    QVERIFY(!form->Timer1.isActive());
    QVERIFY(ui().Inicio->isEnabled());
    QVERIFY(!ui().Pausa->isEnabled());

    // Starting again continues the series and refreshes the start time; max and min stay.
    seams->clock.now = seams->clock.now.addSecs(3600);
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    QCOMPARE(ui().Horainicio->text(), QString("15:05:09"));
    form->Timer1Timer();
    // The template table loaded 5 records, so the three ticks filled slots 6 to 8.
    QCOMPARE(form->Store().Contador, 8);
    QCOMPARE(form->Store().Sensor1[8], 40);
    QCOMPARE(form->Store().Sensor1[0], 40);
}

void WindowTest::tickStoresShowsAndPlotsInOrder() {
    SampleStore& store = form->Store();
    store.Contador = 5; // a cleared table: the next reading goes to slot 6
    store.Sensor1[0] = 50;
    store.Sensor1[1] = 100;
    store.Sensor2[0] = 10;
    store.Sensor2[1] = 100;
    seams->port.reading1 = 47;
    seams->port.reading2 = 48;
    form->Timer1Timer();

    QCOMPARE(store.Contador, 6);
    QCOMPARE(store.Sensor1[6], 47);
    QCOMPARE(store.Sensor2[6], 48);
    QCOMPARE(store.Sensor1[0], 50); // not above the maximum
    QCOMPARE(store.Sensor1[1], 47);
    QCOMPARE(store.Sensor2[0], 48);
    QCOMPARE(store.Sensor2[1], 48);
    QCOMPARE(ui().X->text(), QString("6"));
    QCOMPARE(ui().Y->text(), QString("23,5"));
    QCOMPARE(ui().Actual->text(), QString("23,5º"));
    QCOMPARE(ui().Actual2->text(), QString("24º"));
    QCOMPARE(ui().Edit1->text(), QString("25"));
    QCOMPARE(ui().Edit2->text(), QString("23,5"));
    QCOMPARE(ui().Edit3->text(), QString("24"));
    QCOMPARE(ui().Edit4->text(), QString("24"));
    QCOMPARE(Px(6, 153), RgbFromBgr(clYellow));
    QCOMPARE(Px(6, 152), RgbFromBgr(clLime));

    // Equal readings: the lime dot is set last and covers the yellow one.
    seams->port.reading1 = seams->port.reading2 = 60;
    form->Timer1Timer();
    QCOMPARE(Px(7, 140), RgbFromBgr(clLime));
    // 255 is shown and stored, plotted nowhere.
    seams->port.reading1 = 255;
    const QImage before = ui().Image1->Picture().copy();
    seams->port.reading2 = 0;
    form->Timer1Timer();
    QCOMPARE(ui().Actual->text(), QString("127,5º"));
    QCOMPARE(store.Sensor1[8], 255);
    QCOMPARE(ui().Image1->Picture(), before);
}

void WindowTest::firstTickOnAnEmptyStore() {
    form->Store() = SampleStore{};
    seams->port.reading1 = 44;
    seams->port.reading2 = 46;
    form->Timer1Timer();
    const SampleStore& store = form->Store();
    QCOMPARE(store.Contador, 1);
    QCOMPARE(store.Sensor1[1], 44); // its own minimum
    QCOMPARE(store.Sensor1[0], 44);
    QCOMPARE(store.Sensor2[1], 46);
    QCOMPARE(store.Sensor2[0], 46);
}

void WindowTest::fullStoreStopsTheTimer() {
    form->Store().Contador = 4999;
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    seams->port.reading1 = 33;
    form->Timer1Timer();
    QCOMPARE(form->Store().Contador, 5000);
    QCOMPARE(form->Store().Sensor1[5000], 33);
    QVERIFY(form->Timer1.isActive());

    seams->port.reading1 = 99;
    form->Timer1Timer();
    QCOMPARE(form->Store().Contador, 5000);
    QCOMPARE(form->Store().Sensor1[5000], 33);
    QVERIFY(!form->Timer1.isActive());
    QCOMPARE(ui().X->text(), QString("5000")); // the full tick shows nothing new
    QVERIFY(!ui().Inicio->isEnabled());
    QVERIFY(ui().Pausa->isEnabled());
    // Pausing from Full leads to Stopped; starting again is Full at the first tick.
    QTest::mouseClick(ui().Pausa, Qt::LeftButton);
    QVERIFY(ui().Inicio->isEnabled());
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    form->Timer1Timer();
    QVERIFY(!form->Timer1.isActive());
    QCOMPARE(form->Store().Contador, 5000);
}

void WindowTest::rateChoiceSetsTheInterval() {
    const auto radios = ui().Muestreo->findChildren<QRadioButton*>();
    QCOMPARE(radios.size(), 3);
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    radios[2]->click();
    QCOMPARE(ui().Muestreo->itemIndex(), 2);
    QCOMPARE(form->Timer1.interval(), 60000);
    QVERIFY(form->Timer1.isActive()); // a rate change neither starts nor stops sampling
    radios[0]->click();
    QCOMPARE(form->Timer1.interval(), 100);
    QVERIFY(form->Timer1.remainingTime() <= 100);
    QTest::mouseClick(ui().Pausa, Qt::LeftButton);
    radios[1]->click();
    QCOMPARE(form->Timer1.interval(), 1000);
    QVERIFY(!form->Timer1.isActive());
    // No item chosen: the interval stays.
    ui().Muestreo->setItemIndex(-1);
    form->MuestreoClick();
    QCOMPARE(form->Timer1.interval(), 1000);
}

void WindowTest::clockCaptionFollowsTheRate() {
    ui().Muestreo->setItemIndex(0);
    form->Timer1Timer();
    QCOMPARE(ui().HoraActual->text(), QString("00:00:00"));
    ui().Muestreo->setItemIndex(2);
    form->Timer1Timer();
    QCOMPARE(ui().HoraActual->text(), QString("14:05:09"));
}

void WindowTest::scrollPositionShowsItsSlot() {
    SampleStore& store = form->Store();
    store.Contador = 400;
    store.Sensor1[100] = 120;
    store.Sensor2[100] = 0;
    ui().barra->setValue(5);
    QCOMPARE(form->Desplazamiento(), 100);
    QCOMPARE(ui().Referencia->text(), QString("100"));
    QCOMPARE(ui().Label2->text(), QString("5"));
    QCOMPARE(Px(0, 80), RgbFromBgr(clYellow));
    ui().barra->setValue(100);
    QCOMPARE(ui().Referencia->text(), QString("2000"));

    // A tick's dot beyond the right edge is not drawn, but shows after scrolling there.
    ui().barra->setValue(0);
    seams->port.reading1 = 50;
    form->Timer1Timer();
    ui().barra->setValue(20);
    QCOMPARE(Px(1, 150), RgbFromBgr(clYellow));
}

void WindowTest::hoverShowsTheSlotUnderThePointer() {
    SampleStore& store = form->Store();
    store.Contador = 60;
    store.Sensor1[50] = 47;
    store.Sensor2[50] = 48;
    ui().barra->setValue(2);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseMove(ui().Image1, QPoint(10, 30));
    QCOMPARE(ui().Actual->text(), QString("23,5"));
    QCOMPARE(ui().Actual2->text(), QString("24"));
    QCOMPARE(ui().Image1->toolTip(), QString("Posición del cursor:23,5 24"));

    // On a scaled screen a device pixel is part of a column: the window sees the pointer at
    // 10.5, which Qt rounds to 11 for the chart, and the column under it is still 10.
    store.Sensor1[51] = 60;
    const QPointF inWindow =
        QPointF(ui().Image1->mapTo(form.get(), QPoint(10, 30))) + QPointF(0.5, 0);
    QMouseEvent move(QEvent::MouseMove, inWindow, form->mapToGlobal(inWindow), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->windowHandle(), &move);
    QCOMPARE(ui().Actual->text(), QString("23,5"));

    // Moves from outside the picture read the nearest column, never outside the store.
    store.Sensor1[40] = 20;
    form->Image1MouseMove(-300, 5);
    QCOMPARE(ui().Actual->text(), QString("10"));
    store.Sensor1[2319] = 30;
    ui().barra->setValue(100);
    form->Image1MouseMove(5000, 5);
    QCOMPARE(ui().Actual->text(), QString("15"));
}

void WindowTest::hoverLabelOffTakesNoCapture() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const QColor before = ui().JLabel1->FontColor();
    QTest::mouseMove(ui().JLabel1, QPoint(5, 5));
    QTest::mouseMove(ui().JLabel1, QPoint(5, 50));
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QCOMPARE(ui().JLabel1->FontColor(), before);
    QVERIFY(ui().JLabel1->Styles().testFlag(TJLabel::fsBold));
    QVERIFY(ui().JLabel1->Styles().testFlag(TJLabel::fsItalic));
}

void WindowTest::hoverLabelOnChangesLook() {
    QWidget window;
    window.resize(200, 200);
    auto* label = new TJLabel(&window);
    label->setGeometry(10, 10, 60, 20);
    label->setText("hover");
    label->setOnEnabled(true);
    label->setOnMoveFColor(Qt::red);
    label->setOffMoveFColor(Qt::blue);
    label->setOnStyles(TJLabel::fsBold);
    QFont designed = label->font();
    designed.setItalic(true);
    designed.setBold(true);
    label->setFont(designed);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QTest::mouseMove(label, QPoint(5, 5));
    QCOMPARE(QWidget::mouseGrabber(), label);
    QCOMPARE(label->FontColor(), QColor(Qt::red));
    QCOMPARE(label->Styles(), TJLabel::FontStyles(TJLabel::fsBold));
    // A new value waits for the next entry.
    label->setOnMoveFColor(Qt::green);
    QTest::mouseMove(label, QPoint(6, 6));
    QCOMPARE(label->FontColor(), QColor(Qt::red));
    // The right edge itself is still inside.
    QMouseEvent edge(QEvent::MouseMove, QPointF(60, 5), QPointF(60, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(label, &edge);
    QCOMPARE(QWidget::mouseGrabber(), label);
    QMouseEvent out(QEvent::MouseMove, QPointF(-1, 5), QPointF(-1, 5), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(label, &out);
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QCOMPARE(label->FontColor(), QColor(Qt::blue));
    QCOMPARE(label->Styles(), TJLabel::FontStyles()); // plain, not the designed bold italic
}

void WindowTest::errorsEndInTheReport() {
    bool after = false;
    form->Guarded([&] {
        throw std::runtime_error("File not found");
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(seams->errors.reports, QStringList{"File not found."});
}

void WindowTest::exitClosesTheWindow() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    ui().Salir->click();
    QVERIFY(!form->isVisible());
    QVERIFY(seams->errors.reports.isEmpty());
}

// Salir, the close button and Alt+F4 (a close event, as form->close() sends) ask before
// readings taken since the last load or save go; No leaves everything as it was.
void WindowTest::leavingWithUnsavedReadingsAsksFirst() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    form->Timer1Timer();
    ui().Salir->click();
    QVERIFY(!form->close());
    QCOMPARE(seams->dialogs.questions,
             QStringList(2, "Hay lecturas que no se han guardado. ¿Desea salir sin guardarlas?"));
    QVERIFY(seams->dialogs.defaults == std::vector(2, Dialogs::Boton::No));
    QVERIFY(form->isVisible());
    QVERIFY(form->Timer1.isActive());
    QVERIFY(form->Muestras.Active());

    // Saved, they no longer hold the window.
    ui().Guardar->click();
    ui().Salir->click();
    QVERIFY(!form->isVisible());
    QCOMPARE(seams->dialogs.questions.size(), 2);

    // Yes leaves without them.
    form->show();
    form->Timer1Timer();
    seams->dialogs.answers = {true};
    QVERIFY(form->close());
    QCOMPARE(seams->dialogs.questions.size(), 3);
    QVERIFY(seams->errors.reports.isEmpty());
}

void WindowTest::leaveQuestionAnswersNoToEnter() {
    QMessageBox::StandardButton porDefecto = QMessageBox::NoButton;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            porDefecto = box->standardButton(box->defaultButton());
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    driver.start(20);
    QVERIFY(!QtDialogs().AskYesNo("¿Desea salir sin guardarlas?", Dialogs::Boton::No));
    QCOMPARE(porDefecto, QMessageBox::No);
}

void WindowTest::helpOpensWithoutStoppingSampling() {
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    ui().BitBtn1->click();
    QCOMPARE(seams->help.shown, QStringList{"VELMORAN.HLP"});
    QVERIFY(form->Timer1.isActive());
}

// The real help window: the program's own Spanish contents page, beside the main window.
void WindowTest::helpWindowShowsTheContents() {
    form->show();
    QtHelpViewer viewer;
    viewer.ShowContents("VELMORAN.HLP", form.get());
    QVERIFY(viewer.Window());
    QVERIFY(viewer.Window()->isVisible());
    QVERIFY(!viewer.Window()->isModal());
    const QString text = viewer.Window()->toPlainText();
    for (const char* page :
         {"Captura de datos", "Operaciones con ficheros", "Información y ayuda"}) {
        QVERIFY2(text.contains(QString::fromUtf8(page)), page);
    }
    // Asked again, the same window comes forward.
    QTextBrowser* first = viewer.Window();
    viewer.ShowContents("VELMORAN.HLP", form.get());
    QCOMPARE(viewer.Window(), first);
}

void WindowTest::meansAndClipboardFromTheButtons() {
    SampleStore& store = form->Store();
    store.Contador = 9;
    const int one[] = {46, 47, 47, 48};
    for (int i = 0; i < 4; ++i) {
        store.Sensor1[6 + i] = one[i];
        store.Sensor2[6 + i] = 45;
    }
    store.Sensor1[2] = 40;
    store.Sensor2[2] = 41;
    ui().BitBtn2->click();
    ui().BitBtn3->click();
    QCOMPARE(ui().Media1->text(), QString("24º "));
    QCOMPARE(ui().Media2->text(), QString("22º "));

    store.Contador = 3;
    store.Sensor1[3] = 47;
    store.Sensor2[3] = 40;
    ui().Portapapeles->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("20\r\n23,5\r\n"));
    ui().Portapapeles2->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("20,5\r\n20\r\n"));
    QCOMPARE(ui().Memo1->toPlainText().remove('\r'), QString("20,5\n20\n"));
    store.Contador = 1;
    ui().Portapapeles->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

// The look the form describes: radio items in the group's font and colour inside its frame,
// one-line captions grown from their aligned edge to fit, wrapped ones kept, 16-pixel list
// rows, silver wherever no control covers the window or a page, and the hover look.
void WindowTest::formShowsItsDesignedLook() {
    const TRadioGroup* group = ui().Muestreo;
    for (const QRadioButton* item : group->findChildren<QRadioButton*>()) {
        QCOMPARE(item->font(), group->font());
        QCOMPARE(item->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
        QVERIFY(item->y() >= group->contentsRect().top() &&
                item->geometry().bottom() < group->height());
    }

    for (const QLabel* label : {ui().Label13, ui().Label14, ui().Label18}) {
        const QSize need = QFontMetrics(label->font()).size(0, label->text());
        QVERIFY2(label->width() >= need.width() && label->height() >= need.height(),
                 qPrintable(label->objectName()));
    }
    QCOMPARE(ui().Label13->pos(), QPoint(86, 238));
    SetCaption(ui().Referencia, "123456789");
    QVERIFY(ui().Referencia->width() >=
            QFontMetrics(ui().Referencia->font()).horizontalAdvance("123456789"));
    QCOMPARE(ui().Referencia->geometry().right(), 48);
    QCOMPARE(ui().Label29->geometry(), QRect(32, 8, 241, 41));

    for (const QListWidget* list : {static_cast<QListWidget*>(ui().FileListBox1),
                                    static_cast<QListWidget*>(ui().DirectoryListBox1)}) {
        QCOMPARE(list->visualItemRect(list->item(0)).height(), 16);
    }

    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    const QColor silver(0xC0, 0xC0, 0xC0);
    QCOMPARE(form->grab().toImage().pixelColor(545, 10), silver);
    for (int page = 2; page >= 0; --page) {
        ui().TabbedNotebook1->setCurrentIndex(page);
        const QPoint empty =
            ui().TabbedNotebook1->currentWidget()->mapTo(form.get(), QPoint(530, 300));
        QCOMPARE(form->grab().toImage().pixelColor(empty), silver);
    }

    // JLabel1 as the form styles it, hover on: black plain text for the designed teal, and
    // the entry background on a label that paints one.
    TJLabel* label = ui().JLabel1;
    const auto shows = [label](QRgb colour) {
        const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        return std::any_of(pixels, pixels + image.width() * image.height(),
                           [colour](QRgb pixel) { return (pixel | 0xFF000000) == colour; });
    };
    QVERIFY(shows(RgbFromBgr(clTeal)));
    label->setOnEnabled(true);
    label->setAutoFillBackground(true);
    QTest::mouseMove(label, QPoint(5, 5));
    QCOMPARE(QWidget::mouseGrabber(), label);
    QVERIFY(!shows(RgbFromBgr(clTeal)) && shows(qRgb(0, 0, 0)));
    QCOMPARE(label->grab().toImage().pixel(0, 0) | 0xFF000000, qRgb(255, 255, 0));
}

// The system's formats of times and dates and the widest reading show whole in any locale,
// and what stands beside or around them makes room.
void WindowTest::timesDatesAndReadingsShowWhole() {
    const auto whole = [](const QLabel* label) {
        const QFontMetrics metrics(label->font());
        return label->width() >= metrics.horizontalAdvance(label->text()) &&
               label->height() >= metrics.height();
    };
    // Across: the form lets captions stand a little above their frames.
    const auto inside = [](const QWidget* control, const QWidget* frame) {
        return frame->x() <= control->x() &&
               control->geometry().right() <= frame->geometry().right();
    };
    form.reset(); // one window at a time holds the folder's table
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()}) {
        QLocale::setDefault(locale);
        TForm1 window(seams->seams());
        Ui::TForm1& controls = window.ui();
        window.FormActivate();
        seams->clock.now = QDateTime(QDate(2026, 12, 28), QTime(21, 58, 58));
        seams->port.reading1 = 255;
        window.InicioClick();
        controls.Muestreo->setItemIndex(1);
        window.Timer1Timer();
        const QString name = locale.name();
        for (const QLabel* label :
             {controls.Horainicio, controls.Fecha, controls.HoraActual, controls.Actual}) {
            QVERIFY2(whole(label), qPrintable(name + ": " + label->text()));
        }
        QVERIFY2(controls.Horainicio->geometry().right() < controls.Fecha->x(), qPrintable(name));
        QVERIFY2(inside(controls.Fecha, controls.Bevel3), qPrintable(name));
        QVERIFY2(inside(controls.HoraActual, controls.Bevel4), qPrintable(name));
        QVERIFY2(controls.Bevel4->geometry().right() < controls.TabbedNotebook1->width(),
                 qPrintable(name));
        // A line edit too narrow scrolls its text, so its first digit leaves the box.
        QLineEdit* maxima = controls.Edit1;
        QCOMPARE(maxima->text(), QString(locale.decimalPoint() == "," ? "127,5" : "127.5"));
        maxima->grab();
        QCOMPARE(maxima->cursorPositionAt(QPoint(1, maxima->height() / 2)), 0);
        QVERIFY2(maxima->geometry().right() < controls.Edit3->x(), qPrintable(name));
        QVERIFY2(controls.Edit3->geometry().right() < controls.Portapapeles->x(), qPrintable(name));
    }
}

// A button that disables itself hands the focus to the one that takes over, never on to a
// button that ends the program.
void WindowTest::disabledButtonsHandTheFocusOn() {
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    ui().Inicio->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui().Inicio, Qt::Key_Space);
    QCOMPARE(QApplication::focusWidget(), ui().Pausa);
    QTest::keyClick(ui().Pausa, Qt::Key_Space);
    QCOMPARE(QApplication::focusWidget(), ui().Inicio);
    // The file operations stop sampling as well.
    QTest::keyClick(ui().Inicio, Qt::Key_Space);
    form->GuardarClick();
    QCOMPARE(QApplication::focusWidget(), ui().Inicio);
}

// The focus starts on the tab bar, put there by no key; the tab still shows it.
void WindowTest::focusedTabIsFramed() {
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTabBar* tabs = ui().TabbedNotebook1->tabBar();
    QVERIFY(tabs->hasFocus());
    const QImage focused = tabs->grab().toImage();
    ui().Inicio->setFocus(Qt::MouseFocusReason);
    QVERIFY(focused != tabs->grab().toImage());
}

void WindowTest::shiftF10OpensTheContextMenu() {
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    ui().TabbedNotebook1->setCurrentIndex(1);
    ui().FileEdit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui().FileEdit, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    menu->close();
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"

// Through the window: the boxes and the rate are read at every tick, each channel's chain
// follows its own reading, and the chains run inside the tick before the next channel.
void WindowTest::ticksAnnounceChangedReadings() {
    const auto image = [&](const char* name) { return form->Voz().Clip(name).Data(); };
    ui().Sonido->setChecked(true);
    ui().Sonido2->setChecked(true);
    seams->port.reading1 = 47;
    seams->port.reading2 = 48;
    form->Timer1Timer();
    const std::vector<QByteArray> both = {image("veintitres"), image("grados"), image("ymedio"),
                                          image("veinticuatro"), image("grados")};
    QCOMPARE(seams->sound.images, both);

    // The same readings again: nothing new is said.
    form->Timer1Timer();
    QCOMPARE(seams->sound.images.size(), both.size());

    // Box off for channel 2, every tenth of a second silent and not remembered.
    ui().Sonido2->setChecked(false);
    seams->port.reading2 = 50;
    form->Timer1Timer();
    QCOMPARE(seams->sound.images.size(), both.size());
    ui().Muestreo->setItemIndex(0);
    seams->port.reading1 = 40;
    form->Timer1Timer();
    QCOMPARE(seams->sound.images.size(), both.size());
    QCOMPARE(form->Voz().UltimaAnunciada1, std::uint8_t{47});
    ui().Muestreo->setItemIndex(2);
    form->Timer1Timer();
    QCOMPARE(seams->sound.images.back(), image("grados"));
    QCOMPARE(seams->sound.images[seams->sound.images.size() - 2], image("veinte"));
    QCOMPARE(form->Voz().UltimaAnunciada2, std::uint8_t{48});
}

// A click on Pausa during a chain that outlasts the period comes before the catch-up tick.
void WindowTest::inputBeforeTheCatchUpTick() {
    ui().Sonido->setChecked(true);
    seams->port.reading1 = 47;
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    form->Timer1.start(1);
    bool clicked = false;
    seams->sound.whilePlaying = [&] {
        if (!std::exchange(clicked, true)) {
            QMetaObject::invokeMethod(ui().Pausa, &QAbstractButton::click, Qt::QueuedConnection);
        }
        QTest::qSleep(5);
    };
    const std::int32_t before = form->Store().Contador;
    form->EntregarTick();
    QVERIFY(clicked && !form->Timer1.isActive());
    QCOMPARE(form->Store().Contador, before + 1);
}

// A click on the rate already chosen does not restart the period.
void WindowTest::sameRateKeepsThePeriod() {
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    QTest::qSleep(100);
    QTest::mouseClick(ui().Muestreo->findChildren<QRadioButton*>()[1], Qt::LeftButton);
    QVERIFY(form->Timer1.isActive());
    QVERIFY2(form->Timer1.remainingTime() <= 950, "the period started again");
}
