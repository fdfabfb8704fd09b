#include "common/TempProgramFolder.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"
#include "storage/ShortString.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QByteArray productBytes(const QString &code)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Note, QStringLiteral("nota di ") + code);
    return r.encode();
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Gives the file a time of last change long past, always the same one: then only the
// rest of the stamp can tell one content from another.
bool settle(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite)
        && f.setFileTime(
            QDateTime(QDate(2020, 1, 1), QTime(8, 0), Qt::UTC), QFileDevice::FileModificationTime);
}

QByteArray stampOf(const QString &path)
{
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout(), RecordFile::Access::ReadOnly))
        return QByteArrayLiteral("not opened");
    return file.contentStamp();
}

} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT
private slots:
    void layoutsMatchTheFilesOnDisk_data();
    void layoutsMatchTheFilesOnDisk();
    void openCreatesMissingFileEmpty();
    void openNeverEmptiesAnExistingFile();
    void partialTrailingRecordIsNotCounted();
    void writeReadAndRewriteInPlace();
    void sequentialReadingCrossesBlocks();
    void sequentialReadingSeesRewrites();
    void readPastTheEndFails();
    void writeBeyondTheEndFails();
    void damagedLengthBytesAreClamped();
    void unopenableFileIsAnError();
    void missingFolderIsAnError();
    void contentStampFollowsEveryChange_data();
    void contentStampFollowsEveryChange();
    void contentStampOfAFileJustWrittenIsUnknown();
};

void TestRecordFile::layoutsMatchTheFilesOnDisk_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("product");
    const struct
    {
        const char *field;
        int offset;
        bool product;
    } rows[] = {
        { "Codice", 0, true },
        { "Tipologia", 31, true },
        { "Recapiti", 1537, true },
        { "Costo", 1639, true },
        { "PercIva", 2189, true },
        { "Prezzo_con_Iva", 2192, true },
        { "Giacenza", 2459, true },
        { "Consumo", 2491, true },
        { "Note", 2615, true },
        { "File01", 2866, true },
        { "CartellaDesc", 4623, true },
        { "Data", 0, false },
        { "Ora", 11, false },
        { "Codice", 20, false },
        { "Tipologia", 51, false },
        { "Importo", 204, false },
        { "Quantita", 220, false },
        { "Note", 231, false },
    };
    for (const auto &r : rows) {
        QTest::addRow("%s %s", r.field, r.product ? "product" : "movement")
            << QString::fromLatin1(r.field) << r.offset << r.product;
    }
}

void TestRecordFile::layoutsMatchTheFilesOnDisk()
{
    QFETCH(QString, field);
    QFETCH(int, offset);
    QFETCH(bool, product);
    const RecordLayout &layout = product ? ProductRecord::layout() : MovementRecord::layout();
    QCOMPARE(layout.recordSize(), product ? 4874 : 482);
    const int i = layout.indexOf(field);
    QVERIFY(i >= 0);
    QCOMPARE(layout.offset(i), offset);

    // The encoded record puts the field's length byte and text exactly there.
    Record r(layout);
    r.setValue(i, QStringLiteral("XY"));
    const QByteArray bytes = r.encode();
    QCOMPARE(bytes.size(), layout.recordSize());
    QCOMPARE(bytes.mid(offset, 3), QByteArray("\x02XY"));
}

void TestRecordFile::openCreatesMissingFileEmpty()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QCOMPARE(file.recordCount(), 0);
    QVERIFY(file.atEnd());
    file.close();
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("Magazzino.mrv"))));
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("Magazzino.mrv"))).size(), 0);

    // Appending to the empty file gives position 1 (index 0).
    QVERIFY(file.open(ProductRecord::archive()));
    QVERIFY(file.append(productBytes(QStringLiteral("A1"))));
    QCOMPARE(file.recordCount(), 1);
    QCOMPARE(file.currentIndex(), 1);
}

void TestRecordFile::openNeverEmptiesAnExistingFile()
{
    TempProgramFolder folder;
    const QByteArray two = productBytes(QStringLiteral("A")) + productBytes(QStringLiteral("B"));
    writeRaw(folder.filePath(QStringLiteral("Magazzino.mrv")), two);
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        QCOMPARE(file.recordCount(), 2);
    }
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.mrv")), two);
}

void TestRecordFile::partialTrailingRecordIsNotCounted()
{
    TempProgramFolder folder;
    const int size = ProductRecord::kRecordSize;
    QByteArray bytes;
    for (int i = 0; i < 3; ++i)
        bytes += productBytes(QString::number(i));
    bytes += QByteArray(100, 'z');
    writeRaw(folder.filePath(QStringLiteral("Magazzino.mrv")), bytes);

    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QCOMPARE(file.recordCount(), 3);
    QVERIFY(file.append(productBytes(QStringLiteral("nuovo"))));
    file.close();

    const QByteArray after = folder.readAll(QStringLiteral("Magazzino.mrv"));
    QCOMPARE(after.size(), 4 * size);
    QCOMPARE(after.left(3 * size), bytes.left(3 * size));
    QCOMPARE(after.mid(14622), productBytes(QStringLiteral("nuovo")));
}

void TestRecordFile::writeReadAndRewriteInPlace()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    for (const char *code : { "A", "B", "C" })
        QVERIFY(file.append(productBytes(QString::fromLatin1(code))));
    QVERIFY(file.writeAt(1, productBytes(QStringLiteral("B2"))));
    QCOMPARE(file.currentIndex(), 2);
    QCOMPARE(file.recordCount(), 3);

    // The write reached the file itself, not a buffer of this process.
    const QByteArray onDisk = folder.readAll(QStringLiteral("Magazzino.mrv"));
    QCOMPARE(onDisk.mid(ProductRecord::kRecordSize, ProductRecord::kRecordSize),
        productBytes(QStringLiteral("B2")));

    Record r(ProductRecord::layout());
    QVERIFY(file.readAt(1, r));
    QCOMPARE(r.value(ProductRecord::Codice), QStringLiteral("B2"));
    QCOMPARE(r.value(QStringView(u"Note")), QStringLiteral("nota di B2"));
    QVERIFY(file.readAt(2, r));
    QCOMPARE(r.value(ProductRecord::Codice), QStringLiteral("C"));
    QCOMPARE(file.currentIndex(), 3);
}

void TestRecordFile::sequentialReadingCrossesBlocks()
{
    TempProgramFolder folder;
    // Movement records are small, so 3000 of them span several read blocks.
    const int count = 3000;
    QByteArray bytes;
    Record m(MovementRecord::layout());
    for (int i = 0; i < count; ++i) {
        m.setValue(MovementRecord::Codice, QString::number(i));
        bytes += m.encode();
    }
    writeRaw(folder.filePath(QStringLiteral("Carico_2021.mrv")), bytes + QByteArray(7, 'x'));

    RecordFile file;
    QVERIFY(file.open(MovementRecord::archiveNamed(QStringLiteral("Carico_2021.mrv"))));
    int seen = 0;
    while (!file.atEnd()) {
        QVERIFY(file.readNext(m));
        QCOMPARE(m.value(MovementRecord::Codice), QString::number(seen));
        ++seen;
    }
    QCOMPARE(seen, count);
    QVERIFY(!file.readNext(m));
}

void TestRecordFile::sequentialReadingSeesRewrites()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QVERIFY(file.append(productBytes(QStringLiteral("A"))));
    QVERIFY(file.append(productBytes(QStringLiteral("B"))));
    file.seek(0);
    QByteArray bytes;
    QVERIFY(file.readNext(bytes)); // fills the read block with both records
    QVERIFY(file.writeAt(1, productBytes(QStringLiteral("B2"))));
    file.seek(1);
    QVERIFY(file.readNext(bytes));
    QCOMPARE(LoadField(QByteArrayView(bytes).sliced(0, 31), 30), QStringLiteral("B2"));
}

void TestRecordFile::readPastTheEndFails()
{
    TempProgramFolder folder;
    writeRaw(folder.filePath(QStringLiteral("Magazzino.mrv")),
        productBytes(QStringLiteral("A")) + QByteArray(10, 'x'));
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QByteArray bytes;
    QVERIFY(file.readAt(0, bytes));
    QVERIFY(!file.readAt(1, bytes)); // only a partial record is there
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(!file.readAt(-1, bytes));
}

void TestRecordFile::writeBeyondTheEndFails()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QVERIFY(!file.writeAt(1, productBytes(QStringLiteral("A")))); // would leave a hole
    QVERIFY(!file.append(QByteArray(10, 'x'))); // not a whole record
    file.close();
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("Magazzino.mrv"))).size(), 0);
}

void TestRecordFile::damagedLengthBytesAreClamped()
{
    TempProgramFolder folder;
    QByteArray bytes = productBytes(QStringLiteral("CODICE"));
    bytes[0] = char(0xFF); // Codice: length 255 > capacity 30
    bytes[2189] = char(0xFF); // PercIva: length 255 > capacity 2
    writeRaw(folder.filePath(QStringLiteral("Magazzino.mrv")), bytes);

    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    Record r(ProductRecord::layout());
    QVERIFY(file.readAt(0, r));
    QCOMPARE(r.value(ProductRecord::Codice).size(), 6); // the text, then zero bytes trimmed
    QVERIFY(r.value(ProductRecord::PercIva).size() <= 2);
    QCOMPARE(r.value(ProductRecord::Tipologia), QString()); // the next field is untouched
}

void TestRecordFile::unopenableFileIsAnError()
{
    TempProgramFolder folder;
    // A folder in the place of the archive cannot be opened as a file.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Magazzino.mrv")));
    RecordFile file;
    QVERIFY(!file.open(ProductRecord::archive()));
    QVERIFY(!file.isOpen());
    QCOMPARE(file.recordCount(), 0);
    QByteArray bytes;
    QVERIFY(!file.readNext(bytes));
    QVERIFY(!file.append(productBytes(QStringLiteral("A"))));
}

void TestRecordFile::missingFolderIsAnError()
{
    TempProgramFolder folder;
    ProgramFolder::setPath(folder.filePath(QStringLiteral("non/esiste")));
    RecordFile file;
    QVERIFY(!file.open(ProductRecord::archive()));
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("non/esiste/Magazzino.mrv"))));
    QVERIFY(accessErrorText().startsWith(QStringLiteral("Attenzione: il sistema non permette")));
    QVERIFY(accessErrorText().contains(QStringLiteral("archivio.\n\r\n\rAccertarsi")));
}

void TestRecordFile::contentStampFollowsEveryChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("nothing") << "";
    QTest::newRow("rewrite in place, same size") << "rewrite";
    QTest::newRow("append") << "append";
    QTest::newRow("another file put in its place") << "replace";
}

void TestRecordFile::contentStampFollowsEveryChange()
{
    QFETCH(QString, change);
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("Magazzino.mrv"));
    RecordFile writer;
    QVERIFY(writer.openPath(path, ProductRecord::layout()));
    for (const char *code : { "A", "B", "C" })
        QVERIFY(writer.append(productBytes(QString::fromLatin1(code))));
    QVERIFY(settle(path));
    const QByteArray before = stampOf(path);
    QVERIFY(!before.isEmpty());
    if (change == u"rewrite") {
        QVERIFY(writer.writeAt(1, productBytes(QStringLiteral("Z"))));
    } else if (change == u"append") {
        QVERIFY(writer.append(productBytes(QStringLiteral("D"))));
    } else if (change == u"replace") {
        const QString other = folder.filePath(QStringLiteral("nuovo.mrv"));
        writeRaw(other,
            productBytes(QStringLiteral("A")) + productBytes(QStringLiteral("Z"))
                + productBytes(QStringLiteral("C")));
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(other, path));
    }
    // The same time of last change as before, whatever the change (set again only after a
    // change: setting it is itself a change of the file's metadata).
    if (!change.isEmpty())
        QVERIFY(settle(path));
    const QByteArray after = stampOf(path);
    QVERIFY(!after.isEmpty());
    QCOMPARE(after == before, change.isEmpty());
    // Asked again with nothing changed, the stamp stays.
    QCOMPARE(stampOf(path), after);
}

void TestRecordFile::contentStampOfAFileJustWrittenIsUnknown()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("Magazzino.mrv"));
    RecordFile writer;
    QVERIFY(writer.openPath(path, ProductRecord::layout()));
    QVERIFY(writer.append(productBytes(QStringLiteral("A"))));
    // Another copy could write again within the same tick of the file system's clock.
    QCOMPARE(stampOf(path), QByteArray());
    QVERIFY(settle(path));
    QVERIFY(!stampOf(path).isEmpty());
    RecordFile closed;
    QCOMPARE(closed.contentStamp(), QByteArray());
}

QTEST_APPLESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
