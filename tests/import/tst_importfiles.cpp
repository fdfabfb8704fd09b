#include "common/TempProgramFolder.h"
#include "export/ExportGrid.h"
#include "export/Exporters.h"
#include "export/SpreadsheetHtml.h"
#include "export/SpreadsheetXlsx.h"
#include "import/ImportFields.h"
#include "import/ImportRun.h"
#include "import/SpreadsheetFile.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using ImportFields::Target;
using SheetRows::Cell;
using SheetRows::Row;

namespace {

// Debian's Python with openpyxl (another python3 may come first on the path).
const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kFixtures = QStringLiteral(MERVENTA_IMPORT_FIXTURES);

// Writes the fixture files made at run time (see the script).
const QString kMakeFixtures = QStringLiteral(MERVENTA_IMPORT_FIXTURE_SCRIPT);

struct Sheet
{
    QList<qint64> numbers;
    QList<Row> rows;
};

Sheet readSheet(SpreadsheetFile &file, int sheet, QString *error = nullptr)
{
    Sheet out;
    QString why;
    const bool ok = file.readRows(
        sheet,
        [&](qint64 n, const Row &row) {
            out.numbers.append(n);
            out.rows.append(row);
            return true;
        },
        why);
    if (error)
        *error = ok ? QString() : why;
    return out;
}

QStringList displayed(const Row &row)
{
    QStringList texts;
    for (const Cell &cell : row)
        texts.append(cell.display());
    return texts;
}

// Imports a file into the archive of target in the current program folder, with the
// mapping preset from its header row.
ImportRun::Outcome importFile(Target target, const QString &path)
{
    QString error;
    std::unique_ptr<SpreadsheetFile> file = SpreadsheetFile::open(path, error);
    if (!file) {
        qWarning() << error;
        return { ImportRun::Outcome::Result::Failed, 0, 0, 0, error, {}, {} };
    }
    Row header;
    file->readRows(
        0,
        [&](qint64, const Row &row) {
            header = row;
            return false;
        },
        error);
    ImportRun::Options options;
    options.target = target;
    options.mapping = ImportFields::matchHeaders(target, displayed(header));
    options.duplicates = ImportRun::Duplicates::Add;
    SpreadsheetFile *source = file.get();
    return ImportRun::run(options, [source](const SheetRows::RowSink &sink, QString &why) {
        return source->readRows(0, sink, why);
    });
}

// Records as the card stores them, through the same conversion.
QList<Record> typedRecords(Target target, const QStringList &fields, const QList<QStringList> &rows)
{
    QList<int> mapping(ImportFields::fields(target).size(), -1);
    const QList<ImportFields::Field> &all = ImportFields::fields(target);
    for (int c = 0; c < fields.size(); ++c) {
        for (int f = 0; f < all.size(); ++f) {
            if (all[f].name == fields[c])
                mapping[f] = c;
        }
    }
    QList<Record> records;
    for (const QStringList &values : rows) {
        Row row;
        for (const QString &v : values)
            row.append(Cell::fromText(v));
        records.append(ImportFields::convertRow(target, mapping, row, nullptr).record);
    }
    return records;
}

} // namespace

class TestImportFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void openpyxlWorkbook();
    void workbookParts();
    void libreOfficeFiles_data();
    void libreOfficeFiles();
    void odsRepeatedCells();
    void badFiles_data();
    void badFiles();
    void zipBombEndsWithAMessage();
    void unevenCsv();
    void roundTrip_data();
    void roundTrip();

private:
    QTemporaryDir m_dir;
    QString fixture(const QString &name) const { return m_dir.filePath(name); }
};

void TestImportFiles::initTestCase()
{
    QVERIFY2(QFile::exists(kPython), "Debian's /usr/bin/python3 with openpyxl is needed");
    QProcess python;
    python.start(kPython, { kMakeFixtures, m_dir.path() });
    QVERIFY(python.waitForFinished(120000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
}

void TestImportFiles::openpyxlWorkbook()
{
    QString error;
    auto file = SpreadsheetFile::open(fixture(QStringLiteral("openpyxl.xlsx")), error);
    QVERIFY2(file, qPrintable(error));
    QCOMPARE(int(file->format()), int(SpreadsheetFile::Format::Xlsx));
    QCOMPARE(file->sheetNames(), (QStringList { "Articoli", "Vuoto" }));
    const Sheet sheet = readSheet(*file, 0);
    QCOMPARE(sheet.numbers, (QList<qint64> { 1, 2, 3, 5, 7 }));
    QCOMPARE(displayed(sheet.rows[0]),
        (QStringList { "Codice articolo", "Descrizione", "Quantità", "Prezzo di vendita",
            "Disponibile", "Data acquisto" }));
    const Row &first = sheet.rows[1];
    QCOMPARE(first[2].kind, Cell::Kind::Number);
    QCOMPARE(first[3].number, 1234.56);
    QCOMPARE(first[4].kind, Cell::Kind::Boolean);
    QCOMPARE(first[4].number, 1.0);
    QCOMPARE(first[5].kind, Cell::Kind::Date);
    QCOMPARE(first[5].text, QStringLiteral("05/03/2021"));
    QCOMPARE(sheet.rows[2][5].text, QStringLiteral("31/12/2020"));
    // openpyxl keeps the 32,767 characters a spreadsheet cell can hold.
    QCOMPARE(sheet.rows[3][1].text.size(), 32767);
    QCOMPARE(sheet.rows[3][5].kind, Cell::Kind::Text);
    // A merged range holds its text in its first cell.
    QCOMPARE(displayed(sheet.rows[4]), (QStringList { "", "unito" }));
    // An empty sheet gives no rows.
    QString why;
    QVERIFY(readSheet(*file, 1, &why).rows.isEmpty());
    QVERIFY(why.isEmpty());
}

void TestImportFiles::workbookParts()
{
    QString error;
    auto file = SpreadsheetFile::open(fixture(QStringLiteral("parts.xlsx")), error);
    QVERIFY2(file, qPrintable(error));
    QCOMPARE(file->sheetNames(), (QStringList { "Dati" }));
    const Sheet sheet = readSheet(*file, 0);
    QCOMPARE(sheet.numbers, (QList<qint64> { 1, 3, 4, 1048576 }));
    // Shared rich text (its phonetic guide left out), inline strings.
    QCOMPARE(displayed(sheet.rows[0]), (QStringList { "Codice", "Prezzo", "Data", "Note" }));
    // Cached values of formulas; a number format with a "d" in quotes is no date.
    QCOMPARE(sheet.rows[1][0].text, QStringLiteral("A9"));
    QCOMPARE(sheet.rows[1][1].kind, Cell::Kind::Number);
    QCOMPARE(sheet.rows[1][1].number, 2.5);
    QCOMPARE(sheet.rows[1][2].kind, Cell::Kind::Date);
    QCOMPARE(sheet.rows[1][2].text, QStringLiteral("05/03/2021"));
    QCOMPARE(sheet.rows[1][3].kind, Cell::Kind::Boolean);
    // Cells without references follow one another; built-in format 14 is a date.
    QCOMPARE(sheet.rows[2][0].text, QStringLiteral("B1"));
    QCOMPARE(sheet.rows[2][1].text, QStringLiteral("01/02/2022"));
    // The last cell of the largest sheet.
    QCOMPARE(sheet.rows[3].size(), SheetRows::kMaxColumns);
    QCOMPARE(sheet.rows[3].last().text, QStringLiteral("ultima"));
}

void TestImportFiles::libreOfficeFiles_data()
{
    // Made with LibreOffice Calc 7.4 from a workbook written by openpyxl (see the report):
    // sheets "Articoli" and "Note".
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");
    QTest::newRow("ods") << "prodotti.ods" << int(SpreadsheetFile::Format::Ods);
    QTest::newRow("binary xls") << "prodotti.xls" << int(SpreadsheetFile::Format::BinaryXls);
    QTest::newRow("xlsx") << "prodotti_libreoffice.xlsx" << int(SpreadsheetFile::Format::Xlsx);
}

void TestImportFiles::libreOfficeFiles()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    QString error;
    auto file = SpreadsheetFile::open(kFixtures + u'/' + name, error);
    QVERIFY2(file, qPrintable(error));
    QCOMPARE(int(file->format()), format);
    QCOMPARE(file->sheetNames(), (QStringList { "Articoli", "Note" }));
    const Sheet sheet = readSheet(*file, 0);
    QCOMPARE(sheet.rows.size(), 3);
    QCOMPARE(displayed(sheet.rows[0]),
        (QStringList { "Codice articolo", "Descrizione", "Quantità", "Prezzo di vendita",
            "Aliquota IVA", "Data acquisto" }));
    QCOMPARE(displayed(sheet.rows[1]),
        (QStringList { "A-001", "Vite à testa piana", "12", "1234,56", "22", "05/03/2021" }));
    QCOMPARE(displayed(sheet.rows[2]),
        (QStringList { "A-002", "Dado; \"esagonale\"", "3", "0,5", "10", "31/12/2020" }));
    QCOMPARE(sheet.rows[1][5].kind, Cell::Kind::Date);
    QCOMPARE(sheet.rows[1][3].kind, Cell::Kind::Number);
    QCOMPARE(displayed(readSheet(*file, 1).rows.value(0)), (QStringList { "Solo", "una riga" }));

    // Imported, the values are stored as the card stores them.
    TempProgramFolder folder;
    const ImportRun::Outcome outcome = importFile(Target::Products, kFixtures + u'/' + name);
    QCOMPARE(outcome.added, 2);
    RecordFile archive;
    QVERIFY(archive.open(ProductRecord::archive()));
    Record first(ProductRecord::layout());
    QVERIFY(archive.readAt(0, first));
    using namespace ProductRecord;
    QCOMPARE((QStringList { first.value(Codice), first.value(Giacenza), first.value(Prezzo),
                 first.value(PercIva), first.value(Prezzo_con_Iva), first.value(Data) }),
        (QStringList { "A-001", "12", "1234,56", "22", "1506,16", "05/03/2021" }));
}

void TestImportFiles::odsRepeatedCells()
{
    QString error;
    auto file = SpreadsheetFile::open(fixture(QStringLiteral("repeated.ods")), error);
    QVERIFY2(file, qPrintable(error));
    QCOMPARE(file->sheetNames(), (QStringList { "Primo", "Secondo" }));
    const Sheet sheet = readSheet(*file, 0);
    QCOMPARE(sheet.numbers, (QList<qint64> { 1, 2, 3, 4, 1048575 }));
    QCOMPARE(displayed(sheet.rows[0]), (QStringList { "Codice", "", "", "Note" }));
    QCOMPARE(displayed(sheet.rows[1]), (QStringList { "R", "", "1,5", "1,5" }));
    QCOMPARE(sheet.rows[3], sheet.rows[1]);
    QCOMPARE(displayed(sheet.rows[4]), (QStringList { "uno\ndue  tre", "05/03/2021", "VERO" }));
    QVERIFY(readSheet(*file, 1).rows.isEmpty());
}

void TestImportFiles::badFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("text under .xlsx") << "text.xlsx"
                                      << "contiene solo testo";
    QTest::newRow("zip that is no workbook") << "notabook.xlsx"
                                             << "non un foglio di calcolo";
    QTest::newRow("damaged binary .xls") << "garbage.xls"
                                         << "danneggiato";
    QTest::newRow("binary under .csv") << "binary.csv"
                                       << "non corrisponde";
    QTest::newRow("empty file") << "empty.csv"
                                << "vuoto";
    QTest::newRow("missing file") << "nessuno.xlsx"
                                  << "non esiste";
    QTest::newRow("a folder") << "."
                              << "cartella";
}

void TestImportFiles::badFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QString error;
    const auto file = SpreadsheetFile::open(fixture(name), error);
    QVERIFY(!file);
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestImportFiles::zipBombEndsWithAMessage()
{
    QString error;
    auto file = SpreadsheetFile::open(fixture(QStringLiteral("bomb.xlsx")), error);
    QVERIFY2(file, qPrintable(error));
    SpreadsheetFile::setPartLimit(16 << 20);
    const Sheet sheet = readSheet(*file, 0, &error);
    SpreadsheetFile::setPartLimit(qint64(1) << 30);
    QVERIFY(sheet.rows.isEmpty());
    QVERIFY2(error.contains(QStringLiteral("troppo grande")), qPrintable(error));
}

void TestImportFiles::unevenCsv()
{
    QString error;
    auto file = SpreadsheetFile::open(fixture(QStringLiteral("uneven.csv")), error);
    QVERIFY2(file, qPrintable(error));
    const Sheet sheet = readSheet(*file, 0);
    QCOMPARE(displayed(sheet.rows[1]), (QStringList { "A1", "uno", "in più", "e ancora" }));
    QCOMPARE(displayed(sheet.rows[2]), (QStringList { "B1" }));
    // The cells beyond the mapped columns are ignored; a short row leaves its fields empty.
    TempProgramFolder folder;
    const ImportRun::Outcome outcome
        = importFile(Target::Products, fixture(QStringLiteral("uneven.csv")));
    QCOMPARE(outcome.added, 2);
}

void TestImportFiles::roundTrip_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("xlsx");
    QTest::newRow("products xlsx") << int(Target::Products) << true;
    QTest::newRow("products xls") << int(Target::Products) << false;
    QTest::newRow("suppliers xlsx") << int(Target::Suppliers) << true;
    QTest::newRow("suppliers xls") << int(Target::Suppliers) << false;
}

void TestImportFiles::roundTrip()
{
    QFETCH(int, target);
    QFETCH(bool, xlsx);
    const Target t = Target(target);
    QList<Record> records;
    if (t == Target::Products) {
        records = typedRecords(t,
            { "Codice", "Tipologia", "Marca", "Descrizione", "Accessori", "Data", "Giacenza",
                "Costo", "Prezzo", "PercIva", "Collocazione", "Consumo", "Onde", "Note" },
            { { "A-1", "Viti", "Ferro & C.", "Vite <M6>", "", "05/03/2021", "12", "0,3333", "1,5",
                  "22", "S1", "10 cm", "12/2030", "nota" },
                { "00012", "Dadi", "", "Dado caffè €", "rondella", "marzo 2021", "0", "", "1234,5",
                    "4", "", "", "", "" },
                { "Z", "", "", "", "", "", "3", "12", "0", "0", "", "", "", "" } });
    } else {
        records = typedRecords(t,
            { "Ditta", "Titolare", "IndirizzoRes", "ComuneRes", "ProvRes", "CapRes", "TelUff",
                "Email", "CodFisc", "PartitaIva", "Iban", "Articoli", "Note" },
            { { "Alfa Srl", "Mario Rossi", "Via Roma 1", "Reggio Emilia", "re", "42100", "0522 123",
                  "a@b.it", "rssmra80a01h501u", "01234567890", "it60x", "viti",
                  "nota; con \"virgolette\"" },
                { "Beta", "", "", "Roma", "", "", "", "", "", "", "", "", "" } });
    }
    TempProgramFolder source;
    {
        RecordFile archive;
        QVERIFY(archive.open(ImportFields::archiveOf(t)));
        for (const Record &r : records)
            QVERIFY(archive.append(r));
    }
    const QByteArray original = source.readAll(ImportFields::archiveOf(t).fileName);
    const Export::Exporter &exporter = Export::exporter(ImportFields::archiveIdOf(t));
    const ExportGrid grid = ExportGrid::fromRecords(exporter, records);
    const QString exported
        = m_dir.filePath(QStringLiteral("export_%1.%2")
                             .arg(target)
                             .arg(xlsx ? QStringLiteral("xlsx") : QStringLiteral("xls")));
    QVERIFY(xlsx ? SpreadsheetXlsx::save(exported, grid) : SpreadsheetHtml::save(exported, grid));

    TempProgramFolder empty;
    const ImportRun::Outcome outcome = importFile(t, exported);
    QCOMPARE(int(outcome.result), int(ImportRun::Outcome::Result::Done));
    QCOMPARE(outcome.added, records.size());
    QCOMPARE(outcome.scrapped, 0);
    QCOMPARE(empty.readAll(ImportFields::archiveOf(t).fileName), original);
}

QTEST_GUILESS_MAIN(TestImportFiles)
#include "tst_importfiles.moc"
