#include "export/ExportGrid.h"
#include "export/ExportModel.h"
#include "export/Exporters.h"
#include "export/SpreadsheetHtml.h"
#include "export/SpreadsheetXlsx.h"

#include "common/TempProgramFolder.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/Cp1252.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QUrl>

using Kind = ArchiveId;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ArchiveId)
Q_DECLARE_METATYPE(Record)

namespace {

// Debian's Python, with its html.parser and openpyxl (another python3 may come first on
// PATH).
const QString kPython = QStringLiteral("/usr/bin/python3");

// Everything before the header row, for a sheet name.
QByteArray head(const QByteArray &sheetName)
{
    return "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
           "xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" "
           "content=\"text/html; charset=windows-1252\"><!--[if gte mso 9]><xml>"
           "<x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet><x:Name>"
        + sheetName
        + "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
          "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes>"
          "<x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects>"
          "<x:ProtectScenarios>False</x:ProtectScenarios></x:WorksheetOptions>"
          "</x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]-->"
          "<style>.t{mso-number-format:\"\\@\";}</style></head>"
          "<body><table x:str>";
}

constexpr char kTail[] = "</table></body></html>";

QByteArray headerRow(const QList<std::pair<int, QByteArray>> &cells)
{
    QByteArray row = "<tr>";
    for (const auto &[width, text] : cells)
        row += "<td style=\"text-align: left; font-weight: bold;\" width="
            + QByteArray::number(width) + ">" + text + "</td>";
    return row + "</tr>";
}

// The header rows of the exporters, as the file must carry them (Windows-1252 bytes).
QByteArray productHeader()
{
    return headerRow({ { 250, "Codice articolo" }, { 250, "Tipologia" }, { 250, "Marca" },
        { 250, "Modello" }, { 400, "Descrizione" }, { 400, "Accessori" }, { 250, "Fornitore" },
        { 250, "Recapito preferenziale" }, { 200, "Data acquisto" },
        { 350, "Estremi documento acquisto" }, { 350, "Modalit\xe0 ordine merce" },
        { 200, "Giacenza" }, { 200, "Costo" }, { 200, "Valore" }, { 200, "Prezzo senza IVA" },
        { 150, "Perc. IVA" }, { 200, "Prezzo con IVA" }, { 350, "Collocazione in magazzino" },
        { 200, "Altezza" }, { 200, "Larghezza" }, { 200, "Lunghezza" }, { 200, "Scadenza" },
        { 400, "Note" } });
}

QByteArray customerHeader()
{
    return headerRow({ { 250, "Cognome e nome Cliente" }, { 200, "Codice fiscale" },
        { 200, "Data di nascita" }, { 250, "Comune di nascita" }, { 200, "Partita IVA" },
        { 250, "Indirizzo di residenza" }, { 250, "Citt\xe0 di residenza" },
        { 250, "Recapito preferenziale" }, { 200, "Tel. casa" }, { 200, "Tel. cellulare" },
        { 250, "E-mail" }, { 250, "Professione" }, { 300, "IBAN" }, { 250, "Intestatario C/C" },
        { 250, "Modalit\xe0 di pagamento" }, { 300, "Prodotti e servizi di interesse" },
        { 250, "Tipo documento" }, { 250, "Numero documento" }, { 250, "Ente di rilascio" },
        { 200, "Data di rilascio" }, { 200, "Data di scadenza" }, { 250, "Codice Cliente" },
        { 250, "Categoria" }, { 250, "Zona di appartenenza" }, { 300, "Note" } });
}

QByteArray supplierHeader()
{
    return headerRow({ { 250, "Denominazione Ditta" }, { 250, "Titolare o responsabile" },
        { 250, "Recapito preferenziale" }, { 300, "Indirizzo" }, { 250, "Citt\xe0" },
        { 150, "CAP" }, { 250, "Modalit\xe0 di pagamento" }, { 250, "Tel. casa" },
        { 250, "Tel. ufficio" }, { 250, "Tel. cellulare" }, { 250, "Fax" }, { 250, "E-mail" },
        { 250, "Codice fiscale" }, { 250, "Partita IVA" }, { 300, "Carta di credito n." },
        { 150, "Scadenza" }, { 300, "IBAN" }, { 300, "Articoli forniti" },
        { 300, "Offerte e sconti" }, { 300, "Modalit\xe0 di ordine merce" },
        { 300, "Questioni in sospeso" }, { 300, "Note" } });
}

QByteArray movementHeader(Kind kind)
{
    const bool load = kind == Kind::Loads;
    return headerRow({ { 180, load ? "Data carico" : "Data scarico" },
        { 180, load ? "Ora carico" : "Ora scarico" }, { 200, "Codice articolo" },
        { 250, "Tipologia" }, { 250, "Marca" }, { 250, "Modello" },
        { 180, load ? "Pezzi caricati" : "Pezzi scaricati" },
        { 180, load ? "Costo unitario" : "Prezzo unitario" }, { 300, "Note" } });
}

QByteArray left(const QByteArray &text)
{
    return "<td style=\"text-align: left;\">" + text + "</td>";
}

QByteArray right(const QByteArray &text)
{
    return "<td style=\"text-align: right;\">" + text + "</td>";
}

// A left-aligned cell marked as text (identifiers, phone numbers, postcodes).
QByteArray text(const QByteArray &text)
{
    return "<td class=t style=\"text-align: left;\">" + text + "</td>";
}

// The columns marked as text, by the exporter's column count: products (23), customers
// (25), suppliers (22).
QList<int> textColumns(int count)
{
    switch (count) {
    case 23: // Codice articolo, Recapito preferenziale
        return { 0, 7 };
    case 25: // Codice fiscale, Partita IVA, Recapito, Tel. casa and cellulare, IBAN,
             // Numero documento, Codice Cliente
        return { 1, 4, 7, 8, 9, 12, 17, 21 };
    case 22: // Recapito, CAP, the four phone and fax numbers, Codice fiscale, Partita IVA,
             // Carta di credito n., IBAN
        return { 2, 5, 7, 8, 9, 10, 12, 13, 14, 16 };
    }
    return {};
}

// A data row of left-aligned cells: the given ones first, then empty ones up to count.
QByteArray leftRow(const QList<QByteArray> &cells, int count)
{
    QByteArray row = "<tr>";
    const QList<int> texts = textColumns(count);
    for (int i = 0; i < count; ++i) {
        const QByteArray cell = i < cells.size() ? cells[i] : QByteArray();
        row += texts.contains(i) ? text(cell) : left(cell);
    }
    return row + "</tr>";
}

QByteArray emptyMovementRow()
{
    return "<tr>" + left({}) + left({}) + text({}) + left({}) + left({}) + left({}) + right({})
        + right({}) + left({}) + "</tr>";
}

Record product(const QList<std::pair<ProductRecord::Field, QString>> &values)
{
    Record r(ProductRecord::layout());
    for (const auto &[field, text] : values)
        r.setValue(field, text);
    return r;
}

// A record of any layout, from (field name, text) pairs.
Record recordOf(const RecordLayout &layout, const QList<std::pair<const char *, QString>> &values)
{
    Record r(layout);
    for (const auto &[field, text] : values)
        r.setValue(QString::fromLatin1(field), text);
    return r;
}

Record movement(const QString &date, const QString &time, const QString &code,
    const QString &quantity, const QString &amount, const QString &note)
{
    Record r(MovementRecord::layout());
    r.setValue(MovementRecord::Data, date);
    r.setValue(MovementRecord::Ora, time);
    r.setValue(MovementRecord::Codice, code);
    r.setValue(MovementRecord::Tipologia, QStringLiteral("Pneumatici"));
    r.setValue(MovementRecord::Marca, QStringLiteral("Pirelli"));
    r.setValue(MovementRecord::Modello, QStringLiteral("P Zero"));
    r.setValue(MovementRecord::Quantita, quantity);
    r.setValue(MovementRecord::Importo, amount);
    r.setValue(MovementRecord::Note, note);
    return r;
}

struct Edit
{
    int row;
    int column;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(Edit)

namespace {

// Runs Debian's Python on a script with arguments; the JSON it prints.
QJsonDocument runPython(const QString &script, const QStringList &arguments)
{
    QProcess python;
    python.start(kPython, QStringList { QStringLiteral("-c"), script } + arguments);
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning().noquote() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput());
}

// Every row of the .xls file as Python's html.parser reads it (Windows-1252 decoded,
// character references resolved): a list of rows of cell texts.
const char kHtmlReader[] = R"(
import sys, json
from html.parser import HTMLParser
class Reader(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.cell = [], None
    def handle_starttag(self, tag, attrs):
        if tag == 'tr': self.rows.append([])
        elif tag == 'td': self.cell = []
    def handle_endtag(self, tag):
        if tag == 'td':
            self.rows[-1].append(''.join(self.cell))
            self.cell = None
    def handle_data(self, data):
        if self.cell is not None: self.cell.append(data)
reader = Reader()
reader.feed(open(sys.argv[1], 'rb').read().decode('cp1252'))
reader.close()
json.dump(reader.rows, sys.stdout)
)";

// The .xlsx file as openpyxl reads it: sheet names, column widths, whether the header is
// bold, and every row as [value, type] pairs (type 's' text, 'n' number, '' empty).
const char kXlsxReader[] = R"(
import sys, json
from openpyxl import load_workbook
from openpyxl.utils import get_column_letter
book = load_workbook(sys.argv[1])
sheet = book.worksheets[0]
rows = [[[c.value if c.value is not None else '', c.data_type if c.value is not None else '']
         for c in row] for row in sheet.iter_rows()]
widths = [sheet.column_dimensions[get_column_letter(i + 1)].width
          for i in range(sheet.max_column)]
bold = [c.font.bold for c in sheet[1]]
formats = [[c.number_format for c in row] for row in sheet.iter_rows(min_row=2)]
json.dump({'sheets': book.sheetnames, 'rows': rows, 'widths': widths, 'bold': bold,
           'formats': formats}, sys.stdout)
)";

QList<QStringList> htmlRows(const QString &path)
{
    QList<QStringList> rows;
    for (const QJsonValue &row : runPython(QString::fromLatin1(kHtmlReader), { path }).array()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells.append(cell.toString());
        rows.append(cells);
    }
    return rows;
}

// LibreOffice's command line program (libreoffice-calc-nogui), which opens the .xls files
// exactly as the user's spreadsheet program would.
const QString kSoffice = QStringLiteral("/usr/bin/soffice");

// The .xls files at paths as LibreOffice reads them, converted by it to .xlsx in one run
// and then read by openpyxl, by path; empty when the conversion fails.
QHash<QString, QJsonObject> readByLibreOffice(
    const TempProgramFolder &folder, const QStringList &paths)
{
    QProcess soffice;
    // A profile of its own, so that a running LibreOffice or another test never shares it.
    soffice.start(kSoffice,
        QStringList { QStringLiteral("-env:UserInstallation=")
                + QUrl::fromLocalFile(folder.filePath(QStringLiteral("lo-profile"))).toString(),
            QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("xlsx"),
            QStringLiteral("--outdir"), folder.filePath(QStringLiteral("lo")) }
            + paths);
    if (!soffice.waitForFinished(180000) || soffice.exitCode() != 0) {
        qWarning().noquote() << soffice.readAllStandardError();
        return {};
    }
    QHash<QString, QJsonObject> books;
    for (const QString &path : paths) {
        const QString converted = folder.filePath(
            QStringLiteral("lo/") + QFileInfo(path).completeBaseName() + QStringLiteral(".xlsx"));
        books.insert(path, runPython(QString::fromLatin1(kXlsxReader), { converted }).object());
    }
    return books;
}

} // namespace

class TestExportFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void fileBytes_data();
    void fileBytes();
    void singleLine();
    void columnsNameRecordFields_data();
    void columnsNameRecordFields();

    void joinedColumnInGrid();
    void gridFromArchive();
    void damagedArchive();
    void gridWhileArchiveChanges_data();
    void gridWhileArchiveChanges();
    void gridModel_data();
    void gridModel();

    void htmlReadBack();
    void saveReplacesWholeFile();
    void saveFailureLeavesPrevious();
    void readOnlyFolderKeepsPrevious();

    void formulaTextStaysText_data();
    void formulaTextStaysText();
    void cellNumber_data();
    void cellNumber();
    void xlsxReadBack();
    void xlsxOfEmptyArchive();
    void xlsReadByLibreOffice_data();
    void xlsReadByLibreOffice();
};

void TestExportFiles::initTestCase()
{
    QVERIFY2(QFile::exists(kPython), "Debian's /usr/bin/python3 is needed to read files back");
}

void TestExportFiles::fileBytes_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QList<Record>>("records");
    QTest::addColumn<QList<Edit>>("edits");
    QTest::addColumn<QByteArray>("expected");

    QByteArray emptyProducts = head("Magazzino") + productHeader();
    for (int i = 0; i < 10; ++i)
        emptyProducts += leftRow({}, 23);
    QTest::newRow("products, empty archive: header and 10 empty rows")
        << Kind::Products << QList<Record> {} << QList<Edit> {} << emptyProducts + kTail;

    const Record tyre = product({ { ProductRecord::Codice, QStringLiteral("ART-001") },
        { ProductRecord::Tipologia, QStringLiteral("Pneumatici") },
        { ProductRecord::Marca, QStringLiteral("Pirelli") },
        { ProductRecord::Modello, QStringLiteral("P Zero") },
        { ProductRecord::Descrizione, QStringLiteral("Estivo 225/45 R17") },
        { ProductRecord::Accessori, QStringLiteral("Valvola") },
        { ProductRecord::Fornitore, QStringLiteral("Gomme Rossi") },
        { ProductRecord::Recapiti, QStringLiteral("051 123456") },
        { ProductRecord::Data, QStringLiteral("05/03/2021") },
        { ProductRecord::Documento, QStringLiteral("Fattura 12") },
        { ProductRecord::Ordine, QStringLiteral("Telefono") },
        { ProductRecord::Giacenza, QStringLiteral("-5") },
        { ProductRecord::Costo, QStringLiteral("12,50") },
        { ProductRecord::Valore, QStringLiteral("-62,50") },
        { ProductRecord::Prezzo, QStringLiteral("20,00") },
        { ProductRecord::PercIva, QStringLiteral("22") },
        { ProductRecord::Prezzo_con_Iva, QStringLiteral("24,40") },
        { ProductRecord::Collocazione, QStringLiteral("Scaffale B") },
        { ProductRecord::Sottoscorta, QStringLiteral("3") },
        { ProductRecord::Consumo, QStringLiteral("45") },
        { ProductRecord::Aderenza, QStringLiteral("225") },
        { ProductRecord::Rumore, QStringLiteral("17") },
        { ProductRecord::Onde, QStringLiteral("12/2027") },
        { ProductRecord::Note, QStringLiteral("Città") },
        { ProductRecord::File01, QStringLiteral("foto.jpg") },
        { ProductRecord::Cartella, QStringLiteral("cartella") } });
    // Minimum stock, attachments and folder are not exported; the decimal comma stays.
    QTest::newRow("products, one product in column order")
        << Kind::Products << QList<Record> { tyre } << QList<Edit> {}
        << head("Magazzino") + productHeader()
            + leftRow({ "ART-001", "Pneumatici", "Pirelli", "P Zero", "Estivo 225/45 R17",
                          "Valvola", "Gomme Rossi", "051 123456", "05/03/2021", "Fattura 12",
                          "Telefono", "-5", "12,50", "-62,50", "20,00", "22", "24,40", "Scaffale B",
                          "45", "225", "17", "12/2027", "Citt\xe0" },
                23)
            + kTail;

    const Record nut = product({ { ProductRecord::Codice, QStringLiteral("D<6>") },
        { ProductRecord::Descrizione, QStringLiteral("Dado & rondella <M6>") },
        { ProductRecord::Note, QStringLiteral("a<b & \"c\"\td > 'e'") } });
    QTest::newRow("products, &, < and > escaped; quotes and a tab kept")
        << Kind::Products << QList<Record> { nut } << QList<Edit> {}
        << head("Magazzino") + productHeader()
            + leftRow({ "D&lt;6&gt;", "", "", "", "Dado &amp; rondella &lt;M6&gt;", "", "", "", "",
                          "", "", "", "", "", "", "", "", "", "", "", "", "",
                          "a&lt;b &amp; \"c\"\td &gt; 'e'" },
                23)
            + kTail;

    // Edits replace the stored text, trimmed; characters Windows-1252 lacks become
    // references (the arrow U+2192, the emoji U+1F600 from its surrogate pair), the euro
    // sign is its Windows-1252 byte.
    QTest::newRow("products, edited cells as edited")
        << Kind::Products << QList<Record> { tyre }
        << QList<Edit> { { 0, 5, QStringLiteral("  Cerchio → 17\" € ") },
               { 0, 21, QStringLiteral("01/2028 \U0001F600") }, { 1, 0, QStringLiteral("x") } }
        << head("Magazzino") + productHeader()
            + leftRow({ "ART-001", "Pneumatici", "Pirelli", "P Zero", "Estivo 225/45 R17",
                          "Cerchio &#8594; 17\" \x80", "Gomme Rossi", "051 123456", "05/03/2021",
                          "Fattura 12", "Telefono", "-5", "12,50", "-62,50", "20,00", "22", "24,40",
                          "Scaffale B", "45", "225", "17", "01/2028 &#128512;", "Citt\xe0" },
                23)
            + kTail;

    QByteArray emptyCustomers = head("Riepilogo Clienti") + customerHeader();
    for (int i = 0; i < 10; ++i)
        emptyCustomers += leftRow({}, 25);
    QTest::newRow("customers, empty archive")
        << Kind::Customers << QList<Record> {} << QList<Edit> {} << emptyCustomers + kTail;

    const RecordLayout &customer = CustomerRecord::layout();
    const QList<Record> customers {
        recordOf(customer,
            { { "Cognome", QStringLiteral("Rossi") }, { "Nome", QStringLiteral("Mario") },
                { "CodFisc", QStringLiteral("RSSMRA80A01H501U") },
                { "Iva", QStringLiteral("12345678903") }, { "ComuneRes", QStringLiteral("Roma") },
                { "ProvRes", QStringLiteral("RM") }, { "Totale", QStringLiteral("100,00") },
                { "Codice", QStringLiteral("C-1") }, { "Note", QStringLiteral("Paga & basta") } }),
        recordOf(customer, { { "Cognome", QStringLiteral("Bianchi") } }),
        recordOf(customer, { { "Nome", QStringLiteral("Anna") } }),
    };
    QTest::newRow("customers, surname and name joined, each trimmed")
        << Kind::Customers << customers << QList<Edit> {}
        << head("Riepilogo Clienti") + customerHeader()
            + leftRow(
                { "Rossi Mario", "RSSMRA80A01H501U", "", "", "12345678903", "", "Roma", "", "", "",
                    "", "", "", "", "", "", "", "", "", "", "", "C-1", "", "", "Paga &amp; basta" },
                25)
            + leftRow({ "Bianchi" }, 25) + leftRow({ "Anna" }, 25) + kTail;

    const RecordLayout &supplier = SupplierRecord::layout();
    const QList<Record> suppliers {
        recordOf(supplier,
            { { "Ditta", QStringLiteral("Gomme Srl") }, { "ComuneRes", QStringLiteral("Roma") },
                { "ProvRes", QStringLiteral("RM") }, { "CapRes", QStringLiteral("00100") },
                { "PartitaIva", QStringLiteral("12345678903") },
                { "ScadeCarta", QStringLiteral("12/28") }, { "Note", QStringLiteral("<urgente>") },
                { "Ricontatta", QStringLiteral("Sì") } }),
        recordOf(supplier,
            { { "Ditta", QStringLiteral("Senza provincia") },
                { "ComuneRes", QStringLiteral("Milano") } }),
        recordOf(supplier, { { "Ditta", QStringLiteral("Senza città") } }),
    };
    QTest::newRow("suppliers, city and province joined, trimmed in the file")
        << Kind::Suppliers << suppliers << QList<Edit> {}
        << head("Riepilogo Fornitori") + supplierHeader()
            + leftRow({ "Gomme Srl", "", "", "", "Roma RM", "00100", "", "", "", "", "", "", "",
                          "12345678903", "", "12/28", "", "", "", "", "", "&lt;urgente&gt;" },
                22)
            + leftRow({ "Senza provincia", "", "", "", "Milano" }, 22)
            + leftRow({ "Senza citt\xe0" }, 22) + kTail;

    QByteArray emptyLoads = head("Registro Carico") + movementHeader(Kind::Loads);
    for (int i = 0; i < 10; ++i)
        emptyLoads += emptyMovementRow();
    QTest::newRow("loads, empty year: amounts right-aligned also when empty")
        << Kind::Loads << QList<Record> {} << QList<Edit> {} << emptyLoads + kTail;

    const QList<Record> moves {
        movement(QStringLiteral("05/03/2021"), QStringLiteral("10:15:00"),
            QStringLiteral("ART-001"), QStringLiteral("4"), QStringLiteral("85,50"),
            QStringLiteral("consegna")),
        movement(QStringLiteral("06/03/2021"), QStringLiteral("09:00:00"),
            QStringLiteral("ART-002"), QStringLiteral("10"), QStringLiteral("0,0450"), QString()),
    };
    const QByteArray moveRows = "<tr>" + left("05/03/2021") + left("10:15:00") + text("ART-001")
        + left("Pneumatici") + left("Pirelli") + left("P Zero") + right("4") + right("85,50")
        + left("consegna") + "</tr>" + "<tr>" + left("06/03/2021") + left("09:00:00")
        + text("ART-002") + left("Pneumatici") + left("Pirelli") + left("P Zero") + right("10")
        + right("0,0450") + left("") + "</tr>";
    QTest::newRow("loads, two movements")
        << Kind::Loads << moves << QList<Edit> {}
        << head("Registro Carico") + movementHeader(Kind::Loads) + moveRows + kTail;
    QTest::newRow("unloads, two movements")
        << Kind::Unloads << moves << QList<Edit> {}
        << head("Registro Scarico") + movementHeader(Kind::Unloads) + moveRows + kTail;
}

void TestExportFiles::fileBytes()
{
    QFETCH(Kind, kind);
    QFETCH(QList<Record>, records);
    QFETCH(QList<Edit>, edits);
    QFETCH(QByteArray, expected);

    ExportGrid grid = ExportGrid::fromRecords(Export::exporter(kind), records);
    for (const Edit &e : edits)
        grid.setText(e.row, e.column, e.text);
    const QByteArray text = SpreadsheetHtml::text(grid);
    if (text != expected) {
        // Show where they part, rather than two walls of text.
        qsizetype at = 0;
        while (at < text.size() && at < expected.size() && text[at] == expected[at])
            ++at;
        qWarning() << "differs at" << at << "written:" << text.mid(at, 80)
                   << "expected:" << expected.mid(at, 80);
    }
    QCOMPARE(text, expected);
}

void TestExportFiles::singleLine()
{
    const Record r = product({ { ProductRecord::Codice, QStringLiteral("A") } });
    const QByteArray text
        = SpreadsheetHtml::text(ExportGrid::fromRecords(Export::exporter(Kind::Products), { r }));
    QVERIFY(text.startsWith("<html"));
    QVERIFY(text.endsWith("</html>"));
    QVERIFY(!text.contains('\n'));
    QVERIFY(!text.contains('\r'));
}

void TestExportFiles::columnsNameRecordFields_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("columns");
    QTest::newRow("products") << Kind::Products << 23;
    QTest::newRow("customers") << Kind::Customers << 25;
    QTest::newRow("suppliers") << Kind::Suppliers << 22;
    QTest::newRow("loads") << Kind::Loads << 9;
    QTest::newRow("unloads") << Kind::Unloads << 9;
}

// A column naming a field the record lacks would export an empty column without a word.
void TestExportFiles::columnsNameRecordFields()
{
    QFETCH(Kind, kind);
    QFETCH(int, columns);
    const Export::Exporter &exporter = Export::exporter(kind);
    QCOMPARE(exporter.kind, kind);
    QCOMPARE(exporter.columnCount(), columns);
    const RecordLayout &layout = exporter.layout();
    for (const Export::Column &column : exporter.columns) {
        QVERIFY(column.field >= 0 && column.field < layout.fieldCount());
        QVERIFY(column.joinedField >= -1 && column.joinedField < layout.fieldCount());
    }
}

// The grid shows the joined city untrimmed: the city and a space without a province, a
// single space without either.
void TestExportFiles::joinedColumnInGrid()
{
    const RecordLayout &supplier = SupplierRecord::layout();
    const ExportGrid grid = ExportGrid::fromRecords(Export::exporter(Kind::Suppliers),
        { recordOf(supplier,
              { { "ComuneRes", QStringLiteral("Roma") }, { "ProvRes", QStringLiteral("RM") } }),
            recordOf(supplier, { { "ComuneRes", QStringLiteral("Milano") } }),
            recordOf(supplier, {}) });
    QCOMPARE(grid.text(0, 4), QStringLiteral("Roma RM"));
    QCOMPARE(grid.text(1, 4), QStringLiteral("Milano "));
    QCOMPARE(grid.text(2, 4), QStringLiteral(" "));
}

void TestExportFiles::gridFromArchive()
{
    TempProgramFolder folder;
    const Export::Exporter &exporter = Export::exporter(Kind::Products);
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(file.append(product({ { ProductRecord::Codice, QStringLiteral("C%1").arg(i) },
                { ProductRecord::Costo, QStringLiteral("%1,50").arg(i) } })));
    }
    const QByteArray before = folder.readAll(QStringLiteral("Magazzino.mrv"));
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    ExportGrid grid(exporter);
    grid.fill(file);
    file.close();
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.filledRows(), 3);
    QCOMPARE(grid.text(2, 0), QStringLiteral("C3"));
    QCOMPARE(grid.text(1, 12), QStringLiteral("2,50"));

    grid.setText(1, 22, QStringLiteral("nota corretta"));
    QVERIFY(SpreadsheetHtml::save(folder.filePath(QStringLiteral("Magazzino.xls")), grid));
    // An export never writes the archive.
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.mrv")), before);

    // An empty archive keeps the design rows; a new fill drops the edits.
    QVERIFY(QFile::resize(folder.filePath(QStringLiteral("Magazzino.mrv")), 0));
    QVERIFY(file.open(ProductRecord::archive()));
    grid.fill(file);
    QCOMPARE(grid.rowCount(), ExportGrid::kDesignRows);
    QCOMPARE(grid.filledRows(), 0);
    QVERIFY(!grid.isEdited(1, 22));
    QCOMPARE(grid.text(1, 22), QString());
}

// Random bytes with length bytes larger than their fields and a partial record at the end:
// every whole record gives a row, no cell is longer than its field, nothing crashes.
void TestExportFiles::damagedArchive()
{
    TempProgramFolder folder;
    const Export::Exporter &exporter = Export::exporter(Kind::Loads);
    const int records = 50;
    QRandomGenerator random(7);
    QByteArray bytes(qsizetype(records) * MovementRecord::kRecordSize + 100, '\0');
    for (char &b : bytes)
        b = char(random.bounded(256));
    const QString path = folder.filePath(QStringLiteral("Carico_2021.mrv"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    RecordFile file;
    QVERIFY(file.openPath(path, MovementRecord::layout()));
    ExportGrid grid(exporter);
    grid.fill(file);
    QCOMPARE(grid.rowCount(), records);
    QCOMPARE(grid.filledRows(), records);
    const RecordLayout &layout = exporter.layout();
    for (int row = 0; row < records; ++row) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const int capacity = layout.field(exporter.columns[c].field).capacity;
            QVERIFY(grid.text(row, c).size() <= capacity);
        }
    }
    const QByteArray text = SpreadsheetHtml::text(grid);
    QCOMPARE(text.count("<tr>"), records + 1);
    QVERIFY(text.endsWith("</html>"));
}

// Another copy of the program cuts the archive short or adds to it after the export opened
// it: the grid keeps its rows for the records there at the opening, fills those it can
// still read, each with its own record's cells, and leaves the rest empty.
void TestExportFiles::gridWhileArchiveChanges_data()
{
    QTest::addColumn<int>("resizedTo"); // records
    QTest::addColumn<int>("filled");
    QTest::newRow("shrinks: the rows read so far") << 250 << 250;
    QTest::newRow("grows: the records there at the opening") << 350 << 300;
}

void TestExportFiles::gridWhileArchiveChanges()
{
    QFETCH(int, resizedTo);
    QFETCH(int, filled);

    TempProgramFolder folder;
    constexpr int kRecords = 300;
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (int i = 1; i <= kRecords; ++i)
            QVERIFY(file.append(product({ { ProductRecord::Codice, QStringLiteral("C%1").arg(i) },
                { ProductRecord::Descrizione, QStringLiteral("articolo %1").arg(i) } })));
    }
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly));
    QVERIFY(QFile::resize(folder.filePath(QStringLiteral("Magazzino.mrv")),
        qint64(resizedTo) * ProductRecord::kRecordSize));
    ExportGrid grid(Export::exporter(Kind::Products));
    grid.fill(file);
    QCOMPARE(grid.rowCount(), kRecords);
    QCOMPARE(grid.filledRows(), filled);
    const auto &columns = grid.exporter().columns;
    const int description
        = int(std::find_if(columns.begin(), columns.end(), [](const Export::Column &c) {
              return c.field == ProductRecord::Descrizione;
          }) - columns.begin());
    QVERIFY(description > 0 && description < grid.columnCount());
    for (int row = 0; row < kRecords; ++row) {
        const bool read = row < filled;
        QCOMPARE(grid.text(row, 0), read ? QStringLiteral("C%1").arg(row + 1) : QString());
        QCOMPARE(grid.text(row, description),
            read ? QStringLiteral("articolo %1").arg(row + 1) : QString());
    }
}

void TestExportFiles::gridModel_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("editable");
    QTest::newRow("products") << Kind::Products
                              << QStringList { "Accessori", "Altezza", "Larghezza", "Lunghezza",
                                     "Scadenza" };
    QTest::newRow("loads") << Kind::Loads
                           << QStringList { "Ora carico", "Codice articolo", "Modello", "Note" };
    QTest::newRow("unloads") << Kind::Unloads
                             << QStringList { "Ora scarico", "Codice articolo", "Modello", "Note" };
}

void TestExportFiles::gridModel()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, editable);

    ExportModel model(Export::exporter(kind));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), ExportGrid::kDesignRows);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("N."));
    QStringList editableHeaders;
    for (int c = 1; c < model.columnCount(); ++c) {
        if (model.flags(model.index(0, c)) & Qt::ItemIsEditable)
            editableHeaders.append(model.headerData(c, Qt::Horizontal).toString());
    }
    QCOMPARE(editableHeaders, editable);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

    // An edit of an editable cell shows and is kept; a read-only cell refuses it. The
    // design rows carry no row number.
    const int firstEditable = [&] {
        for (int c = 1; c < model.columnCount(); ++c) {
            if (model.flags(model.index(0, c)) & Qt::ItemIsEditable)
                return c;
        }
        return -1;
    }();
    QVERIFY(model.setData(model.index(3, firstEditable), QStringLiteral("nuovo")));
    QCOMPARE(model.data(model.index(3, firstEditable)).toString(), QStringLiteral("nuovo"));
    QVERIFY(model.grid().isEdited(3, firstEditable - 1));
    QVERIFY(!model.setData(model.index(3, 1), QStringLiteral("no")));
    QCOMPARE(model.data(model.index(3, 0)).toString(), QString());
}

void TestExportFiles::htmlReadBack()
{
    TempProgramFolder folder;
    const Record nut = product({ { ProductRecord::Codice, QStringLiteral("D-6") },
        { ProductRecord::Descrizione, QStringLiteral("Dado & rondella <M6>") },
        { ProductRecord::Costo, QStringLiteral("12,50") },
        { ProductRecord::Note, QStringLiteral("a<b & \"c\"\td €") } });
    ExportGrid grid = ExportGrid::fromRecords(Export::exporter(Kind::Products), { nut });
    const QString longEdit = QString(10000, QLatin1Char('x')) + QStringLiteral("<&>");
    grid.setText(0, 5, longEdit);
    grid.setText(0, 21, QStringLiteral("→ \U0001F600"));
    const QString path = folder.filePath(QStringLiteral("Magazzino.xls"));
    QVERIFY(SpreadsheetHtml::save(path, grid));

    const QList<QStringList> rows = htmlRows(path);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].size(), 23);
    QCOMPARE(rows[0][10], QStringLiteral("Modalità ordine merce"));
    QCOMPARE(rows[1].size(), 23);
    QCOMPARE(rows[1][0], QStringLiteral("D-6"));
    QCOMPARE(rows[1][4], QStringLiteral("Dado & rondella <M6>"));
    QCOMPARE(rows[1][5], longEdit);
    QCOMPARE(rows[1][12], QStringLiteral("12,50"));
    QCOMPARE(rows[1][21], QStringLiteral("→ \U0001F600"));
    QCOMPARE(rows[1][22], QStringLiteral("a<b & \"c\"\td €"));
}

void TestExportFiles::saveReplacesWholeFile()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("Registro_Carico.xls"));
    const Export::Exporter &exporter = Export::exporter(Kind::Loads);
    const QList<Record> year2021 { movement(QStringLiteral("05/03/2021"),
                                       QStringLiteral("10:00:00"), QStringLiteral("A"),
                                       QStringLiteral("1"), QStringLiteral("1,00"), {}),
        movement(QStringLiteral("06/03/2021"), QStringLiteral("10:00:00"), QStringLiteral("B"),
            QStringLiteral("1"), QStringLiteral("1,00"), {}) };
    const QList<Record> year2022 { movement(QStringLiteral("07/01/2022"),
        QStringLiteral("11:00:00"), QStringLiteral("C"), QStringLiteral("2"),
        QStringLiteral("2,00"), {}) };
    QVERIFY(SpreadsheetHtml::save(path, ExportGrid::fromRecords(exporter, year2021)));
    QVERIFY(SpreadsheetHtml::save(path, ExportGrid::fromRecords(exporter, year2022)));
    const QList<QStringList> rows = htmlRows(path);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1][0], QStringLiteral("07/01/2022"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { "Registro_Carico.xls" });
}

// A folder where the file should go: the save fails, the folder and what it holds stay,
// and no temporary file is left behind. The same for the .xlsx.
void TestExportFiles::saveFailureLeavesPrevious()
{
    TempProgramFolder folder;
    const ExportGrid grid = ExportGrid::fromRecords(Export::exporter(Kind::Products),
        { product({ { ProductRecord::Codice, QStringLiteral("A") } }) });
    QDir dir(folder.path());
    for (const QString &name :
        { QStringLiteral("Magazzino.xls"), QStringLiteral("Magazzino.xlsx") }) {
        QVERIFY(dir.mkdir(name));
        QFile inside(dir.filePath(name + QStringLiteral("/dentro.txt")));
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.write("previous");
    }
    QVERIFY(!SpreadsheetHtml::save(dir.filePath(QStringLiteral("Magazzino.xls")), grid));
    QVERIFY(!SpreadsheetXlsx::save(dir.filePath(QStringLiteral("Magazzino.xlsx")), grid));
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList { "Magazzino.xls", "Magazzino.xlsx" }));
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.xls/dentro.txt")), QByteArray("previous"));
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.xlsx/dentro.txt")), QByteArray("previous"));
}

// A program folder the user may not write: both saves fail and the earlier files stay as
// they were. Root may write anywhere: there the storage layer's fault hook refuses the new
// file as such a folder does.
void TestExportFiles::readOnlyFolderKeepsPrevious()
{
    TempProgramFolder folder;
    QDir dir(folder.path());
    for (const QString &name :
        { QStringLiteral("Magazzino.xls"), QStringLiteral("Magazzino.xlsx") }) {
        QFile previous(dir.filePath(name));
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    const QFileDevice::Permissions writable = QFile::permissions(folder.path());
    QVERIFY(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QFile probe(dir.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        RecordFile::setFaultHook([](RecordFile::IoStep step) {
            return step == RecordFile::IoStep::ReplaceCommit ? RecordFile::IoFault::Fail
                                                             : RecordFile::IoFault::None;
        });
    }
    const ExportGrid grid = ExportGrid::fromRecords(Export::exporter(Kind::Products),
        { product({ { ProductRecord::Codice, QStringLiteral("A") } }) });
    const bool xls = SpreadsheetHtml::save(dir.filePath(QStringLiteral("Magazzino.xls")), grid);
    const bool xlsx = SpreadsheetXlsx::save(dir.filePath(QStringLiteral("Magazzino.xlsx")), grid);
    RecordFile::setFaultHook({});
    QFile::setPermissions(folder.path(), writable);
    QVERIFY(!xls);
    QVERIFY(!xlsx);
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.xls")), QByteArray("previous"));
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.xlsx")), QByteArray("previous"));
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden),
        (QStringList { QStringLiteral("Magazzino.xls"), QStringLiteral("Magazzino.xlsx") }));
}

// A cell a spreadsheet program would take for a formula gets the apostrophe that keeps
// it text, stored or edited; numbers, signed amounts among them, stay as they are.
void TestExportFiles::formulaTextStaysText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("marked");
    QTest::newRow("formula") << QStringLiteral("=1+1") << true;
    QTest::newRow("link formula") << QStringLiteral("=HYPERLINK(\"http://x\"&A3;\"Apri\")") << true;
    QTest::newRow("at sign") << QStringLiteral("@SUM(A1)") << true;
    QTest::newRow("plus text") << QStringLiteral("+A1") << true;
    QTest::newRow("minus text") << QStringLiteral("-A1*2") << true;
    QTest::newRow("negative amount") << QStringLiteral("-12,50") << false;
    QTest::newRow("signed count") << QStringLiteral("+5") << false;
    QTest::newRow("a lone dash") << QStringLiteral("-") << false;
    QTest::newRow("equals inside") << QStringLiteral("A=B") << false;
    QTest::newRow("plain text") << QStringLiteral("Pirelli") << false;
}

void TestExportFiles::formulaTextStaysText()
{
    QFETCH(QString, text);
    QFETCH(bool, marked);
    QCOMPARE(SpreadsheetHtml::needsTextMark(Cp1252::encode(text)), marked);
    QByteArray cell
        = Cp1252::encode(text).replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
    if (marked)
        cell.prepend('\'');
    const QByteArray opening = "<td style=\"text-align: left;\">";
    // Stored in the archive.
    const ExportGrid stored = ExportGrid::fromRecords(Export::exporter(Kind::Products),
        { product({ { ProductRecord::Codice, QStringLiteral("A") },
            { ProductRecord::Tipologia, text } }) });
    QVERIFY(SpreadsheetHtml::text(stored).contains(opening + cell + "</td>"));
    // Typed into an editable column of the grid.
    ExportGrid typed = ExportGrid::fromRecords(Export::exporter(Kind::Products),
        { product({ { ProductRecord::Codice, QStringLiteral("A") } }) });
    typed.setText(0, 5, text);
    QVERIFY(SpreadsheetHtml::text(typed).contains(opening + cell + "</td>"));
}

void TestExportFiles::cellNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("amount") << QStringLiteral("12,50") << true << 12.5;
    QTest::newRow("four decimals") << QStringLiteral("393,0461") << true << 393.0461;
    QTest::newRow("negative count") << QStringLiteral("-5") << true << -5.0;
    QTest::newRow("blanks around") << QStringLiteral(" 7 ") << true << 7.0;
    QTest::newRow("empty") << QStringLiteral("") << false << 0.0;
    // The program writes no point: "1.5" is not an amount of its own, kept as text.
    QTest::newRow("decimal point") << QStringLiteral("1.5") << false << 0.0;
    QTest::newRow("words") << QStringLiteral("dodici") << false << 0.0;
    QTest::newRow("two commas") << QStringLiteral("1,2,3") << false << 0.0;
}

void TestExportFiles::cellNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> number = SpreadsheetXlsx::cellNumber(text);
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

void TestExportFiles::xlsxReadBack()
{
    TempProgramFolder folder;
    const Record tyre = product({ { ProductRecord::Codice, QStringLiteral("00123") },
        { ProductRecord::Descrizione, QStringLiteral("Dado & rondella <M6>") },
        { ProductRecord::Giacenza, QStringLiteral("-5") },
        { ProductRecord::Costo, QStringLiteral("12,50") },
        { ProductRecord::Valore, QStringLiteral("-62,50") },
        { ProductRecord::Prezzo, QStringLiteral("non so") },
        { ProductRecord::PercIva, QStringLiteral("22") },
        { ProductRecord::Note,
            QStringLiteral("a<b & \"c\"\td") + QChar(1) + QStringLiteral("z") } });
    ExportGrid grid = ExportGrid::fromRecords(Export::exporter(Kind::Products), { tyre });
    grid.setText(0, 21, QStringLiteral("→ \U0001F600"));
    const QString longEdit = QString(10000, QLatin1Char('x')) + QStringLiteral("<&>");
    grid.setText(0, 5, longEdit);
    const QString path = folder.filePath(QStringLiteral("Magazzino.xlsx"));
    QVERIFY(SpreadsheetXlsx::save(path, grid));

    const QJsonObject book = runPython(QString::fromLatin1(kXlsxReader), { path }).object();
    QCOMPARE(book.value(u"sheets").toArray(), QJsonArray { QStringLiteral("Magazzino") });
    const QJsonArray rows = book.value(u"rows").toArray();
    QCOMPARE(rows.size(), 2);
    const QJsonArray header = rows[0].toArray();
    QCOMPARE(header.size(), 23);
    QCOMPARE(header[10].toArray()[0].toString(), QStringLiteral("Modalità ordine merce"));
    for (const QJsonValue &bold : book.value(u"bold").toArray())
        QVERIFY(bold.toBool());

    const QJsonArray cells = rows[1].toArray();
    auto cell = [&](int c) { return cells[c].toArray(); };
    // A code with leading zeros stays text; amounts and counts are numbers.
    QCOMPARE(cell(0)[0].toString(), QStringLiteral("00123"));
    QCOMPARE(cell(0)[1].toString(), QStringLiteral("s"));
    QCOMPARE(cell(4)[0].toString(), QStringLiteral("Dado & rondella <M6>"));
    QCOMPARE(cell(5)[0].toString(), longEdit);
    QCOMPARE(cell(11)[0].toDouble(), -5.0);
    QCOMPARE(cell(11)[1].toString(), QStringLiteral("n"));
    QCOMPARE(cell(12)[0].toDouble(), 12.5);
    QCOMPARE(cell(12)[1].toString(), QStringLiteral("n"));
    QCOMPARE(cell(13)[0].toDouble(), -62.5);
    // An amount column's cell that holds no number stays text.
    QCOMPARE(cell(14)[0].toString(), QStringLiteral("non so"));
    QCOMPARE(cell(14)[1].toString(), QStringLiteral("s"));
    QCOMPARE(cell(15)[0].toDouble(), 22.0);
    QCOMPARE(cell(16)[1].toString(), QString()); // empty: left out
    QCOMPARE(cell(21)[0].toString(), QStringLiteral("→ \U0001F600"));
    // XML cannot carry a control character: the file holds it in the OOXML escape _x0001_,
    // which Excel turns back into the character and openpyxl shows as it is.
    QCOMPARE(cell(22)[0].toString(), QStringLiteral("a<b & \"c\"\td_x0001_z"));
    const QJsonArray formats = book.value(u"formats").toArray()[0].toArray();
    QCOMPARE(formats[12].toString(), QStringLiteral("0.00##"));
    QCOMPARE(formats[11].toString(), QStringLiteral("0"));

    // Column widths in characters, from the file widths in pixels (7 pixels a character
    // and 5 of padding in the default font).
    const QJsonArray widths = book.value(u"widths").toArray();
    QCOMPARE(widths.size(), 23);
    const Export::Exporter &exporter = Export::exporter(Kind::Products);
    for (int c = 0; c < 23; ++c) {
        const double pixels = widths[c].toDouble() * 7 + 5;
        QVERIFY2(qAbs(pixels - exporter.columns[c].fileWidth) <= 7, qPrintable(QString::number(c)));
    }
}

void TestExportFiles::xlsxOfEmptyArchive()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("Registro_Scarico.xlsx"));
    QVERIFY(
        SpreadsheetXlsx::save(path, ExportGrid::fromRecords(Export::exporter(Kind::Unloads), {})));
    const QJsonObject book = runPython(QString::fromLatin1(kXlsxReader), { path }).object();
    QCOMPARE(book.value(u"sheets").toArray(), QJsonArray { QStringLiteral("Registro Scarico") });
    const QJsonArray rows = book.value(u"rows").toArray();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].toArray()[6].toArray()[0].toString(), QStringLiteral("Pezzi scaricati"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { "Registro_Scarico.xlsx" });
}

// The three sample files LibreOffice opens, one per kind of archive, converted in one run
// (LibreOffice takes seconds to start): each file's rows as openpyxl reads them.
QHash<Kind, QJsonArray> libreOfficeSamples(const TempProgramFolder &folder)
{
    const RecordLayout &customer = CustomerRecord::layout();
    const RecordLayout &supplier = SupplierRecord::layout();
    const QList<std::pair<Kind, Record>> samples = {
        { Kind::Customers,
            recordOf(customer,
                { { "Cognome", QStringLiteral("Verdi") }, { "Iva", QStringLiteral("07970600156") },
                    { "TelCel", QStringLiteral("0331234567") },
                    { "Codice", QStringLiteral("0042") } }) },
        { Kind::Suppliers,
            recordOf(supplier,
                { { "Ditta", QStringLiteral("Ferramenta") }, { "CapRes", QStringLiteral("00100") },
                    { "PartitaIva", QStringLiteral("01234567897") },
                    { "Carta", QStringLiteral("4111111111111111") },
                    { "Fax", QStringLiteral("0612345678") } }) },
        { Kind::Products, product({ { ProductRecord::Codice, QStringLiteral("000123") } }) },
    };
    QStringList paths;
    for (const auto &[kind, record] : samples) {
        const Export::Exporter &exporter = Export::exporter(kind);
        paths << folder.filePath(exporter.fileName.toString());
        if (!SpreadsheetHtml::save(paths.last(), ExportGrid::fromRecords(exporter, { record })))
            return {};
    }
    const QHash<QString, QJsonObject> books = readByLibreOffice(folder, paths);
    QHash<Kind, QJsonArray> rows;
    for (qsizetype i = 0; i < samples.size(); ++i)
        rows.insert(samples[i].first, books.value(paths[i]).value(u"rows").toArray());
    return rows;
}

// Identifier, phone and postcode cells are opened by LibreOffice as text with every
// leading zero and digit.
void TestExportFiles::xlsReadByLibreOffice_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text"); // as stored and as read back, type text
    QTest::newRow("customer VAT number") << Kind::Customers << 4 << u"07970600156"_s;
    QTest::newRow("customer mobile") << Kind::Customers << 9 << u"0331234567"_s;
    QTest::newRow("customer code") << Kind::Customers << 21 << u"0042"_s;
    QTest::newRow("supplier postcode") << Kind::Suppliers << 5 << u"00100"_s;
    QTest::newRow("supplier VAT number") << Kind::Suppliers << 13 << u"01234567897"_s;
    QTest::newRow("supplier card number") << Kind::Suppliers << 14 << u"4111111111111111"_s;
    QTest::newRow("supplier fax") << Kind::Suppliers << 10 << u"0612345678"_s;
    QTest::newRow("product code") << Kind::Products << 0 << u"000123"_s;
}

void TestExportFiles::xlsReadByLibreOffice()
{
    QFETCH(Kind, kind);
    QFETCH(int, column);
    QFETCH(QString, text);
    QVERIFY2(QFile::exists(kSoffice), "LibreOffice (libreoffice-calc-nogui) reads the file back");
    static const TempProgramFolder folder;
    static const QHash<Kind, QJsonArray> samples = libreOfficeSamples(folder);
    const QJsonArray rows = samples.value(kind);
    QCOMPARE(rows.size(), 2);
    const QJsonArray cell = rows[1].toArray()[column].toArray();
    QCOMPARE(cell[0].toString(), text);
    QCOMPARE(cell[1].toString(), QStringLiteral("s"));
}

QTEST_APPLESS_MAIN(TestExportFiles)
#include "tst_exportfiles.moc"
