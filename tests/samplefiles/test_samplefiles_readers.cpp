// The tables the program writes are checked with readers that share no code with it, and
// the program reads tables those tools write.

#include "DBase3Plus.h"
#include "PlantillaMuestras.h"
#include "TablaAlmacen.h"
#include "TablaDePrueba.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

struct Par {
    int v1;
    int v2;
    bool operator==(const Par&) const = default;
};

char* toString(const Par& p) {
    return QTest::toString(QStringLiteral("(%1, %2)").arg(p.v1).arg(p.v2));
}

/// Output of a finished tool, or nothing when it could not run or failed.
std::optional<QByteArray> Ejecutar(const QString& program, const QStringList& args,
                                   QByteArray* errors = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (errors) {
            *errors = p.readAllStandardError();
        }
        return std::nullopt;
    }
    return p.readAllStandardOutput();
}

/// The Python that has the distribution's dbfread; a private interpreter may shadow it.
QString PythonConDbfread() {
    QStringList candidatos;
    if (QFileInfo(QStringLiteral("/usr/bin/python3")).isExecutable()) {
        candidatos << QStringLiteral("/usr/bin/python3");
    }
    const QString enPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (!enPath.isEmpty()) {
        candidatos << enPath;
    }
    for (const QString& python : candidatos) {
        if (Ejecutar(python, {QStringLiteral("-c"), QStringLiteral("import dbfread")})) {
            return python;
        }
    }
    return {};
}

const char* const kLectorDbfread = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], load=True)
print(t.header.numrecords, ' '.join(f.name + ':' + f.type + str(f.length) for f in t.fields))
for r in t.records:
    print(r['VALOR'], r['VALOR2'])
)";

/// VALOR and VALOR2 of every feature ogrinfo lists, in order.
std::vector<Par> ParesDeOgrinfo(const QByteArray& salida) {
    std::vector<Par> pares;
    const QRegularExpression valor(QStringLiteral(R"(^\s+(VALOR2?) \(Integer\) = (\S+))"),
                                   QRegularExpression::MultilineOption);
    auto it = valor.globalMatch(QString::fromUtf8(salida));
    while (it.hasNext()) {
        const auto m = it.next();
        const int v = m.captured(2).toInt();
        if (m.captured(1) == QStringLiteral("VALOR")) {
            pares.push_back({v, -1});
        } else if (!pares.empty()) {
            pares.back().v2 = v;
        }
    }
    return pares;
}

} // namespace

class TestSampleFileReaders : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString python_;
    QString ogrinfo_;
    QString ogr2ogr_;

    QString Ruta(const QString& name) const { return dir_.filePath(name); }

    /// Saves a store of `contador` readings into a new table the program's way and returns
    /// what each record holds, the template's record 4 included.
    std::vector<Par> GuardarTablaDelPrograma(const QString& path, int contador) {
        auto store = std::make_unique<SampleStore>();
        const int lecturas[] = {0, 47, 100, 255, 1, 99, 254, 10};
        for (int k = 0; k <= LimiteMuestras; ++k) {
            store->Sensor1[k] = lecturas[k % 8];
            store->Sensor2[k] = lecturas[(k + 3) % 8];
        }
        store->Contador = contador;
        EscribirPlantilla(path);
        TDBase3Plus tabla;
        tabla.SetFileName(path);
        tabla.Open();
        EscribirAlmacen(tabla, *store);
        std::vector<Par> esperado;
        for (int k = 0; k < std::max(contador, 5); ++k) {
            esperado.push_back(k == 4 ? Par{0, 0} : Par{store->Sensor1[k], store->Sensor2[k]});
        }
        return esperado;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        python_ = PythonConDbfread();
        ogrinfo_ = QStandardPaths::findExecutable(QStringLiteral("ogrinfo"));
        ogr2ogr_ = QStandardPaths::findExecutable(QStringLiteral("ogr2ogr"));
    }

    void dbfreadReadsASavedTable_data() {
        QTest::addColumn<int>("contador");
        QTest::newRow("fewer than the template") << 3;
        QTest::newRow("appended records") << 12;
        QTest::newRow("full store") << int(LimiteMuestras);
    }

    void dbfreadReadsASavedTable() {
        QFETCH(int, contador);
        if (python_.isEmpty()) {
            QSKIP("python3 with dbfread (Debian package python3-dbfread) is not installed");
        }
        const QString path = Ruta(QStringLiteral("PY%1.DBF").arg(contador));
        std::vector<Par> esperado = GuardarTablaDelPrograma(path, contador);
        QByteArray errors;
        const auto salida = Ejecutar(
            python_, {QStringLiteral("-c"), QString::fromLatin1(kLectorDbfread), path}, &errors);
        QVERIFY2(salida, errors.constData());
        QList<QByteArray> lineas = salida->trimmed().split('\n');
        QCOMPARE(lineas.takeFirst(),
                 QByteArray::number(esperado.size()) + " VALOR:N3 VALOR2:N3 UNIDAD:C1");
        // Record 4 keeps the template's flag byte '0', which this reader takes for neither a
        // live nor a deleted record and skips.
        esperado.erase(esperado.begin() + 4);
        QCOMPARE(lineas.size(), qsizetype(esperado.size()));
        for (qsizetype i = 0; i < lineas.size(); ++i) {
            const QList<QByteArray> v = lineas[i].split(' ');
            QCOMPARE(v.size(), 2);
            QCOMPARE((Par{v[0].toInt(), v[1].toInt()}), esperado[std::size_t(i)]);
        }
    }

    void ogrinfoReadsASavedTable() {
        if (ogrinfo_.isEmpty()) {
            QSKIP("ogrinfo (Debian package gdal-bin) is not installed");
        }
        const QString path = Ruta(QStringLiteral("gdal.dbf"));
        const std::vector<Par> esperado = GuardarTablaDelPrograma(path, 300);
        QByteArray errors;
        const auto salida = Ejecutar(
            ogrinfo_, {QStringLiteral("-al"), QStringLiteral("-q"), QStringLiteral("-ro"), path},
            &errors);
        QVERIFY2(salida, errors.constData());
        const std::vector<Par> leidos = ParesDeOgrinfo(*salida);
        QCOMPARE(leidos.size(), esperado.size());
        for (std::size_t i = 0; i < leidos.size(); ++i) {
            QCOMPARE(leidos[i], esperado[i]);
        }
    }

    void programLoadsATableGdalWrote() {
        if (ogr2ogr_.isEmpty()) {
            QSKIP("ogr2ogr (Debian package gdal-bin) is not installed");
        }
        const std::vector<Par> lecturas{{80, 255}, {5, 47}, {47, 100}, {100, 0},
                                        {255, 1},  {3, 4},  {9, 9}};
        QByteArray csv = "VALOR,VALOR2,UNIDAD\n";
        for (const Par& p : lecturas) {
            csv += QByteArray::number(p.v1) + ',' + QByteArray::number(p.v2) + ",C\n";
        }
        QVERIFY(EscribirFichero(Ruta("origen.csv"), csv));
        QVERIFY(
            EscribirFichero(Ruta("origen.csvt"), R"csv("Integer(3)","Integer(3)","String(1)")csv"));
        const QString path = Ruta(QStringLiteral("desde_gdal.dbf"));
        QByteArray errors;
        QVERIFY2(Ejecutar(ogr2ogr_,
                          {QStringLiteral("-f"), QStringLiteral("ESRI Shapefile"), path,
                           Ruta(QStringLiteral("origen.csv"))},
                          &errors),
                 errors.constData());
        const QByteArray bytes = LeerFichero(path);
        QCOMPARE(bytes.mid(129 + 1, 3), QByteArray(" 80")); // right-aligned, as GDAL writes
        QCOMPARE(bytes.back(), '\x1A');

        TDBase3Plus tabla;
        tabla.SetFileName(path);
        tabla.Open();
        QCOMPARE(tabla.RecordCount(), 7);
        auto store = std::make_unique<SampleStore>();
        CargarTabla(tabla, *store);
        QCOMPARE(store->Contador, 7);
        for (std::size_t k = 0; k + 1 < lecturas.size(); ++k) {
            QCOMPARE((Par{store->Sensor1[k], store->Sensor2[k]}), lecturas[k]);
        }
    }

    void programLoadsATablePackedByPython() {
        if (python_.isEmpty()) {
            QSKIP("python3 is not installed");
        }
        // Another writer's habits: a language driver byte, right-aligned numbers, padding
        // reserved bytes, 0x1A at the end.
        const char* const escritor = R"(
import struct, sys
rows = [(255, 0), (1, 2), (47, 100), (100, 47), (0, 255)]
fields = [(b'VALOR', b'N', 3), (b'VALOR2', b'N', 3), (b'UNIDAD', b'C', 1)]
out = bytearray(struct.pack('<BBBBIHH17xB2x', 3, 124, 1, 2, len(rows), 32 + 32 * len(fields) + 1, 8, 0x57))
for name, kind, length in fields:
    out += struct.pack('<11sc4xBB14x', name, kind, length, 0)
out += b'\r'
for a, b in rows:
    out += b' ' + str(a).rjust(3).encode() + str(b).rjust(3).encode() + b'K'
out += b'\x1a'
open(sys.argv[1], 'wb').write(out)
)";
        const QString path = Ruta(QStringLiteral("PACKED.DBF"));
        QByteArray errors;
        QVERIFY2(
            Ejecutar(python_, {QStringLiteral("-c"), QString::fromLatin1(escritor), path}, &errors),
            errors.constData());
        TDBase3Plus tabla;
        tabla.SetFileName(path);
        tabla.Open();
        QCOMPARE(tabla.Values[3], QStringLiteral("K"));
        auto store = std::make_unique<SampleStore>();
        CargarTabla(tabla, *store);
        QCOMPARE(store->Contador, 5);
        const std::vector<Par> esperado{{255, 0}, {1, 2}, {47, 100}, {100, 47}};
        for (std::size_t k = 0; k < esperado.size(); ++k) {
            QCOMPARE((Par{store->Sensor1[k], store->Sensor2[k]}), esperado[k]);
        }
    }
};

QTEST_GUILESS_MAIN(TestSampleFileReaders)
#include "test_samplefiles_readers.moc"
