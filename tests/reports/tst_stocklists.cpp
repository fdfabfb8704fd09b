#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "reports/SummarySelection.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include "common/TempProgramFolder.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestStockLists : public QObject
{
    Q_OBJECT
private slots:
    void inventoryLineColumns();
    void inventoryTotalText_data();
    void inventoryTotalText();
    void underStockRule_data();
    void underStockRule();
    void underStockStopsAtADamagedProduct();
    void movementLineColumns_data();
    void movementLineColumns();
    void movementFilterAndInterval_data();
    void movementFilterAndInterval();
    void printExtras();
    void monthNumber_data();
    void monthNumber();
    void intervalDate_data();
    void intervalDate();
    void selectionCheck_data();
    void selectionCheck();
    void twinsDifferOnlyInTheirTexts();
};

namespace {

Record productRecord(const QString &code, const QString &stock, const QString &minimum)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Giacenza, stock);
    r.setValue(ProductRecord::Sottoscorta, minimum);
    return r;
}

Record movement(const QString &date, const QString &code, const QString &quantity = u"1"_s)
{
    Record r(MovementRecord::layout());
    r.setValue(MovementRecord::Data, date);
    r.setValue(MovementRecord::Codice, code);
    r.setValue(MovementRecord::Quantita, quantity);
    r.setValue(MovementRecord::Importo, u"2,50"_s);
    return r;
}

} // namespace

void TestStockLists::inventoryLineColumns()
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, u"A-1234567890-1234567890-1234567"_s); // 31 characters
    r.setValue(ProductRecord::Marca, u"Bridgestone Corporation Europe"_s);
    r.setValue(ProductRecord::Modello, u"Turanza T005 Driveguard"_s);
    r.setValue(ProductRecord::Costo, u"45,50"_s);
    r.setValue(ProductRecord::Giacenza, u"12"_s);
    r.setValue(ProductRecord::Valore, u"546,00"_s);
    const QString line = ListLines::buildLine(StockLists::inventoryColumns(), r);
    QCOMPARE(line,
        u"A-1234567890-1234567890-123456"_s + u"  Bridgestone Corporation Europe Turanza T"_s
            + u"  Costo: € 45,50       "_s + u"  Giacenza: 12          "_s
            + u"  Valore: € 546,00"_s);

    // The under-stock line differs in the cost label and its last column.
    r.setValue(ProductRecord::Note, u"riordinare"_s);
    const QString under = ListLines::buildLine(StockLists::underStockColumns(), r);
    QVERIFY(under.contains(u"  Costo: 45,50         Giacenza: 12            Note: riordinare"));
    QVERIFY(!under.contains(u"€"));
}

void TestStockLists::inventoryTotalText_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << 0.0 << u"€ 0,00"_s;
    QTest::newRow("one decimal padded") << 1234.5 << u"€ 1234,50"_s;
    QTest::newRow("four decimals kept") << 12.3456 << u"€ 12,3456"_s;
    QTest::newRow("fifth decimal rounded away") << 10.00004 << u"€ 10,00"_s;
    QTest::newRow("binary noise of 0,1 + 0,2") << (0.1 + 0.2) << u"€ 0,30"_s;
    QTest::newRow("negative stock value") << -2.5 << u"€ -2,50"_s;
}

void TestStockLists::inventoryTotalText()
{
    QFETCH(double, total);
    QFETCH(QString, shown);
    QCOMPARE(StockLists::inventoryTotalText(total), shown);
}

void TestStockLists::underStockRule_data()
{
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<int>("expected"); // 1 listed, 0 not listed, -1 unreadable
    QTest::newRow("above") << u"3"_s << u"2"_s << 0;
    QTest::newRow("equal") << u"2"_s << u"2"_s << 1;
    QTest::newRow("below") << u"1"_s << u"2"_s << 1;
    QTest::newRow("both zero") << u"0"_s << u"0"_s << 1;
    QTest::newRow("negative stock") << u"-4"_s << u"0"_s << 1;
    QTest::newRow("decimal comma stock") << u"2,5"_s << u"2"_s << 0;
    QTest::newRow("decimal comma minimum") << u"2"_s << u"2,5"_s << 1;
    QTest::newRow("empty stock") << QString() << u"2"_s << -1;
    QTest::newRow("point is not a separator") << u"1.5"_s << u"2"_s << -1;
    QTest::newRow("letters in the minimum") << u"1"_s << u"due"_s << -1;
}

void TestStockLists::underStockRule()
{
    QFETCH(QString, stock);
    QFETCH(QString, minimum);
    QFETCH(int, expected);
    const auto under = StockLists::isUnderStock(stock, minimum);
    QCOMPARE(under.has_value(), expected >= 0);
    if (under)
        QCOMPARE(*under, expected == 1);
}

void TestStockLists::underStockStopsAtADamagedProduct()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QVERIFY(file.append(productRecord(u"zeta"_s, u"1"_s, u"5"_s)));
    QVERIFY(file.append(productRecord(u"Alfa"_s, u"0"_s, u"0"_s)));
    QVERIFY(file.append(productRecord(u"over"_s, u"9"_s, u"5"_s)));
    QVERIFY(file.append(productRecord(u"beta"_s, u"2"_s, u"2"_s)));
    ListLines::Scan scan = StockLists::underStockLines(file);
    QVERIFY(scan.complete);
    QCOMPARE(scan.lines.size(), 3);
    QVERIFY(scan.lines[0].startsWith(u"Alfa "));
    QVERIFY(scan.lines[1].startsWith(u"beta "));
    QVERIFY(scan.lines[2].startsWith(u"zeta "));

    QVERIFY(file.append(productRecord(u"damaged"_s, QString(), u"2"_s)));
    QVERIFY(file.append(productRecord(u"after"_s, u"0"_s, u"2"_s)));
    scan = StockLists::underStockLines(file);
    QVERIFY(!scan.complete);
    QCOMPARE(scan.lines.size(), 3);
}

void TestStockLists::movementLineColumns_data()
{
    QTest::addColumn<bool>("load");
    QTest::addColumn<QString>("expected");
    const QString common = u"Data: 05/03/2021  Cod. art. GOM-01                Tipo: Pneumatici"
                           u"            Marca: Pirelli P Zero                "_s;
    QTest::newRow("load") << true << common + u"  Pezzi: +7           Costo: € 80,00"_s;
    // The sign belongs to the label; the quantity is written as stored.
    QTest::newRow("unload") << false << common + u"  Pezzi: -7           Prezzo: € 80,00"_s;
}

void TestStockLists::movementLineColumns()
{
    QFETCH(bool, load);
    QFETCH(QString, expected);
    Record r(MovementRecord::layout());
    r.setValue(MovementRecord::Data, u"05/03/2021"_s);
    r.setValue(MovementRecord::Ora, u"10:11:12"_s);
    r.setValue(MovementRecord::Codice, u"GOM-01"_s);
    r.setValue(MovementRecord::Tipologia, u"Pneumatici"_s);
    r.setValue(MovementRecord::Marca, u"Pirelli"_s);
    r.setValue(MovementRecord::Modello, u"P Zero"_s);
    r.setValue(MovementRecord::Quantita, u"7"_s);
    r.setValue(MovementRecord::Importo, u"80,00"_s);
    r.setValue(MovementRecord::Note, u"non mostrata"_s);
    const auto kind = load ? MovementRecord::Kind::Load : MovementRecord::Kind::Unload;
    QCOMPARE(ListLines::buildLine(StockLists::movementColumns(kind), r), expected);
}

void TestStockLists::movementFilterAndInterval_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QStringList>("codes"); // codes listed, in file order
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("shownFilter");
    // The file: 04/03 AB-1, 05/03 xab, 05/03 (no code), 06/03 X-12, 31/12 ab.
    QTest::newRow("one day, every code")
        << QString() << u"05/03/2021"_s << u"05/03/2021"_s << QStringList { u"xab"_s, QString() }
        << true << u"Tutti gli articoli"_s;
    QTest::newRow("filter ab ignores case, empty code left out")
        << u"ab"_s << u"01/01/2021"_s << u"31/12/2021"_s
        << QStringList { u"AB-1"_s, u"xab"_s, u"ab"_s } << true << u"ab"_s;
    QTest::newRow("both ends included") << QString() << u"04/03/2021"_s << u"06/03/2021"_s
                                        << QStringList { u"AB-1"_s, u"xab"_s, QString(), u"X-12"_s }
                                        << true << u"Tutti gli articoli"_s;
    QTest::newRow("filter matching nothing still shows it")
        << u"zz"_s << u"01/01/2021"_s << u"31/12/2021"_s << QStringList {} << true << u"zz"_s;
    QTest::newRow("blank filter lists all codes")
        << u"   "_s << u"31/12/2021"_s << u"31/12/2021"_s << QStringList { u"ab"_s } << true
        << u"Tutti gli articoli"_s;
}

void TestStockLists::movementFilterAndInterval()
{
    QFETCH(QString, filter);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QStringList, codes);
    QFETCH(bool, complete);
    QFETCH(QString, shownFilter);

    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(MovementRecord::archiveNamed(u"Carico_2021.mrv"_s)));
    QVERIFY(file.append(movement(u"04/03/2021"_s, u"AB-1"_s)));
    QVERIFY(file.append(movement(u"05/03/2021"_s, u"xab"_s)));
    QVERIFY(file.append(movement(u"05/03/2021"_s, QString())));
    QVERIFY(file.append(movement(u"06/03/2021"_s, u"X-12"_s)));
    QVERIFY(file.append(movement(u"31/12/2021"_s, u"ab"_s)));

    const auto mov = StockLists::movementLines(
        file, MovementRecord::Kind::Load, filter, *DateFromText(start), *DateFromText(end));
    QCOMPARE(mov.complete, complete);
    QCOMPARE(mov.shownFilter, shownFilter);
    QCOMPARE(mov.lines.size(), codes.size());
    for (int i = 0; i < codes.size(); ++i)
        QCOMPARE(mov.lines[i].mid(28, 20).trimmed(), codes[i]);
}

void TestStockLists::printExtras()
{
    QCOMPARE(StockLists::inventoryPrintExtra(u" € 12,50 "_s),
        (QStringList { u"--------------------------"_s, u"VALORE TOTALE: € 12,50"_s }));
    const QStringList extra = StockLists::movementPrintExtra(
        StockLists::intervalText(u"01/03/2021"_s, u"31/03/2021"_s), u"4"_s);
    QCOMPARE(extra,
        (QStringList { u"- - - - - - - - - - - - - - - -"_s,
            u"INTERVALLO SELEZIONATO:    Dal   01/03/2021   al   31/03/2021"_s,
            u"TOTALE MOVIMENTI:  4"_s }));
    QCOMPARE(extra[0].size(), 31);
}

void TestStockLists::monthNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    const QStringList names = SummarySelection::monthNames();
    QCOMPARE(names.size(), 12);
    for (int i = 0; i < names.size(); ++i)
        QTest::addRow("%s", qPrintable(names[i])) << names[i] << i + 1;
    QTest::newRow("upper case and blanks") << u"  SETTEMBRE "_s << 9;
    QTest::newRow("abbreviation") << u"Set"_s << 0;
    QTest::newRow("empty") << QString() << 0;
}

void TestStockLists::monthNumber()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(SummarySelection::monthNumber(text), number);
}

void TestStockLists::intervalDate_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("date");
    QTest::newRow("march") << u"05"_s << u"Marzo"_s << u"2021"_s << u"05/03/2021"_s;
    QTest::newRow("december") << u"31"_s << u"Dicembre"_s << u" 1999 "_s << u"31/12/1999"_s;
    QTest::newRow("unknown month") << u"05"_s << u"Marz"_s << u"2021"_s << QString();
    QCOMPARE(SummarySelection::dayTexts().first(), u"01"_s);
    QCOMPARE(SummarySelection::dayTexts().size(), 31);
}

void TestStockLists::intervalDate()
{
    QFETCH(QString, day);
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, date);
    QCOMPARE(SummarySelection::intervalDate(day, month, year), date);
}

void TestStockLists::selectionCheck_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QStringList>("choice"); // start day, start month, end day, end month
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::newRow("one day") << u"2021"_s
                             << QStringList { u"05"_s, u"Marzo"_s, u"05"_s, u"Marzo"_s } << true
                             << u"05/03/2021"_s << u"05/03/2021"_s;
    QTest::newRow("leap day exists")
        << u"2024"_s << QStringList { u"29"_s, u"Febbraio"_s, u"01"_s, u"Marzo"_s } << true
        << u"29/02/2024"_s << u"01/03/2024"_s;
    // A date that does not exist is still shown in its label.
    QTest::newRow("no leap day") << u"2023"_s
                                 << QStringList { u"29"_s, u"Febbraio"_s, u"01"_s, u"Marzo"_s }
                                 << false << u"29/02/2023"_s << QString();
    QTest::newRow("reversed") << u"2021"_s
                              << QStringList { u"10"_s, u"Marzo"_s, u"09"_s, u"Marzo"_s } << false
                              << u"10/03/2021"_s << u"09/03/2021"_s;
    QTest::newRow("whole year 2100 is no leap year")
        << u"2100"_s << QStringList { u"01"_s, u"Gennaio"_s, u"29"_s, u"Febbraio"_s } << false
        << u"01/01/2100"_s << u"29/02/2100"_s;
}

void TestStockLists::selectionCheck()
{
    QFETCH(QString, year);
    QFETCH(QStringList, choice);
    QFETCH(bool, ok);
    QFETCH(QString, start);
    QFETCH(QString, end);
    SummarySelection::Choice c { year, year, year, choice[0], choice[1], choice[2], choice[3] };
    const auto outcome = SummarySelection::check(c);
    QCOMPARE(outcome.ok, ok);
    QCOMPARE(outcome.startDate, start);
    QCOMPARE(outcome.endDate, end);
    QCOMPARE(outcome.notice.isEmpty(), ok);
}

void TestStockLists::twinsDifferOnlyInTheirTexts()
{
    TempProgramFolder folder;
    const auto &load = SummarySelection::twin(MovementRecord::Kind::Load);
    const auto &unload = SummarySelection::twin(MovementRecord::Kind::Unload);
    QCOMPARE(SummarySelection::yearlyFilePath(load.filePrefix, u" 2021 "_s),
        folder.filePath(u"Carico_2021.mrv"_s));
    QCOMPARE(SummarySelection::yearlyFilePath(unload.filePrefix, u"2021"_s),
        folder.filePath(u"Scarico_2021.mrv"_s));
    QVERIFY(load.codeCaption.contains(u"movimenti di carico"));
    QVERIFY(unload.codeCaption.contains(u"movimenti di scarico"));
    QCOMPARE(QString(load.codeCaption).replace(u"carico"_s, u"scarico"_s), unload.codeCaption);
}

QTEST_APPLESS_MAIN(TestStockLists)
#include "tst_stocklists.moc"
