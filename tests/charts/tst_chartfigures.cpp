#include "charts/ChartFigures.h"
#include "charts/ChartTable.h"
#include "lists/ListLines.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include "common/TempProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using ChartTable::Unit;

class TestChartFigures : public QObject
{
    Q_OBJECT
private slots:
    void monthlyMovements_data();
    void monthlyMovements();
    void monthsEqualTheSummaries();
    void valueByType_data();
    void valueByType();
    void typesAddUpToTheInventoryTotal();
    void othersGatherTheSmallTypes_data();
    void othersGatherTheSmallTypes();
    void topUnloaded_data();
    void topUnloaded();
    void movementBytes_data();
    void movementBytes();
    void mixedYearEqualsTheSummaryReading();
    void instalmentsAhead_data();
    void instalmentsAhead();
    void movementYears();
    void readingLeavesMissingFilesMissing();
    void unreadableArchiveGivesTheMessage();
    void truncatedYearlyFile();
    void tablesOfTheFourCharts();

    void euroText_data();
    void euroText();
    void scale_data();
    void scale();
    void labelAngle_data();
    void labelAngle();
    void fitLabels_data();
    void fitLabels();
    void uniqueLabels();
    void axisLabels();
    void csvBytes();
    void csvReplacesOnlyWhenWritten();
};

namespace {

Record movement(const QString &date, const QString &quantity, const QString &amount,
    const QString &code = u"GOM-01"_s, const QString &model = QString())
{
    Record r(MovementRecord::layout());
    r.setValue(MovementRecord::Data, date);
    r.setValue(MovementRecord::Codice, code);
    r.setValue(MovementRecord::Quantita, quantity);
    r.setValue(MovementRecord::Importo, amount);
    r.setValue(MovementRecord::Marca, u"Pirelli"_s);
    r.setValue(MovementRecord::Modello, model);
    return r;
}

Record product(const QString &type, const QString &value)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, u"P"_s + value);
    r.setValue(ProductRecord::Tipologia, type);
    r.setValue(ProductRecord::Valore, value);
    return r;
}

Record customer(const QString &due, const QString &notice, const QString &amount)
{
    Record r(CustomerRecord::layout());
    r.setValue(CustomerRecord::Cognome, u"Rossi"_s);
    r.setValue(CustomerRecord::Scadenza, due);
    r.setValue(CustomerRecord::Preavviso, notice);
    r.setValue(CustomerRecord::Rata, amount);
    return r;
}

// Writes the records as a whole file and leaves it open for reading.
bool writeFile(
    RecordFile &file, const QString &path, const RecordLayout &layout, const QList<Record> &records)
{
    QFile::remove(path);
    if (!file.openPath(path, layout))
        return false;
    for (const Record &r : records) {
        if (!file.append(r))
            return false;
    }
    return true;
}

using Months = QList<double>;

Months months(std::initializer_list<std::pair<int, double>> set)
{
    Months out(12, 0.0);
    for (const auto &[month, value] : set)
        out[month - 1] = value;
    return out;
}

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

// A field of a stored record written byte by byte: the length byte (the text's length
// unless given, so a damaged one can be written) and the text, the rest of the field zero.
QByteArray withField(QByteArray record, int field, const QByteArray &text, int length = -1)
{
    const RecordLayout &layout = MovementRecord::layout();
    const int offset = layout.offset(field);
    const int capacity = layout.field(field).capacity;
    record.replace(offset, capacity + 1, QByteArray(capacity + 1, '\0'));
    record[offset] = char(length < 0 ? text.size() : length);
    record.replace(offset + 1, std::min<int>(text.size(), capacity), text.left(capacity));
    return record;
}

// A stored movement of code unloading quantity on date, all three written as given.
QByteArray storedMovement(const QByteArray &date, const QByteArray &quantity,
    const QByteArray &code, const QByteArray &amount = "1")
{
    QByteArray record = movement(u"01/01/2024"_s, u"1"_s, u"1"_s).encode();
    record = withField(record, MovementRecord::Data, date);
    record = withField(record, MovementRecord::Quantita, quantity);
    record = withField(record, MovementRecord::Importo, amount);
    return withField(record, MovementRecord::Codice, code);
}

// Writes the stored records and then tail (a record cut short) as a whole file.
bool writeBytes(const QString &path, const QList<QByteArray> &records, const QByteArray &tail)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QByteArray &record : records) {
        if (out.write(record) != record.size())
            return false;
    }
    return out.write(tail) == tail.size();
}

// The figures as the movement summary's own reading gives them, every field through the
// lists' texts: the movements StockLists::scanMovements lists for the whole year, each
// code made a text and each quantity read from the text of its field, codes counted in a
// hash of texts, and the order taken by a stable sort with the lists' order of texts.
ChartFigures::TopUnloaded summaryTop(Storage::Session &file, int year, int count)
{
    const RecordLayout &layout = MovementRecord::layout();
    struct Entry
    {
        QString code;
        double pieces = 0;
        qint64 lastIndex = 0;
    };
    ChartFigures::TopUnloaded out;
    QList<Entry> entries;
    QHash<QString, qsizetype> byCode;
    const auto scan = StockLists::scanMovements(file, QString(), QDate(year, 1, 1),
        QDate(year, 12, 31), [&](qint64 index, QByteArrayView bytes, QDate) {
            char16_t buffer[ListLines::kFieldBuffer];
            const QString code
                = ListLines::fieldView(layout, bytes, MovementRecord::Codice, buffer).toString();
            if (code.isEmpty())
                return;
            ++out.movements;
            const auto pieces = TextToNumber(
                ListLines::fieldView(layout, bytes, MovementRecord::Quantita, buffer));
            if (!pieces) {
                ++out.unreadable;
                return;
            }
            const qsizetype at = byCode.value(code, entries.size());
            if (at == entries.size()) {
                byCode.insert(code, at);
                entries.append({ code, 0, 0 });
            }
            entries[at].pieces += *pieces;
            entries[at].lastIndex = index;
        });
    out.complete = scan.complete;
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.pieces != b.pieces)
            return a.pieces > b.pieces;
        return ListLines::lineLess(a.code, b.code);
    });
    for (const Entry &entry : entries.mid(0, count)) {
        Record record(layout);
        QString description;
        if (file.readAt(entry.lastIndex, record))
            description = TrimControl(TrimControl(record.value(MovementRecord::Marca)) + u' '
                + TrimControl(record.value(MovementRecord::Modello)));
        out.products.append({ entry.code, description, entry.pieces });
    }
    return out;
}

ChartFigures::MonthlyMovements summaryMonths(Storage::Session &file, int year)
{
    const RecordLayout &layout = MovementRecord::layout();
    ChartFigures::MonthlyMovements out;
    const auto scan = StockLists::scanMovements(file, QString(), QDate(year, 1, 1),
        QDate(year, 12, 31), [&](qint64, QByteArrayView bytes, QDate date) {
            char16_t buffer[ListLines::kFieldBuffer];
            auto &month = out.months[std::size_t(date.month() - 1)];
            ++month.movements;
            const auto pieces = TextToNumber(
                ListLines::fieldView(layout, bytes, MovementRecord::Quantita, buffer));
            const auto unit = TextToNumber(
                ListLines::fieldView(layout, bytes, MovementRecord::Importo, buffer));
            if (pieces)
                month.pieces += *pieces;
            if (pieces && unit)
                month.value += *pieces * *unit;
            else
                ++out.unreadable;
        });
    out.complete = scan.complete;
    return out;
}

// A number to the last bit, so that two sums compare exactly.
QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

QStringList topLines(const ChartFigures::TopUnloaded &top)
{
    QStringList out { u"movements %1, unreadable %2, complete %3"_s.arg(top.movements)
                          .arg(top.unreadable)
                          .arg(top.complete) };
    for (const auto &product : top.products)
        out.append(product.code + u'|' + product.description + u'|' + exact(product.pieces));
    return out;
}

QStringList monthLines(const ChartFigures::MonthlyMovements &figures)
{
    QStringList out {
        u"unreadable %1, complete %2"_s.arg(figures.unreadable).arg(figures.complete)
    };
    for (const auto &month : figures.months)
        out.append(u"%1 %2 %3"_s.arg(month.movements).arg(exact(month.pieces), exact(month.value)));
    return out;
}

} // namespace

void TestChartFigures::monthlyMovements_data()
{
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<Months>("counts");
    QTest::addColumn<Months>("pieces");
    QTest::addColumn<Months>("values");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("unreadable");

    QTest::newRow("month boundaries in a leap year")
        << QList<Record> { movement(u"31/01/2024"_s, u"1"_s, u"2"_s),
               movement(u"01/02/2024"_s, u"2"_s, u"2"_s), movement(u"29/02/2024"_s, u"3"_s, u"2"_s),
               movement(u"01/03/2024"_s, u"4"_s, u"2"_s),
               movement(u"31/12/2024"_s, u"5"_s, u"2"_s) }
        << months({ { 1, 1 }, { 2, 2 }, { 3, 1 }, { 12, 1 } })
        << months({ { 1, 1 }, { 2, 5 }, { 3, 4 }, { 12, 5 } })
        << months({ { 1, 2 }, { 2, 10 }, { 3, 8 }, { 12, 10 } }) << true << 0;
    // The summary skips a movement dated in another year of the file.
    QTest::newRow("other years left out")
        << QList<Record> { movement(u"31/12/2023"_s, u"7"_s, u"1"_s),
               movement(u"01/01/2025"_s, u"7"_s, u"1"_s), movement(u"5/6/2024"_s, u"1"_s, u"1"_s) }
        << months({ { 6, 1 } }) << months({ { 6, 1 } }) << months({ { 6, 1 } }) << true << 0;
    // 29/02 of a common year is no date: the summary stops there, and so does the chart.
    QTest::newRow("29 February of a common year stops the reading")
        << QList<Record> { movement(u"10/01/2023"_s, u"2"_s, u"1"_s),
               movement(u"29/02/2023"_s, u"3"_s, u"1"_s),
               movement(u"10/03/2023"_s, u"4"_s, u"1"_s) }
        << months({ { 1, 1 } }) << months({ { 1, 2 } }) << months({ { 1, 2 } }) << false << 0;
    QTest::newRow("costs with four decimals")
        << QList<Record> { movement(u"02/04/2023"_s, u"3"_s, u"1,2345"_s),
               movement(u"30/04/2023"_s, u"2"_s, u"0,0001"_s) }
        << months({ { 4, 2 } }) << months({ { 4, 5 } }) << months({ { 4, 3.7037 } }) << true << 0;
    QTest::newRow("negative quantity of a correction")
        << QList<Record> { movement(u"02/05/2023"_s, u"5"_s, u"10"_s),
               movement(u"03/05/2023"_s, u"-2"_s, u"10"_s) }
        << months({ { 5, 2 } }) << months({ { 5, 3 } }) << months({ { 5, 30 } }) << true << 0;
    QTest::newRow("amounts that do not parse")
        << QList<Record> { movement(u"02/07/2023"_s, u"5"_s, u"dieci"_s),
               movement(u"03/07/2023"_s, u"x"_s, u"10"_s),
               movement(u"04/07/2023"_s, u"1"_s, u"10"_s) }
        << months({ { 7, 3 } }) << months({ { 7, 6 } }) << months({ { 7, 10 } }) << true << 2;
    QTest::newRow("no movements") << QList<Record> {} << months({}) << months({}) << months({})
                                  << true << 0;
}

void TestChartFigures::monthlyMovements()
{
    QFETCH(QList<Record>, records);
    QFETCH(Months, counts);
    QFETCH(Months, pieces);
    QFETCH(Months, values);
    QFETCH(bool, complete);
    QFETCH(int, unreadable);

    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(writeFile(file, folder.filePath(u"Carico_x.mrv"_s), MovementRecord::layout(), records));
    const int year = records.isEmpty() ? 2024 : YearOf(records.last().value(0)).toInt();
    const ChartFigures::MonthlyMovements figures = ChartFigures::monthlyMovements(file, year);
    for (std::size_t m = 0; m < 12; ++m) {
        const auto &month = figures.months[m];
        QVERIFY2(near(double(month.movements), counts[m]), qPrintable(QString::number(m + 1)));
        QVERIFY2(near(month.pieces, pieces[m]), qPrintable(QString::number(m + 1)));
        QVERIFY2(near(month.value, values[m]), qPrintable(QString::number(m + 1)));
    }
    QCOMPARE(figures.complete, complete);
    QCOMPARE(figures.unreadable, qint64(unreadable));
}

void TestChartFigures::monthsEqualTheSummaries()
{
    // A year of loads with a damaged date near the end: each month's chart figures are what
    // the movement summary of that month lists.
    QList<Record> records;
    for (int i = 0; i < 120; ++i) {
        const QDate day = QDate(2024, 1, 1).addDays(i * 3);
        records.append(movement(DateText(day), QString::number(i % 7 + 1),
            QString::number(i % 5) + u",25"_s, u"C"_s + QString::number(i % 9)));
    }
    records.insert(110, movement(u"31/11/2024"_s, u"9"_s, u"1"_s));
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(
        writeFile(file, folder.filePath(u"Carico_2024.mrv"_s), MovementRecord::layout(), records));
    const auto figures = ChartFigures::monthlyMovements(file, 2024);
    QVERIFY(!figures.complete);

    const QRegularExpression quantity(u"Pezzi: \\+(\\S+)"_s);
    qint64 listedInYear = 0;
    for (int m = 1; m <= 12; ++m) {
        const QDate first(2024, m, 1);
        const StockLists::Movements summary = StockLists::movementLines(
            file, MovementRecord::Kind::Load, QString(), first, first.addMonths(1).addDays(-1));
        QCOMPARE(figures.months[std::size_t(m - 1)].movements, qint64(summary.lines.size()));
        double pieces = 0;
        for (const QString &line : summary.lines)
            pieces += TextToNumber(quantity.match(line).captured(1)).value_or(-1000);
        QVERIFY(near(figures.months[std::size_t(m - 1)].pieces, pieces));
        listedInYear += summary.lines.size();
    }
    QCOMPARE(listedInYear, 110);
}

void TestChartFigures::valueByType_data()
{
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("total");
    QTest::addColumn<bool>("complete");

    QTest::newRow("case and blanks")
        << QList<Record> { product(u"Gomme"_s, u"10"_s), product(u"GOMME"_s, u"20"_s),
               product(u"  gomme "_s, u"5"_s), product(QString(), u"7"_s),
               product(u"   "_s, u"1"_s), product(u"Cerchi"_s, u"100"_s) }
        << QStringList { u"Cerchi"_s, u"Gomme"_s, u"Senza tipologia"_s }
        << QList<double> { 100, 35, 8 } << 143.0 << true;
    QTest::newRow("negative stock value")
        << QList<Record> { product(u"Resi"_s, u"-30,50"_s), product(u"Gomme"_s, u"10"_s) }
        << QStringList { u"Gomme"_s, u"Resi"_s } << QList<double> { 10, -30.5 } << -20.5 << true;
    QTest::newRow("equal values by name")
        << QList<Record> { product(u"Zeta"_s, u"5"_s), product(u"alfa"_s, u"5"_s) }
        << QStringList { u"alfa"_s, u"Zeta"_s } << QList<double> { 5, 5 } << 10.0 << true;
    QTest::newRow("values with four decimals")
        << QList<Record> { product(u"A"_s, u"0,1234"_s), product(u"A"_s, u"0,0001"_s) }
        << QStringList { u"A"_s } << QList<double> { 0.1235 } << 0.1235 << true;
    QTest::newRow("a value that is not a number ends the reading") << QList<Record> {
        product(u"A"_s, u"1"_s), product(u"B"_s, u"n.d."_s), product(u"C"_s, u"3"_s)
    } << QStringList { u"A"_s } << QList<double> { 1 } << 1.0 << false;
    QTest::newRow("empty archive")
        << QList<Record> {} << QStringList {} << QList<double> {} << 0.0 << true;
}

void TestChartFigures::valueByType()
{
    QFETCH(QList<Record>, records);
    QFETCH(QStringList, types);
    QFETCH(QList<double>, values);
    QFETCH(double, total);
    QFETCH(bool, complete);

    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(writeFile(file, folder.filePath(u"Magazzino.mrv"_s), ProductRecord::layout(), records));
    const ChartFigures::ValueByType value = ChartFigures::valueByType(file);
    QStringList gotTypes;
    for (const auto &type : value.types)
        gotTypes.append(type.type);
    QCOMPARE(gotTypes, types);
    for (qsizetype i = 0; i < values.size(); ++i)
        QVERIFY2(near(value.types[i].value, values[i]), qPrintable(types[i]));
    QVERIFY(near(value.total, total));
    QCOMPARE(value.complete, complete);
}

void TestChartFigures::typesAddUpToTheInventoryTotal()
{
    // 40 products over 14 types with four-decimal values: the bars, "Altre" included, add
    // up to the inventory's total to the cent, and the total is the inventory's own.
    QList<Record> records;
    for (int i = 0; i < 40; ++i) {
        records.append(product(u"Tipo "_s + QString::number(i % 14),
            QString::number(i * 37 % 101) + u","_s + QString::number(1000 + i * 7919 % 9000)));
    }
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(writeFile(file, folder.filePath(u"Magazzino.mrv"_s), ProductRecord::layout(), records));
    const StockLists::Inventory inventory = StockLists::inventoryLines(file, QString());
    const ChartFigures::ValueByType value = ChartFigures::valueByType(file);
    const QList<ChartFigures::TypeValue> bars = ChartFigures::withOthers(value.types);
    QCOMPARE(bars.size(), 10);
    QCOMPARE(bars.last().type, u"Altre"_s);
    double sum = 0;
    qint64 products = 0;
    for (const auto &bar : bars) {
        sum += bar.value;
        products += bar.products;
    }
    QCOMPARE(products, 40);
    QCOMPARE(value.total, inventory.total);
    QCOMPARE(std::llround(sum * 100), std::llround(inventory.total * 100));
    const ChartTable::Table table = ChartFigures::valueTable(value);
    QVERIFY(table.summary.contains(ChartTable::euroText(inventory.total)));
}

void TestChartFigures::othersGatherTheSmallTypes_data()
{
    QTest::addColumn<int>("types");
    QTest::addColumn<int>("bars");
    QTest::newRow("nine types stay") << 9 << 9;
    QTest::newRow("ten types stay") << 10 << 10;
    QTest::newRow("eleven types") << 11 << 10;
    QTest::newRow("ten thousand types") << 10000 << 10;
}

void TestChartFigures::othersGatherTheSmallTypes()
{
    QFETCH(int, types);
    QFETCH(int, bars);
    QList<ChartFigures::TypeValue> all;
    double total = 0;
    for (int i = 0; i < types; ++i) {
        all.append({ u"T"_s + QString::number(i), double(types - i), 1 });
        total += types - i;
    }
    const auto shown = ChartFigures::withOthers(all);
    QCOMPARE(shown.size(), bars);
    double sum = 0;
    for (const auto &type : shown)
        sum += type.value;
    QVERIFY(near(sum, total));
    QCOMPARE(shown.last().type == u"Altre"_s, types > 10);
    QCOMPARE(shown.first().type, u"T0"_s);
}

void TestChartFigures::topUnloaded_data()
{
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected"); // code|description|pieces

    QTest::newRow("largest first, ties by code")
        << QList<Record> { movement(u"01/01/2024"_s, u"5"_s, u"1"_s, u"B"_s),
               movement(u"02/01/2024"_s, u"5"_s, u"1"_s, u"A"_s),
               movement(u"03/01/2024"_s, u"9"_s, u"1"_s, u"C"_s),
               movement(u"04/01/2024"_s, u"5"_s, u"1"_s, u"D"_s) }
        << 3 << QStringList { u"C|Pirelli|9"_s, u"A|Pirelli|5"_s, u"B|Pirelli|5"_s };
    QTest::newRow("pieces added up, description of the last movement")
        << QList<Record> { movement(u"01/01/2024"_s, u"2"_s, u"1"_s, u"A"_s, u"P Zero"_s),
               movement(u"02/01/2024"_s, u"3"_s, u"1"_s, u"A"_s, u"Cinturato"_s) }
        << 10 << QStringList { u"A|Pirelli Cinturato|5"_s };
    QTest::newRow("no code and unreadable quantity left out")
        << QList<Record> { movement(u"01/01/2024"_s, u"2"_s, u"1"_s, QString()),
               movement(u"02/01/2024"_s, u"tre"_s, u"1"_s, u"A"_s),
               movement(u"03/01/2024"_s, u"1"_s, u"1"_s, u"B"_s) }
        << 10 << QStringList { u"B|Pirelli|1"_s };
    QTest::newRow("damaged date stops the reading")
        << QList<Record> { movement(u"01/01/2024"_s, u"2"_s, u"1"_s, u"A"_s),
               movement(u"xx/01/2024"_s, u"7"_s, u"1"_s, u"B"_s),
               movement(u"03/01/2024"_s, u"9"_s, u"1"_s, u"C"_s) }
        << 10 << QStringList { u"A|Pirelli|2"_s };
}

void TestChartFigures::topUnloaded()
{
    QFETCH(QList<Record>, records);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(
        writeFile(file, folder.filePath(u"Scarico_2024.mrv"_s), MovementRecord::layout(), records));
    const ChartFigures::TopUnloaded top = ChartFigures::topUnloaded(file, 2024, count);
    QStringList got;
    for (const auto &product : top.products)
        got.append(product.code + u'|' + product.description + u'|' + NumberToText(product.pieces));
    QCOMPARE(got, expected);
}

void TestChartFigures::movementBytes_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QStringList>("expected"); // code|description|pieces
    QTest::addColumn<int>("movements");
    QTest::addColumn<int>("unreadable");
    QTest::addColumn<bool>("complete");

    const QByteArray day = "02/01/2024";
    QTest::newRow("quantities with blanks")
        << QList<QByteArray> { storedMovement(day, " 5", "A"), storedMovement(day, "5  ", "A"),
               storedMovement(day, "\t2\x01", "A"), storedMovement(day, "1 2", "B"),
               storedMovement(day, "3", "B") }
        << QByteArray() << QStringList { u"A|Pirelli|12"_s, u"B|Pirelli|3"_s } << 5 << 1 << true;
    // 0,1 three times adds up to a little more than 0,3: C goes before B.
    QTest::newRow("signs, decimals and the general forms of numbers")
        << QList<QByteArray> { storedMovement(day, "-2", "A"), storedMovement(day, "+3", "A"),
               storedMovement(day, "-0", "A"), storedMovement(day, "1,5", "A"),
               storedMovement(day, ",5", "A"), storedMovement(day, "1E1", "A"),
               storedMovement(day, "007", "A"), storedMovement(day, "5,", "A"),
               storedMovement(day, "0,3", "B"), storedMovement(day, "0,1", "C"),
               storedMovement(day, "0,1", "C"), storedMovement(day, "0,1", "C"),
               storedMovement(day, "1,23456789", "D"), storedMovement(day, "1E-400", "E") }
        << QByteArray()
        << QStringList { u"A|Pirelli|25"_s, u"D|Pirelli|1.2345678899999999"_s,
               u"C|Pirelli|0.30000000000000004"_s, u"B|Pirelli|0.29999999999999999"_s,
               u"E|Pirelli|0"_s }
        << 14 << 0 << true;
    QTest::newRow("quantities that do not parse")
        << QList<QByteArray> { storedMovement(day, "tre", "A"), storedMovement(day, "1.5", "A"),
               storedMovement(day, "--1", "A"), storedMovement(day, "1,2,3", "A"),
               storedMovement(day, "", "A"), storedMovement(day, "E5", "A"),
               storedMovement(day, "1E400", "A"), storedMovement(day, "\xBD", "A"),
               storedMovement(day, "2", "B") }
        << QByteArray() << QStringList { u"B|Pirelli|2"_s } << 9 << 8 << true;
    // Blanks and control bytes at either end are trimmed; byte 127 is not a control the
    // lists trim, and a blank code is no code.
    QTest::newRow("codes with blanks and control bytes")
        << QList<QByteArray> { storedMovement(day, "1", " A"), storedMovement(day, "1", "A  "),
               storedMovement(day, "1", "A\x01"),
               storedMovement(day, "1",
                   "\x1F"
                   "A"),
               storedMovement(day, "1", "A\x7F"), storedMovement(day, "1", "a"),
               storedMovement(day, "1", "   ") }
        << QByteArray() << QStringList { u"A|Pirelli|4"_s, u"a|Pirelli|1"_s, u"A\x7f|Pirelli|1"_s }
        << 6 << 0 << true;
    // Equal pieces: by code as the lists order texts (letters without case, then the
    // characters' codes: é before €, although their bytes are the other way round), codes
    // differing only in case in the order they were first met.
    QTest::newRow("letters case and the code page in ties")
        << QList<QByteArray> { storedMovement(day, "1", "\x80"), storedMovement(day, "1", "abc"),
               storedMovement(day, "1", "z"), storedMovement(day, "1", "ABC"),
               storedMovement(day, "1", "\xE9"), storedMovement(day, "1", "Abd") }
        << QByteArray()
        << QStringList { u"abc|Pirelli|1"_s, u"ABC|Pirelli|1"_s, u"Abd|Pirelli|1"_s,
               u"z|Pirelli|1"_s, u"\u00e9|Pirelli|1"_s, u"\u20ac|Pirelli|1"_s }
        << 6 << 0 << true;
    {
        QList<QByteArray> records;
        QStringList expected { u"K13|Pirelli|6"_s };
        for (int i = 12; i >= 1; --i)
            records.append(storedMovement(
                day, "5", QByteArray("K") + QByteArray::number(i).rightJustified(2, '0')));
        records.append(storedMovement(day, "6", "K13"));
        for (int i = 1; i <= 9; ++i)
            expected.append(u"K0%1|Pirelli|5"_s.arg(i));
        QTest::newRow("more than ten codes, ties by code")
            << records << QByteArray() << expected << 13 << 0 << true;
    }
    // A length byte larger than its field is read as the whole field, never further.
    QTest::newRow("length bytes beyond their fields")
        << QList<QByteArray> { withField(storedMovement(day, "3", "x"), MovementRecord::Codice,
                                   QByteArray(30, 'Z'), 200),
               withField(withField(withField(storedMovement(day, "1", "x"), MovementRecord::Codice,
                                       "Q", 255),
                             MovementRecord::Quantita, "4", 99),
                   MovementRecord::Data, day, 250) }
        << QByteArray() << QStringList { u"Q|Pirelli|4"_s, QString(30, u'Z') + u"|Pirelli|3"_s }
        << 2 << 0 << true;
    // Dates not written dd/mm/yyyy go through the general reading of dates, which also
    // trims a no-break space (byte A0); other years are left out.
    QTest::newRow("dates in other forms")
        << QList<QByteArray> { storedMovement(QByteArray("\xA0") + "2/1/2024", "1", "A"),
               storedMovement(" 2/1/2024", "1", "A"), storedMovement("2/1/2024\x01", "1", "A"),
               storedMovement("01/01/2023", "1", "A"), storedMovement("31/12/2024", "1", "A"),
               storedMovement("1/1/2025", "1", "A") }
        << QByteArray() << QStringList { u"A|Pirelli|4"_s } << 4 << 0 << true;
    QTest::newRow("a date that is no date stops the reading")
        << QList<QByteArray> { storedMovement(day, "2", "A"),
               storedMovement("32/01/2024", "7", "B"), storedMovement(day, "9", "C") }
        << QByteArray() << QStringList { u"A|Pirelli|2"_s } << 1 << 0 << false;
    QTest::newRow("a record cut short at the end")
        << QList<QByteArray> { storedMovement(day, "2", "A") }
        << storedMovement(day, "9", "B").left(300) << QStringList { u"A|Pirelli|2"_s } << 1 << 0
        << true;
}

void TestChartFigures::movementBytes()
{
    QFETCH(QList<QByteArray>, records);
    QFETCH(QByteArray, tail);
    QFETCH(QStringList, expected);
    QFETCH(int, movements);
    QFETCH(int, unreadable);
    QFETCH(bool, complete);

    TempProgramFolder folder;
    const QString path = folder.filePath(u"Scarico_2024.mrv"_s);
    QVERIFY(writeBytes(path, records, tail));
    RecordFile file;
    QVERIFY(file.openPath(path, MovementRecord::layout()));
    const ChartFigures::TopUnloaded top = ChartFigures::topUnloaded(file, 2024);
    QStringList got;
    for (const auto &product : top.products)
        got.append(product.code + u'|' + product.description + u'|' + exact(product.pieces));
    QCOMPARE(got, expected);
    QCOMPARE(top.movements, qint64(movements));
    QCOMPARE(top.unreadable, qint64(unreadable));
    QCOMPARE(top.complete, complete);
    // To the last bit what the summary's own reading through texts gives, and so are the
    // monthly figures of the same file.
    QCOMPARE(topLines(top), topLines(summaryTop(file, 2024, 10)));
    QCOMPARE(monthLines(ChartFigures::monthlyMovements(file, 2024)),
        monthLines(summaryMonths(file, 2024)));
}

void TestChartFigures::mixedYearEqualsTheSummaryReading()
{
    // Thousands of movements over 1,500 codes (blanks, control bytes, case, bytes above
    // 127) with quantities and amounts in every form, read whole: every code in order,
    // with its pieces to the last bit, and the twelve months, as the summary's reading.
    const QList<QByteArray> quantities { "1", "12", " 3", "-2", "0,1", "0,25", "1,5", "2E1", ",5",
        "x", "", "1 0", "+4", "0,333" };
    const QList<QByteArray> amounts { "10", "0,1", "12,3456", "dieci", "1E2", "-5", " 7,5" };
    const QList<QByteArray> decorations { "", " ", "\x01", "\t", "\x7F", "\xA0" };
    QRandomGenerator random(20241211);
    QList<QByteArray> records;
    for (int i = 0; i < 6000; ++i) {
        const int n = int(random.bounded(1500));
        QByteArray code = QByteArray("Cod") + QByteArray::number(n);
        if (n % 7 == 0)
            code = code.toLower();
        if (n % 11 == 0)
            code += "\xE8\x80";
        if (random.bounded(4) == 0)
            code = decorations[random.bounded(int(decorations.size()))] + code
                + decorations[random.bounded(int(decorations.size()))];
        if (random.bounded(50) == 0)
            code = "  ";
        const QDate date = QDate(2023, 12, 1).addDays(random.bounded(400));
        QByteArray dateText = DateText(date).toLatin1();
        if (random.bounded(10) == 0)
            dateText = QByteArray::number(date.day()) + '/' + QByteArray::number(date.month()) + '/'
                + QByteArray::number(date.year());
        records.append(storedMovement(dateText, quantities[random.bounded(int(quantities.size()))],
            code, amounts[random.bounded(int(amounts.size()))]));
    }
    TempProgramFolder folder;
    const QString path = folder.filePath(u"Scarico_2024.mrv"_s);
    QVERIFY(writeBytes(path, records, QByteArray()));
    RecordFile file;
    QVERIFY(file.openPath(path, MovementRecord::layout()));
    const ChartFigures::TopUnloaded all = ChartFigures::topUnloaded(file, 2024, 5000);
    QVERIFY(all.products.size() > 1000);
    QCOMPARE(topLines(all), topLines(summaryTop(file, 2024, 5000)));
    QCOMPARE(topLines(ChartFigures::topUnloaded(file, 2024)), topLines(summaryTop(file, 2024, 10)));
    const ChartFigures::MonthlyMovements months = ChartFigures::monthlyMovements(file, 2024);
    QVERIFY(months.unreadable > 0);
    QCOMPARE(monthLines(months), monthLines(summaryMonths(file, 2024)));
}

void TestChartFigures::instalmentsAhead_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<Months>("counts");
    QTest::addColumn<Months>("amounts");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("unreadable");

    // Index 0 is today's month.
    QTest::newRow("across the year end")
        << QDate(2026, 12, 15)
        << QList<Record> { customer(u"14/12/2026"_s, u"5"_s, u"1000"_s),
               customer(u"15/12/2026"_s, u"5"_s, u"100,50"_s),
               customer(u"31/12/2026"_s, u"0"_s, u"10"_s),
               customer(u"1/1/2027"_s, u"30"_s, u"20,25"_s),
               customer(u"30/11/2027"_s, u"3"_s, u"7"_s),
               customer(u"01/12/2027"_s, u"3"_s, u"1000"_s) }
        << months({ { 1, 2 }, { 2, 1 }, { 12, 1 } })
        << months({ { 1, 110.5 }, { 2, 20.25 }, { 12, 7 } }) << true << 0;
    QTest::newRow("29 February in a leap year")
        << QDate(2028, 1, 31) << QList<Record> { customer(u"29/02/2028"_s, u"1"_s, u"50"_s) }
        << months({ { 2, 1 } }) << months({ { 2, 50 } }) << true << 0;
    QTest::newRow("amount that does not parse is counted, not summed")
        << QDate(2026, 3, 1)
        << QList<Record> { customer(u"05/03/2026"_s, u"1"_s, u"cento"_s),
               customer(u"06/03/2026"_s, u"1"_s, u"5"_s) }
        << months({ { 1, 2 } }) << months({ { 1, 5 } }) << true << 1;
    // The due list stops at a customer it cannot test; the chart too.
    QTest::newRow("damaged notice stops the reading")
        << QDate(2026, 3, 1)
        << QList<Record> { customer(u"05/03/2026"_s, u"1"_s, u"5"_s),
               customer(u"06/03/2026"_s, u"x"_s, u"5"_s),
               customer(u"07/03/2026"_s, u"1"_s, u"5"_s) }
        << months({ { 1, 1 } }) << months({ { 1, 5 } }) << false << 0;
}

void TestChartFigures::instalmentsAhead()
{
    QFETCH(QDate, today);
    QFETCH(QList<Record>, records);
    QFETCH(Months, counts);
    QFETCH(Months, amounts);
    QFETCH(bool, complete);
    QFETCH(int, unreadable);
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(writeFile(file, folder.filePath(u"Clienti.mrv"_s), CustomerRecord::layout(), records));
    const ChartFigures::InstalmentsAhead ahead = ChartFigures::instalmentsAhead(file, today);
    QCOMPARE(ahead.months[0].month, QDate(today.year(), today.month(), 1));
    QCOMPARE(ahead.months[11].month, QDate(today.year(), today.month(), 1).addMonths(11));
    for (std::size_t m = 0; m < 12; ++m) {
        QVERIFY2(
            near(double(ahead.months[m].instalments), counts[m]), qPrintable(QString::number(m)));
        QVERIFY2(near(ahead.months[m].amount, amounts[m]), qPrintable(QString::number(m)));
    }
    QCOMPARE(ahead.complete, complete);
    QCOMPARE(ahead.unreadable, qint64(unreadable));
}

void TestChartFigures::movementYears()
{
    TempProgramFolder folder;
    for (const char *name : { "Carico_2024.mrv", "Scarico_2024.mrv", "Scarico_2025.mrv",
             "Carico_2019.mrv", "Carico_abcd.mrv", "Carico_20245.mrv", "Magazzino.mrv" }) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(ChartFigures::movementYears(), (QStringList { u"2025"_s, u"2024"_s, u"2019"_s }));
}

void TestChartFigures::readingLeavesMissingFilesMissing()
{
    TempProgramFolder folder;
    const QDate today(2026, 12, 11);
    for (int kind = 0; kind < 4; ++kind) {
        const auto reading = ChartFigures::read(ChartFigures::Kind(kind), u"2024"_s, today);
        QVERIFY(reading.error.isEmpty());
        QVERIFY(reading.table.empty);
        QVERIFY(!reading.table.emptyText.isEmpty());
    }
    QCOMPARE(ChartFigures::read(ChartFigures::Kind::Movements, u"2024"_s, today).table.emptyText,
        u"Nessun movimento nell'anno scelto."_s);
    QCOMPARE(ChartFigures::read(ChartFigures::Kind::Movements, QString(), today).table.emptyText,
        u"Nessun movimento nell'anno scelto."_s);
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

void TestChartFigures::unreadableArchiveGivesTheMessage()
{
    TempProgramFolder folder;
    // A folder where the yearly file should be: it exists and cannot be opened as a file.
    QVERIFY(QDir(folder.path()).mkdir(u"Carico_2024.mrv"_s));
    const auto reading
        = ChartFigures::read(ChartFigures::Kind::Movements, u"2024"_s, QDate(2024, 5, 5));
    QCOMPARE(reading.error, accessErrorText());
    QVERIFY(reading.table.empty);
}

void TestChartFigures::truncatedYearlyFile()
{
    TempProgramFolder folder;
    {
        RecordFile file;
        QVERIFY(writeFile(file, folder.filePath(u"Carico_2024.mrv"_s), MovementRecord::layout(),
            { movement(u"02/01/2024"_s, u"2"_s, u"3"_s),
                movement(u"03/01/2024"_s, u"1"_s, u"3"_s) }));
    }
    // A record cut short at the end of the file (a copy that stopped half way).
    QFile file(folder.filePath(u"Carico_2024.mrv"_s));
    QVERIFY(file.open(QIODevice::Append));
    QVERIFY(file.write(QByteArray(100, '7')) == 100);
    file.close();
    const auto reading
        = ChartFigures::read(ChartFigures::Kind::Movements, u"2024"_s, QDate(2024, 5, 5));
    QVERIFY(reading.error.isEmpty());
    QVERIFY(!reading.table.empty);
    QCOMPARE(reading.table.series[0].values[0], 3.0);
    QVERIFY(reading.table.summary.startsWith(u"Carichi: 2 movimenti, 3 pezzi, 9,00 €."_s));
    QVERIFY(reading.table.notice.isEmpty());
}

void TestChartFigures::tablesOfTheFourCharts()
{
    ChartFigures::MonthlyMovements loads;
    loads.months[0] = { 2, 10, 1234.5 };
    ChartFigures::MonthlyMovements unloads;
    unloads.months[11] = { 1, 3, 45 };
    unloads.complete = false;
    const ChartTable::Table movements = ChartFigures::movementsTable(loads, unloads, 2024);
    QCOMPARE(movements.title, u"Carichi e scarichi per mese - anno 2024"_s);
    QCOMPARE(movements.labels.first(), u"Gennaio"_s);
    QCOMPARE(movements.labels.last(), u"Dicembre"_s);
    QCOMPARE(movements.series.size(), 4);
    QCOMPARE(movements.series[1].values[11], 3.0);
    QCOMPARE(movements.summary,
        u"Carichi: 2 movimenti, 10 pezzi, 1.234,50 €.   Scarichi: 1 movimento, 3 pezzi, 45,00 €."_s);
    QVERIFY(movements.notice.contains(u"data non leggibile"_s));
    QVERIFY(!movements.empty);

    ChartFigures::InstalmentsAhead ahead;
    for (int i = 0; i < 12; ++i)
        ahead.months[std::size_t(i)].month = QDate(2026, 12, 1).addMonths(i);
    ahead.months[1] = { QDate(2027, 1, 1), 3, 1500 };
    const ChartTable::Table instalments = ChartFigures::instalmentsTable(ahead);
    QCOMPARE(instalments.labels.first(), u"Dicembre 2026"_s);
    QCOMPARE(instalments.labels[1], u"Gennaio 2027"_s);
    QCOMPARE(instalments.summary, u"Totale: 3 rate, 1.500,00 €."_s);
    QVERIFY(instalments.notice.isEmpty());

    ChartFigures::TopUnloaded top;
    const ChartTable::Table none = ChartFigures::topUnloadedTable(top, 2024);
    QVERIFY(none.empty);
    QCOMPARE(none.emptyText, u"Nessun movimento di scarico nell'anno scelto."_s);
}

void TestChartFigures::euroText_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("thousands") << 1234.56 << u"1.234,56 €"_s;
    QTest::newRow("zero") << 0.0 << u"0,00 €"_s;
    QTest::newRow("small negative rounds to zero") << -0.004 << u"0,00 €"_s;
    QTest::newRow("millions negative") << -1234567.891 << u"-1.234.567,89 €"_s;
    QTest::newRow("sum of tenths") << 0.1 + 0.2 << u"0,30 €"_s;
    QTest::newRow("four decimals") << 12.3456 << u"12,35 €"_s;
    QTest::newRow("hundred") << 100.0 << u"100,00 €"_s;
    QTest::newRow("not a number") << std::nan("") << u"0,00 €"_s;
}

void TestChartFigures::euroText()
{
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(ChartTable::euroText(amount), text);
}

void TestChartFigures::scale_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("euro to a hundred")
        << 0.0 << 95.0 << int(Unit::Euro)
        << QStringList { u"0 €"_s, u"20 €"_s, u"40 €"_s, u"60 €"_s, u"80 €"_s, u"100 €"_s };
    QTest::newRow("pieces never below one")
        << 0.0 << 1.0 << int(Unit::Pieces) << QStringList { u"0"_s, u"1"_s };
    QTest::newRow("nothing at all")
        << 0.0 << 0.0 << int(Unit::Count) << QStringList { u"0"_s, u"1"_s };
    QTest::newRow("negative values")
        << -30.0 << 10.0 << int(Unit::Euro)
        << QStringList { u"-30 €"_s, u"-20 €"_s, u"-10 €"_s, u"0 €"_s, u"10 €"_s };
    QTest::newRow("cents") << 0.0 << 2.5 << int(Unit::Euro)
                           << QStringList { u"0,0 €"_s, u"0,5 €"_s, u"1,0 €"_s, u"1,5 €"_s,
                                  u"2,0 €"_s, u"2,5 €"_s };
    QTest::newRow("thousands") << 0.0 << 12000.0 << int(Unit::Pieces)
                               << QStringList { u"0"_s, u"2.000"_s, u"4.000"_s, u"6.000"_s,
                                      u"8.000"_s, u"10.000"_s, u"12.000"_s };
}

void TestChartFigures::scale()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, unit);
    QFETCH(QStringList, labels);
    const ChartTable::Scale s = ChartTable::scale(low, high, Unit(unit));
    QCOMPARE(s.labels, labels);
    QVERIFY(s.min <= low && s.max >= high);
}

void TestChartFigures::labelAngle_data()
{
    QTest::addColumn<double>("widest");
    QTest::addColumn<double>("slot");
    QTest::addColumn<int>("angle");
    QTest::newRow("fits") << 70.0 << 100.0 << 0;
    QTest::newRow("slanted") << 95.0 << 100.0 << -45;
    QTest::newRow("upright") << 95.0 << 22.0 << -90;
}

void TestChartFigures::labelAngle()
{
    QFETCH(double, widest);
    QFETCH(double, slot);
    QFETCH(int, angle);
    QCOMPARE(ChartTable::labelAngle(widest, 16, slot), angle);
}

void TestChartFigures::fitLabels_data()
{
    QTest::addColumn<double>("widest");
    QTest::addColumn<double>("minSize");
    QTest::addColumn<double>("size");
    QTest::addColumn<int>("angle");
    // Slots of 100 leave 88 to a label; the font is 10 and the line 16 high.
    QTest::newRow("fits as it is") << 60.0 << 7.5 << 10.0 << 0;
    QTest::newRow("smaller font") << 100.0 << 7.5 << 8.8 << 0;
    QTest::newRow("slanted when smaller is too small") << 100.0 << 9.5 << 10.0 << -45;
    QTest::newRow("upright when slanted is too wide") << 200.0 << 7.5 << 10.0 << -90;
}

void TestChartFigures::fitLabels()
{
    QFETCH(double, widest);
    QFETCH(double, minSize);
    QFETCH(double, size);
    QFETCH(int, angle);
    const ChartTable::LabelFit fit = ChartTable::fitLabels(widest, 16, 100, 10, minSize);
    QVERIFY(near(fit.size, size));
    QCOMPARE(fit.angle, angle);
}

void TestChartFigures::uniqueLabels()
{
    QCOMPARE(ChartTable::uniqueLabels(
                 { u"Altre"_s, u"altre"_s, u"Altre"_s, u"Altre (2)"_s, u"Altre"_s }),
        (QStringList {
            u"Altre"_s, u"altre"_s, u"Altre (2)"_s, u"Altre (2) (2)"_s, u"Altre (3)"_s }));
}

void TestChartFigures::axisLabels()
{
    ChartTable::Table table;
    table.horizontal = true;
    table.labels = { u"GOM-1"_s, u"GOM-2"_s };
    table.texts = { u"Pirelli P Zero Rosso Asimmetrico 245/40 R18 97Y XL"_s, QString() };
    table.series = { { u"Pezzi"_s, Unit::Pieces, ChartTable::Plot::Bars, { 1234, 2.5 } } };
    QCOMPARE(ChartTable::axisLabels(table),
        (QStringList {
            u"GOM-1 Pirelli P Zero Rosso Asimmetrico…  (1.234 pz)"_s, u"GOM-2  (2,5 pz)"_s }));
    table.horizontal = false;
    QCOMPARE(ChartTable::axisLabels(table), table.labels);
}

void TestChartFigures::csvBytes()
{
    ChartTable::Table table;
    table.labelHeader = u"Codice"_s;
    table.textHeader = u"Descrizione"_s;
    table.labels = { u"A;1"_s, u"B"_s };
    table.texts = { u"Gomma \"estiva\""_s, u"Cerchio"_s };
    table.series = { { u"Pezzi scaricati"_s, Unit::Pieces, ChartTable::Plot::Bars, { 1234, 2.5 } },
        { u"Valore (€)"_s, Unit::Euro, ChartTable::Plot::Line, { 12345.678, -0.5 } },
        { u"Numero"_s, Unit::Count, ChartTable::Plot::Line, { 3, 1000 } } };
    QCOMPARE(ChartTable::csv(table),
        QByteArray("\xEF\xBB\xBF"
                   "Codice;Descrizione;Pezzi scaricati;Valore (\xE2\x82\xAC);Numero\r\n"
                   "\"A;1\";\"Gomma \"\"estiva\"\"\";1234;12345,68;3\r\n"
                   "B;Cerchio;2,5;-0,50;1000\r\n"));
}

void TestChartFigures::csvReplacesOnlyWhenWritten()
{
    TempProgramFolder folder;
    ChartTable::Table table;
    table.labelHeader = u"Mese"_s;
    table.labels = { u"Gennaio"_s };
    table.series = { { u"Pezzi"_s, Unit::Pieces, ChartTable::Plot::Bars, { 1 } } };
    const QString path = folder.filePath(u"Grafico.csv"_s);
    QVERIFY(ChartTable::saveCsv(path, table));
    QCOMPARE(folder.readAll(u"Grafico.csv"_s), ChartTable::csv(table));
    // Into a folder that does not exist: nothing written, an error given.
    QString error;
    QVERIFY(!ChartTable::saveCsv(folder.filePath(u"manca/Grafico.csv"_s), table, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(folder.readAll(u"Grafico.csv"_s), ChartTable::csv(table));
}

QTEST_APPLESS_MAIN(TestChartFigures)
#include "tst_chartfigures.moc"
