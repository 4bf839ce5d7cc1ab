#include "FileStorage.h"
#include "FileStorageErrors.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

/// A record's byte count, little-endian.
QByteArray CountBytes(quint32 n) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(n >> (8 * i));
    }
    return bytes;
}

/// Fills a storage's block from a "FileData" record.
void Give(TFileStorage& storage, const QByteArray& bytes) {
    QDataStream in(CountBytes(static_cast<quint32>(bytes.size())) + bytes);
    storage.ReadFileData(in);
}

} // namespace

class TstFileStorage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

private slots:
    void loadReadsTheWholeFile() {
        const QByteArray bytes("RIFF\0\0\x01\xff", 8);
        WriteFile(Path("entera.wav"), bytes);
        TFileStorage storage;
        QList<bool> heard;
        storage.OnLoad = [&](TCustomFileStorage* sender, bool ok) {
            QCOMPARE(sender, &storage);
            heard << ok;
        };
        QVERIFY(storage.LoadFromFile(Path("entera.wav")));
        QCOMPARE(storage.Data(), bytes);
        QCOMPARE(storage.DataSize(), 8u);
        QCOMPARE(heard, QList<bool>{true});
    }

    void loadOfMissingFileEmptiesQuietly() {
        TFileStorage storage;
        Give(storage, "previo");
        QList<bool> heard;
        storage.OnLoad = [&](TCustomFileStorage*, bool ok) { heard << ok; };
        QVERIFY(!storage.LoadFromFile(Path("no-existe.wav")));
        QCOMPARE(storage.DataSize(), 0u);
        QVERIFY(storage.Data().isEmpty());
        QVERIFY(!storage.LoadFromFile(QString()));
        QCOMPARE(heard, (QList<bool>{false, false}));
    }

    void loadOfUnreadableFileRaises() {
        // A directory exists under the name but cannot be read as a file.
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("carpeta.wav")));
        TFileStorage storage;
        Give(storage, "previo");
        QList<bool> heard;
        storage.OnLoad = [&](TCustomFileStorage*, bool ok) { heard << ok; };
        const QString name = Path("carpeta.wav");
        try {
            storage.LoadFromFile(name);
            QFAIL("no error raised");
        } catch (const EFileStorage& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Can not load data from the \"%1\" file").arg(name));
        }
        QCOMPARE(heard, QList<bool>{false});
        QCOMPARE(storage.DataSize(), 0u);
        QVERIFY(storage.Data().isEmpty());
    }

    void saveWritesTheBlock() {
        TFileStorage storage;
        Give(storage, QByteArray("\x00\x01\x02", 3));
        QList<bool> heard;
        storage.OnSave = [&](TCustomFileStorage*, bool ok) { heard << ok; };
        int asked = 0;
        storage.OnConfirmOverride = [&](TCustomFileStorage*, bool&) { ++asked; };
        QVERIFY(storage.SaveToFile(Path("nuevo.bin")));
        QCOMPARE(ReadFile(Path("nuevo.bin")), QByteArray("\x00\x01\x02", 3));
        QCOMPARE(asked, 0); // nothing to override yet
        QCOMPARE(heard, QList<bool>{true});
    }

    void saveOverExistingFileAsksFirst_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("declined") << false;
        QTest::newRow("accepted") << true;
    }
    void saveOverExistingFileAsksFirst() {
        QFETCH(bool, answer);
        const QString name = Path(answer ? "existe-si.bin" : "existe-no.bin");
        WriteFile(name, "contenido anterior, mas largo");
        TFileStorage storage;
        Give(storage, "nuevo");
        QList<bool> heard;
        storage.OnSave = [&](TCustomFileStorage*, bool ok) { heard << ok; };
        storage.OnConfirmOverride = [&](TCustomFileStorage* sender, bool& overrideFile) {
            QCOMPARE(sender, &storage);
            QVERIFY(overrideFile); // offered as True
            overrideFile = answer;
        };
        QCOMPARE(storage.SaveToFile(name), answer);
        QCOMPARE(ReadFile(name),
                 answer ? QByteArray("nuevo") : QByteArray("contenido anterior, mas largo"));
        QCOMPARE(heard, QList<bool>{answer});
    }

    void saveThatCannotWriteRaises() {
        TFileStorage storage;
        Give(storage, "datos");
        QList<bool> heard;
        storage.OnSave = [&](TCustomFileStorage*, bool ok) { heard << ok; };
        const QString name = Path("no/hay/carpeta.bin");
        try {
            storage.SaveToFile(name);
            QFAIL("no error raised");
        } catch (const EFileStorage& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Can not save data to the \"%1\" file").arg(name));
        }
        QCOMPARE(heard, QList<bool>{false});
        QCOMPARE(storage.Data(), QByteArray("datos"));
    }

    void fileDataRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one byte") << QByteArray("\x80", 1);
        QByteArray image(4404, '\0');
        for (int i = 0; i < image.size(); ++i) {
            image[i] = static_cast<char>(i * 7);
        }
        QTest::newRow("size of diez") << image;
    }
    void fileDataRoundTrip() {
        QFETCH(QByteArray, bytes);
        TFileStorage source;
        Give(source, bytes);
        QByteArray record;
        {
            // The stream's own order is big-endian; the record is little-endian all the same.
            QDataStream out(&record, QIODevice::WriteOnly);
            source.WriteFileData(out);
            out << quint16(0x0102);
        }
        QCOMPARE(record.size(), bytes.size() + 4 + 2);
        const auto n = static_cast<quint32>(bytes.size());
        QCOMPARE(record.left(4), CountBytes(n));
        QCOMPARE(record.mid(4, bytes.size()), bytes);
        QCOMPARE(record.right(2), QByteArray("\x01\x02", 2)); // caller's order kept

        TFileStorage target;
        Give(target, "previo");
        QDataStream in(record);
        target.ReadFileData(in);
        QCOMPARE(target.Data(), bytes);
        QCOMPARE(target.DataSize(), n);
        quint16 after = 0;
        in >> after;
        QCOMPARE(after, quint16(0x0102));
    }

    void fileDataWithNoBytesReadsOnlyTheCount_data() {
        QTest::addColumn<QByteArray>("count");
        QTest::newRow("zero") << QByteArray("\0\0\0\0", 4);
        QTest::newRow("negative") << QByteArray("\xff\xff\xff\xff", 4);
        QTest::newRow("below int min") << QByteArray("\0\0\0\x80", 4);
    }
    void fileDataWithNoBytesReadsOnlyTheCount() {
        QFETCH(QByteArray, count);
        QByteArray record = count + "siguiente";
        QBuffer buffer(&record);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QDataStream in(&buffer);
        TFileStorage storage;
        Give(storage, "previo");
        storage.ReadFileData(in);
        QCOMPARE(storage.DataSize(), 0u);
        QVERIFY(storage.Data().isEmpty());
        QCOMPARE(buffer.pos(), 4);
    }

    void truncatedFileDataRaises_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("count cut short") << QByteArray("\x05\x00", 2);
        QTest::newRow("bytes cut short") << QByteArray("\x05\0\0\0abc", 7);
        QTest::newRow("huge count") << QByteArray("\xff\xff\xff\x7f"
                                                  "abc",
                                                  7);
    }
    void truncatedFileDataRaises() {
        QFETCH(QByteArray, record);
        TFileStorage storage;
        Give(storage, "previo");
        QDataStream in(record);
        QVERIFY_THROWS_EXCEPTION(EReadError, storage.ReadFileData(in));
        QCOMPARE(storage.DataSize(), 0u);
    }

    void loadedSavesOnlyWithAutoSaveAtRunTime_data() {
        QTest::addColumn<bool>("autoSave");
        QTest::addColumn<bool>("designing");
        QTest::addColumn<bool>("saved");
        QTest::newRow("off") << false << false << false;
        QTest::newRow("on") << true << false << true;
        QTest::newRow("on, in designer") << true << true << false;
    }
    void loadedSavesOnlyWithAutoSaveAtRunTime() {
        QFETCH(bool, autoSave);
        QFETCH(bool, designing);
        QFETCH(bool, saved);
        const QString name =
            Path(QTest::currentDataTag() == QByteArray("on") ? "auto-on.bin" : "auto-other.bin");
        QFile::remove(name);
        TFileStorage storage;
        Give(storage, "auto");
        storage.SetAutoSave(autoSave);
        storage.SetSaveName(name);
        storage.SetDesigning(designing);
        storage.Loaded();
        QCOMPARE(QFile::exists(name), saved);
    }
};

QTEST_GUILESS_MAIN(TstFileStorage)
#include "tst_filestorage.moc"
