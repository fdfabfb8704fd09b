#include "common/StoredRecords.h"
#include "common/TempProgramFolder.h"
#include "export/Exporters.h"
#include "import/CsvReader.h"
#include "import/HtmlSheet.h"
#include "import/ImportFields.h"
#include "import/ImportRun.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

using ImportFields::Target;
using SheetRows::Cell;
using SheetRows::Row;

namespace {

Row textRow(const QStringList &texts)
{
    Row row;
    for (const QString &t : texts)
        row.append(Cell::fromText(t));
    return row;
}

QList<QStringList> parseCsv(const QString &text, QChar separator, int chunk = 0)
{
    QList<QStringList> rows;
    CsvReader::Parser parser(separator, [&](qint64, const Row &row) {
        QStringList texts;
        for (const Cell &cell : row)
            texts.append(cell.text);
        rows.append(texts);
        return true;
    });
    if (chunk <= 0) {
        parser.feed(text);
    } else {
        for (qsizetype at = 0; at < text.size(); at += chunk)
            parser.feed(QStringView(text).mid(at, chunk));
    }
    parser.finish();
    return rows;
}

// A row source over rows held in memory.
ImportRun::RowSource rowsSource(const QList<Row> &rows)
{
    return [rows](const SheetRows::RowSink &sink, QString &) {
        qint64 n = 0;
        for (const Row &row : rows) {
            if (!sink(++n, row))
                break;
        }
        return true;
    };
}

// Appends to an archive of the program folder a record with these fields set.
bool appendRecord(const Archive &archive, const QList<std::pair<int, QString>> &values)
{
    RecordFile file;
    if (!file.open(archive))
        return false;
    Record record(*archive.layout);
    for (const auto &[field, text] : values)
        record.setValue(field, text);
    return file.append(record);
}

int fieldPosition(Target target, const QString &name)
{
    const QList<ImportFields::Field> &all = ImportFields::fields(target);
    for (int f = 0; f < all.size(); ++f) {
        if (all[f].name == name)
            return f;
    }
    return -1;
}

// A mapping of the named fields to columns 0, 1, 2... in order.
QList<int> mappingOf(Target target, const QStringList &fieldNames)
{
    QList<int> mapping(ImportFields::fields(target).size(), -1);
    for (int c = 0; c < fieldNames.size(); ++c)
        mapping[fieldPosition(target, fieldNames[c])] = c;
    return mapping;
}

} // namespace

class TestImportCore : public QObject
{
    Q_OBJECT
private slots:
    void amounts_data();
    void amounts();
    void dates_data();
    void dates();
    void serialDates();
    void encodingFinder_data();
    void encodingFinder();
    void separatorFinder_data();
    void separatorFinder();
    void csvFields_data();
    void csvFields();
    void csvReadsBomAndWindows1252();
    void htmlCells_data();
    void htmlCells();
    void htmlTable();
    void headerMatching_data();
    void headerMatching();
    void exportHeadersMatchEveryExportedField_data();
    void exportHeadersMatchEveryExportedField();
    void headerDetection_data();
    void headerDetection();
    void productConversion_data();
    void productConversion();
    void textTooLongOrNotStorable_data();
    void textTooLongOrNotStorable();
    void cardChecksRejectRows_data();
    void cardChecksRejectRows();
    void joinedColumnsSplit();
    void duplicateKeys_data();
    void duplicateKeys();
    void duplicatePolicy_data();
    void duplicatePolicy();
    void summaryCounts();
    void failedImportLeavesArchiveAsItWas_data();
    void failedImportLeavesArchiveAsItWas();
    void cancelledImportLeavesArchiveAsItWas();
    void leftoverWorkingCopyIsThrownAway();
    void scrapFileImportsAgain();
    void completionText();
};

void TestImportCore::amounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("italian grouped") << "1.234,56" << true << 1234.56;
    QTest::newRow("italian") << "1234,56" << true << 1234.56;
    QTest::newRow("point decimal") << "1234.56" << true << 1234.56;
    QTest::newRow("english grouped") << "1,234.56" << true << 1234.56;
    QTest::newRow("thousands only") << "1.234" << true << 1234.0;
    QTest::newRow("millions") << "1.234.567" << true << 1234567.0;
    QTest::newRow("zero point") << "0.500" << true << 0.5;
    QTest::newRow("euro and blanks") << "€ 12,50 " << true << 12.5;
    QTest::newRow("negative") << "-3,5" << true << -3.5;
    QTest::newRow("whole") << "7" << true << 7.0;
    QTest::newRow("letters") << "12 pezzi" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("only sign") << "-" << false << 0.0;
}

void TestImportCore::amounts()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const std::optional<double> parsed = ImportFields::parseAmount(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TestImportCore::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("dd/mm/yyyy") << "05/03/2021" << QDate(2021, 3, 5);
    QTest::newRow("d/m/yyyy") << "5/3/2021" << QDate(2021, 3, 5);
    QTest::newRow("iso") << "2021-03-05" << QDate(2021, 3, 5);
    QTest::newRow("iso with time") << "2021-03-05 00:00:00" << QDate(2021, 3, 5);
    QTest::newRow("dots") << "05.03.2021" << QDate(2021, 3, 5);
    QTest::newRow("dashes") << "05-03-2021" << QDate(2021, 3, 5);
    QTest::newRow("leap day") << "29/02/2024" << QDate(2024, 2, 29);
    QTest::newRow("no leap day") << "29/02/2023" << QDate();
    QTest::newRow("two-digit year") << "05/03/21" << QDate();
    QTest::newRow("words") << "ieri" << QDate();
}

void TestImportCore::dates()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const std::optional<QDate> parsed = ImportFields::parseDate(text);
    QCOMPARE(parsed.value_or(QDate()), date);
}

void TestImportCore::serialDates()
{
    // The day numbers of the spreadsheet programs (1900 system, with its 29 February 1900).
    QCOMPARE(ImportFields::dateFromSerial(1).value(), QDate(1900, 1, 1));
    QCOMPARE(ImportFields::dateFromSerial(59).value(), QDate(1900, 2, 28));
    QVERIFY(!ImportFields::dateFromSerial(60));
    QCOMPARE(ImportFields::dateFromSerial(61).value(), QDate(1900, 3, 1));
    QCOMPARE(ImportFields::dateFromSerial(44260).value(), QDate(2021, 3, 5));
    QCOMPARE(ImportFields::dateFromSerial(44260.75).value(), QDate(2021, 3, 5));
    QVERIFY(!ImportFields::dateFromSerial(0));
    QVERIFY(!ImportFields::dateFromSerial(-5));
}

void TestImportCore::encodingFinder_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("wholeFile");
    QTest::addColumn<int>("encoding");
    const int utf8 = int(CsvReader::Encoding::Utf8);
    const int bom = int(CsvReader::Encoding::Utf8Bom);
    const int cp = int(CsvReader::Encoding::Windows1252);
    QTest::newRow("ascii") << QByteArray("a;b\n1;2\n") << true << utf8;
    QTest::newRow("utf-8 accents") << QByteArray("citt\xC3\xA0;qt\xC3\xA0\n") << true << utf8;
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF"
                                       "a;b\n")
                         << true << bom;
    QTest::newRow("windows-1252") << QByteArray("citt\xE0;\x80 5\n") << true << cp;
    QTest::newRow("sequence cut by the sample") << QByteArray("citt\xC3\xA0;\xC3") << false << utf8;
    QTest::newRow("sequence cut by the end of the file")
        << QByteArray("citt\xC3\xA0;\xC3") << true << cp;
    QTest::newRow("overlong lead byte") << QByteArray("\xC0\xAF") << true << cp;
}

void TestImportCore::encodingFinder()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, wholeFile);
    QFETCH(int, encoding);
    QCOMPARE(int(CsvReader::detectEncoding(bytes, wholeFile)), encoding);
}

void TestImportCore::separatorFinder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::newRow("semicolon") << "Codice;Prezzo\nA;1,50\nB;2,00\n" << QChar(u';');
    QTest::newRow("comma with decimal points") << "Codice,Prezzo\nA,1.50\nB,2.00\n" << QChar(u',');
    QTest::newRow("tab") << "Codice\tPrezzo\tNote\nA\t1,50\tx\n" << QChar(u'\t');
    QTest::newRow("semicolon with decimal commas")
        << "Codice;Prezzo;Costo\nA;1,50;1,00\nB;2,00;1,20\n"
        << QChar(u';');
    QTest::newRow("separators inside quotes ignored") << "\"a;b;c\",x\n\"d;e\",y\n" << QChar(u',');
    QTest::newRow("one column") << "Codice\nA\nB\n" << QChar(u';');
}

void TestImportCore::separatorFinder()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QCOMPARE(CsvReader::detectSeparator(text), separator);
}

void TestImportCore::csvFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("plain") << "a;b\r\nc;d\r\n" << QList<QStringList> { { "a", "b" }, { "c", "d" } };
    QTest::newRow("quoted separator") << "\"a;b\";c\n" << QList<QStringList> { { "a;b", "c" } };
    QTest::newRow("doubled quotes") << "\"il \"\"Dado\"\"\";x\n"
                                    << QList<QStringList> { { "il \"Dado\"", "x" } };
    QTest::newRow("line break inside quotes")
        << "\"riga 1\r\nriga 2\";x\ny;z"
        << QList<QStringList> { { "riga 1\r\nriga 2", "x" }, { "y", "z" } };
    QTest::newRow("empty lines skipped") << "a;b\n\n\nc;d\n"
                                         << QList<QStringList> { { "a", "b" }, { "c", "d" } };
    QTest::newRow("cr only") << "a;b\rc;d" << QList<QStringList> { { "a", "b" }, { "c", "d" } };
    QTest::newRow("empty fields") << ";x;\n" << QList<QStringList> { { "", "x", "" } };
    QTest::newRow("quote inside a plain field") << "5\" pollici;x\n"
                                                << QList<QStringList> { { "5\" pollici", "x" } };
    QTest::newRow("uneven rows") << "a;b;c\nd\n"
                                 << QList<QStringList> { { "a", "b", "c" }, { "d" } };
}

void TestImportCore::csvFields()
{
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, rows);
    QCOMPARE(parseCsv(text, u';'), rows);
    // The same text fed in pieces of any size gives the same rows.
    for (int chunk : { 1, 2, 3, 7 })
        QCOMPARE(parseCsv(text, u';', chunk), rows);
}

void TestImportCore::csvReadsBomAndWindows1252()
{
    auto readAll = [](const QByteArray &bytes, CsvReader::Dialect &dialect) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QList<QStringList> rows;
        QString error;
        CsvReader::read(
            buffer,
            [&](qint64, const Row &row) {
                QStringList texts;
                for (const Cell &c : row)
                    texts.append(c.text);
                rows.append(texts);
                return true;
            },
            error, &dialect);
        return rows;
    };
    CsvReader::Dialect dialect;
    QCOMPARE(readAll(QByteArray("\xEF\xBB\xBF"
                                "Città,Qtà\nRoma,3\n"),
                 dialect),
        (QList<QStringList> { { "Città", "Qtà" }, { "Roma", "3" } }));
    QCOMPARE(dialect, (CsvReader::Dialect { u',', CsvReader::Encoding::Utf8Bom }));
    QCOMPARE(readAll(QByteArray("Citt\xE0\tPrezzo\n\x80 caff\xE8\t1,20\n"), dialect),
        (QList<QStringList> { { "Città", "Prezzo" }, { "€ caffè", "1,20" } }));
    QCOMPARE(dialect, (CsvReader::Dialect { u'\t', CsvReader::Encoding::Windows1252 }));
    // A character split between two read blocks of UTF-8 comes out whole.
    QByteArray big = "Descrizione;Note\n";
    while (big.size() < 64 * 1024 - 1)
        big += "a";
    big += "\xC3\xA8;fine\n";
    const QList<QStringList> rows = readAll(big, dialect);
    QCOMPARE(rows.size(), 2);
    QVERIFY(rows[1][0].endsWith(u'è'));
    QCOMPARE(rows[1][1], QStringLiteral("fine"));
}

void TestImportCore::htmlCells_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("text");
    QTest::newRow("references") << QByteArray("A &amp; B &lt;1&gt; &#8364; &#x41;") << false
                                << "A & B <1> € A";
    QTest::newRow("windows-1252") << QByteArray("caff\xE8 \x80") << false << "caffè €";
    QTest::newRow("utf-8") << QByteArray("caff\xC3\xA8") << true << "caffè";
    QTest::newRow("tags and line break") << QByteArray("<b>uno</b><br>due") << false << "uno\ndue";
    QTest::newRow("blanks") << QByteArray("  a \r\n  b  ") << false << "a b";
}

void TestImportCore::htmlCells()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    QFETCH(QString, text);
    QCOMPARE(HtmlSheet::cellText(bytes, utf8), text);
}

void TestImportCore::htmlTable()
{
    // As the program's own .xls export writes it: one line, Windows-1252.
    const QByteArray html = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                            "charset=windows-1252\"><!--[if gte mso 9]><xml><x:ExcelWorkbook>"
                            "<x:Name>Magazzino</x:Name></x:ExcelWorkbook></xml><![endif]-->"
                            "</head><body><table x:str><tr><td style=\"x\" width=250>Codice "
                            "articolo</td><td>Note</td></tr><tr><td>A1</td><td>caff\xE8 &amp; "
                            "t\xE8</td></tr><tr><td></td><td></td></tr><tr><td colspan=2>X</td>"
                            "<td>Y</td></tr></table><table><tr><td>altra</td></tr></table></body>"
                            "</html>";
    QBuffer buffer;
    buffer.setData(html);
    buffer.open(QIODevice::ReadOnly);
    QVERIFY(HtmlSheet::looksLikeHtml(html));
    QCOMPARE(HtmlSheet::sheetName(buffer), QStringLiteral("Magazzino"));
    QList<QStringList> rows;
    QList<qint64> numbers;
    QString error;
    QVERIFY(HtmlSheet::read(
        buffer,
        [&](qint64 n, const Row &row) {
            QStringList texts;
            for (const Cell &c : row)
                texts.append(c.text);
            rows.append(texts);
            numbers.append(n);
            return true;
        },
        error));
    QCOMPARE(rows,
        (QList<QStringList> {
            { "Codice articolo", "Note" }, { "A1", "caffè & tè" }, { "X", "", "Y" } }));
    QCOMPARE(numbers, (QList<qint64> { 1, 2, 4 }));
}

void TestImportCore::headerMatching_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("field");
    const int p = int(Target::Products), c = int(Target::Customers), s = int(Target::Suppliers);
    QTest::newRow("field name") << p << "codice"
                                << "Codice";
    QTest::newRow("export title") << p << "Codice articolo"
                                  << "Codice";
    QTest::newRow("case and accents") << p << "QUANTITA"
                                      << "Giacenza";
    QTest::newRow("qtà") << p << "Q.tà"
                         << "Giacenza";
    QTest::newRow("giacenza") << p << "Giacenza"
                              << "Giacenza";
    QTest::newRow("prezzo di vendita") << p << "Prezzo di vendita"
                                       << "Prezzo";
    QTest::newRow("aliquota") << p << "Aliquota IVA"
                              << "PercIva";
    QTest::newRow("prezzo con iva") << p << "Prezzo con IVA"
                                    << "Prezzo_con_Iva";
    QTest::newRow("descrizione") << p << " Descrizione "
                                 << "Descrizione";
    QTest::newRow("ragione sociale supplier") << s << "Ragione sociale"
                                              << "Ditta";
    QTest::newRow("p.iva supplier") << s << "P.IVA"
                                    << "PartitaIva";
    QTest::newRow("partita iva supplier") << s << "Partita IVA"
                                          << "PartitaIva";
    QTest::newRow("e-mail supplier") << s << "E-mail"
                                     << "Email";
    QTest::newRow("codice fiscale customer") << c << "Codice fiscale"
                                             << "CodFisc";
    QTest::newRow("p.iva customer") << c << "P. IVA"
                                    << "Iva";
    QTest::newRow("città customer") << c << "Città"
                                    << "ComuneRes";
    QTest::newRow("email customer") << c << "EMAIL"
                                    << "Email";
    QTest::newRow("cellulare") << c << "Cellulare"
                               << "TelCel";
}

void TestImportCore::headerMatching()
{
    QFETCH(int, target);
    QFETCH(QString, header);
    QFETCH(QString, field);
    const Target t = Target(target);
    const QList<int> mapping = ImportFields::matchHeaders(t, { QStringLiteral("Altro"), header });
    QCOMPARE(mapping[fieldPosition(t, field)], 1);
    // Nothing else takes a column named "Altro".
    QVERIFY(!mapping.contains(0));
}

void TestImportCore::exportHeadersMatchEveryExportedField_data()
{
    QTest::addColumn<int>("target");
    QTest::newRow("products") << int(Target::Products);
    QTest::newRow("customers") << int(Target::Customers);
    QTest::newRow("suppliers") << int(Target::Suppliers);
}

void TestImportCore::exportHeadersMatchEveryExportedField()
{
    // What this program exports imports back without touching the drop-downs.
    QFETCH(int, target);
    const Target t = Target(target);
    const Export::Exporter &exporter = Export::exporter(ImportFields::archiveIdOf(t));
    QStringList headers;
    for (const Export::Column &column : exporter.columns)
        headers.append(column.fileHeader.toString());
    const QList<int> mapping = ImportFields::matchHeaders(t, headers);
    for (int c = 0; c < exporter.columnCount(); ++c) {
        const Export::Column &column = exporter.columns[std::size_t(c)];
        for (const int field : { column.field, column.joinedField }) {
            if (field < 0)
                continue;
            const QString name = ImportFields::layoutOf(t).fieldName(field);
            const int f = fieldPosition(t, name);
            QVERIFY2(f >= 0, qPrintable(name));
            QVERIFY2(mapping[f] == c, qPrintable(name));
        }
    }
}

void TestImportCore::headerDetection_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<bool>("header");
    QTest::newRow("known names") << QStringList { "Codice", "Pippo" } << QStringList { "A", "B" }
                                 << true;
    QTest::newRow("unknown names over numbers")
        << QStringList { "Cod", "Pz" } << QStringList { "A1", "12" } << true;
    QTest::newRow("data") << QStringList { "A1", "12" } << QStringList { "A2", "13" } << false;
    QTest::newRow("text over text")
        << QStringList { "x", "y" } << QStringList { "z", "w" } << false;
}

void TestImportCore::headerDetection()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(bool, header);
    const Row secondRow = textRow(second);
    QCOMPARE(ImportFields::looksLikeHeader(Target::Products, textRow(first), &secondRow), header);
}

void TestImportCore::productConversion_data()
{
    QTest::addColumn<Row>("row");
    QTest::addColumn<QStringList>("expected"); // Codice Costo Giacenza Prezzo PercIva
                                               // Prezzo_con_Iva Valore Data
    QTest::newRow("italian texts")
        << textRow({ "A1", "1.234,5", "3", "10", "22", "05/03/2021" })
        << QStringList { "A1", "1234,50", "3", "10,00", "22", "12,20", "3703,50", "05/03/2021" };
    QTest::newRow("point decimals and iso date")
        << textRow({ "A2", "2.5", "2,6", "0.333", "10", "2021-12-31" })
        << QStringList { "A2", "2,50", "3", "0,333", "10", "0,37", "7,50", "31/12/2021" };
    Row numbers { Cell::fromText("A3"), Cell::fromNumber(12.3456789), Cell::fromNumber(4),
        Cell::fromNumber(100), Cell::fromNumber(4),
        Cell { Cell::Kind::Date, QStringLiteral("01/02/2022"), 44593 } };
    QTest::newRow("spreadsheet values")
        << numbers
        << QStringList { "A3", "12,3457", "4", "100,00", "4", "104,00", "49,38", "01/02/2022" };
    QTest::newRow("empty numbers as a new card")
        << textRow({ "A4", "", "", "", "", "" })
        << QStringList { "A4", "0,00", "0", "0,00", "0", "0,00", "0,00", "" };
    QTest::newRow("percent sign") << textRow({ "A5", "1", "1", "1", "22%",
        "" }) << QStringList { "A5", "1,00", "1", "1,00", "22", "1,22", "1,00", "" };
}

void TestImportCore::productConversion()
{
    QFETCH(Row, row);
    QFETCH(QStringList, expected);
    const QList<int> mapping = mappingOf(
        Target::Products, { "Codice", "Costo", "Giacenza", "Prezzo", "PercIva", "Data" });
    const ImportFields::Converted converted
        = ImportFields::convertRow(Target::Products, mapping, row, nullptr);
    QVERIFY2(!converted.rejected(), qPrintable(converted.rejection()));
    using namespace ProductRecord;
    const Record &r = converted.record;
    QCOMPARE((QStringList { r.value(Codice), r.value(Costo), r.value(Giacenza), r.value(Prezzo),
                 r.value(PercIva), r.value(Prezzo_con_Iva), r.value(Valore), r.value(Data) }),
        expected);
    QCOMPARE(r.value(Sottoscorta), QStringLiteral("0"));
}

void TestImportCore::textTooLongOrNotStorable_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("stored");
    QTest::newRow("fits") << QString(250, u'x') << QString() << QString(250, u'x');
    QTest::newRow("too long") << QString(251, u'x') << "Testo troppo lungo" << QString(250, u'x');
    QTest::newRow("huge cell") << QString(100000, u'y') << "Testo troppo lungo"
                               << QString(250, u'y');
    QTest::newRow("not in the code page") << QStringLiteral("Dado \u2603") << "non può essere"
                                          << "Dado ?";
    QTest::newRow("euro is in the code page") << QStringLiteral("10 €") << QString() << "10 €";
}

void TestImportCore::textTooLongOrNotStorable()
{
    QFETCH(QString, description);
    QFETCH(QString, reason);
    QFETCH(QString, stored);
    const QList<int> mapping = mappingOf(Target::Products, { "Codice", "Descrizione" });
    const ImportFields::Converted converted = ImportFields::convertRow(
        Target::Products, mapping, textRow({ "A1", description }), nullptr);
    QVERIFY(!converted.rejected());
    if (reason.isEmpty()) {
        QVERIFY(converted.problems.isEmpty());
    } else {
        QCOMPARE(converted.problems.size(), 1);
        QCOMPARE(converted.problems[0].field, fieldPosition(Target::Products, "Descrizione"));
        QVERIFY2(converted.problems[0].reason.contains(reason),
            qPrintable(converted.problems[0].reason));
    }
    // Stored as the archive can hold it.
    const Record back = Record::fromBytes(ProductRecord::layout(), converted.record.encode());
    QCOMPARE(back.value(ProductRecord::Descrizione), stored);
}

void TestImportCore::cardChecksRejectRows_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("reason");
    const int p = int(Target::Products), c = int(Target::Customers), s = int(Target::Suppliers);
    QTest::newRow("product without code") << p << QStringList { "Codice", "Descrizione" }
                                          << QStringList { " ", "Dado" } << "codice articolo";
    QTest::newRow("product price not a number")
        << p << QStringList { "Codice", "Prezzo" } << QStringList { "A", "dieci" }
        << "Non è un numero";
    QTest::newRow("supplier without company")
        << s << QStringList { "Ditta", "Note" } << QStringList { "", "x" } << "Ditta fornitrice";
    QTest::newRow("customer without name")
        << c << QStringList { "Cognome", "Nome", "Decorrenza", "Scadenza" }
        << QStringList { "Rossi", "", "01/01/2024", "01/02/2024" } << "nome del Cliente";
    QTest::newRow("customer dates the wrong way")
        << c << QStringList { "Cognome", "Nome", "Decorrenza", "Scadenza" }
        << QStringList { "Rossi", "Mario", "01/03/2024", "01/02/2024" } << "anteriore";
}

void TestImportCore::cardChecksRejectRows()
{
    QFETCH(int, target);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, values);
    QFETCH(QString, reason);
    const Target t = Target(target);
    const ImportFields::Converted converted
        = ImportFields::convertRow(t, mappingOf(t, fields), textRow(values), nullptr);
    QVERIFY(converted.rejected());
    QVERIFY2(converted.rejection().contains(reason), qPrintable(converted.rejection()));
}

void TestImportCore::joinedColumnsSplit()
{
    // The export's joined columns go back into their two fields.
    const QList<int> customers = ImportFields::matchHeaders(Target::Customers,
        { QStringLiteral("Cognome e nome Cliente"), QStringLiteral("Decorrenza"),
            QStringLiteral("Scadenza prossima rata"), QStringLiteral("Giorni di preavviso") });
    const ImportFields::Converted customer = ImportFields::convertRow(Target::Customers, customers,
        textRow({ "Rossi Maria Grazia", "1/1/2024", "2024-02-01", "10" }), nullptr);
    QVERIFY2(!customer.rejected(), qPrintable(customer.rejection()));
    QCOMPARE(customer.record.value(CustomerRecord::Cognome), QStringLiteral("Rossi"));
    QCOMPARE(customer.record.value(CustomerRecord::Nome), QStringLiteral("Maria Grazia"));
    QCOMPARE(customer.record.value(CustomerRecord::Decorrenza), QStringLiteral("01/01/2024"));
    QCOMPARE(customer.record.value(CustomerRecord::Scadenza), QStringLiteral("01/02/2024"));

    const QList<int> suppliers = ImportFields::matchHeaders(
        Target::Suppliers, { QStringLiteral("Denominazione Ditta"), QStringLiteral("Città") });
    const ImportFields::Converted supplier = ImportFields::convertRow(
        Target::Suppliers, suppliers, textRow({ "Viti Srl", "Reggio Emilia re" }), nullptr);
    QCOMPARE(supplier.record.value(SupplierRecord::ComuneRes), QStringLiteral("Reggio Emilia"));
    QCOMPARE(supplier.record.value(SupplierRecord::ProvRes), QStringLiteral("RE"));
    QCOMPARE(supplier.record.value(SupplierRecord::Ricontatta), QStringLiteral("No"));
}

void TestImportCore::duplicateKeys_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<bool>("same");
    const int s = int(Target::Suppliers), c = int(Target::Customers), p = int(Target::Products);
    QTest::newRow("product code case and blanks")
        << p << QStringList { "Codice" } << QStringList { " ab-1" } << QStringList { "AB-1 " }
        << true;
    QTest::newRow("products differ")
        << p << QStringList { "Codice" } << QStringList { "A" } << QStringList { "B" } << false;
    QTest::newRow("supplier by vat number")
        << s << QStringList { "Ditta", "PartitaIva" } << QStringList { "Alfa", "01234567890" }
        << QStringList { "Alfa Srl", "01234567890" } << true;
    QTest::newRow("supplier by company name when no vat number")
        << s << QStringList { "Ditta", "PartitaIva" } << QStringList { "Alfa Srl", "" }
        << QStringList { "ALFA SRL", "" } << true;
    QTest::newRow("customer by tax code")
        << c << QStringList { "Cognome", "Nome", "CodFisc" }
        << QStringList { "Rossi", "Mario", "rssmra80a01h501u" }
        << QStringList { "Rossi", "M.", "RSSMRA80A01H501U" } << true;
    QTest::newRow("customer by name and phone")
        << c << QStringList { "Cognome", "Nome", "TelCel" }
        << QStringList { "Rossi", "Mario", "333 1" } << QStringList { "ROSSI", "mario", "333 1" }
        << true;
    QTest::newRow("customer namesakes with other phones")
        << c << QStringList { "Cognome", "Nome", "TelCel" }
        << QStringList { "Rossi", "Mario", "333 1" } << QStringList { "Rossi", "Mario", "333 2" }
        << false;
}

void TestImportCore::duplicateKeys()
{
    QFETCH(int, target);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(bool, same);
    const Target t = Target(target);
    const QList<int> mapping = mappingOf(t, fields);
    auto keyOf = [&](const QStringList &values) {
        return ImportFields::duplicateKey(
            t, ImportFields::convertRow(t, mapping, textRow(values), nullptr).record);
    };
    QVERIFY(!keyOf(a).isEmpty());
    QCOMPARE(keyOf(a) == keyOf(b), same);
}

void TestImportCore::duplicatePolicy_data()
{
    QTest::addColumn<int>("policy");
    QTest::addColumn<QStringList>("descriptions"); // of the archive afterwards
    QTest::addColumn<QString>("completion");
    QTest::newRow("skip") << int(ImportRun::Duplicates::Skip)
                          << QStringList { "vecchio", "altro", "nuovo" }
                          << "1 schede aggiunte, 0 aggiornate, 2 righe scartate.";
    QTest::newRow("update") << int(ImportRun::Duplicates::Update)
                            << QStringList { "secondo", "altro", "nuovo" }
                            << "1 schede aggiunte, 2 aggiornate, 0 righe scartate.";
    QTest::newRow("add anyway") << int(ImportRun::Duplicates::Add)
                                << QStringList { "vecchio", "altro", "primo", "nuovo", "secondo" }
                                << "3 schede aggiunte, 0 aggiornate, 0 righe scartate.";
}

void TestImportCore::duplicatePolicy()
{
    QFETCH(int, policy);
    QFETCH(QStringList, descriptions);
    QFETCH(QString, completion);
    TempProgramFolder folder;
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (const auto &[code, description] :
            { std::pair { "A1", "vecchio" }, std::pair { "B2", "altro" } }) {
            Record r(ProductRecord::layout());
            r.setValue(ProductRecord::Codice, QString::fromLatin1(code));
            r.setValue(ProductRecord::Descrizione, QString::fromLatin1(description));
            r.setValue(ProductRecord::Note, QStringLiteral("da non toccare"));
            QVERIFY(file.append(r));
        }
    }
    ImportRun::Options options;
    options.target = Target::Products;
    options.mapping = mappingOf(Target::Products, { "Codice", "Descrizione" });
    options.duplicates = ImportRun::Duplicates(policy);
    const ImportRun::Outcome outcome = ImportRun::run(options,
        rowsSource({ textRow({ "Codice", "Descrizione" }), textRow({ "a1", "primo" }),
            textRow({ "C3", "nuovo" }), textRow({ " A1 ", "secondo" }) }));
    QCOMPARE(int(outcome.result), int(ImportRun::Outcome::Result::Done));
    QVERIFY(ImportRun::completionText(outcome).endsWith(completion));
    const QList<Record> records
        = recordsOf(folder, QStringLiteral("Magazzino.mrv"), ProductRecord::layout());
    QStringList stored;
    for (const Record &r : records)
        stored.append(r.value(ProductRecord::Descrizione));
    QCOMPARE(stored, descriptions);
    // An update changes the mapped fields only.
    QCOMPARE(records[0].value(ProductRecord::Note), QStringLiteral("da non toccare"));
    // The archive as it was before is in Backup/.
    QVERIFY(outcome.backupPath.startsWith(folder.filePath(QStringLiteral("Backup/Magazzino_"))));
    QCOMPARE(QFileInfo(outcome.backupPath).size(), 2 * ProductRecord::kRecordSize);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Magazzino.mrv.importazione"))));
}

void TestImportCore::summaryCounts()
{
    TempProgramFolder folder;
    QVERIFY(appendRecord(ProductRecord::archive(), { { ProductRecord::Codice, "A1" } }));
    ImportRun::Options options;
    options.target = Target::Products;
    options.mapping = mappingOf(Target::Products, { "Codice", "Descrizione", "Prezzo" });
    const QList<Row> rows
        = { textRow({ "Codice", "Descrizione", "Prezzo" }), textRow({ "A1", "già presente", "1" }),
              textRow({ "B1", "buono", "2,5" }), textRow({ "", "senza codice", "1" }),
              textRow({ "C1", QString(300, u'x'), "1" }), textRow({ "D1", "prezzo", "dieci" }) };
    ImportRun::Summary summary;
    QString error;
    QVERIFY(ImportRun::analyse(options, rowsSource(rows), summary, error));
    QCOMPARE(summary.read, 5);
    QCOMPARE(summary.toImport, 2);
    QCOMPARE(summary.withProblems, 3);
    QCOMPARE(ImportRun::summaryText(summary),
        QStringLiteral("Righe lette: 5. Da importare: 2. Con problemi: 3."));
    // Nothing written by the analysis.
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("Magazzino.mrv"))).size(),
        ProductRecord::kRecordSize);
}

void TestImportCore::failedImportLeavesArchiveAsItWas_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("occurrence"); // the time the step comes when the fault strikes
    // The copies (Backup/, then the working copy) are whole-file replaces; then the archive
    // writes are the three blocks of new records and the update (4). The working copy is
    // flushed once, before it takes the archive's place: neither the blocks nor the update
    // are flushed one by one, and the update keeps no journal (the copy is thrown away
    // whole when anything fails).
    using Step = RecordFile::IoStep;
    using Fault = RecordFile::IoFault;
    QTest::newRow("backup copy fails") << int(Step::ReplaceWrite) << int(Fault::Fail) << 1;
    QTest::newRow("working copy fails") << int(Step::ReplaceWrite) << int(Fault::Fail) << 2;
    QTest::newRow("second block fails") << int(Step::ArchiveWrite) << int(Fault::Fail) << 2;
    // The third block is written when the update reads the record it changes.
    QTest::newRow("third block, before the update, fails")
        << int(Step::ArchiveWrite) << int(Fault::Fail) << 3;
    QTest::newRow("working copy not synced") << int(Step::ReplaceSync) << int(Fault::Fail) << 2;
    QTest::newRow("disk full at the update")
        << int(Step::ArchiveWrite) << int(Fault::DiskFull) << 4;
    QTest::newRow("flush of the working copy fails")
        << int(Step::ArchiveFlush) << int(Fault::Fail) << 1;
}

void TestImportCore::failedImportLeavesArchiveAsItWas()
{
    QFETCH(int, step);
    QFETCH(int, fault);
    QFETCH(int, occurrence);
    TempProgramFolder folder;
    QVERIFY(appendRecord(ProductRecord::archive(), { { ProductRecord::Codice, "A1" } }));
    const QByteArray before = folder.readAll(QStringLiteral("Magazzino.mrv"));
    // Enough new rows for several blocks, and an update of the record present.
    QList<Row> rows { textRow({ "Codice", "Descrizione" }) };
    for (int i = 0; i < 600; ++i)
        rows.append(textRow({ QStringLiteral("N%1").arg(i), QStringLiteral("nuovo") }));
    rows.append(textRow({ "A1", "aggiornato" }));
    ImportRun::Options options;
    options.target = Target::Products;
    options.mapping = mappingOf(Target::Products, { "Codice", "Descrizione" });
    options.duplicates = ImportRun::Duplicates::Update;
    int seen = 0;
    RecordFile::setFaultHook([&](RecordFile::IoStep s) {
        if (int(s) == step && ++seen == occurrence)
            return RecordFile::IoFault(fault);
        return RecordFile::IoFault::None;
    });
    const ImportRun::Outcome outcome = ImportRun::run(options, rowsSource(rows));
    RecordFile::setFaultHook({});
    QVERIFY(seen >= occurrence);
    QCOMPARE(int(outcome.result), int(ImportRun::Outcome::Result::Failed));
    QVERIFY(!outcome.error.isEmpty());
    QVERIFY(ImportRun::failureText(outcome).contains(QStringLiteral("non è stato modificato")));
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.mrv")), before);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Magazzino.mrv.importazione"))));
    QVERIFY(!QFile::exists(folder.filePath(QString::fromLatin1(ImportRun::kScrapFileName))));
}

void TestImportCore::leftoverWorkingCopyIsThrownAway()
{
    // An import cut short left its working copy with the journal of an update: the old
    // bytes of record 0. The archive's record 0 has been saved again since.
    TempProgramFolder folder;
    const QString archivePath = folder.filePath(QStringLiteral("Magazzino.mrv"));
    const QString stagingPath = archivePath + QStringLiteral(".importazione");
    auto product = [](const char *description) {
        Record r(ProductRecord::layout());
        r.setValue(ProductRecord::Codice, QStringLiteral("A1"));
        r.setValue(ProductRecord::Descrizione, QString::fromLatin1(description));
        return r;
    };
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        QVERIFY(file.append(product("vecchio")));
    }
    QVERIFY(QFile::copy(archivePath, stagingPath));
    {
        RecordFile staging;
        QVERIFY(staging.openPath(stagingPath, ProductRecord::layout()));
        // The rewrite and the putting back both fail: the journal stays.
        RecordFile::setFaultHook([](RecordFile::IoStep s) {
            return s == RecordFile::IoStep::ArchiveWrite ? RecordFile::IoFault::Fail
                                                         : RecordFile::IoFault::None;
        });
        QVERIFY(!staging.writeAt(0, product("intermedio")));
        RecordFile::setFaultHook({});
    }
    QVERIFY(QFile::exists(RecordFile::journalPath(stagingPath)));
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        QVERIFY(file.writeAt(0, product("attuale")));
    }

    ImportRun::Options options;
    options.target = Target::Products;
    options.mapping = mappingOf(Target::Products, { "Codice" });
    const ImportRun::Outcome outcome
        = ImportRun::run(options, rowsSource({ textRow({ "Codice" }), textRow({ "B1" }) }));
    QCOMPARE(int(outcome.result), int(ImportRun::Outcome::Result::Done));
    const QList<Record> records
        = recordsOf(folder, QStringLiteral("Magazzino.mrv"), ProductRecord::layout());
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0].value(ProductRecord::Descrizione), QStringLiteral("attuale"));
    QCOMPARE(records[1].value(ProductRecord::Codice), QStringLiteral("B1"));
    QVERIFY(!QFile::exists(stagingPath));
    QVERIFY(!QFile::exists(RecordFile::journalPath(stagingPath)));
}

void TestImportCore::cancelledImportLeavesArchiveAsItWas()
{
    TempProgramFolder folder;
    QVERIFY(appendRecord(SupplierRecord::archive(), { { SupplierRecord::Ditta, "Alfa" } }));
    const QByteArray before = folder.readAll(QStringLiteral("Fornitori.mrv"));
    QList<Row> rows { textRow({ "Ditta" }) };
    for (int i = 0; i < 2000; ++i)
        rows.append(textRow({ QStringLiteral("Ditta %1").arg(i) }));
    ImportRun::Options options;
    options.target = Target::Suppliers;
    options.mapping = mappingOf(Target::Suppliers, { "Ditta" });
    qint64 lastReport = 0;
    const ImportRun::Outcome outcome = ImportRun::run(options, rowsSource(rows), [&](qint64 n) {
        lastReport = n;
        return n < 1024;
    });
    QCOMPARE(int(outcome.result), int(ImportRun::Outcome::Result::Cancelled));
    QCOMPARE(lastReport, 1024);
    QCOMPARE(folder.readAll(QStringLiteral("Fornitori.mrv")), before);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Fornitori.mrv.importazione"))));
}

void TestImportCore::scrapFileImportsAgain()
{
    TempProgramFolder folder;
    ImportRun::Options options;
    options.target = Target::Products;
    options.mapping = mappingOf(Target::Products, { "Codice", "Descrizione", "Prezzo" });
    const ImportRun::Outcome outcome = ImportRun::run(options,
        rowsSource({ textRow({ "Codice", "Descrizione", "Prezzo" }),
            textRow({ "A1", "Dado; \"grande\"", "dieci" }), textRow({ "B1", "buono", "2" }),
            textRow({ "", "senza codice", "1" }) }));
    QCOMPARE(outcome.added, 1);
    QCOMPARE(outcome.scrapped, 2);
    const QString scrapPath = folder.filePath(QString::fromLatin1(ImportRun::kScrapFileName));
    QCOMPARE(outcome.scrapPath, scrapPath);
    QFile scrap(scrapPath);
    QVERIFY(scrap.open(QIODevice::ReadOnly));
    CsvReader::Dialect dialect;
    QList<QStringList> rows;
    QString error;
    QVERIFY(CsvReader::read(
        scrap,
        [&](qint64, const Row &row) {
            QStringList texts;
            for (const Cell &c : row)
                texts.append(c.text);
            rows.append(texts);
            return true;
        },
        error, &dialect));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0],
        (QStringList { "Codice", "Descrizione", "Prezzo", ImportRun::scrapReasonTitle() }));
    QCOMPARE(rows[1].mid(0, 3), (QStringList { "A1", "Dado; \"grande\"", "dieci" }));
    QVERIFY(rows[1][3].contains(QStringLiteral("Non è un numero")));
    QVERIFY(rows[2][3].contains(QStringLiteral("codice articolo")));
    // The headers match the same fields again; the reason column matches none.
    QStringList headers = rows[0];
    const QList<int> mapping = ImportFields::matchHeaders(Target::Products, headers);
    QCOMPARE(mapping, options.mapping);
}

void TestImportCore::completionText()
{
    ImportRun::Outcome outcome;
    outcome.added = 1234;
    outcome.updated = 12;
    outcome.scrapped = 3;
    QCOMPARE(ImportRun::completionText(outcome),
        QStringLiteral(
            "Importazione completata: 1.234 schede aggiunte, 12 aggiornate, 3 righe scartate."));
}

QTEST_GUILESS_MAIN(TestImportCore)
#include "tst_importcore.moc"
