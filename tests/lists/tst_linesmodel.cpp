#include "lists/LinesModel.h"
#include "lists/ListLines.h"
#include "records/ProductRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include "common/TempProgramFolder.h"

#include <QFile>
#include <QTest>

using namespace ListLines;
using namespace Qt::StringLiterals;

// The list model against the lines built record by record from the record texts and
// sorted as a list of strings: the same lines in the same order, the same find and the
// same reopening, on sound, damaged and edge-case archives.
class TestLinesModel : public QObject
{
    Q_OBJECT
private slots:
    void sameAsTheRecordLines_data();
    void sameAsTheRecordLines();
    void rowsOutsideTheListGiveNothing();
    void archiveChangingWhileListed_data();
    void archiveChangingWhileListed();
};

namespace {

// Every kind of column: padded, joined and the tail.
const Columns kColumns = { padded(QString(), ProductRecord::Codice, 12),
    joined(u"  "_s, ProductRecord::Marca, ProductRecord::Modello, 16),
    tail(u"  Valore: € "_s, ProductRecord::Valore) };

QByteArray product(const QString &code, const QString &brand, const QString &value)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Marca, brand);
    r.setValue(ProductRecord::Modello, u"M"_s);
    r.setValue(ProductRecord::Valore, value);
    return r.encode();
}

// The lines of the whole records of an archive's bytes built from their record texts.
QStringList recordLines(const QByteArray &archive)
{
    const qsizetype size = ProductRecord::kRecordSize;
    QStringList lines;
    for (qsizetype at = 0; at + size <= archive.size(); at += size)
        lines << buildLine(kColumns,
            Record::fromBytes(ProductRecord::layout(), QByteArrayView(archive).sliced(at, size)));
    sortLines(lines);
    return lines;
}

} // namespace

void TestLinesModel::sameAsTheRecordLines_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QStringList>("keys"); // typed into the find box one after the other
    QTest::newRow("empty") << QByteArray() << QStringList { u"a"_s };
    QTest::newRow("one record") << product(u"A1"_s, u"Pirelli"_s, u"10"_s)
                                << QStringList { u"pir"_s, u"pir"_s, u"x"_s };
    QTest::newRow("identical lines")
        << product(u"B"_s, u"same"_s, u"1"_s) + product(u"A"_s, u"other"_s, u"1"_s)
            + product(u"B"_s, u"same"_s, u"1"_s) + product(u"b"_s, u"same"_s, u"1"_s)
        << QStringList { u"same"_s, u"same"_s, u"same"_s, u"same"_s };
    QTest::newRow("a partial record at the end") << product(u"Z"_s, u"z"_s, u"1"_s)
            + product(u"a"_s, u"Ä€"_s, u"2"_s) + product(u"C"_s, u"c"_s, u"3"_s).left(100)
                                                 << QStringList { u"€"_s, u"ä€"_s, u"z"_s };
    QByteArray overlong = product(u"LONG"_s, u"brand"_s, u"5"_s);
    // Length bytes beyond their fields: the code says 200 (capacity 30), the value 255.
    overlong[ProductRecord::layout().offset(ProductRecord::Codice)] = char(200);
    overlong[ProductRecord::layout().offset(ProductRecord::Valore)] = char(255);
    QTest::newRow("length bytes exceeding the field")
        << product(u"A"_s, u"a"_s, u"1"_s) + overlong << QStringList { u"long"_s, u"a"_s };
    QByteArray blanks = product(u" x "_s, QString(), u"7"_s);
    // Bytes of code 32 or less inside a field stay; at its ends they are trimmed.
    blanks[ProductRecord::layout().offset(ProductRecord::Marca)] = char(5);
    blanks.replace(ProductRecord::layout().offset(ProductRecord::Marca) + 1, 5, "\t a\1b");
    QTest::newRow("control bytes")
        << blanks + product(u"x"_s, u"a"_s, u"7"_s) << QStringList { u"a\u0001b"_s, u"x"_s };
}

void TestLinesModel::sameAsTheRecordLines()
{
    QFETCH(QByteArray, archive);
    QFETCH(QStringList, keys);
    TempProgramFolder folder;
    const QString path = folder.path() + u"/Prova.mrv"_s;
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(archive), archive.size());
    }
    const QStringList expected = recordLines(archive);

    RecordFile file;
    QVERIFY(file.openPath(path, ProductRecord::layout(), RecordFile::Access::ReadOnly));
    const LineBuilder build = lineBuilder(kColumns, ProductRecord::layout());
    Scan scan = scanLines(
        file, [](QByteArrayView) { return Verdict::Add; }, build);
    QVERIFY(scan.complete);
    scan.lines.sort();
    LinesModel model;
    model.setLines(std::move(scan.lines));

    // Lines and order, as the list box asks for them.
    QCOMPARE(model.rowCount(), int(expected.size()));
    for (int row = 0; row < expected.size(); ++row)
        QCOMPARE(model.index(row).data().toString(), expected[row]);
    QCOMPARE(model.lines().toStringList(), expected);
    qsizetype longest = 0;
    for (const QString &line : expected)
        longest = std::max(longest, line.size());
    QCOMPARE(model.lines().longest(), longest);

    // Find: the same selections, press after press.
    int fromModel = -1;
    int fromStrings = -1;
    QString keyModel;
    QString keyStrings;
    for (const QString &key : keys) {
        const FindOutcome a = findNext(model.lines(), fromModel, key, keyModel);
        const FindOutcome b = findNext(expected, fromStrings, key, keyStrings);
        QCOMPARE(a.selected, b.selected);
        QCOMPARE(a.lastKey, b.lastKey);
        fromModel = a.selected;
        fromStrings = b.selected;
        keyModel = a.lastKey;
        keyStrings = b.lastKey;
    }

    // Reopening every row gives the record the line of the record texts gives.
    for (int row = 0; row < expected.size(); ++row) {
        const auto fromRow
            = reopenByLine(file, ProductRecord::layout(), model.lines().at(row), build);
        const auto fromText = reopenByLine(file, ProductRecord::layout(), expected[row], build);
        QVERIFY(fromRow.has_value());
        QVERIFY(fromText.has_value());
        QCOMPARE(fromRow->position, fromText->position);
        QCOMPARE(buildLine(kColumns, fromRow->record).trimmed(), expected[row].trimmed());
    }
}

void TestLinesModel::rowsOutsideTheListGiveNothing()
{
    PackedLines lines;
    const QByteArray one = "one";
    std::copy(one.begin(), one.end(), lines.appendLine(one.size()));
    LinesModel model;
    model.setLines(std::move(lines));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0).data().toString(), u"one"_s);
    QVERIFY(!model.index(1).isValid());
    QVERIFY(!model.data(model.index(0), Qt::EditRole).isValid());
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(model.lines().isEmpty());
}

void TestLinesModel::archiveChangingWhileListed_data()
{
    // More records than one read block holds, so the file is read again after the change.
    QTest::addColumn<int>("resizedTo"); // records, when the first record is listed
    QTest::addColumn<int>("listed");
    QTest::addColumn<bool>("complete");
    QTest::newRow("shrinks: the lines read so far") << 250 << 250 << false;
    QTest::newRow("grows: the records there at the start") << 350 << 300 << true;
}

void TestLinesModel::archiveChangingWhileListed()
{
    QFETCH(int, resizedTo);
    QFETCH(int, listed);
    QFETCH(bool, complete);
    TempProgramFolder folder;
    const QString path = folder.path() + u"/Prova.mrv"_s;
    QByteArray archive;
    for (int i = 0; i < 300; ++i)
        archive += product(QString::number(i), u"b"_s, u"1"_s);
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(archive), archive.size());
    }
    RecordFile file;
    QVERIFY(file.openPath(path, ProductRecord::layout(), RecordFile::Access::ReadOnly));
    bool resized = false;
    const Scan scan = scanLines(
        file,
        [&](QByteArrayView) {
            if (!resized) {
                // Another copy of the program saving while the list is read.
                resized = QFile::resize(path, qint64(resizedTo) * ProductRecord::kRecordSize);
            }
            return Verdict::Add;
        },
        lineBuilder(kColumns, ProductRecord::layout()));
    QVERIFY(resized);
    QCOMPARE(scan.lines.size(), listed);
    QCOMPARE(scan.complete, complete);
    // Every line listed is the line of its record as it was written.
    for (int i = 0; i < listed; i += 49)
        QCOMPARE(scan.lines.at(i),
            buildLine(kColumns,
                Record::fromBytes(ProductRecord::layout(),
                    QByteArrayView(archive).sliced(
                        qsizetype(i) * ProductRecord::kRecordSize, ProductRecord::kRecordSize))));
}

QTEST_APPLESS_MAIN(TestLinesModel)
#include "tst_linesmodel.moc"
