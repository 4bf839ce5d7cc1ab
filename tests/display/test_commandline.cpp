#include "CommandLine.h"

#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void options_data();
    void options();
};

void CommandLineTest::options_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("fails");
    using P = Opciones::Puerto;
    QTest::newRow("none: first parallel port") << QStringList{} << int(P::Ppdev) << "/dev/parport0" << false;
    QTest::newRow("another device") << QStringList{"--port", "/dev/parport1"} << int(P::Ppdev) << "/dev/parport1" << false;
    QTest::newRow("direct") << QStringList{"--direct-io"} << int(P::DirectIo) << "/dev/parport0" << false;
    QTest::newRow("simulated") << QStringList{"--simulate"} << int(P::Simulado) << "/dev/parport0" << false;
    QTest::newRow("two choices") << QStringList{"--simulate", "--direct-io"} << 0 << "" << true;
    QTest::newRow("unknown option") << QStringList{"--fast"} << 0 << "" << true;
    QTest::newRow("stray argument") << QStringList{"MUESTRAS.DBF"} << 0 << "" << true;
    QTest::newRow("port without device") << QStringList{"--port"} << 0 << "" << true;
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

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
