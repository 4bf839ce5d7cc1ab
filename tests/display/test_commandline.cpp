#include "AdcLink.h"
#include "CommandLine.h"
#include "PlantillaMuestras.h"
#include "PortChoice.h"
#include "PortIo.h"

#include <QProcess>
#include <QTemporaryDir>

#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void options_data();
    void options();
    void unopenablePortIsReportedOnce();
    void newTableOption();
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

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
