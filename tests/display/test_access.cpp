#include "FreshWindow.h"
#include "QtDialogs.h"

#include <QAccessible>
#include <QFileDialog>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

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
    QStringList expected = QStringList{"barra", "Cada segundo"} + ControlesDeMuestreo() +
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

QTEST_MAIN(AccessTest)
#include "test_access.moc"
