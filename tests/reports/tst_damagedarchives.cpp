#include "common/TempProgramFolder.h"
#include "lists/ListLines.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/RecordFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

// Records of random bytes: random length bytes (often larger than the capacity) and random
// text. Most fields are then overwritten with readable values (a number, or a date for the
// date field) so that the scans get past the first records, and every tenth record is left
// wholly garbage. Deterministic for a seed.
QByteArray damagedArchive(const RecordLayout &layout, int records, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(qsizetype(records) * layout.recordSize(), '\0');
    for (char &b : bytes)
        b = char(random.bounded(256));
    for (int r = 0; r < records; ++r) {
        if (random.bounded(10) == 0)
            continue;
        char *record = bytes.data() + qsizetype(r) * layout.recordSize();
        for (int f = 0; f < layout.fieldCount(); ++f) {
            if (random.bounded(20) == 0)
                continue; // this field stays garbage
            const QByteArray text = layout.fieldName(f) == u"Data" ? QByteArray("05/03/2021")
                                                                   : QByteArray::number(r) + ",5";
            const int length = std::min<int>(layout.field(f).capacity, int(text.size()));
            record[layout.offset(f)] = char(length);
            std::copy_n(text.constData(), length, record + layout.offset(f) + 1);
        }
    }
    // A partial record at the end, as after an interrupted copy.
    bytes += QByteArray(int(random.bounded(layout.recordSize())), 'x');
    return bytes;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

// Archives damaged on disk must never crash a list nor give more lines than records.
class TestDamagedArchives : public QObject
{
    Q_OBJECT
private slots:
    void productLists_data();
    void productLists();
    void movementList_data();
    void movementList();
};

void TestDamagedArchives::productLists_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 12; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void TestDamagedArchives::productLists()
{
    QFETCH(quint32, seed);
    TempProgramFolder folder;
    const RecordLayout &layout = ProductRecord::layout();
    const int records = 40;
    write(folder.filePath(QString::fromLatin1(ProductRecord::kFileName)),
        damagedArchive(layout, records, seed));

    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QCOMPARE(file.recordCount(), records);

    // Every field reads back within its capacity whatever its length byte says.
    Record record(layout);
    while (!file.atEnd()) {
        QVERIFY(file.readNext(record));
        for (int f = 0; f < layout.fieldCount(); ++f)
            QVERIFY(record.value(f).size() <= layout.field(f).capacity);
    }

    file.seek(0);
    const StockLists::Inventory inventory = StockLists::inventoryLines(file, QString());
    QVERIFY(inventory.lines.size() <= records);
    file.seek(0);
    const ListLines::Scan under = StockLists::underStockLines(file);
    QVERIFY(under.lines.size() <= records);

    // Reopening any listed line finds a record whose own line is that line.
    if (!inventory.lines.isEmpty()) {
        const auto build = ListLines::lineBuilder(StockLists::inventoryColumns(), layout);
        const auto found = ListLines::reopenByLine(file, layout, inventory.lines.first(), build);
        QVERIFY(found.has_value());
    }
}

void TestDamagedArchives::movementList_data()
{
    productLists_data();
}

void TestDamagedArchives::movementList()
{
    QFETCH(quint32, seed);
    TempProgramFolder folder;
    const RecordLayout &layout = MovementRecord::layout();
    const int records = 200;
    write(
        folder.filePath(QStringLiteral("Carico_2021.mrv")), damagedArchive(layout, records, seed));

    RecordFile file;
    QVERIFY(file.open(MovementRecord::archiveNamed(QStringLiteral("Carico_2021.mrv"))));
    const StockLists::Movements all = StockLists::movementLines(
        file, MovementRecord::Kind::Load, QString(), QDate(2021, 1, 1), QDate(2021, 12, 31));
    QVERIFY(all.lines.size() <= records);
    file.seek(0);
    const StockLists::Movements filtered = StockLists::movementLines(file,
        MovementRecord::Kind::Load, QStringLiteral("5"), QDate(2021, 1, 1), QDate(2021, 12, 31));
    QVERIFY(filtered.lines.size() <= records);
}

QTEST_APPLESS_MAIN(TestDamagedArchives)
#include "tst_damagedarchives.moc"
