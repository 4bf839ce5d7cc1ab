#include "AvisosAccesibles.h"
#include "FreshWindow.h"
#include "HelpViewer.h"
#include "QtDialogs.h"

#include <QAccessible>
#include <QFileDialog>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

/// The window as a keyboard and screen-reader user meets it.
class AccessTest : public QObject, protected FreshWindow {
    Q_OBJECT
private slots:
    void init() { QCOMPARE(StartFresh(), QStringList{}); }
    void cleanup() { Finish(); }
    void everyControlSaysWhatItIs();
    void keyboardReachesTheSamplingPageInOrder();
    void qtBoxesSpeakSpanish();
    void saveDialogAsksAboutTheNameWithItsExtension();
    void aTickIsQuiet();
    void theChartReadsByKeyboard();
    void namesSayWhatControlsDoAndWhatTheyDid();
    void theHelpIsADocumentWithLinks();
};

namespace {
// A name that says something: a value or "-----" alone does not.
bool Dice(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

QString Texto(QWidget* widget, QAccessible::Text which) {
    return QAccessible::queryAccessibleInterface(widget)->text(which);
}

bool RotuladoPorEtiqueta(QWidget* widget) {
    const auto labels =
        QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label);
    return std::any_of(labels.begin(), labels.end(), [](const auto& label) {
        return Dice(label.first->text(QAccessible::Name));
    });
}

// Who has the focus: a radio item by its caption, anything else by its name.
QString Foco() {
    QWidget* focus = QApplication::focusWidget();
    auto* radio = qobject_cast<QRadioButton*>(focus);
    return radio ? radio->text() : focus ? focus->objectName() : QStringLiteral("(nadie)");
}
} // namespace

void AccessTest::everyControlSaysWhatItIs() {
    // A label showing a bare value says what it is in its description, a list box (named by
    // its current text) through the label it is labelled by, a captionless button by its hint.
    for (int page = 0; page < ui().TabbedNotebook1->count(); ++page) {
        ui().TabbedNotebook1->setCurrentIndex(page);
        for (QWidget* widget : form->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(widget);
            const bool read = label || qobject_cast<QLineEdit*>(widget) ||
                              qobject_cast<QAbstractScrollArea*>(widget) ||
                              qobject_cast<TImage*>(widget);
            if (!widget->isVisibleTo(form.get()) ||
                (!read && !(widget->focusPolicy() & Qt::TabFocus))) {
                continue;
            }
            const QString name = Texto(widget, QAccessible::Name);
            QVERIFY2(Dice(name) || (label && Dice(Texto(widget, QAccessible::Description))) ||
                         (qobject_cast<QComboBox*>(widget) && RotuladoPorEtiqueta(widget)),
                     qPrintable(widget->objectName() + " «" + name + "»"));
            auto* button = qobject_cast<QAbstractButton*>(widget);
            if (button && !button->toolTip().isEmpty() && !Dice(button->text())) {
                QCOMPARE(name, button->toolTip());
            }
        }
    }

    // The chart describes the readings last shown: the tick's, then the pointer's column.
    seams->port.reading1 = 47;
    seams->port.reading2 = 48;
    form->Timer1Timer();
    QCOMPARE(Texto(ui().Image1, QAccessible::Description),
             QString("Muestra %1: sensor 1, 23,5 grados; sensor 2, 24 grados")
                 .arg(form->Store().Contador));
    form->Store().Sensor1[12] = 41;
    form->Store().Sensor2[12] = 40;
    form->Image1MouseMove(12, 100);
    QCOMPARE(Texto(ui().Image1, QAccessible::Description),
             QString("Muestra 12: sensor 1, 20,5 grados; sensor 2, 20 grados"));

    // A path too long for its label shows whole in the label's tooltip.
    const QString deep = folder->filePath("una carpeta de nombre largo/y otra más dentro");
    QVERIFY(QDir().mkpath(deep));
    ui().DirectoryListBox1->SetDirectory(deep);
    QCOMPARE(ui().PathLabel->toolTip(), QDir(deep).canonicalPath());
}

void AccessTest::keyboardReachesTheSamplingPageInOrder() {
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto key = [](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
    };

    // Tab walks the sampling page in the window's order, past the disabled Pausa; the radio
    // group is one stop, at its chosen item.
    QStringList expected = QStringList{"barra", "Image1", "Cada segundo"} + ControlesDeMuestreo() +
                           QStringList{"qt_tabwidget_tabbar"};
    expected.removeOne("Pausa");
    ui().TabbedNotebook1->tabBar()->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        key(Qt::Key_Tab);
        order << Foco();
    }
    QCOMPARE(order, expected);

    // Shift+Tab comes back to the chosen item; an arrow moves the choice and runs MuestreoClick.
    ui().Inicio->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    key(Qt::Key_Down);
    QCOMPARE(Foco(), QString("Cada minuto"));
    QCOMPARE(form->Timer1.interval(), 60000);
    // A choice made by the program moves the group's stop with it.
    ui().Muestreo->setItemIndex(0);
    ui().Inicio->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(Foco(), QString("Cada d\u00e9cima"));

    // The scroll bar is tinted while it has the focus, and takes one slot a key, Right and
    // Down onwards, never past either end.
    const QColor face = ui().barra->palette().color(QPalette::Button);
    ui().barra->setFocus(Qt::TabFocusReason);
    QVERIFY(ui().barra->palette().color(QPalette::Button) != face);
    const std::pair<int, int> pasos[] = {
        {Qt::Key_Right, 1}, {Qt::Key_Down, 2},    {Qt::Key_PageDown, 3}, {Qt::Key_Left, 2},
        {Qt::Key_End, 100}, {Qt::Key_Right, 100}, {Qt::Key_Home, 0},     {Qt::Key_Left, 0}};
    for (const auto& [k, position] : pasos) {
        key(k);
        QCOMPARE(ui().barra->value(), position);
    }
    key(Qt::Key_Tab);
    QCOMPARE(ui().barra->palette().color(QPalette::Button), face);

    // Tab leaves the information text unchanged.
    ui().TabbedNotebook1->setCurrentIndex(2);
    ui().Memo3->setFocus(Qt::TabFocusReason);
    const QString memo = ui().Memo3->toPlainText();
    key(Qt::Key_Tab);
    QVERIFY(ui().Memo3->toPlainText() == memo && !ui().Memo3->hasFocus());
}

void AccessTest::qtBoxesSpeakSpanish() {
    // Whatever the locale, the toolkit's own texts are Spanish; numbers still follow it.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(CargarTextosQt(*QCoreApplication::instance()));
    QMessageBox question(QMessageBox::Question, "KORVALISTA", "x",
                         QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.button(QMessageBox::Yes)->text().remove('&'), QString("Sí"));
    QCOMPARE(QLocale().toString(23.5), QString("23.5"));
}

void AccessTest::saveDialogAsksAboutTheNameWithItsExtension() {
    // Typing "existe" saves into existe.dbf, so replacing that file must be asked first.
    QVERIFY(QFile(folder->filePath("existe.dbf")).open(QIODevice::WriteOnly));
    bool typed = false;
    bool asked = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked = true;
            box->reject();
        } else if (dialog && typed) {
            dialog->reject();
        } else if (auto* edit = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr) {
            typed = true;
            edit->setText("existe");
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    driver.start(20);
    QString name = folder->filePath("otra.dbf");
    QVERIFY(!QtDialogs().ExecuteSave(name, "Ficheros de muestras(dbf)", "*.dbf"));
    QVERIFY(typed && asked);
}

namespace {
// What reaches the bus through Qt's accessibility layer: sender and kind of every notice.
QList<std::pair<QString, QAccessible::Event>>* avisos = nullptr;
void Anotar(QAccessibleEvent* event) {
    if (avisos) {
        *avisos << std::pair(event->object() ? event->object()->objectName() : QString(),
                             event->type());
    }
}

/// Notices are listened to from here until the end of the scope, as a screen reader does.
class Escucha {
public:
    Escucha() {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        avisos = &log;
        QAccessible::installUpdateHandler(Anotar);
        // The window's filter sits in front of the listener, as it does of the bus.
        FiltrarAvisosOcultos();
    }
    ~Escucha() {
        avisos = nullptr;
        QAccessible::installUpdateHandler(nullptr);
        FiltrarAvisosOcultos();
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }
    qsizetype De(const QString& sender, QAccessible::Event type = QAccessible::InvalidEvent) const {
        return std::count_if(log.begin(), log.end(), [&](const auto& aviso) {
            return aviso.first == sender &&
                   (type == QAccessible::InvalidEvent || aviso.second == type);
        });
    }
    QList<std::pair<QString, QAccessible::Event>> log;
};
} // namespace

void AccessTest::aTickIsQuiet() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    Escucha bus;
    seams->port.reading1 = 47;
    seams->port.reading2 = 48;
    form->InicioClick();
    form->Timer1Timer();

    // A tick that changes nothing but the slot says so once: the chart's description. Fields
    // that keep their value, and hidden controls (X, Y, the clock of another page), say nothing.
    for (const int rate : {1, 0}) {
        ui().Muestreo->setItemIndex(rate);
        bus.log.clear();
        form->Timer1Timer();
        QCOMPARE(bus.log.size(), 1);
        QCOMPARE(bus.De("Image1", QAccessible::DescriptionChanged), 1);
    }

    // New maxima: the live captions say it once each; the maxima, fields the user is not in,
    // say nothing until the user is there.
    seams->port.reading1 = 50;
    seams->port.reading2 = 51;
    bus.log.clear();
    form->Timer1Timer();
    for (const char* changed : {"Image1", "Actual", "Actual2"}) {
        QVERIFY2(bus.De(changed) == 1, changed);
    }
    QCOMPARE(bus.log.size(), 3);
    ui().Edit1->setFocus();
    seams->port.reading1 = 52;
    bus.log.clear();
    form->Timer1Timer();
    QCOMPARE(bus.De("Edit1", QAccessible::TextUpdated), 1);
    QCOMPARE(bus.De("Edit3"), 0);

    // A clock that ticked unseen says once that it changed when its page is shown.
    ui().Muestreo->setItemIndex(1);
    form->Timer1Timer();
    QCOMPARE(bus.De("HoraActual", QAccessible::NameChanged), 0);
    ui().TabbedNotebook1->setCurrentIndex(2);
    QCOMPARE(bus.De("HoraActual", QAccessible::NameChanged), 1);
}

void AccessTest::theChartReadsByKeyboard() {
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    SampleStore& store = form->Store();
    store.Contador = 400;
    store.Sensor1[20] = 41;
    store.Sensor2[20] = 40;
    store.Sensor1[21] = 47;
    store.Sensor2[21] = 48;
    const auto descripcion = [&] { return Texto(ui().Image1, QAccessible::Description); };

    // A page turn is heard as the first slot shown.
    ui().barra->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui().barra, Qt::Key_Right);
    QCOMPARE(descripcion(), QString("Muestra 20: sensor 1, 20,5 grados; sensor 2, 20 grados"));
    const QImage sinFoco = ui().TabCaptura->grab().toImage();

    // The chart follows the scroll bar; its focus rings it and leaves the picture as it was.
    QTest::keyClick(ui().barra, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ui().Image1);
    const QImage conFoco = ui().TabCaptura->grab().toImage();
    const QRect picture = ui().Image1->geometry();
    QCOMPARE(conFoco.copy(picture), sinFoco.copy(picture));
    int anillo = 0;
    for (int x = picture.left(); x <= picture.right(); ++x) {
        anillo += conFoco.pixel(x, picture.top() - 1) != sinFoco.pixel(x, picture.top() - 1);
    }
    QCOMPARE(anillo, picture.width());

    // A key reads a column as the pointer over it does, and never leaves the columns shown.
    ui().Image1->MouseMove(1, 50);
    const QStringList hover{ui().Image1->toolTip(), ui().Actual->text(), descripcion()};
    QTest::keyClick(ui().Image1, Qt::Key_Right);
    QCOMPARE((QStringList{ui().Image1->toolTip(), ui().Actual->text(), descripcion()}), hover);
    QCOMPARE(hover, (QStringList{"Posición del cursor:23,5 24", "23,5",
                                 "Muestra 21: sensor 1, 23,5 grados; sensor 2, 24 grados"}));
    const std::pair<Qt::Key, int> pasos[] = {{Qt::Key_Left, 20}, {Qt::Key_Left, 20},
                                             {Qt::Key_End, 339}, {Qt::Key_Right, 339},
                                             {Qt::Key_Home, 20}, {Qt::Key_Right, 21}};
    for (const auto& [k, slot] : pasos) {
        QTest::keyClick(ui().Image1, k);
        QVERIFY2(descripcion().startsWith(QString("Muestra %1:").arg(slot)),
                 qPrintable(descripcion()));
    }
    QTest::keyClick(ui().Image1, Qt::Key_Tab);
    const QRect encima(picture.left(), picture.top() - 1, picture.width(), 1);
    QCOMPARE(ui().TabCaptura->grab().toImage().copy(encima), sinFoco.copy(encima));
}

void AccessTest::namesSayWhatControlsDoAndWhatTheyDid() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    SampleStore& store = form->Store();
    store.Contador = 9;
    for (const auto& [slot, lectura] : {std::pair(6, 46), {7, 47}, {8, 47}, {9, 48}}) {
        store.Sensor1[slot] = lectura;
    }

    // A result is said on the button that gave it, once for every change.
    ui().TabbedNotebook1->setCurrentIndex(2);
    QCOMPARE(Texto(ui().BitBtn2, QAccessible::Name),
             QString("Calcular la temperatura media del sensor 1"));
    {
        Escucha bus;
        ui().BitBtn2->click();
        ui().BitBtn2->click();
        QCOMPARE(bus.De("BitBtn2", QAccessible::DescriptionChanged), 1);
    }
    QCOMPARE(Texto(ui().BitBtn2, QAccessible::Description), QString("Media: 24 grados"));
    ui().BitBtn3->click();
    QCOMPARE(Texto(ui().BitBtn3, QAccessible::Description), QString("Media: 0 grados"));
    ui().TabbedNotebook1->setCurrentIndex(0);
    ui().Portapapeles->click();
    QCOMPARE(Texto(ui().Portapapeles, QAccessible::Description), QString("Copiadas 8 lecturas"));
    QVERIFY(!Texto(ui().Portapapeles2, QAccessible::Description).startsWith("Copiad"));

    // The boxes go by their captions and show their value; frames only group; folders are
    // named without the blanks that draw their depth.
    QCOMPARE(Texto(ui().FilterComboBox1, QAccessible::Name), QString("Ver ficheros del tipo"));
    QCOMPARE(Texto(ui().FilterComboBox1, QAccessible::Value), ui().FilterComboBox1->currentText());
    QCOMPARE(Texto(ui().DriveComboBox1, QAccessible::Name), QString("Unidades"));
    for (QWidget* frame : {ui().Bevel1, ui().Bevel2, ui().Bevel3, ui().Bevel4, ui().Panel1}) {
        QCOMPARE(QAccessible::queryAccessibleInterface(frame)->role(), QAccessible::Pane);
    }
    QAccessibleInterface* folders = QAccessible::queryAccessibleInterface(ui().DirectoryListBox1);
    QStringList names;
    for (int i = 0; i < folders->childCount(); ++i) {
        names << folders->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(names.last(), QDir(folder->path()).dirName());
    QVERIFY2(std::none_of(names.begin(), names.end(),
                          [](const QString& n) { return n.startsWith(' '); }),
             qPrintable(names.join('|')));
}

void AccessTest::theHelpIsADocumentWithLinks() {
    form->show();
    QtHelpViewer viewer;
    viewer.ShowContents("VELMORAN.HLP", form.get());
    QTextBrowser* help = viewer.Window();
    QApplication::setActiveWindow(help->window());
    QVERIFY(QTest::qWaitForWindowActive(help->window()));
    QCOMPARE(QApplication::focusWidget(), help);

    // A read-only document whose text reads as shown.
    QAccessibleInterface* document = QAccessible::queryAccessibleInterface(help);
    QCOMPARE(document->role(), QAccessible::Document);
    QVERIFY(document->state().readOnly && document->state().focused);
    QCOMPARE(document->text(QAccessible::Name), QString("Ayuda de Velmoranta"));
    QAccessibleTextInterface* text = document->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), help->toPlainText());

    // Its links are its children, and pressing one goes where it leads.
    QAccessibleInterface* teclas = nullptr;
    for (int i = 0; i < document->childCount(); ++i) {
        QAccessibleInterface* link = document->child(i);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->parent(), document);
        QCOMPARE(document->indexOfChild(link), i);
        if (link->text(QAccessible::Name) == "Teclas") {
            teclas = link;
        }
    }
    QVERIFY(document->childCount() >= 10 && teclas);
    QCOMPARE(teclas->actionInterface()->actionNames(),
             QStringList{QAccessibleActionInterface::pressAction()});
    teclas->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(help->verticalScrollBar()->value() > 0);

    // Escape closes it.
    QTest::keyClick(help, Qt::Key_Escape);
    QTRY_VERIFY(!viewer.Window());
}

QTEST_MAIN(AccessTest)
#include "test_access.moc"
