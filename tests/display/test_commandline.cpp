#include "../samplefiles/TablaDePrueba.h"
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
    void refusedClaimIsReportedNotWaitedFor();
    void newTableOption();
    void folderOfItsOwn();
    void startsAndEndsCleanly();
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
    // The reason is Spanish too, not the C library's English.
    QVERIFY2(abierto.aviso.contains(": no existe."), qPrintable(abierto.aviso));
    AdcLink link(*abierto.port);
    QCOMPARE(link.LeerSensor1(), std::uint8_t{0});
    QCOMPARE(link.LeerSensor2(), std::uint8_t{0});

    o.puerto = Opciones::Puerto::Simulado;
    QVERIFY(AbrirPuerto(o).aviso.isEmpty());
}

// A port taken by another program, which may hold it for ever, or by another driver, which no
// module load cures; /dev/null opens like a device and the claim is the test's.
void CommandLineTest::refusedClaimIsReportedNotWaitedFor() {
    Opciones o;
    o.dispositivo = "/dev/null";
    for (const bool held : {true, false}) {
        const QString aviso = AbrirPuerto(o, [held](int) {
                                  // pause() sleeps until a signal, as the kernel's claim of a port
                                  // that stays taken.
                                  return held ? LlamadaConLimite([] { return ::pause(); },
                                                                 std::chrono::milliseconds(20))
                                              : ENXIO;
                              }).aviso;
        QVERIFY2(aviso.contains(held ? "otro programa" : "otro controlador") &&
                     aviso.contains("--simulate") && !aviso.contains("modprobe ppdev"),
                 qPrintable(aviso));
    }
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

// Started from the menu: the folder is made with a fresh default table; a table already there,
// in any letter case, is kept; a file in the folder's place is refused; ~ is expanded.
void CommandLineTest::folderOfItsOwn() {
    QTemporaryDir base;
    const QString folder = base.filePath("Velmoranta/datos");
    QCOMPARE(PrepararCarpeta(folder), QString());
    QCOMPARE(LeerFichero(folder + "/MUESTRAS.DBF").size(), qsizetype(PlantillaMuestras.size()));

    const QString other = base.filePath("otra");
    QVERIFY(QDir().mkpath(other) && EscribirFichero(other + "/Muestras.dbf", "y"));
    QCOMPARE(PrepararCarpeta(other), QString());
    QCOMPARE(QDir(other).entryList(QDir::Files), QStringList{"Muestras.dbf"});
    QCOMPARE(LeerFichero(other + "/Muestras.dbf"), QByteArray("y"));

    const QString file = base.filePath("fichero");
    QVERIFY(EscribirFichero(file, "z"));
    QVERIFY(PrepararCarpeta(file).contains("no es una carpeta"));
    QCOMPARE(LeerFichero(file), QByteArray("z"));

    QCOMPARE(LeerOpciones({"velmoranta", "--carpeta", "~/Velmoranta"}).carpeta,
             QDir::homePath() + "/Velmoranta");
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_commandline.moc"

// The whole start, with the font work on a thread of its own, reaches the first picture of
// the table and then ends without a hang or a crash.
void CommandLineTest::startsAndEndsCleanly() {
    QTemporaryDir dir;
    QCOMPARE(QProcess::execute(QStringLiteral(VELMORANTA_PROGRAM),
                               {"--nueva-tabla", dir.filePath("MUESTRAS.DBF")}),
             0);
    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELMORANTA_AVISAR_LISTO", "1");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VELMORANTA_PROGRAM), {"--simulate"});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(program.readAllStandardOutput(), QByteArray("listo\n"));
}
