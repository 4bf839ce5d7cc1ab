#include "DBase3Plus.h"
#include "FileIo.h"
#include "PlantillaMuestras.h"
#include "RuntimeErrors.h"
#include "TablaDePrueba.h"
#include "TableErrors.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TestDBase3Plus : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString Ruta(const QString& name) const { return dir_.filePath(name); }

    /// The runtime code `operation` fails with; 0 when it works.
    template <typename Operation> static int CodigoDe(Operation operation) {
        try {
            operation();
        } catch (const EInOutError& e) {
            return e.code();
        }
        return 0;
    }

    /// The template written as `name`, opened.
    std::unique_ptr<TDBase3Plus> AbrirPlantilla(const QString& name) {
        EscribirPlantilla(Ruta(name));
        auto tabla = std::make_unique<TDBase3Plus>();
        tabla->SetFileName(Ruta(name));
        tabla->Open();
        return tabla;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void templateIsWrittenByteForByte() {
        EscribirPlantilla(Ruta("T.DBF"));
        const QByteArray bytes = LeerFichero(Ruta("T.DBF"));
        QCOMPARE(bytes.size(), 170);
        QCOMPARE(bytes, QByteArray(reinterpret_cast<const char*>(PlantillaMuestras.data()), 170));
        QCOMPARE(bytes.left(12), QByteArray::fromHex("036206060500000081000800"));
        QCOMPARE(bytes.mid(32, 6), QByteArray("VALOR\0", 6));
        QCOMPARE(bytes.mid(128, 9), QByteArray::fromHex("0d2020203020203020"));
        QCOMPARE(bytes.mid(161), QByteArray::fromHex("30202030202030201a"));
        // A longer file of the same name is cut to the template.
        QVERIFY(EscribirFichero(Ruta("T.DBF"), QByteArray(1000, 'x')));
        EscribirPlantilla(Ruta("T.DBF"));
        QCOMPARE(LeerFichero(Ruta("T.DBF")).size(), 170);
    }

    void templateOpens() {
        auto t = AbrirPlantilla("T.DBF");
        QVERIFY(t->Active());
        QCOMPARE(t->Version(), 3);
        QCOMPARE(t->UpdateDate()[0], 98);
        QCOMPARE(t->RecordCount(), 5);
        QCOMPARE(t->HeaderLength(), 129);
        QCOMPARE(t->RecordLength(), 8);
        QCOMPARE(t->FieldCount(), 3);
        QCOMPARE(t->Fields(1).Length(), 3);
        QCOMPARE(t->Fields(2).Length(), 3);
        QCOMPARE(t->Fields(3).Length(), 1);
        QCOMPARE(t->Fields(2).Name(), QStringLiteral("VALOR2"));
        QCOMPARE(t->Fields(3).Type(), 'C');
        QCOMPARE(t->RecNo(), 0);
        QCOMPARE(t->Values[1], QStringLiteral("  0"));
        QCOMPARE(t->Values[2], QStringLiteral("  0"));
        QCOMPARE(t->Values[3], QStringLiteral(" "));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, t->Fields(4));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, t->Values[0]);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, t->Values[71]);
    }

    void writeAndReadBack_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("47 left-aligned") << "47" << QByteArray::fromHex("20343720") << "47";
        QTest::newRow("100 fills the field") << "100" << QByteArray::fromHex("20313030") << "100";
        QTest::newRow("0") << "0" << QByteArray::fromHex("20302020") << "0";
        QTest::newRow("empty is spaces, reads one space")
            << "" << QByteArray::fromHex("20202020") << " ";
        QTest::newRow("leading spaces stay") << " 5" << QByteArray::fromHex("20203520") << " 5";
    }

    void writeAndReadBack() {
        QFETCH(QString, value);
        QFETCH(QByteArray, stored);
        QFETCH(QString, readBack);
        auto t = AbrirPlantilla("W.DBF");
        t->ReadRecord(2);
        t->Values[1] = value;
        t->Values[2] = QStringLiteral("255");
        t->WriteRecord(2);
        QCOMPARE(t->RecNo(), 2);
        const QByteArray bytes = LeerFichero(Ruta("W.DBF"));
        QCOMPARE(bytes.size(), 170);
        QCOMPARE(bytes.mid(129 + 2 * 8, 4), stored);
        QCOMPARE(bytes.mid(129 + 2 * 8 + 4, 4), QByteArray("255 "));
        // Neighbouring records are untouched.
        const QByteArray plantilla(reinterpret_cast<const char*>(PlantillaMuestras.data()), 170);
        QCOMPARE(bytes.left(145), plantilla.left(145));
        QCOMPARE(bytes.mid(153), plantilla.mid(153));
        t->First();
        t->ReadRecord(2);
        QCOMPARE(t->Values[1], readBack);
        QCOMPARE(t->Values[2], QStringLiteral("255"));
        QCOMPARE(t->Values[3], QStringLiteral(" "));
    }

    void deletedRecordReadsNormally() {
        QByteArray bytes = TablaMuestras({{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}});
        bytes[129 + 8] = '*';
        QVERIFY(EscribirFichero(Ruta("D.DBF"), bytes));
        TDBase3Plus t;
        t.SetFileName(Ruta("D.DBF"));
        t.Open();
        t.Next();
        QCOMPARE(t.Values[1], QStringLiteral("  3"));
        QCOMPARE(t.Values[2], QStringLiteral("  4"));
    }

    void appendOnTemplate() {
        auto t = AbrirPlantilla("A.DBF");
        t->Append();
        QCOMPARE(t->RecordCount(), 6);
        QCOMPARE(t->RecNo(), 5);
        for (int j = 1; j <= 3; ++j) {
            QCOMPARE(t->Values[j], QStringLiteral(" "));
        }
        const QByteArray bytes = LeerFichero(Ruta("A.DBF"));
        QCOMPARE(bytes.size(), 177);
        QCOMPARE(bytes.mid(169), QByteArray(8, ' '));
        QVERIFY(!bytes.contains('\x1A'));
        QCOMPARE(bytes.mid(4, 4), QByteArray::fromHex("06000000"));
        // The rest of the header, the date included, is written back as it was read.
        const QByteArray plantilla(reinterpret_cast<const char*>(PlantillaMuestras.data()), 170);
        QCOMPARE(bytes.left(4), plantilla.left(4));
        QCOMPARE(bytes.mid(8, 161), plantilla.mid(8, 161));
        // A second open sees the new record.
        t->Close();
        t->Open();
        QCOMPARE(t->RecordCount(), 6);
        t->ReadRecord(5);
        QCOMPARE(t->Values[2], QStringLiteral(" "));
    }

    void writeBeyondTheEndLeavesTheCount() {
        auto t = AbrirPlantilla("B.DBF");
        t->Values[1] = QStringLiteral("47");
        t->WriteRecord(5);
        QCOMPARE(t->RecordCount(), 5);
        const QByteArray bytes = LeerFichero(Ruta("B.DBF"));
        QCOMPARE(bytes.size(), 177);
        QCOMPARE(bytes.mid(169, 4), QByteArray::fromHex("20343720"));
        QCOMPARE(bytes.mid(4, 4), QByteArray::fromHex("05000000"));
    }

    void nextPastTheLastRecord_data() {
        QTest::addColumn<bool>("finDeFichero");
        QTest::newRow("with 0x1A") << true;
        QTest::newRow("without 0x1A") << false;
    }

    void nextPastTheLastRecord() {
        QFETCH(bool, finDeFichero);
        QVERIFY(EscribirFichero(
            Ruta("N.DBF"), TablaMuestras({{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}, finDeFichero)));
        TDBase3Plus t;
        t.SetFileName(Ruta("N.DBF"));
        t.Open();
        t.ReadRecord(4);
        try {
            t.Next();
            QFAIL("Next read past the last record");
        } catch (const EInOutError& e) {
            QCOMPARE(e.code(), 100);
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Read beyond end of file"));
        }
        QCOMPARE(t.RecNo(), 5);
        QCOMPARE(t.Values[1], QStringLiteral("  9"));
        QVERIFY(t.Active());
    }

    void valueLongerThanItsFieldIsRefused() {
        auto t = AbrirPlantilla("L.DBF");
        const QByteArray before = LeerFichero(Ruta("L.DBF"));
        t->Values[1] = QStringLiteral("1000");
        QVERIFY_THROWS_EXCEPTION(EFieldTooLong, t->WriteRecord(1));
        t->Values[1] = QStringLiteral("1");
        t->Values[3] = QStringLiteral("AB");
        QVERIFY_THROWS_EXCEPTION(EFieldTooLong, t->WriteRecord(4));
        QCOMPARE(LeerFichero(Ruta("L.DBF")), before);
    }

    void closedTableRefusesRecordAccess() {
        TDBase3Plus t;
        QVERIFY(!t.Active());
        try {
            t.Close();
            QFAIL("Close of a closed table succeeded");
        } catch (const EInOutError& e) {
            QCOMPARE(e.code(), 103);
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("I/O error 103"));
        }
        QVERIFY_THROWS_EXCEPTION(EInOutError, t.ReadRecord(0));
        QVERIFY_THROWS_EXCEPTION(EInOutError, t.WriteRecord(0));
        QVERIFY_THROWS_EXCEPTION(EInOutError, t.Append());
        QVERIFY_THROWS_EXCEPTION(EInOutError, t.Next());
    }

    void fileNameChangesNothingUntilReopened() {
        auto t = AbrirPlantilla("F1.DBF");
        QVERIFY(EscribirFichero(Ruta("F2.DBF"), TablaMuestras({{9, 9}, {8, 8}, {7, 7}, {6, 6}})));
        t->SetFileName(Ruta("F2.DBF"));
        t->ReadRecord(1);
        QCOMPARE(t->Values[1], QStringLiteral("  0"));
        t->Open();
        QCOMPARE(t->Values[1], QStringLiteral("  9"));
        QCOMPARE(t->RecordCount(), 4);
        QVERIFY(BloqueoLibre(Ruta("F1.DBF")));
        QVERIFY(!BloqueoLibre(Ruta("F2.DBF")));
    }

    void openFailuresLeaveTheTableClosed_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QByteArray sinDatos;
        QTest::newRow("missing") << "NADA.DBF" << sinDatos << 2 << "File not found";
        QTest::newRow("empty name") << "" << sinDatos << 2 << "File not found";
        QTest::newRow("directory") << "." << sinDatos << 5 << "File access denied";
        QTest::newRow("through a file") << "PLAIN/X.DBF" << sinDatos << 3 << "Invalid filename";
        QTest::newRow("name too long") << QString(300, u'x') << sinDatos << 3 << "Invalid filename";
        const QByteArray cuatro = TablaMuestras({{1, 1}, {2, 2}, {3, 3}, {4, 4}});
        QTest::newRow("short header")
            << "S.DBF" << cuatro.left(20) << 100 << "Read beyond end of file";
        QTest::newRow("header only")
            << "S.DBF" << cuatro.left(32) << 100 << "Read beyond end of file";
        QTest::newRow("no terminator block")
            << "S.DBF" << cuatro.left(32 + 96) << 100 << "Read beyond end of file";
        QTest::newRow("three records and 0x1A")
            << "S.DBF" << TablaMuestras({{1, 1}, {2, 2}, {3, 3}}) << 100
            << "Read beyond end of file";
        // Records long enough to pass the descriptor scan, but no record 0.
        QByteArray vacia = CabeceraDePrueba(0, {{"TEXTO", 'C', 20}, {"OTRO", 'C', 20}});
        vacia += QByteArray(31, ' ');
        QTest::newRow("no records") << "S.DBF" << vacia << 100 << "Read beyond end of file";
    }

    void openFailuresLeaveTheTableClosed() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        QFETCH(QString, message);
        QVERIFY(EscribirFichero(Ruta("PLAIN"), "x"));
        if (!content.isEmpty()) {
            QVERIFY(EscribirFichero(Ruta(name), content));
        }
        const int abiertos = DescriptoresAbiertos();
        TDBase3Plus t;
        t.SetFileName(name.isEmpty() ? name : Ruta(name));
        try {
            t.Open();
            QFAIL("Open succeeded");
        } catch (const EInOutError& e) {
            QCOMPARE(e.code(), code);
            QCOMPARE(QString::fromUtf8(e.what()), message);
        }
        QVERIFY(!t.Active());
        QCOMPARE(DescriptoresAbiertos(), abiertos);
        if (!content.isEmpty()) {
            QVERIFY(BloqueoLibre(Ruta(name)));
        }
        QVERIFY_THROWS_EXCEPTION(EInOutError, t.Close());
    }

    void damagedTablesAreRefused_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QByteArray registros(5 * 8, ' ');
        std::vector<CampoDePrueba> setentaYUno;
        for (int i = 0; i < 71; ++i) {
            setentaYUno.push_back({"F" + QByteArray::number(i), 'C', 1});
        }
        QTest::newRow("71 descriptors")
            << CabeceraDePrueba(5, setentaYUno) + QByteArray(5 * 72, ' ') << "more than 70";
        QTest::newRow("field of length 0")
            << CabeceraDePrueba(5, {{"A", 'N', 3}, {"B", 'N', 0}, {"C", 'C', 1}}, 129, 8) +
                   registros
            << "length 0";
        QTest::newRow("fields longer than the record")
            << CabeceraDePrueba(5, CamposMuestras(), 129, 7) + registros << "records of 8 bytes";
        QTest::newRow("record length 0")
            << CabeceraDePrueba(5, CamposMuestras(), 129, 0) + registros << "record length 0";
        QTest::newRow("negative record count")
            << CabeceraDePrueba(-1, CamposMuestras()) + registros << "record count -1";
        QTest::newRow("header shorter than its descriptors")
            << CabeceraDePrueba(5, CamposMuestras(), 128) + registros << "header length 128";
        // Without both value fields a load would read a value that is not there.
        QTest::newRow("one value field")
            << CabeceraDePrueba(5, {{"VALOR", 'N', 3}}) + registros << "fewer than the 2";
    }

    void damagedTablesAreRefused() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QVERIFY(EscribirFichero(Ruta("DAMAGED.DBF"), content));
        const int abiertos = DescriptoresAbiertos();
        TDBase3Plus t;
        t.SetFileName(Ruta("DAMAGED.DBF"));
        try {
            t.Open();
            QFAIL("a damaged table opened");
        } catch (const EDamagedTable& e) {
            const QString what = QString::fromUtf8(e.what());
            QVERIFY2(what.contains(reason), qPrintable(what));
            QVERIFY2(what.contains(QStringLiteral("DAMAGED.DBF")), qPrintable(what));
        }
        QVERIFY(!t.Active());
        QCOMPARE(DescriptoresAbiertos(), abiertos);
        QVERIFY(BloqueoLibre(Ruta("DAMAGED.DBF")));
        QCOMPARE(LeerFichero(Ruta("DAMAGED.DBF")), content);
    }

    void seventyFieldsAreAccepted() {
        std::vector<CampoDePrueba> setenta;
        for (int i = 0; i < 70; ++i) {
            setenta.push_back({"F" + QByteArray::number(i), 'C', 1});
        }
        QByteArray content = CabeceraDePrueba(1, setenta);
        content += ' ' + QByteArray(69, ' ') + 'Z';
        QVERIFY(EscribirFichero(Ruta("WIDE.DBF"), content));
        TDBase3Plus t;
        t.SetFileName(Ruta("WIDE.DBF"));
        t.Open();
        QCOMPARE(t.FieldCount(), 70);
        QCOMPARE(t.Values[70], QStringLiteral("Z"));
        QCOMPARE(t.Values[1], QStringLiteral(" "));
        // The next table starts from empty values, not from this one's.
        EscribirPlantilla(Ruta("NARROW.DBF"));
        t.SetFileName(Ruta("NARROW.DBF"));
        t.Open();
        QCOMPARE(t.Values[70], QString());
    }

    /// Nothing but a regular file is a table, and none makes an operation wait.
    void onlyRegularFilesAreTables() {
        const QString fifo = Ruta("FIFO.DBF");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
        // Should an operation wait after all, the test ends instead of hanging the suite.
        ::alarm(20);
        const auto sinAlarma = qScopeGuard([] { ::alarm(0); });
        for (const QString& name : {fifo, QStringLiteral("/dev/null")}) {
            TDBase3Plus t;
            t.SetFileName(name);
            QCOMPARE(CodigoDe([&] { t.Open(); }), 5);
            QCOMPARE(CodigoDe([&] { EscribirPlantilla(name); }), 5);
        }
        QCOMPARE(EliminarFicheroTabla(fifo), 5);
    }

    void secondOpenerIsRefused() {
        auto first = AbrirPlantilla("LOCK.DBF");
        TDBase3Plus second;
        second.SetFileName(Ruta("LOCK.DBF"));
        try {
            second.Open();
            QFAIL("two tables hold the same file");
        } catch (const EInOutError& e) {
            QCOMPARE(e.code(), 5);
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("File access denied"));
        }
        QVERIFY(!second.Active());
        // Readers that take no lock still read it.
        QCOMPARE(LeerFichero(Ruta("LOCK.DBF")).size(), 170);
        // Nor may the template be written over it.
        QVERIFY_THROWS_EXCEPTION(EInOutError, EscribirPlantilla(Ruta("LOCK.DBF")));
        QCOMPARE(LeerFichero(Ruta("LOCK.DBF")).size(), 170);
        first->Append();
        QVERIFY_THROWS_EXCEPTION(EInOutError, EscribirPlantilla(Ruta("LOCK.DBF")));
        QCOMPARE(LeerFichero(Ruta("LOCK.DBF")).size(), 177);
        first->Close();
        second.Open();
        QVERIFY(second.Active());
    }

    void destructionReleasesTheFile() {
        const int abiertos = DescriptoresAbiertos();
        {
            auto t = AbrirPlantilla("GONE.DBF");
            QVERIFY(!BloqueoLibre(Ruta("GONE.DBF")));
        }
        QVERIFY(BloqueoLibre(Ruta("GONE.DBF")));
        QCOMPARE(DescriptoresAbiertos(), abiertos);
    }

    void templateWriteErrors() {
        if (QFile::exists(QStringLiteral("/dev/full"))) {
            // A device is no table, full or not.
            try {
                EscribirPlantilla(QStringLiteral("/dev/full"));
                QFAIL("writing to a full device succeeded");
            } catch (const EInOutError& e) {
                QCOMPARE(e.code(), 5);
                QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("File access denied"));
            }
        }
        try {
            EscribirPlantilla(Ruta("NO/SUCH/DIR.DBF"));
            QFAIL("writing into a missing directory succeeded");
        } catch (const EInOutError& e) {
            QCOMPARE(e.code(), 2);
        }
    }

    void tooManyOpenFiles() {
        EscribirPlantilla(Ruta("FD.DBF"));
        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &old), 0);
        // Room for exactly the descriptors already open, so the table's open is refused.
        rlimit tight = old;
        tight.rlim_cur = static_cast<rlim_t>(DescriptoresAbiertos()) + 16;
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &tight), 0);
        std::vector<int> relleno;
        for (;;) {
            const int fd = ::dup(0);
            if (fd < 0) {
                break;
            }
            relleno.push_back(fd);
        }
        int code = 0;
        TDBase3Plus t;
        t.SetFileName(Ruta("FD.DBF"));
        try {
            t.Open();
        } catch (const EInOutError& e) {
            code = e.code();
        }
        for (const int fd : relleno) {
            ::close(fd);
        }
        ::setrlimit(RLIMIT_NOFILE, &old);
        QCOMPARE(code, 4);
        QVERIFY(!t.Active());
    }
};

QTEST_GUILESS_MAIN(TestDBase3Plus)
#include "test_dbase3plus.moc"
