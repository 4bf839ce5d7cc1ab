#include "FreshWindow.h"
#include "PlantillaMuestras.h"
#include "QtDialogs.h"
#include "ScriptedSeams.h"
#include "TForm1.h"
#include "TImage.h"
#include "TRadioGroup.h"
#include "ui_TForm1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

/// The window as a keyboard and screen-reader user meets it.
class AccessTest : public QObject, protected FreshWindow {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyControlSaysWhatItIs();
    void keyboardReachesTheSamplingPageInOrder();
    void qtBoxesSpeakSpanish();
    void saveDialogAsksAboutTheNameWithItsExtension();
};

namespace {
// A name that says something: a value or "-----" alone does not.
bool Dice(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

QString Texto(QWidget* widget, QAccessible::Text which) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(which) : QString();
}

// A list box's name is its current text; the label it is labelled by names it.
bool RotuladoPorEtiqueta(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    const auto labels = iface ? iface->relations(QAccessible::Label)
                              : QList<QPair<QAccessibleInterface*, QAccessible::Relation>>();
    return std::any_of(labels.begin(), labels.end(), [](const auto& label) {
        return Dice(label.first->text(QAccessible::Name));
    });
}

// Who has the focus, by name; the radio items by their caption.
QString Foco() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        return QStringLiteral("(nadie)");
    }
    if (auto* radio = qobject_cast<QRadioButton*>(focus)) {
        return radio->text();
    }
    return focus->objectName();
}
} // namespace

void AccessTest::init() {
    QCOMPARE(StartFresh(), QStringList{});
}

void AccessTest::cleanup() {
    Finish();
}

void AccessTest::everyControlSaysWhatItIs() {
    // Every control a user can reach or read, page by page: its accessible name says what it
    // is. A label's name is its caption, so a label showing a bare value says it in its
    // description instead, and a list box, whose name is its current text, is labelled by its
    // caption; a button without words in its caption is named by its hint.
    for (int page = 0; page < ui().TabbedNotebook1->count(); ++page) {
        ui().TabbedNotebook1->setCurrentIndex(page);
        for (QWidget* widget : form->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(form.get())) {
                continue;
            }
            auto* label = qobject_cast<QLabel*>(widget);
            const bool read = label || qobject_cast<QLineEdit*>(widget) ||
                              qobject_cast<QAbstractScrollArea*>(widget) ||
                              qobject_cast<TImage*>(widget);
            if (!read && !(widget->focusPolicy() & Qt::TabFocus)) {
                continue;
            }
            const QString name = Texto(widget, QAccessible::Name);
            const QString description = Texto(widget, QAccessible::Description);
            const QString who = widget->objectName() + " «" + name + "»";
            QVERIFY2(Dice(name) || (label && Dice(description)) ||
                         (qobject_cast<QComboBox*>(widget) && RotuladoPorEtiqueta(widget)),
                     qPrintable(who));
            auto* button = qobject_cast<QAbstractButton*>(widget);
            if (button && !button->toolTip().isEmpty() && !Dice(button->text())) {
                QCOMPARE(name, button->toolTip());
            }
        }
    }

    // The chart describes the readings last shown: the tick's, then the pointer's column.
    SampleStore& store = form->Store();
    seams->port.reading1 = 47;
    seams->port.reading2 = 48;
    form->Timer1Timer();
    const QString tick =
        QString("Muestra %1: sensor 1, 23,5 grados; sensor 2, 24 grados").arg(store.Contador);
    QCOMPARE(Texto(ui().Image1, QAccessible::Description), tick);
    store.Sensor1[12] = 41;
    store.Sensor2[12] = 40;
    form->Image1MouseMove(12, 100);
    QCOMPARE(Texto(ui().Image1, QAccessible::Description),
             QString("Muestra 12: sensor 1, 20,5 grados; sensor 2, 20 grados"));
    QCOMPARE(Texto(ui().Image1, QAccessible::Name), QString("Gráfica de temperaturas"));

    // A path too long for its label shows whole in the label's tooltip.
    const QString deep = folder->filePath("una carpeta de nombre largo/y otra más dentro");
    QVERIFY(QDir().mkpath(deep));
    ui().DirectoryListBox1->SetDirectory(deep);
    QCOMPARE(ui().PathLabel->text(), QDir(deep).canonicalPath());
    QVERIFY(ui().PathLabel->fontMetrics().horizontalAdvance(ui().PathLabel->text()) >
            ui().PathLabel->width());
    QCOMPARE(ui().PathLabel->toolTip(), ui().PathLabel->text());
}

void AccessTest::keyboardReachesTheSamplingPageInOrder() {
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    // Tab walks the sampling page in the window description's order; the radio group is
    // one stop, at its chosen item. Pausa is disabled while sampling is stopped.
    ui().TabbedNotebook1->tabBar()->setFocus(Qt::TabFocusReason);
    const QStringList expected = {"barra",
                                  "Cada segundo",
                                  "Inicio",
                                  "Salir",
                                  "Edit1",
                                  "Edit2",
                                  "Portapapeles",
                                  "Portapapeles2",
                                  "Edit3",
                                  "Edit4",
                                  "Sonido",
                                  "Sonido2",
                                  "qt_tabwidget_tabbar"};
    QStringList order;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << Foco();
    }
    QCOMPARE(order, expected);

    // The arrows move the choice, each running MuestreoClick; Tab leaves from the choice
    // and Shift+Tab comes back to it.
    ui().barra->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui().barra, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(Foco(), QString("Cada minuto"));
    QCOMPARE(ui().Muestreo->itemIndex(), 2);
    QCOMPARE(form->Timer1.interval(), 60000);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(ui().Muestreo->itemIndex(), 0);
    QCOMPARE(form->Timer1.interval(), 100);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(Foco(), QString("Inicio"));
    QTest::keyClick(ui().Inicio, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(Foco(), QString("Cada décima"));

    // The scroll bar shows that it has the focus.
    const QColor face = ui().barra->palette().color(QPalette::Button);
    ui().barra->setFocus(Qt::TabFocusReason);
    QVERIFY(ui().barra->palette().color(QPalette::Button) != face);
    ui().Inicio->setFocus(Qt::TabFocusReason);
    QCOMPARE(ui().barra->palette().color(QPalette::Button), face);
    ui().barra->setFocus(Qt::TabFocusReason);

    // Each key on the scroll bar is one move and one redraw; Right, Down and Page Down go
    // on to later slots, and nothing moves past either end.
    struct Paso {
        Qt::Key key;
        int position;
    };
    const Paso pasos[] = {{Qt::Key_Right, 1}, {Qt::Key_Down, 2},    {Qt::Key_PageDown, 3},
                          {Qt::Key_Left, 2},  {Qt::Key_Up, 1},      {Qt::Key_PageUp, 0},
                          {Qt::Key_End, 100}, {Qt::Key_Right, 100}, {Qt::Key_Home, 0},
                          {Qt::Key_Left, 0}};
    QSignalSpy moves(ui().barra, &QScrollBar::valueChanged);
    for (const Paso& paso : pasos) {
        const int before = ui().barra->value();
        moves.clear();
        QTest::keyClick(ui().barra, paso.key);
        QCOMPARE(ui().barra->value(), paso.position);
        QCOMPARE(moves.size(), paso.position == before ? 0 : 1);
        QCOMPARE(ui().Label2->text(), QString::number(paso.position));
        QCOMPARE(form->Desplazamiento(), paso.position * 20);
    }

    // Ctrl+Tab changes page from any control; Tab leaves the information text.
    QTest::keyClick(ui().barra, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(ui().TabbedNotebook1->currentIndex(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(ui().TabbedNotebook1->currentIndex(), 2);
    ui().Memo3->setFocus(Qt::TabFocusReason);
    const QString memo = ui().Memo3->toPlainText();
    QTest::keyClick(ui().Memo3, Qt::Key_Tab);
    QCOMPARE(ui().Memo3->toPlainText(), memo);
    QVERIFY(!ui().Memo3->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(ui().TabbedNotebook1->currentIndex(), 1);
}

void AccessTest::qtBoxesSpeakSpanish() {
    // Whatever the locale, the toolkit's own texts are Spanish once its translation is in.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(CargarTextosQt(*QCoreApplication::instance()));
    QMessageBox notice(QMessageBox::NoIcon, "KORVALISTA", "x", QMessageBox::Ok);
    QCOMPARE(notice.button(QMessageBox::Ok)->text().remove('&'), QString("Aceptar"));
    QMessageBox question(QMessageBox::Question, "KORVALISTA", "x",
                         QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.button(QMessageBox::Yes)->text().remove('&'), QString("Sí"));
    QCOMPARE(question.button(QMessageBox::No)->text().remove('&'), QString("No"));
    QFileDialog save;
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    QCOMPARE(save.windowTitle(), QString("Guardar como"));
    // Numbers still follow the locale.
    QCOMPARE(QLocale().toString(23.5), QString("23.5"));
}

void AccessTest::saveDialogAsksAboutTheNameWithItsExtension() {
    // Typing "existe" saves into existe.dbf, so replacing that file must be asked first.
    QFile existing(folder->filePath("existe.dbf"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    bool typed = false;
    bool asked = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked = true;
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (typed) {
                dialog->reject();
            } else if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit")) {
                typed = true;
                edit->setText("existe");
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        }
    });
    driver.start(20);
    QtDialogs dialogs;
    QString name = folder->filePath("otra.dbf");
    const bool chosen = dialogs.ExecuteSave(name, "Ficheros de muestras(dbf)", "*.dbf");
    QVERIFY(typed);
    QVERIFY(asked);
    QVERIFY(!chosen);
}

QTEST_MAIN(AccessTest)
#include "test_access.moc"
