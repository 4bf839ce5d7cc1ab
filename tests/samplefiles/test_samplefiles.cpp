#include "DBase3Plus.h"
#include "FileIo.h"
#include "ListaFicheros.h"
#include "NombresFichero.h"
#include "ParadaEnEscritura.h"
#include "PlantillaMuestras.h"
#include "RuntimeErrors.h"
#include "TablaAlmacen.h"
#include "TablaDePrueba.h"
#include "TableErrors.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

/// A store whose every slot holds `relleno`, to see which slots a load leaves alone.
std::unique_ptr<SampleStore> AlmacenRelleno(std::int32_t relleno, std::int32_t contador) {
    auto store = std::make_unique<SampleStore>();
    store->Sensor1.fill(relleno);
    store->Sensor2.fill(relleno);
    store->Contador = contador;
    return store;
}

/// The two numbers of record k as stored, read without the component.
std::pair<QByteArray, QByteArray> Registro(const QByteArray& file, int k) {
    const QByteArray r = file.mid(129 + 8 * k, 8);
    return {r.mid(1, 3), r.mid(4, 3)};
}

/// While alive, writes past `bytes` of a file fail as on a full disk (SIGXFSZ is ignored).
struct LimiteFichero {
    rlimit old{};
    explicit LimiteFichero(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit tight = old;
        tight.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~LimiteFichero() { ::setrlimit(RLIMIT_FSIZE, &old); }
};

} // namespace

class TestSampleFiles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString Ruta(const QString& name) const { return dir_.filePath(name); }

    std::unique_ptr<TDBase3Plus> Abrir(const QString& name) {
        auto tabla = std::make_unique<TDBase3Plus>();
        tabla->SetFileName(Ruta(name));
        tabla->Open();
        return tabla;
    }

    /// The message of the error that stops loading `bytes`, written as `name`, into `store`.
    QString ErrorAlCargar(const QString& name, const QByteArray& bytes, SampleStore& store) {
        try {
            if (EscribirFichero(Ruta(name), bytes)) {
                CargarTabla(*Abrir(name), store);
            }
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QLocale::setDefault(QLocale::c());
        ::signal(SIGXFSZ, SIG_IGN);
    }

    void strToInt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "47" << true << 47;
        QTest::newRow("right-aligned") << "  0" << true << 0;
        QTest::newRow("plus sign") << " +5" << true << 5;
        QTest::newRow("minus sign") << "-12" << true << -12;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
        QTest::newRow("blank field") << " " << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("trailing space") << "47 " << false << 0;
        QTest::newRow("inner space") << "4 7" << false << 0;
        QTest::newRow("letters") << "4x" << false << 0;
        QTest::newRow("two signs") << "+-4" << false << 0;
        QTest::newRow("overflow") << "2147483648" << false << 0;
        QTest::newRow("negative overflow") << "-2147483649" << false << 0;
        QTest::newRow("far overflow") << "99999999999999999999" << false << 0;
    }

    void strToInt() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        if (ok) {
            QCOMPARE(StrToInt(text), value);
        } else {
            try {
                StrToInt(text);
                QFAIL("converted");
            } catch (const EConvertError& e) {
                QCOMPARE(QString::fromUtf8(e.what()),
                         QStringLiteral("'%1' is not a valid integer value").arg(text));
            }
        }
    }

    void runtimeMessages_data() {
        QTest::addColumn<int>("err");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("ENOENT") << ENOENT << 2 << "File not found";
        QTest::newRow("ENOTDIR") << ENOTDIR << 3 << "Invalid filename";
        QTest::newRow("EMFILE") << EMFILE << 4 << "Too many open files";
        QTest::newRow("ENFILE") << ENFILE << 4 << "Too many open files";
        QTest::newRow("EACCES") << EACCES << 5 << "File access denied";
        QTest::newRow("EWOULDBLOCK") << EWOULDBLOCK << 5 << "File access denied";
        QTest::newRow("EROFS") << EROFS << 5 << "File access denied";
        QTest::newRow("ENOSPC") << ENOSPC << 101 << "Disk full";
        QTest::newRow("EDQUOT") << EDQUOT << 101 << "Disk full";
        // EIO's number is the runtime's "access denied"; it must not read as that.
        QTest::newRow("EIO") << EIO << 1117 << "I/O error 1117";
        QTest::newRow("ESTALE") << ESTALE << ESTALE << QStringLiteral("I/O error %1").arg(ESTALE);
    }

    void runtimeMessages() {
        QFETCH(int, err);
        QFETCH(int, code);
        QFETCH(QString, message);
        QCOMPARE(CodigoDeErrno(err), code);
        try {
            LanzarErrno(err);
        } catch (const EInOutError& e) {
            QCOMPARE(e.code(), code);
            QCOMPARE(QString::fromUtf8(e.what()), message);
        }
    }

    void loadTheTemplate() {
        EscribirPlantilla(Ruta("MUESTRAS.DBF"));
        auto tabla = Abrir("MUESTRAS.DBF");
        auto store = AlmacenRelleno(7, 0);
        const ResultadoCarga r = CargarTabla(*tabla, *store);
        QCOMPARE(r.Registros, 5);
        QVERIFY(!r.Recortada);
        QCOMPARE(store->Contador, 5);
        for (const Serie* s : {&store->Sensor1, &store->Sensor2}) {
            QCOMPARE((*s)[0], 0);
            QCOMPARE((*s)[1], 100);
            QCOMPARE((*s)[2], 0);
            QCOMPARE((*s)[3], 0);
            QCOMPARE((*s)[4], 7); // the last record is read but not stored
            QCOMPARE((*s)[5], 7);
        }
        QCOMPARE(tabla->RecNo(), 4);
    }

    void loadDefaultsOnlyTheMinimum_data() {
        QTest::addColumn<int>("max1");
        QTest::addColumn<int>("min1");
        QTest::addColumn<int>("min2");
        QTest::addColumn<int>("expectMin1");
        QTest::addColumn<int>("expectMin2");
        QTest::newRow("zero minima") << 0 << 0 << 0 << 100 << 100;
        QTest::newRow("real minima kept") << 60 << 30 << 41 << 30 << 41;
        QTest::newRow("one channel zero") << 80 << 0 << 9 << 100 << 9;
    }

    void loadDefaultsOnlyTheMinimum() {
        QFETCH(int, max1);
        QFETCH(int, min1);
        QFETCH(int, min2);
        QFETCH(int, expectMin1);
        QFETCH(int, expectMin2);
        QVERIFY(EscribirFichero(Ruta("MIN.DBF"),
                                TablaMuestras({{max1, 0}, {min1, min2}, {1, 1}, {2, 2}, {3, 3}})));
        auto tabla = Abrir("MIN.DBF");
        auto store = AlmacenRelleno(5, 0);
        CargarTabla(*tabla, *store);
        QCOMPARE(store->Sensor1[0], max1);
        QCOMPARE(store->Sensor2[0], 0);
        QCOMPARE(store->Sensor1[1], expectMin1);
        QCOMPARE(store->Sensor2[1], expectMin2);
    }

    void loadFourRecords() {
        QVERIFY(EscribirFichero(Ruta("CUATRO.DBF"),
                                TablaMuestras({{10, 20}, {11, 21}, {12, 22}, {13, 23}})));
        auto tabla = Abrir("CUATRO.DBF");
        auto store = AlmacenRelleno(99, 0);
        CargarTabla(*tabla, *store);
        QCOMPARE(store->Contador, 4);
        QCOMPARE(store->Sensor1[0], 10);
        QCOMPARE(store->Sensor2[2], 22);
        QCOMPARE(store->Sensor1[3], 99);
        QCOMPARE(store->Sensor2[3], 99);
    }

    void loadStopsAtTextThatIsNoNumber() {
        QByteArray bytes = TablaMuestras({{10, 20}, {11, 21}, {12, 22}, {13, 23}, {14, 24}});
        bytes.replace(129 + 2 * 8 + 4, 3, "   "); // record 2, VALOR2 blank
        QVERIFY(EscribirFichero(Ruta("BLANCO.DBF"), bytes));
        auto tabla = Abrir("BLANCO.DBF");
        auto store = AlmacenRelleno(0, 33);
        try {
            CargarTabla(*tabla, *store);
            QFAIL("a blank field loaded");
        } catch (const EConvertError& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("' ' is not a valid integer value"));
        }
        QCOMPARE(store->Sensor1[1], 11);
        QCOMPARE(store->Sensor1[2], 12); // the first field of the failing record is in
        QCOMPARE(store->Sensor2[2], 0);
        QCOMPARE(store->Contador, 33);
    }

    void loadStopsWhereTheFileEnds() {
        QByteArray bytes =
            TablaMuestras({{10, 20}, {11, 21}, {12, 22}, {13, 23}, {14, 24}, {15, 25}}, false);
        bytes.chop(8 + 3); // record 5 gone, record 4 cut inside VALOR2
        auto store = AlmacenRelleno(0, 0);
        QCOMPARE(ErrorAlCargar("CORTA.DBF", bytes, *store), "Read beyond end of file");
        QCOMPARE(store->Sensor1[3], 13); // the whole records are in, the cut one is not
        QCOMPARE(store->Sensor1[4], 0);
    }

    void saveIntoANewTable() {
        // Contador 8: records 0-3 and 5-7 from the store, record 4 stays the template's.
        auto store = AlmacenRelleno(0, 8);
        for (int k = 0; k <= 8; ++k) {
            store->Sensor1[k] = 40 + k;
            store->Sensor2[k] = 200 + k;
        }
        EscribirPlantilla(Ruta("NUEVA.DBF"));
        auto tabla = Abrir("NUEVA.DBF");
        EscribirAlmacen(*tabla, *store);
        QCOMPARE(tabla->RecordCount(), 8);
        const QByteArray file = LeerFichero(Ruta("NUEVA.DBF"));
        QCOMPARE(file.size(), 129 + 8 * 8);
        QCOMPARE(file.mid(4, 4), QByteArray::fromHex("08000000"));
        for (int k : {0, 1, 2, 3, 5, 6, 7}) {
            QCOMPARE(Registro(file, k).first, QByteArray::number(40 + k) + ' ');
            QCOMPARE(Registro(file, k).second, QByteArray::number(200 + k));
            QCOMPARE(file.at(129 + 8 * k), ' ');
            QCOMPARE(file.at(129 + 8 * k + 7), ' ');
        }
        QCOMPARE(file.mid(129 + 8 * 4, 8), QByteArray::fromHex("3020203020203020"));
        QVERIFY(!file.contains('\x1A'));

        CargarTabla(*tabla, *store);
        QCOMPARE(store->Contador, 8);
        QCOMPARE(store->Sensor1[4], 0);
        QCOMPARE(store->Sensor2[6], 206);
        QCOMPARE(store->Sensor1[7], 47); // not reloaded, kept
    }

    void saveIntoTheSameTableAppendsNothing() {
        QByteArray bytes = TablaMuestras({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}});
        bytes[129 + 2 * 8 + 7] = 'C'; // UNIDAD of record 2, which the program never fills
        QVERIFY(EscribirFichero(Ruta("MISMA.DBF"), bytes));
        auto tabla = Abrir("MISMA.DBF");
        auto store = AlmacenRelleno(0, 0);
        CargarTabla(*tabla, *store);
        store->Sensor1[2] = 77;
        store->Sensor1[5] = 88;
        EscribirAlmacen(*tabla, *store);
        const QByteArray file = LeerFichero(Ruta("MISMA.DBF"));
        QCOMPARE(file.size(), 129 + 6 * 8 + 1);
        QCOMPARE(Registro(file, 2).first, QByteArray("77 "));
        QCOMPARE(file.at(129 + 2 * 8 + 7), 'C');
        QCOMPARE(Registro(file, 5).first, QByteArray("  6")); // the last record is left alone
        QCOMPARE(file.back(), '\x1A');
    }

    void saveAHundredLoadedRecords() {
        std::vector<std::pair<int, int>> lecturas;
        for (int k = 0; k < 100; ++k) {
            lecturas.push_back({k, 255 - k});
        }
        QVERIFY(EscribirFichero(Ruta("CIEN.DBF"), TablaMuestras(lecturas)));
        auto tabla = Abrir("CIEN.DBF");
        auto store = AlmacenRelleno(123, 0);
        CargarTabla(*tabla, *store);
        QCOMPARE(store->Contador, 100);
        tabla->Close();
        EscribirPlantilla(Ruta("COPIA.DBF"));
        tabla->SetFileName(Ruta("COPIA.DBF"));
        tabla->Open();
        EscribirAlmacen(*tabla, *store);
        QCOMPARE(tabla->RecordCount(), 100);
        const QByteArray file = LeerFichero(Ruta("COPIA.DBF"));
        QCOMPARE(file.size(), 129 + 100 * 8);
        QCOMPARE(Registro(file, 0).first, QByteArray("0  ")); // a maximum of 0 stays
        QCOMPARE(Registro(file, 1).first, QByteArray("1  "));
        QCOMPARE(Registro(file, 3).second, QByteArray("252"));
        QCOMPARE(file.mid(129 + 4 * 8, 8), QByteArray::fromHex("3020203020203020"));
        QCOMPARE(Registro(file, 5).first, QByteArray("5  "));
        QCOMPARE(Registro(file, 98).second, QByteArray("157"));
        QCOMPARE(Registro(file, 99).first, QByteArray("123")); // slot 99 was not loaded
    }

    void tableLargerThanTheStore() {
        std::vector<std::pair<int, int>> lecturas;
        for (int k = 0; k < 6000; ++k) {
            lecturas.push_back({k % 256, (k * 7) % 256});
        }
        const QByteArray original = TablaMuestras(lecturas);
        QVERIFY(EscribirFichero(Ruta("GRANDE.DBF"), original));
        auto tabla = Abrir("GRANDE.DBF");
        auto store = AlmacenRelleno(-1, 0);
        const ResultadoCarga r = CargarTabla(*tabla, *store);
        QVERIFY(r.Recortada);
        QCOMPARE(r.Registros, 6000);
        QCOMPARE(store->Contador, LimiteMuestras);
        QCOMPARE(store->Sensor1[4998], 4998 % 256);
        QCOMPARE(store->Sensor2[4998], (4998 * 7) % 256);
        QCOMPARE(store->Sensor1[4999], -1);
        QCOMPARE(store->Sensor1[5000], -1);
        QVERIFY(TextoTablaRecortada(r.Registros).contains(QStringLiteral("6000")));

        for (int k = 0; k <= LimiteMuestras; ++k) {
            store->Sensor1[k] = 9;
            store->Sensor2[k] = 9;
        }
        EscribirAlmacen(*tabla, *store);
        const QByteArray file = LeerFichero(Ruta("GRANDE.DBF"));
        QCOMPARE(file.size(), original.size());
        QCOMPARE(file.left(32), original.left(32));
        QCOMPARE(Registro(file, 4998).first, QByteArray("9  "));
        const int desde = 129 + 4999 * 8;
        QCOMPARE(file.mid(desde), original.mid(desde));
    }

    void storeNeverReadPastItsEnd() {
        // A store claiming more than it holds still appends only up to the last slot.
        EscribirPlantilla(Ruta("TOPE.DBF"));
        auto tabla = Abrir("TOPE.DBF");
        auto store = AlmacenRelleno(1, LimiteMuestras + 50);
        EscribirAlmacen(*tabla, *store);
        QCOMPARE(tabla->RecordCount(), LimiteMuestras);
    }

    void extensionRule_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("result");
        QTest::newRow("no extension") << "/d/datos"
                                      << "/d/datos.dbf";
        QTest::newRow("other extension") << "/d/datos.txt"
                                         << "/d/datos.txt.dbf";
        QTest::newRow("lower case") << "/d/datos.dbf"
                                    << "/d/datos.dbf";
        QTest::newRow("mixed case") << "/d/datos.DbF"
                                    << "/d/datos.DbF";
        QTest::newRow("dot in the directory only") << "/d.dbf/datos"
                                                   << "/d.dbf/datos.dbf";
        QTest::newRow("longer extension") << "/d/datos.dbff"
                                          << "/d/datos.dbff.dbf";
        QTest::newRow("bare") << "x.DBF"
                              << "x.DBF";
        QTest::newRow("ends in a dot") << "x."
                                       << "x..dbf";
    }

    void extensionRule() {
        QFETCH(QString, chosen);
        QFETCH(QString, result);
        QCOMPARE(ConExtensionDbf(chosen), result);
    }

    void bareName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bare");
        QTest::newRow("path") << "/home/u/DATOS.DBF"
                              << "DATOS.DBF";
        QTest::newRow("relative") << "sub/x.dbf"
                                  << "x.dbf";
        QTest::newRow("bare") << "x.dbf"
                              << "x.dbf";
        QTest::newRow("colon belongs to the name") << "a:b.dbf"
                                                   << "a:b.dbf";
        QTest::newRow("mask") << "*.dbf"
                              << "*.dbf";
    }

    void bareName() {
        QFETCH(QString, text);
        QFETCH(QString, bare);
        QCOMPARE(NombreSinRuta(text), bare);
    }

    void inUse() {
        QDir(dir_.path()).mkpath(QStringLiteral("x"));
        EscribirPlantilla(Ruta("USO.DBF"));
        EscribirPlantilla(Ruta("OTRA.DBF"));
        QVERIFY(QFile::link(Ruta("USO.DBF"), Ruta("enlace.dbf")));
        QCOMPARE(::link(QFile::encodeName(Ruta("USO.DBF")).constData(),
                        QFile::encodeName(Ruta("duro.dbf")).constData()),
                 0);
        TDBase3Plus tabla;
        tabla.SetFileName(Ruta("USO.DBF"));
        // The name alone counts even while the table is closed.
        QVERIFY(FicheroEnUso(Ruta("USO.DBF"), tabla));
        QVERIFY(!FicheroEnUso(dir_.path() + QStringLiteral("/x/../USO.DBF"), tabla));
        tabla.Open();
        QVERIFY(FicheroEnUso(dir_.path() + QStringLiteral("/x/../USO.DBF"), tabla));
        QVERIFY(FicheroEnUso(Ruta("enlace.dbf"), tabla));
        QVERIFY(FicheroEnUso(Ruta("duro.dbf"), tabla));
        QVERIFY(!FicheroEnUso(Ruta("OTRA.DBF"), tabla));
        QVERIFY(FicheroEnUso(Ruta("uso.dbf"), tabla)); // the same file, whatever the case
        QVERIFY(!FicheroEnUso(Ruta("NADA.DBF"), tabla));
        tabla.Close();
        QVERIFY(!FicheroEnUso(Ruta("enlace.dbf"), tabla));
    }

    void tableNamesIgnoreLetterCase() {
        QDir(dir_.path()).mkpath(QStringLiteral("case"));
        for (const char* n : {"UNICA.DBF", "Doble.dbf", "DOBLE.DBF"}) {
            QVERIFY(EscribirFichero(Ruta(QStringLiteral("case/") + n), "x"));
        }
        // An exact name wins; with two candidates or none the name stays as given.
        const std::pair<const char*, const char*> nombres[] = {
            {"case/Unica.dbf", "case/UNICA.DBF"},
            {"case/Doble.dbf", "case/Doble.dbf"},
            {"case/doble.DBF", "case/doble.DBF"},
            {"case/nada.dbf", "case/nada.dbf"},
            {"case/../case/unica.dbf", "case/../case/UNICA.DBF"},
        };
        for (const auto& [name, resolved] : nombres) {
            QCOMPARE(ResolverNombreTabla(Ruta(name)), Ruta(resolved));
        }
        // Written, opened and deleted under another case, it is the one file.
        EscribirPlantilla(Ruta("case/Unica.dbf"));
        QCOMPARE(LeerFichero(Ruta("case/UNICA.DBF")).size(), 170);
        QCOMPARE(Abrir("case/unica.Dbf")->RecordCount(), 5);
        QCOMPARE(EliminarFicheroTabla(Ruta("case/unica.dbf")), 0);
        QVERIFY(!QFile::exists(Ruta("case/UNICA.DBF")));
    }

    void aFailedWriteLeavesNoBrokenTable() {
        EscribirPlantilla(Ruta("LLENO.DBF"));
        const QByteArray before = LeerFichero(Ruta("LLENO.DBF"));
        auto tabla = Abrir("LLENO.DBF");
        {
            const LimiteFichero limite(172); // room for 3 bytes of the new record
            QVERIFY_THROWS_EXCEPTION(EInOutError, tabla->Append());
        }
        QCOMPARE(tabla->RecordCount(), 5);
        QCOMPARE(LeerFichero(Ruta("LLENO.DBF")), before);
        // A new table the template does not fit into is not left behind empty.
        {
            const LimiteFichero limite(100);
            QVERIFY_THROWS_EXCEPTION(EInOutError, EscribirPlantilla(Ruta("SINSITIO.DBF")));
        }
        QVERIFY(!QFile::exists(Ruta("SINSITIO.DBF")));
    }

    void aSaveThatDoesNotFitWritesNothing() {
        // A foreign table whose first field holds one digit: a reading of 100 in record 3 is
        // refused before record 0, changed too, is written.
        QByteArray bytes = CabeceraDePrueba(8, {{"CAPITAL", 'N', 1}, {"VALOR2", 'N', 3}});
        for (int k = 0; k < 8; ++k) {
            bytes += " 1  2";
        }
        QVERIFY(EscribirFichero(Ruta("ESTRECHA.DBF"), bytes));
        auto tabla = Abrir("ESTRECHA.DBF");
        auto store = AlmacenRelleno(0, 0);
        CargarTabla(*tabla, *store);
        store->Sensor1[0] = 5;
        store->Sensor1[3] = 100;
        try {
            EscribirAlmacen(*tabla, *store);
            QFAIL("a value wider than its field was saved");
        } catch (const EFieldTooLong& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Value '100' does not fit field CAPITAL (1 characters)"));
        }
        QCOMPARE(LeerFichero(Ruta("ESTRECHA.DBF")), bytes);
    }

    // A save of 30 slots stopped dead at each of its writes in turn, into the table loaded
    // (also one an older version left with its last record missing or blank) and into a new
    // table from the template: what is left always loads, keeps the old records that were
    // not yet rewritten, and loses no record the save had finished. The save that runs to its
    // end leaves every record whole.
    void aKillAtAnyWriteLeavesATableThatLoads_data() {
        QTest::addColumn<QByteArray>("inicial");
        QTest::addColumn<bool>("nueva");
        std::vector<std::pair<int, int>> doce;
        for (int k = 0; k < 12; ++k) {
            doce.push_back({20 + k, 40 + k});
        }
        QByteArray sinUltimo(reinterpret_cast<const char*>(PlantillaMuestras.data()), 170);
        sinUltimo[4] = 6; // the count of a record that never came: only the 0x1A is there
        QByteArray ultimoEnBlanco =
            TablaMuestras({{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 9}, {0, 0}}, false);
        ultimoEnBlanco.replace(129 + 5 * 8, 8, QByteArray(8, ' '));
        QTest::newRow("into the table loaded") << TablaMuestras(doce) << false;
        QTest::newRow("into a table whose last record is missing") << sinUltimo << false;
        QTest::newRow("into a table whose last record is blank") << ultimoEnBlanco << false;
        QTest::newRow("into a new table") << TablaMuestras(doce) << true;
    }

    void aKillAtAnyWriteLeavesATableThatLoads() {
        QFETCH(QByteArray, inicial);
        QFETCH(bool, nueva);
        const QString actual = Ruta("PARADA.DBF");
        const QString destino = nueva ? Ruta("PARADA_NUEVA.DBF") : actual;
        QVERIFY(EscribirFichero(actual, inicial));
        auto store = AlmacenRelleno(0, 0);
        CargarTabla(*Abrir("PARADA.DBF"), *store);
        // Readings taken since the load: new extremes and slots up to 30.
        store->Sensor1[0] = 90;
        store->Sensor2[1] = 10;
        for (int k = store->Contador + 1; k <= 30; ++k) {
            store->Sensor1[k] = k;
            store->Sensor2[k] = 200 + k;
        }
        store->Contador = 30;
        const QByteArray antes =
            nueva ? QByteArray(reinterpret_cast<const char*>(PlantillaMuestras.data()), 170)
                  : inicial;
        const std::int32_t registrosAntes = antes[4];
        const auto tramo = [](const QByteArray& file, int k) { return file.mid(129 + 8 * k, 8); };

        TDBase3Plus tabla;
        const auto preparar = [&] {
            tabla.SetFileName(actual);
            tabla.Open();
        };
        const auto guardar = [&] {
            if (nueva) { // as a save to another name does it
                tabla.Close();
                tabla.SetFileName(destino);
                EscribirPlantilla(destino);
                tabla.Open();
            }
            EscribirAlmacen(tabla, *store);
        };
        const auto empezar = [&] {
            QFile::remove(destino);
            return EscribirFichero(actual, inicial);
        };
        QVERIFY(empezar());
        QCOMPARE(ParaEnEscritura(1 << 20, preparar, guardar), FinDeParada::Terminado);
        const QByteArray final_ = LeerFichero(destino);
        {
            auto t = Abrir(QFileInfo(destino).fileName());
            QCOMPARE(t->RecordCount(), 30);
            for (int k = 0; k < 30; ++k) {
                t->ReadRecord(k);
                StrToInt(t->Values[1]);
                StrToInt(t->Values[2]);
            }
        }

        std::vector<bool> hechos;
        for (int n = 1;; ++n) {
            QVERIFY(empezar());
            const FinDeParada fin = ParaEnEscritura(n, preparar, guardar);
            QVERIFY2(fin != FinDeParada::Fallido, qPrintable(QString::number(n)));
            const QByteArray ahora = LeerFichero(destino);
            std::vector<bool> ahoraHechos;
            if (QFile::exists(destino)) {
                auto t = Abrir(QFileInfo(destino).fileName());
                auto cargado = AlmacenRelleno(0, 0);
                try {
                    CargarTabla(*t, *cargado);
                } catch (const std::exception& e) {
                    QFAIL(
                        qPrintable(QStringLiteral("killed at write %1: %2").arg(n).arg(e.what())));
                }
                const std::int32_t registros = t->RecordCount();
                QVERIFY2(registros >= registrosAntes && registros <= 30,
                         qPrintable(QString::number(n)));
                for (int k = 0; k < registros; ++k) {
                    const bool hecho = tramo(ahora, k) == tramo(final_, k);
                    QVERIFY2(
                        hecho || (k < registrosAntes && tramo(ahora, k) == tramo(antes, k)),
                        qPrintable(QStringLiteral("killed at write %1, record %2").arg(n).arg(k)));
                    ahoraHechos.push_back(hecho);
                }
            }
            for (std::size_t k = 0; k < hechos.size(); ++k) {
                QVERIFY2(
                    !hechos[k] || (k < ahoraHechos.size() && ahoraHechos[k]),
                    qPrintable(QStringLiteral("killed at write %1, record %2 lost").arg(n).arg(k)));
            }
            hechos = ahoraHechos;
            if (fin == FinDeParada::Terminado) {
                QCOMPARE(ahora, final_);
                break;
            }
        }
    }

    void messageShowsControlBytes() {
        QByteArray t = TablaMuestras({{0, 0}, {0, 0}, {0, 0}, {0, 0}});
        t.replace(129 + 1, 3, QByteArray("4\0\x01", 3));
        auto store = AlmacenRelleno(0, 0);
        QCOMPARE(ErrorAlCargar("CERO.DBF", t, *store), "'4#0#1' is not a valid integer value");
    }

    void applyPathToTheFileList_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("error");
        const QString none;
        const QString d = QStringLiteral("%DIR%");
        QTest::newRow("empty") << "" << none << none << none << none;
        QTest::newRow("the selected file") << "%DIR%/A.DBF" << none << none << none << none;
        QTest::newRow("mask") << "*.txt" << none << "*.txt" << none << none;
        QTest::newRow("question mark") << "A?.dbf" << none << "A?.dbf" << none << none;
        QTest::newRow("directory") << "sub/" << d + "/sub" << none << none << none;
        QTest::newRow("directory without slash") << "sub" << d + "/sub" << none << none << none;
        QTest::newRow("parent") << "sub/../" << d << none << none << none;
        QTest::newRow("directory and mask") << "sub/*.dbf" << d + "/sub"
                                            << "*.dbf" << none << none;
        QTest::newRow("file here") << "B.DBF" << none << none << "B.DBF" << none;
        QTest::newRow("file elsewhere")
            << "%DIR%/sub/C.DBF" << d + "/sub" << none << "C.DBF" << none;
        QTest::newRow("letter case differs")
            << "b.dbf" << none << none << none << "Invalid file name - b.dbf";
        QTest::newRow("missing file")
            << "NADA.DBF" << none << none << none << "Invalid file name - NADA.DBF";
        QTest::newRow("missing file elsewhere")
            << "sub/NADA.DBF" << none << none << none << "Invalid file name - sub/NADA.DBF";
        QTest::newRow("missing directory")
            << "nodir/x.dbf" << none << none << none << "Invalid filename";
    }

    void applyPathToTheFileList() {
        QFETCH(QString, text);
        QFETCH(QString, directory);
        QFETCH(QString, mask);
        QFETCH(QString, file);
        QFETCH(QString, error);
        const QString base = QDir(dir_.path()).canonicalPath() + QStringLiteral("/list");
        QDir().mkpath(base + QStringLiteral("/sub"));
        EscribirPlantilla(base + QStringLiteral("/A.DBF"));
        EscribirPlantilla(base + QStringLiteral("/B.DBF"));
        EscribirPlantilla(base + QStringLiteral("/sub/C.DBF"));
        text.replace(QStringLiteral("%DIR%"), base);
        directory.replace(QStringLiteral("%DIR%"), base);
        try {
            const CambioListaFicheros c =
                AplicarRutaALista(text, base, base + QStringLiteral("/A.DBF"));
            QVERIFY2(error.isEmpty(), "no error raised");
            QCOMPARE(c.Directorio.value_or(QString()), directory);
            QCOMPARE(c.Mascara.value_or(QString()), mask);
            QCOMPARE(c.Fichero.value_or(QString()), file);
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()), error);
        }
    }
};

QTEST_GUILESS_MAIN(TestSampleFiles)
#include "test_samplefiles.moc"
