#include "charts/ChartFigures.h"
#include "charts/ChartTable.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include "common/TempProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

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
    QCOMPARE(ChartFigures::movementYears(folder.path()),
        (QStringList { u"2025"_s, u"2024"_s, u"2019"_s }));
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
