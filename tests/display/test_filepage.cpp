#include "DBase3Plus.h"
#include "PlantillaMuestras.h"
#include "QtDialogs.h"
#include "ScriptedSeams.h"
#include "TForm1.h"
#include "TablaDePrueba.h"
#include "ui_TForm1.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

/// The file page driven through the real window, with scripted boxes and dialogs. Each case
/// runs in a folder of its own.
class FilePageTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpLoadsTheTemplate();
    void startUpWithoutATable();
    void startUpWithAFourRecordTable();
    void startUpWithMoreRecordsThanTheStore();
    void saveToANewName();
    void saveNameRules();
    void cancelledSaveStillWritesTheStore();
    void openAnotherTable();
    void openALockedTable();
    void clearWhileSampling();
    void deleteRefusesTheOpenTable();
    void deleteAsksAndDeletes();
    void failedDeleteIsReported();
    void enterInTheFileNameField();
    void tableNamesIgnoreLetterCase();
    void tableDeletedOrReplacedBehindTheProgram();
    void clearNeedsAnOpenTable();
    void aTableThatDidNotLoadIsNotWrittenInto();
    void aTableRewrittenBehindTheProgramIsNotWrittenInto();
    // Last: it leaves Qt's own texts in Spanish for the rest of the run.
    void saveDialogMendsQtsTexts();

private:
    void Start(bool withTable = true);
    QString Path(const QString& name) const { return QDir(folder->path()).filePath(name); }
    void Press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void TypeAndEnter(const QString& text);

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TestSeams> seams;
    std::unique_ptr<TForm1> form;
    Ui::TForm1& ui() { return form->ui(); }
    SampleStore& store() { return form->Store(); }
};

void FilePageTest::init() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(folder->path()));
    seams = std::make_unique<TestSeams>();
}

void FilePageTest::cleanup() {
    form.reset();
    seams.reset();
    QDir::setCurrent(QDir::tempPath());
    folder.reset();
}

void FilePageTest::Start(bool withTable) {
    if (withTable && !QFile::exists(Path("MUESTRAS.DBF"))) {
        EscribirPlantilla(Path("MUESTRAS.DBF"));
    }
    form = std::make_unique<TForm1>(seams->seams());
    // As the window's activation runs it: through the error report.
    form->Guarded([this] { form->FormActivate(); });
}

void FilePageTest::TypeAndEnter(const QString& text) {
    ui().FileEdit->setText(text);
    QTest::keyClick(ui().FileEdit, Qt::Key_Return);
}

void FilePageTest::startUpLoadsTheTemplate() {
    Start();
    QVERIFY(seams->errors.reports.isEmpty());
    QCOMPARE(store().Contador, 5);
    for (int slot : {0, 2, 3}) {
        QCOMPARE(store().Sensor1[slot], 0);
        QCOMPARE(store().Sensor2[slot], 0);
    }
    QCOMPARE(store().Sensor1[1], 100);
    QCOMPARE(store().Sensor2[1], 100);
    QCOMPARE(ui().Current->text(), QString("0"));
    QCOMPARE(ui().totalrecs->text(), QString("5"));
    QCOMPARE(ui().version->text(), QString("3"));
    QCOMPARE(ui().year->text(), QString("98"));
    QCOMPARE(ui().numrecs->text(), QString("5"));
    QCOMPARE(ui().headlen->text(), QString("129"));
    QCOMPARE(ui().Edit1->text(), QString("0")); // untouched until the first tick
    QCOMPARE(ui().NombreFile->text(), QString("Muestras.dbf"));
    QCOMPARE(ui().Panel1->width(), ui().NombreFile->width() + 10);
    QVERIFY(form->Muestras.Active());
    QCOMPARE(form->Muestras.FileName(), QString("MUESTRAS.DBF"));
    QVERIFY(!ui().Pausa->isEnabled());
    QVERIFY(ui().Inicio->isEnabled());
    // The file page lists the folder's tables.
    QVERIFY(!ui().FileListBox1->findItems("MUESTRAS.DBF", Qt::MatchExactly).isEmpty());
    QCOMPARE(ui().PathLabel->text(), QDir(folder->path()).canonicalPath());
}

void FilePageTest::startUpWithoutATable() {
    Start(false);
    QCOMPARE(seams->errors.reports, QStringList{"File not found."});
    QCOMPARE(store().Contador, 0);
    QVERIFY(ui().Inicio->isEnabled());
    QVERIFY(ui().Pausa->isEnabled());
    QCOMPARE(ui().version->text(), QString("version"));
    QCOMPARE(ui().Image1->Picture().pixel(100, 100) | 0xFF000000, qRgb(0, 0, 0xA0)); // the grid

    // The file page still opens a table: nothing open means nothing to close first.
    EscribirFichero(Path("OTRA.DBF"),
                    TablaMuestras({{40, 41}, {30, 31}, {45, 46}, {0, 0}, {0, 0}, {0, 0}}));
    TypeAndEnter("OTRA.DBF");
    Press(ui().Abrir);
    QCOMPARE(seams->errors.reports.size(), 1);
    QCOMPARE(store().Contador, 6);
    QCOMPARE(store().Sensor1[2], 45);

    // And the exit button always ends the program, open table or not.
    form->Muestras.Close();
    form->show();
    Press(ui().Salir);
    QVERIFY(!form->isVisible());
    QCOMPARE(seams->errors.reports.size(), 1);
}

void FilePageTest::startUpWithAFourRecordTable() {
    EscribirFichero(Path("MUESTRAS.DBF"), TablaMuestras({{50, 52}, {0, 40}, {47, 48}, {44, 43}}));
    Start();
    QCOMPARE(store().Contador, 4);
    QCOMPARE(store().Sensor1[0], 50);
    QCOMPARE(store().Sensor1[1], 100); // a minimum of 0 becomes 100
    QCOMPARE(store().Sensor2[1], 40);
    QCOMPARE(store().Sensor1[2], 47);
    QCOMPARE(store().Sensor1[3], 0); // the last record is not loaded
    seams->port.reading1 = 33;
    form->Timer1Timer();
    QCOMPARE(store().Sensor1[5], 33);
}

void FilePageTest::startUpWithMoreRecordsThanTheStore() {
    std::vector<std::pair<int, int>> lecturas(6000, {40, 50});
    lecturas[5999] = {77, 78};
    EscribirFichero(Path("MUESTRAS.DBF"), TablaMuestras(lecturas));
    Start();
    QVERIFY(seams->errors.reports.isEmpty());
    QCOMPARE(store().Contador, LimiteMuestras);
    QCOMPARE(seams->dialogs.messages.size(), 1);
    QVERIFY(seams->dialogs.messages[0].contains("6000"));

    // A save writes nothing past the store; the records it does not hold stay as they were.
    const QByteArray before = LeerFichero(Path("MUESTRAS.DBF"));
    store().Sensor1[10] = 99;
    Press(ui().Guardar);
    const QByteArray after = LeerFichero(Path("MUESTRAS.DBF"));
    QCOMPARE(after.size(), before.size());
    const int recordsFrom = 32 * 4 + 1 + 8 * 4999;
    QCOMPARE(after.mid(recordsFrom), before.mid(recordsFrom));
    QCOMPARE(after.mid(32 * 4 + 1 + 8 * 10, 4), QByteArray(" 99 "));
}

void FilePageTest::saveToANewName() {
    Start();
    for (int k = 0; k <= 8; ++k) {
        store().Sensor1[k] = 40 + k;
        store().Sensor2[k] = 60 + k;
    }
    store().Contador = 8;
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    seams->dialogs.saveAs = Path("nueva");
    Press(ui().Guardar);
    QVERIFY(seams->errors.reports.isEmpty());
    QCOMPARE(seams->dialogs.saveDialogInitialNames, QStringList{"Muestras.dbf"});

    const QString name = Path("nueva.dbf");
    QCOMPARE(form->Muestras.FileName(), name);
    QCOMPARE(ui().NombreFile->text(), name);
    QCOMPARE(form->GuardarDBFFileName(), name);
    QVERIFY(!form->Timer1.isActive());
    QVERIFY(ui().Inicio->isEnabled());
    QVERIFY(!ui().Pausa->isEnabled());

    const QByteArray bytes = LeerFichero(name);
    QCOMPARE(bytes.size(), 129 + 8 * 8);
    const auto record = [&](int k) { return bytes.mid(129 + 8 * k, 8); };
    QCOMPARE(record(0), QByteArray(" 40 60  "));
    QCOMPARE(record(3), QByteArray(" 43 63  "));
    QCOMPARE(record(4), QByteArray("0  0  0 ")); // the template's record, untouched
    QCOMPARE(record(7), QByteArray(" 47 67  "));
    // Reloaded from the new table: slot 4 is the template's 0, Contador stays 8.
    QCOMPARE(store().Sensor1[4], 0);
    QCOMPARE(store().Sensor1[6], 46);
    QCOMPARE(store().Contador, 8);
    QCOMPARE(ui().Edit1->text(), QString("20"));
    QVERIFY(!ui().FileListBox1->findItems("nueva.dbf", Qt::MatchExactly).isEmpty());
    // The old default table was not touched.
    QCOMPARE(LeerFichero(Path("MUESTRAS.DBF")).size(), 170);
}

void FilePageTest::saveNameRules() {
    Start();
    // Another extension keeps it and gains .dbf; DBF in any letter case is kept as it is.
    seams->dialogs.saveAs = Path("datos.txt");
    Press(ui().Guardar);
    QCOMPARE(form->Muestras.FileName(), Path("datos.txt.dbf"));
    QVERIFY(QFile::exists(Path("datos.txt.dbf")));
    seams->dialogs.saveAs = Path("OTRA.Dbf");
    Press(ui().Guardar);
    QCOMPARE(form->Muestras.FileName(), Path("OTRA.Dbf"));
    // The dialog offers the last name chosen next time.
    QCOMPARE(seams->dialogs.saveDialogInitialNames.last(), Path("datos.txt.dbf"));
    // Choosing the current table's own name saves into it without the template.
    store().Sensor1[2] = 47;
    seams->dialogs.saveAs = Path("OTRA.Dbf");
    Press(ui().Guardar);
    QCOMPARE(LeerFichero(Path("OTRA.Dbf")).mid(129 + 16, 4), QByteArray(" 47 "));
}

void FilePageTest::cancelledSaveStillWritesTheStore() {
    Start();
    store().Sensor1[2] = 47;
    store().Sensor2[3] = 100;
    seams->dialogs.saveAs.reset();
    Press(ui().Guardar);
    QVERIFY(seams->errors.reports.isEmpty());
    const QByteArray bytes = LeerFichero(Path("MUESTRAS.DBF"));
    QCOMPARE(bytes.mid(129 + 16, 8), QByteArray(" 47 0   ")); // left-aligned, as written
    QCOMPARE(bytes.mid(129 + 24, 8), QByteArray(" 0  100 "));
    QCOMPARE(bytes.size(), 170); // nothing appended: the last record and the end mark stay
    QCOMPARE(form->Muestras.FileName(), QString("MUESTRAS.DBF"));
}

void FilePageTest::openAnotherTable() {
    Start();
    EscribirFichero(Path("OTRA.DBF"), TablaMuestras({{60, 61}, {20, 21}, {47, 48}, {1, 1}}));
    ui().FileListBox1->Update();
    QVERIFY(ui().FileListBox1->SelectFile("OTRA.DBF"));
    QCOMPARE(ui().FileEdit->text(), QString("OTRA.DBF"));
    ui().TabbedNotebook1->setCurrentIndex(1);
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    Press(ui().Abrir);
    QVERIFY(seams->errors.reports.isEmpty());
    QCOMPARE(form->Muestras.FileName(), QString("OTRA.DBF"));
    QCOMPARE(ui().NombreFile->text(), QString("OTRA.DBF"));
    QCOMPARE(ui().Panel1->width(), 171);
    QCOMPARE(store().Contador, 4);
    QCOMPARE(store().Sensor1[2], 47);
    QCOMPARE(ui().Edit1->text(), QString("30"));
    QCOMPARE(ui().TabbedNotebook1->currentIndex(), 0);
    QVERIFY(!form->Timer1.isActive());
    QVERIFY(ui().Inicio->isEnabled());

    // A name that is not a table: the chart is cleared, the store keeps its readings and
    // no table stays open.
    ui().FileEdit->setText("*.dbf");
    Press(ui().Abrir);
    QCOMPARE(seams->errors.reports, QStringList{"File not found."});
    QVERIFY(!form->Muestras.Active());
    QCOMPARE(store().Sensor1[2], 47);
}

void FilePageTest::openALockedTable() {
    Start();
    EscribirPlantilla(Path("OTRA.DBF"));
    TDBase3Plus other;
    other.SetFileName(Path("OTRA.DBF"));
    other.Open();
    ui().FileEdit->setText("OTRA.DBF");
    Press(ui().Abrir);
    QCOMPARE(seams->errors.reports, QStringList{"File access denied."});
    QVERIFY(!form->Muestras.Active());
}

void FilePageTest::clearWhileSampling() {
    Start();
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);
    seams->port.reading1 = 47;
    for (int i = 0; i < 30; ++i) {
        form->Timer1Timer();
    }
    ui().barra->setValue(1);
    ui().TabbedNotebook1->setCurrentIndex(1);
    Press(ui().Borrar);
    QVERIFY(seams->errors.reports.isEmpty());
    QVERIFY(!form->Timer1.isActive());
    QVERIFY(ui().Inicio->isEnabled());
    QVERIFY(!ui().Pausa->isEnabled());
    QCOMPARE(store().Contador, 5);
    QCOMPARE(store().Sensor1[1], 100);
    QCOMPARE(store().Sensor1[10], 47); // slots past the table keep their readings
    QCOMPARE(ui().barra->value(), 0);
    QCOMPARE(ui().Referencia->text(), QString("0"));
    QCOMPARE(ui().TabbedNotebook1->currentIndex(), 0);
    QCOMPARE(LeerFichero(Path("MUESTRAS.DBF")).size(), 170);
    form->Timer1Timer();
    QCOMPARE(store().Contador, 6);
}

void FilePageTest::deleteRefusesTheOpenTable() {
    Start();
    // By its name in the edit.
    ui().FileEdit->setText("MUESTRAS.DBF");
    Press(ui().Eliminar);
    QCOMPARE(seams->dialogs.messages, QStringList{" ¡Fichero en USO !"});
    QVERIFY(seams->dialogs.questions.isEmpty());
    // By another name for the same file: a link selected in the list.
    QVERIFY(::link(QFile::encodeName(Path("MUESTRAS.DBF")).constData(),
                   QFile::encodeName(Path("ENLACE.DBF")).constData()) == 0);
    ui().FileListBox1->Update();
    QVERIFY(ui().FileListBox1->SelectFile("ENLACE.DBF"));
    seams->dialogs.answers = {true};
    Press(ui().Eliminar);
    QCOMPARE(seams->dialogs.messages.size(), 2);
    QCOMPARE(seams->dialogs.messages[1], QString(" ¡Fichero en USO !"));
    QVERIFY(QFile::exists(Path("ENLACE.DBF")));
    QVERIFY(QFile::exists(Path("MUESTRAS.DBF")));
}

void FilePageTest::deleteAsksAndDeletes() {
    Start();
    EscribirPlantilla(Path("VIEJA.DBF"));
    ui().FileListBox1->Update();
    QVERIFY(ui().FileListBox1->SelectFile("VIEJA.DBF"));
    const QString path = ui().FileListBox1->FileName();
    QTest::mouseClick(ui().Inicio, Qt::LeftButton);

    seams->dialogs.answers = {false};
    Press(ui().Eliminar);
    QCOMPARE(seams->dialogs.questions, QStringList{"¿Desea borrar " + path + "?"});
    QVERIFY(seams->dialogs.messages.isEmpty());
    QVERIFY(QFile::exists(path));
    QVERIFY(!form->Timer1.isActive());

    // "No" leaves the choice as it was: a second press asks about the same file.
    QCOMPARE(ui().FileListBox1->FileName(), path);
    seams->dialogs.answers = {true};
    Press(ui().Eliminar);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(seams->dialogs.messages, QStringList{" Fichero eliminado "});
    QVERIFY(ui().FileListBox1->findItems("VIEJA.DBF", Qt::MatchExactly).isEmpty());
    QVERIFY(seams->errors.reports.isEmpty());
}

void FilePageTest::failedDeleteIsReported() {
    Start();
    EscribirPlantilla(Path("VIEJA.DBF"));
    ui().FileListBox1->Update();
    QVERIFY(ui().FileListBox1->SelectFile("VIEJA.DBF"));
    QFile::remove(Path("VIEJA.DBF")); // gone behind the list's back
    seams->dialogs.answers = {true};
    Press(ui().Eliminar);
    QCOMPARE(seams->errors.reports, QStringList{"File not found."});
    QVERIFY(seams->dialogs.messages.isEmpty());

    // Nothing selected: nothing is deleted, and the failure says so.
    ui().FileListBox1->clearSelection();
    ui().FileEdit->setText("OTRA.DBF");
    seams->dialogs.answers = {true};
    Press(ui().Eliminar);
    QCOMPARE(seams->errors.reports.size(), 2);
    QVERIFY(seams->dialogs.messages.isEmpty());
    QVERIFY(QFile::exists(Path("MUESTRAS.DBF")));
}

void FilePageTest::enterInTheFileNameField() {
    Start();
    QDir(folder->path()).mkdir("sub");
    EscribirPlantilla(Path("sub/DENTRO.DBF"));
    EscribirFichero(Path("notas.txt"), "x");

    TypeAndEnter("*.txt");
    QCOMPARE(ui().FileListBox1->Mask(), QString("*.txt"));
    QCOMPARE(ui().FileListBox1->count(), 1);
    QCOMPARE(ui().FileEdit->text(), QString("*.txt")); // the key was consumed
    TypeAndEnter("*.dbf");

    TypeAndEnter(Path("sub"));
    const QString sub = QDir(Path("sub")).canonicalPath();
    QCOMPARE(ui().DirectoryListBox1->Directory(), sub);
    QCOMPARE(ui().PathLabel->text(), sub);
    QCOMPARE(QDir::currentPath(), sub); // bare table names are found here from now on
    QVERIFY(!ui().FileListBox1->findItems("DENTRO.DBF", Qt::MatchExactly).isEmpty());

    TypeAndEnter("DENTRO.DBF");
    QCOMPARE(ui().FileListBox1->FileName(), QDir(sub).filePath("DENTRO.DBF"));

    TypeAndEnter("NOEXISTE.DBF");
    QCOMPARE(seams->errors.reports, QStringList{"Invalid file name - NOEXISTE.DBF."});
}

// The start-up table in lower case: the dialog's default name, in other letters, rewrites that
// same file; opening and clearing it by the default name reach it too.
void FilePageTest::tableNamesIgnoreLetterCase() {
    EscribirFichero(Path("muestras.dbf"), TablaMuestras({{50, 52}, {30, 40}, {47, 48}, {0, 0}}));
    Start(false);
    QCOMPARE(store().Sensor1[2], 47);
    store().Sensor1[2] = 46;
    seams->dialogs.saveAs = Path("Muestras.dbf");
    Press(ui().Guardar);
    QCOMPARE(LeerFichero(Path("muestras.dbf")).mid(129 + 16, 4), QByteArray(" 46 "));
    ui().FileEdit->setText("MUESTRAS.DBF");
    Press(ui().Abrir);
    QCOMPARE(store().Sensor1[2], 46);
    Press(ui().Borrar);
    QCOMPARE(seams->errors.reports, QStringList{});
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"muestras.dbf"});
}

// The open table deleted, then replaced, behind the program: neither saved into nor cleared.
void FilePageTest::tableDeletedOrReplacedBehindTheProgram() {
    Start();
    // A second name keeps the file observable once its own name is gone.
    QCOMPARE(::link(QFile::encodeName(Path("MUESTRAS.DBF")).constData(),
                    QFile::encodeName(Path("COPIA")).constData()),
             0);
    const QByteArray template_ = LeerFichero(Path("COPIA"));
    QVERIFY(QFile::remove(Path("MUESTRAS.DBF")));
    store().Sensor1[2] = 47;
    Press(ui().Guardar); // the dialog is cancelled: a save into the current table
    Press(ui().Borrar);
    QVERIFY(!QFile::exists(Path("MUESTRAS.DBF")));

    const QByteArray other = TablaMuestras({{1, 1}, {2, 2}, {3, 3}, {4, 4}});
    EscribirFichero(Path("MUESTRAS.DBF"), other);
    Press(ui().Guardar);
    Press(ui().Borrar);
    QCOMPARE(seams->errors.reports, QStringList(4, "File not found."));
    QCOMPARE(LeerFichero(Path("MUESTRAS.DBF")), other);
    QCOMPARE(LeerFichero(Path("COPIA")), template_);
}

// No table open, at start-up or after a mask was opened: clearing reports and makes none.
void FilePageTest::clearNeedsAnOpenTable() {
    const QStringList refused{"File not found.", "I/O error 103."};
    Start(false);
    Press(ui().Borrar);
    QCOMPARE(seams->errors.reports, refused);
    QVERIFY(!QFile::exists(Path("MUESTRAS.DBF")));

    EscribirPlantilla(Path("MUESTRAS.DBF"));
    for (const char* name : {"MUESTRAS.DBF", "*.dbf"}) {
        ui().FileEdit->setText(name);
        Press(ui().Abrir);
    }
    Press(ui().Borrar);
    QCOMPARE(seams->errors.reports.mid(2), refused);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"MUESTRAS.DBF"});
}

// A foreign or damaged table opens but does not load: neither a save into it (dialog
// cancelled, or its own name chosen) nor a clear writes a byte; a save under another name
// works as ever.
void FilePageTest::aTableThatDidNotLoadIsNotWrittenInto() {
    QByteArray bytes = TablaMuestras({{10, 20}, {11, 21}, {12, 22}, {13, 23}, {14, 24}});
    bytes.replace(129 + 2 * 8 + 1, 3, "abc");
    EscribirFichero(Path("MUESTRAS.DBF"), bytes);
    Start();
    QCOMPARE(seams->errors.reports, QStringList{"'abc' is not a valid integer value."});
    store().Sensor1[2] = 47;
    Press(ui().Guardar);
    seams->dialogs.saveAs = "MUESTRAS.DBF";
    Press(ui().Guardar);
    Press(ui().Borrar);
    QCOMPARE(seams->errors.reports.mid(1),
             QStringList(3, "La tabla MUESTRAS.DBF no se ha cargado, así que no se guarda en ella "
                            "ni se borra: guarde las muestras con otro nombre."));
    QCOMPARE(LeerFichero(Path("MUESTRAS.DBF")), bytes);

    seams->dialogs.saveAs = Path("OTRA.DBF");
    Press(ui().Guardar);
    QCOMPARE(seams->errors.reports.size(), 4);
    QCOMPARE(LeerFichero(Path("OTRA.DBF")).mid(129 + 16, 4), QByteArray(" 47 "));
}

// Another program rewrites the open table in place (same file, other length or time): the
// program writes nothing into it until it loads it again.
void FilePageTest::aTableRewrittenBehindTheProgramIsNotWrittenInto() {
    Start();
    const QString refused = "Otro programa ha cambiado la tabla MUESTRAS.DBF desde que se "
                            "cargó o se guardó, así que no se guarda en ella ni se borra: "
                            "guarde las muestras con otro nombre.";
    const QByteArray longer = TablaMuestras({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}});
    EscribirFichero(Path("MUESTRAS.DBF"), longer);
    Press(ui().Guardar);
    Press(ui().Borrar);
    QCOMPARE(seams->errors.reports, QStringList(2, refused));
    QCOMPARE(LeerFichero(Path("MUESTRAS.DBF")), longer);

    // Loaded again, it is the program's to write; then the same length at another time.
    ui().FileEdit->setText("MUESTRAS.DBF");
    Press(ui().Abrir);
    Press(ui().Guardar);
    QCOMPARE(seams->errors.reports.size(), 2);
    const QByteArray same = TablaMuestras({{9, 9}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}});
    EscribirFichero(Path("MUESTRAS.DBF"), same);
    QFile file(Path("MUESTRAS.DBF"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                             QFileDevice::FileModificationTime));
    file.close();
    Press(ui().Guardar);
    QCOMPARE(seams->errors.reports, QStringList(3, refused));
    QCOMPARE(LeerFichero(Path("MUESTRAS.DBF")), same);
}

// Qt's Spanish translation drops the first letter of the parent folder button's description.
void FilePageTest::saveDialogMendsQtsTexts() {
    if (!CargarTextosQt(*QCoreApplication::instance())) {
        QSKIP("Qt's Spanish translations are not installed");
    }
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    EnmendarTextosQt(dialog);
    const auto* subir = dialog.findChild<QWidget*>("toParentButton");
    QVERIFY(subir);
    QCOMPARE(subir->accessibleDescription(), QString("Ir al directorio superior"));
}

QTEST_MAIN(FilePageTest)
#include "test_filepage.moc"
