#include "AdcLink.h"
#include "CommandLine.h"
#include "PlantillaMuestras.h"
#include "PortChoice.h"
#include "PortIo.h"

#include <QProcess>
#include <QTemporaryDir>

#include <QTest>
#include <cerrno>
#include <chrono>
#include <unistd.h>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void options_data();
    void options();
    void unopenablePortIsReportedOnce();
    void refusedClaimIsReportedNotWaitedFor_data();
    void refusedClaimIsReportedNotWaitedFor();
    void newTableOption();
    void folderOfItsOwn();
};

void CommandLineTest::options_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("fails");
    using P = Opciones::Puerto;
    QTest::newRow("none: first parallel port")
        << QStringList{} << int(P::Ppdev) << "/dev/parport0" << false;
    QTest::newRow("another device")
        << QStringList{"--port", "/dev/parport1"} << int(P::Ppdev) << "/dev/parport1" << false;
    QTest::newRow("direct") << QStringList{"--direct-io"} << int(P::DirectIo) << "/dev/parport0"
                            << false;
    QTest::newRow("simulated") << QStringList{"--simulate"} << int(P::Simulado) << "/dev/parport0"
                               << false;
    QTest::newRow("two choices") << QStringList{"--simulate", "--direct-io"} << 0 << "" << true;
    QTest::newRow("unknown option") << QStringList{"--fast"} << 0 << "" << true;
    QTest::newRow("stray argument") << QStringList{"MUESTRAS.DBF"} << 0 << "" << true;
    QTest::newRow("port without device") << QStringList{"--port"} << 0 << "" << true;
    QTest::newRow("new table without name") << QStringList{"--nueva-tabla"} << 0 << "" << true;
}

void CommandLineTest::options() {
    QFETCH(QStringList, args);
    QFETCH(int, port);
    QFETCH(QString, device);
    QFETCH(bool, fails);
    const Opciones o = LeerOpciones(QStringList{"velmoranta"} + args);
    QCOMPARE(!o.error.isEmpty(), fails);
    if (!fails) {
        QCOMPARE(int(o.puerto), port);
        QCOMPARE(o.dispositivo, device);
    }
}

// The notice names the device, the reason and a way out; the program then reads 0.
void CommandLineTest::unopenablePortIsReportedOnce() {
    Opciones o;
    o.dispositivo = "/nonexistent/parport9";
    PuertoAbierto abierto = AbrirPuerto(o);
    QVERIFY(abierto.port);
    QVERIFY(abierto.aviso.contains("/nonexistent/parport9"));
    QVERIFY(abierto.aviso.contains("--simulate"));
    AdcLink link(*abierto.port);
    QCOMPARE(link.LeerSensor1(), std::uint8_t{0});
    QCOMPARE(link.LeerSensor2(), std::uint8_t{0});

    o.puerto = Opciones::Puerto::Simulado;
    QVERIFY(AbrirPuerto(o).aviso.isEmpty());
}

// The claim is where the port can be found taken: by another program, which may hold it for
// ever, so the claim gives up; or by another driver, which no module load cures. /dev/null
// opens like a device; the claim is the test's.
void CommandLineTest::refusedClaimIsReportedNotWaitedFor_data() {
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("says");
    QTest::newRow("held by another program") << true << "otro programa";
    QTest::newRow("another driver's") << false << "otro controlador";
}

void CommandLineTest::refusedClaimIsReportedNotWaitedFor() {
    QFETCH(bool, held);
    QFETCH(QString, says);
    const ReclamoPuerto reclamo = [held](int) {
        // pause() sleeps until a signal, as the kernel's claim of a port that stays taken.
        return held ? LlamadaConLimite([] { return ::pause(); }, std::chrono::milliseconds(20))
                    : ENXIO;
    };
    Opciones o;
    o.dispositivo = "/dev/null";
    PuertoAbierto abierto = AbrirPuerto(o, reclamo);
    QVERIFY2(abierto.aviso.contains(says), qPrintable(abierto.aviso));
    QVERIFY(abierto.aviso.contains("/dev/null"));
    QVERIFY(abierto.aviso.contains("--simulate"));
    QVERIFY(!abierto.aviso.contains("modprobe ppdev"));
    QCOMPARE(AdcLink(*abierto.port).LeerSensor1(), std::uint8_t{0});
}

// A new working folder gets its default table from the program itself, never over a table
// that is already there.
void CommandLineTest::newTableOption() {
    const QString program = QStringLiteral(VELMORANTA_PROGRAM);
    QTemporaryDir dir;
    const QString table = dir.filePath("MUESTRAS.DBF");
    QCOMPARE(QProcess::execute(program, {"--nueva-tabla", table}), 0);
    QFile written(table);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QCOMPARE(bytes, QByteArray(reinterpret_cast<const char*>(PlantillaMuestras.data()),
                               static_cast<qsizetype>(PlantillaMuestras.size())));
    written.close();

    QVERIFY(written.open(QIODevice::WriteOnly | QIODevice::Append));
    written.write("x");
    written.close();
    QCOMPARE(QProcess::execute(program, {"--nueva-tabla", table}), 1);
    QCOMPARE(QFileInfo(table).size(), qint64(171));
}

// Started from the menu: the folder is made and gets a fresh default table; a table already
// there, in any letter case, is kept as it is; a file in the folder's place is refused.
void CommandLineTest::folderOfItsOwn() {
    QTemporaryDir base;
    const QString folder = base.filePath("Velmoranta/datos");
    QCOMPARE(PrepararCarpeta(folder), QString());
    QFile table(folder + "/MUESTRAS.DBF");
    QVERIFY(table.open(QIODevice::ReadOnly));
    QCOMPARE(table.readAll(), QByteArray(reinterpret_cast<const char*>(PlantillaMuestras.data()),
                                         static_cast<qsizetype>(PlantillaMuestras.size())));
    table.close();

    QVERIFY(table.open(QIODevice::WriteOnly | QIODevice::Append));
    table.write("x");
    table.close();
    QCOMPARE(PrepararCarpeta(folder), QString());
    QCOMPARE(QFileInfo(table).size(), qint64(171));

    const QString other = base.filePath("otra");
    QVERIFY(QDir().mkpath(other));
    QFile lower(other + "/Muestras.dbf");
    QVERIFY(lower.open(QIODevice::WriteOnly));
    lower.write("y");
    lower.close();
    QCOMPARE(PrepararCarpeta(other), QString());
    QCOMPARE(QDir(other).entryList(QDir::Files), QStringList{"Muestras.dbf"});
    QCOMPARE(QFileInfo(lower).size(), qint64(1));

    QFile file(base.filePath("fichero"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("z");
    file.close();
    QVERIFY(PrepararCarpeta(file.fileName()).contains("no es una carpeta"));
    QCOMPARE(QFileInfo(file).size(), qint64(1));

    // A desktop entry cannot expand ~; the option does.
    QCOMPARE(LeerOpciones({"velmoranta", "--carpeta", "~/Velmoranta"}).carpeta,
             QDir::homePath() + "/Velmoranta");
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
