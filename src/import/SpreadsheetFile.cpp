#include "import/SpreadsheetFile.h"

#include "import/CsvReader.h"
#include "import/HtmlSheet.h"
#include "import/ImportFields.h"
#include "storage/TextForms.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <freexl.h>
#include <minizip/unzip.h>

#include <cmath>

namespace {

using SheetRows::Cell;
using SheetRows::Row;

qint64 g_partLimit = qint64(1) << 30;
constexpr qint64 kSmallPartLimit = qint64(256) << 20; // shared strings, styles, workbook
constexpr qint64 kChunk = 256 * 1024;
constexpr qint64 kMaxRows = 1048576;

const QString kUnreadable = QStringLiteral("il file non può essere letto");

QString damaged()
{
    return QStringLiteral("il file è danneggiato o non è un foglio di calcolo valido");
}

// A zip file read through minizip, the zip library that libxlsxwriter (the .xlsx export)
// uses too: one copy of its functions in the program.
class ZipReader
{
public:
    explicit ZipReader(const QString &path)
        : m_zip(unzOpen64(QFile::encodeName(path).constData()))
    {
    }
    ~ZipReader()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    bool isOpen() const { return m_zip != nullptr; }

    QStringList names() const
    {
        QStringList out;
        if (!m_zip || unzGoToFirstFile(m_zip) != UNZ_OK)
            return out;
        do {
            char name[1024];
            unz_file_info64 info;
            if (unzGetCurrentFileInfo64(m_zip, &info, name, sizeof name, nullptr, 0, nullptr, 0)
                != UNZ_OK)
                break;
            out.append(QString::fromUtf8(name));
        } while (out.size() < 100000 && unzGoToNextFile(m_zip) == UNZ_OK);
        return out;
    }

    // Points at a part and opens it for reading.
    bool openPart(const QString &name)
    {
        return m_zip && unzLocateFile(m_zip, name.toUtf8().constData(), 1) == UNZ_OK
            && unzOpenCurrentFile(m_zip) == UNZ_OK;
    }
    // Bytes read, 0 at the end, negative on an error.
    qint64 read(char *data, int size) { return unzReadCurrentFile(m_zip, data, unsigned(size)); }
    // False when the part's checksum does not match what was read whole.
    bool closePart() { return unzCloseCurrentFile(m_zip) == UNZ_OK; }

private:
    unzFile m_zip;
};

// Reads a part of a zip in blocks, handing each to consume; at most limit bytes.
bool readPart(ZipReader &zip, const QString &name, qint64 limit,
    const std::function<bool(QByteArrayView)> &consume, QString &error)
{
    if (!zip.openPart(name)) {
        error = damaged();
        return false;
    }
    qint64 total = 0;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 n = zip.read(buffer.data(), int(buffer.size()));
        if (n < 0) {
            zip.closePart();
            error = damaged();
            return false;
        }
        if (n == 0)
            break;
        total += n;
        if (total > limit) {
            zip.closePart();
            error = QStringLiteral("il file contiene una parte compressa troppo grande per "
                                   "essere letta (oltre %1 MB)")
                        .arg(limit >> 20);
            return false;
        }
        if (!consume(QByteArrayView(buffer.constData(), n))) {
            zip.closePart();
            return true;
        }
    }
    if (!zip.closePart()) {
        error = damaged();
        return false;
    }
    return true;
}

// Streams a part of a zip as XML: handle gets the reader at every token and returns false
// to stop.
bool readXml(ZipReader &zip, const QString &name, qint64 limit,
    const std::function<bool(QXmlStreamReader &)> &handle, QString &error)
{
    QXmlStreamReader xml;
    bool stopped = false;
    bool bad = false;
    auto drain = [&] {
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.hasError()) {
                if (xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                    bad = true;
                return !bad;
            }
            if (!handle(xml)) {
                stopped = true;
                return false;
            }
        }
        return true;
    };
    if (!readPart(
            zip, name, limit,
            [&](QByteArrayView chunk) {
                xml.addData(chunk.toByteArray());
                return drain();
            },
            error))
        return false;
    if (bad || (!stopped && xml.hasError() && !xml.atEnd())) {
        error = damaged();
        return false;
    }
    return true;
}

QString attribute(const QXmlStreamReader &xml, QStringView localName)
{
    // Held const: walking the temporary would copy every attribute of the element.
    const QXmlStreamAttributes attributes = xml.attributes();
    for (const QXmlStreamAttribute &a : attributes) {
        if (a.name() == localName)
            return a.value().toString();
    }
    return QString();
}

// The 0-based column of a cell reference such as "AB12", or -1.
int columnOfReference(QStringView ref)
{
    int column = 0;
    int letters = 0;
    for (const QChar ch : ref) {
        const char16_t c = ch.unicode();
        if (c >= u'A' && c <= u'Z') {
            column = column * 26 + (c - u'A' + 1);
            if (++letters > 3)
                return -1;
        } else {
            break;
        }
    }
    return letters ? column - 1 : -1;
}

void putCell(Row &row, int column, const Cell &cell)
{
    if (column < 0 || column >= SheetRows::kMaxColumns)
        return;
    if (row.size() <= column) {
        if (cell.isEmpty())
            return;
        row.resize(column + 1);
    }
    row[column] = cell;
}

Cell dateCell(double serial, bool date1904)
{
    const std::optional<QDate> date
        = ImportFields::dateFromSerial(date1904 ? serial + 1462 : serial);
    if (!date)
        return Cell::fromNumber(serial);
    return Cell { Cell::Kind::Date, DateText(*date), serial };
}

Cell booleanCell(bool value)
{
    return Cell { Cell::Kind::Boolean, value ? QStringLiteral("VERO") : QStringLiteral("FALSO"),
        value ? 1.0 : 0.0 };
}

std::optional<double> xmlNumber(QStringView text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// True for a number format that shows a date (not a time alone).
bool isDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return true;
    if (code.isEmpty())
        return false;
    QString plain;
    bool quoted = false;
    int bracket = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar ch = code[i];
        if (ch == u'"') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (ch == u'\\' || ch == u'_' || ch == u'*') {
            ++i;
            continue;
        }
        if (ch == u'[') {
            ++bracket;
            continue;
        }
        if (ch == u']') {
            bracket = std::max(0, bracket - 1);
            continue;
        }
        if (!bracket)
            plain += ch.toLower();
    }
    return plain.contains(u'd') || plain.contains(u'y');
}

// ---------------------------------------------------------------------------------------
class XlsxFile : public SpreadsheetFile
{
public:
    explicit XlsxFile(const QString &path)
        : SpreadsheetFile(Format::Xlsx, path)
        , m_zip(path)
    {
    }

    bool load(QString &error)
    {
        if (!m_zip.isOpen()) {
            error = damaged();
            return false;
        }
        // Workbook: the sheets and their relationship ids, the date system.
        QStringList ids;
        if (!readXml(
                m_zip, QStringLiteral("xl/workbook.xml"), kSmallPartLimit,
                [&](QXmlStreamReader &xml) {
                    if (!xml.isStartElement())
                        return true;
                    if (xml.name() == u"sheet") {
                        m_sheets.append(attribute(xml, u"name"));
                        ids.append(attribute(xml, u"id"));
                    } else if (xml.name() == u"workbookPr") {
                        const QString d = attribute(xml, u"date1904");
                        m_date1904 = d == u"1" || d == u"true";
                    }
                    return true;
                },
                error))
            return false;
        QHash<QString, QString> targets;
        if (!readXml(
                m_zip, QStringLiteral("xl/_rels/workbook.xml.rels"), kSmallPartLimit,
                [&](QXmlStreamReader &xml) {
                    if (xml.isStartElement() && xml.name() == u"Relationship")
                        targets.insert(attribute(xml, u"Id"), attribute(xml, u"Target"));
                    return true;
                },
                error))
            return false;
        for (const QString &id : ids) {
            QString target = targets.value(id);
            if (target.startsWith(u'/'))
                target = target.mid(1);
            else if (!target.isEmpty())
                target = QStringLiteral("xl/") + target;
            m_parts.append(target);
        }
        if (m_sheets.isEmpty()) {
            error = QStringLiteral("la cartella di lavoro non contiene fogli");
            return false;
        }
        const QStringList names = m_zip.names();
        if (names.contains(QStringLiteral("xl/sharedStrings.xml")) && !loadStrings(error))
            return false;
        if (names.contains(QStringLiteral("xl/styles.xml")) && !loadStyles(error))
            return false;
        return true;
    }

    bool readRows(int sheet, const SheetRows::RowSink &sink, QString &error) override
    {
        if (sheet < 0 || sheet >= m_parts.size() || m_parts[sheet].isEmpty()) {
            error = damaged();
            return false;
        }
        Row row;
        qint64 rowNumber = 0;
        int column = -1;
        QString type;
        int style = -1;
        QString value;
        QString inlineText;
        bool inValue = false, inInline = false, inPhonetic = false;
        auto handle = [&](QXmlStreamReader &xml) {
            if (xml.isStartElement()) {
                const QStringView name = xml.name();
                if (name == u"row") {
                    row.clear();
                    column = -1;
                    const QString r = attribute(xml, u"r");
                    bool ok = false;
                    const qint64 n = r.toLongLong(&ok);
                    rowNumber = ok ? n : rowNumber + 1;
                } else if (name == u"c") {
                    const int ref = columnOfReference(attribute(xml, u"r"));
                    column = ref >= 0 ? ref : column + 1;
                    type = attribute(xml, u"t");
                    bool ok = false;
                    style = attribute(xml, u"s").toInt(&ok);
                    if (!ok)
                        style = -1;
                    value.clear();
                    inlineText.clear();
                } else if (name == u"v") {
                    inValue = true;
                } else if (name == u"is") {
                    inInline = true;
                } else if (name == u"rPh") {
                    inPhonetic = true;
                }
            } else if (xml.isCharacters()) {
                if (inValue)
                    value += xml.text();
                else if (inInline && !inPhonetic)
                    inlineText += xml.text();
            } else if (xml.isEndElement()) {
                const QStringView name = xml.name();
                if (name == u"v") {
                    inValue = false;
                } else if (name == u"is") {
                    inInline = false;
                } else if (name == u"rPh") {
                    inPhonetic = false;
                } else if (name == u"c") {
                    putCell(row, column, cellOf(type, style, value, inlineText));
                } else if (name == u"row") {
                    if (rowNumber > kMaxRows)
                        return false;
                    if (!SheetRows::isEmptyRow(row) && !sink(rowNumber, row))
                        return false;
                    row.clear();
                }
            }
            return true;
        };
        return readXml(m_zip, m_parts[sheet], g_partLimit, handle, error);
    }

private:
    Cell cellOf(const QString &type, int style, const QString &value, const QString &inlineText)
    {
        if (type == u"s") {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= m_strings.size())
                return Cell {};
            return Cell::fromText(m_strings[index]);
        }
        if (type == u"inlineStr")
            return Cell::fromText(inlineText);
        if (type == u"str" || type == u"e")
            return Cell::fromText(value);
        if (type == u"b")
            return booleanCell(value.trimmed() == u"1");
        if (value.isEmpty())
            return Cell {};
        const std::optional<double> number = xmlNumber(value);
        if (!number)
            return Cell::fromText(value);
        if (style >= 0 && style < m_dateStyles.size() && m_dateStyles[style])
            return dateCell(*number, m_date1904);
        return Cell::fromNumber(*number);
    }

    bool loadStrings(QString &error)
    {
        QString current;
        bool inItem = false, inText = false, inPhonetic = false;
        return readXml(
            m_zip, QStringLiteral("xl/sharedStrings.xml"), kSmallPartLimit,
            [&](QXmlStreamReader &xml) {
                if (xml.isStartElement()) {
                    if (xml.name() == u"si") {
                        inItem = true;
                        current.clear();
                    } else if (xml.name() == u"t") {
                        inText = true;
                    } else if (xml.name() == u"rPh") {
                        inPhonetic = true;
                    }
                } else if (xml.isCharacters()) {
                    if (inItem && inText && !inPhonetic)
                        current += xml.text();
                } else if (xml.isEndElement()) {
                    if (xml.name() == u"si") {
                        m_strings.append(current);
                        inItem = false;
                    } else if (xml.name() == u"t") {
                        inText = false;
                    } else if (xml.name() == u"rPh") {
                        inPhonetic = false;
                    }
                }
                return true;
            },
            error);
    }

    bool loadStyles(QString &error)
    {
        QHash<int, QString> codes;
        bool inXfs = false;
        return readXml(
            m_zip, QStringLiteral("xl/styles.xml"), kSmallPartLimit,
            [&](QXmlStreamReader &xml) {
                if (xml.isStartElement()) {
                    if (xml.name() == u"numFmt") {
                        codes.insert(
                            attribute(xml, u"numFmtId").toInt(), attribute(xml, u"formatCode"));
                    } else if (xml.name() == u"cellXfs") {
                        inXfs = true;
                    } else if (inXfs && xml.name() == u"xf") {
                        const int id = attribute(xml, u"numFmtId").toInt();
                        m_dateStyles.append(isDateFormat(id, codes.value(id)));
                    }
                } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
                    inXfs = false;
                }
                return true;
            },
            error);
    }

    ZipReader m_zip;
    QStringList m_parts;
    QStringList m_strings;
    QList<bool> m_dateStyles;
    bool m_date1904 = false;
};

// ---------------------------------------------------------------------------------------
class OdsFile : public SpreadsheetFile
{
public:
    explicit OdsFile(const QString &path)
        : SpreadsheetFile(Format::Ods, path)
        , m_zip(path)
    {
    }

    bool load(QString &error)
    {
        if (!m_zip.isOpen()) {
            error = damaged();
            return false;
        }
        // The sheet names: one quick pass over the tables, their rows skipped.
        if (!readXml(
                m_zip, QStringLiteral("content.xml"), g_partLimit,
                [&](QXmlStreamReader &xml) {
                    if (xml.isStartElement() && xml.name() == u"table")
                        m_sheets.append(attribute(xml, u"name"));
                    return true;
                },
                error))
            return false;
        if (m_sheets.isEmpty()) {
            error = QStringLiteral("la cartella di lavoro non contiene fogli");
            return false;
        }
        return true;
    }

    bool readRows(int sheet, const SheetRows::RowSink &sink, QString &error) override
    {
        int table = -1;
        bool inTable = false;
        Row row;
        qint64 rowNumber = 0;
        qint64 rowRepeat = 1;
        int column = 0;
        qint64 columnRepeat = 1;
        Cell cell;
        QString text;
        int paragraphs = 0;
        bool inCell = false, inParagraph = false;
        auto handle = [&](QXmlStreamReader &xml) {
            if (xml.isStartElement()) {
                const QStringView name = xml.name();
                if (name == u"table") {
                    ++table;
                    inTable = table == sheet;
                    if (table > sheet)
                        return false;
                } else if (!inTable) {
                    return true;
                } else if (name == u"table-row") {
                    row.clear();
                    column = 0;
                    rowRepeat = std::clamp<qint64>(
                        attribute(xml, u"number-rows-repeated").toLongLong(), 1, kMaxRows);
                } else if (name == u"table-cell" || name == u"covered-table-cell") {
                    inCell = true;
                    columnRepeat = std::clamp<qint64>(
                        attribute(xml, u"number-columns-repeated").toLongLong(), 1,
                        SheetRows::kMaxColumns);
                    text.clear();
                    paragraphs = 0;
                    cell = valueOf(xml);
                } else if (inCell && name == u"p") {
                    if (paragraphs++ > 0)
                        text += u'\n';
                    inParagraph = true;
                } else if (inParagraph && name == u"s") {
                    const int count = std::clamp(attribute(xml, u"c").toInt(), 1, 1000);
                    text += QString(count, u' ');
                } else if (inParagraph && name == u"tab") {
                    text += u'\t';
                } else if (inParagraph && name == u"line-break") {
                    text += u'\n';
                }
            } else if (!inTable) {
                return true;
            } else if (xml.isCharacters()) {
                if (inParagraph && text.size() < CsvReader::kMaxFieldLength)
                    text += xml.text();
            } else if (xml.isEndElement()) {
                const QStringView name = xml.name();
                if (name == u"p") {
                    inParagraph = false;
                } else if (name == u"table-cell" || name == u"covered-table-cell") {
                    inCell = false;
                    if (cell.kind == Cell::Kind::Empty || cell.kind == Cell::Kind::Text)
                        cell = Cell::fromText(text);
                    if (!cell.isEmpty()) {
                        for (qint64 k = 0; k < columnRepeat && column < SheetRows::kMaxColumns; ++k)
                            putCell(row, column++, cell);
                    } else {
                        column
                            = int(std::min<qint64>(column + columnRepeat, SheetRows::kMaxColumns));
                    }
                } else if (name == u"table-row") {
                    if (SheetRows::isEmptyRow(row)) {
                        rowNumber += rowRepeat;
                    } else {
                        for (qint64 k = 0; k < rowRepeat; ++k) {
                            if (++rowNumber > kMaxRows)
                                return false;
                            if (!sink(rowNumber, row))
                                return false;
                        }
                    }
                } else if (name == u"table") {
                    return false;
                }
            }
            return true;
        };
        return readXml(m_zip, QStringLiteral("content.xml"), g_partLimit, handle, error);
    }

private:
    static Cell valueOf(const QXmlStreamReader &xml)
    {
        const QString type = attribute(xml, u"value-type");
        if (type == u"float" || type == u"percentage" || type == u"currency") {
            if (const std::optional<double> n = xmlNumber(attribute(xml, u"value")))
                return Cell::fromNumber(*n);
        } else if (type == u"date") {
            const QString value = attribute(xml, u"date-value");
            const QDate date = QDate::fromString(value.left(10), QStringLiteral("yyyy-MM-dd"));
            if (date.isValid())
                return Cell { Cell::Kind::Date, DateText(date), 0 };
        } else if (type == u"boolean") {
            return booleanCell(attribute(xml, u"boolean-value") == u"true");
        }
        return Cell {};
    }

    ZipReader m_zip;
};

// ---------------------------------------------------------------------------------------
class BinaryXlsFile : public SpreadsheetFile
{
public:
    explicit BinaryXlsFile(const QString &path)
        : SpreadsheetFile(Format::BinaryXls, path)
    {
    }
    ~BinaryXlsFile() override
    {
        if (m_handle)
            freexl_close(m_handle);
    }

    bool load(QString &error)
    {
        if (freexl_open(QFile::encodeName(m_path).constData(), &m_handle) != FREEXL_OK) {
            m_handle = nullptr;
            error = damaged();
            return false;
        }
        unsigned int info = 0;
        if (freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK
            && info == FREEXL_BIFF_OBFUSCATED) {
            error = QStringLiteral("il file è protetto da password");
            return false;
        }
        unsigned int count = 0;
        if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
            error = damaged();
            return false;
        }
        for (unsigned int i = 0; i < count && i < 4096; ++i) {
            const char *name = nullptr;
            freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(i), &name);
            m_sheets.append(name ? QString::fromUtf8(name) : QStringLiteral("Foglio%1").arg(i + 1));
        }
        if (m_sheets.isEmpty()) {
            error = QStringLiteral("la cartella di lavoro non contiene fogli");
            return false;
        }
        return true;
    }

    bool readRows(int sheet, const SheetRows::RowSink &sink, QString &error) override
    {
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(sheet))
                != FREEXL_OK
            || freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK) {
            error = damaged();
            return false;
        }
        for (unsigned int r = 0; r < rows && r < kMaxRows; ++r) {
            Row row;
            for (unsigned short c = 0; c < columns && c < SheetRows::kMaxColumns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(m_handle, r, c, &value) != FREEXL_OK)
                    continue;
                putCell(row, c, cellOf(value));
            }
            if (!SheetRows::isEmptyRow(row) && !sink(qint64(r) + 1, row))
                return true;
        }
        return true;
    }

private:
    static Cell cellOf(const FreeXL_CellValue &value)
    {
        switch (value.type) {
        case FREEXL_CELL_INT:
            return Cell::fromNumber(value.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return Cell::fromNumber(value.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_TIME:
            return Cell::fromText(QString::fromUtf8(value.value.text_value));
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME: {
            const QDate date = QDate::fromString(
                QString::fromLatin1(value.value.text_value).left(10), QStringLiteral("yyyy-MM-dd"));
            if (date.isValid())
                return Cell { Cell::Kind::Date, DateText(date), 0 };
            return Cell::fromText(QString::fromUtf8(value.value.text_value));
        }
        default:
            break;
        }
        return Cell {};
    }

    const void *m_handle = nullptr;
};

// ---------------------------------------------------------------------------------------
// Text files (CSV) and the program's own .xls (an HTML table): read from the file itself.
class TextFile : public SpreadsheetFile
{
public:
    TextFile(Format format, const QString &path, const QString &sheet)
        : SpreadsheetFile(format, path)
    {
        m_sheets.append(sheet);
    }

    bool readRows(int sheet, const SheetRows::RowSink &sink, QString &error) override
    {
        Q_UNUSED(sheet);
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = kUnreadable;
            return false;
        }
        return m_format == Format::HtmlXls ? HtmlSheet::read(file, sink, error)
                                           : CsvReader::read(file, sink, error);
    }
};

bool hasNulBytes(QByteArrayView head)
{
    return head.contains('\0');
}

} // namespace

SpreadsheetFile::~SpreadsheetFile() = default;

void SpreadsheetFile::setPartLimit(qint64 bytes)
{
    g_partLimit = bytes;
}

QString SpreadsheetFile::dialogFilter()
{
    return QStringLiteral("Fogli di calcolo e file CSV (*.xlsx *.xls *.ods *.csv *.txt);;"
                          "Microsoft Excel (*.xlsx *.xls);;OpenDocument (*.ods);;"
                          "File CSV (*.csv *.txt);;Tutti i file (*)");
}

std::unique_ptr<SpreadsheetFile> SpreadsheetFile::open(const QString &path, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("il file non esiste");
        return nullptr;
    }
    if (info.isDir()) {
        error = QStringLiteral("è una cartella");
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = kUnreadable;
        return nullptr;
    }
    const QByteArray head = file.read(4096);
    file.close();
    if (head.isEmpty()) {
        error = QStringLiteral("il file è vuoto");
        return nullptr;
    }
    const QString extension = info.suffix().toLower();
    if (head.startsWith("PK\x03\x04")) {
        QStringList names;
        {
            const ZipReader probe(path);
            if (!probe.isOpen()) {
                error = damaged();
                return nullptr;
            }
            names = probe.names();
        }
        if (names.contains(QStringLiteral("xl/workbook.xml"))) {
            auto xlsx = std::make_unique<XlsxFile>(path);
            if (!xlsx->load(error))
                return nullptr;
            return xlsx;
        }
        if (names.contains(QStringLiteral("content.xml"))) {
            auto ods = std::make_unique<OdsFile>(path);
            if (!ods->load(error))
                return nullptr;
            return ods;
        }
        error = QStringLiteral("il file è un archivio compresso ma non un foglio di calcolo");
        return nullptr;
    }
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        auto xls = std::make_unique<BinaryXlsFile>(path);
        if (!xls->load(error))
            return nullptr;
        return xls;
    }
    if (HtmlSheet::looksLikeHtml(head)) {
        QFile html(path);
        QString sheet;
        if (html.open(QIODevice::ReadOnly))
            sheet = HtmlSheet::sheetName(html);
        if (sheet.isEmpty())
            sheet = info.completeBaseName();
        return std::make_unique<TextFile>(Format::HtmlXls, path, sheet);
    }
    if (hasNulBytes(head)) {
        error = QStringLiteral("il contenuto del file non corrisponde a nessuno dei formati "
                               "riconosciuti");
        return nullptr;
    }
    if (extension == u"xlsx" || extension == u"ods" || extension == u"xls") {
        error = QStringLiteral("il file ha l'estensione .%1 ma contiene solo testo: "
                               "rinominarlo in .csv se si tratta di un file CSV")
                    .arg(extension);
        return nullptr;
    }
    return std::make_unique<TextFile>(Format::Csv, path, info.completeBaseName());
}
