#include "export/SpreadsheetHtml.h"

#include "export/ExportGrid.h"
#include "storage/Cp1252.h"
#include "storage/SafeFile.h"
#include "storage/TextForms.h"

#include <QBuffer>

namespace {

// The pieces before the sheet name, and between it and the header row.
constexpr char kHead[] = "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
                         "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
                         "xmlns=\"http://www.w3.org/TR/REC-html40\">"
                         "<head>"
                         "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                         "charset=windows-1252\">"
                         "<!--[if gte mso 9]><xml>"
                         "<x:ExcelWorkbook>"
                         "<x:ExcelWorksheets>"
                         "<x:ExcelWorksheet>"
                         "<x:Name>";
constexpr char kOptions[] = "</x:Name>"
                            "<x:WorksheetOptions>"
                            "<x:Selected/>"
                            "<x:Panes>"
                            "<x:Pane>"
                            "<x:Number>1</x:Number>"
                            "<x:ActiveRow>3</x:ActiveRow>"
                            "</x:Pane>"
                            "</x:Panes>"
                            "<x:ProtectContents>False</x:ProtectContents>"
                            "<x:ProtectObjects>False</x:ProtectObjects>"
                            "<x:ProtectScenarios>False</x:ProtectScenarios>"
                            "</x:WorksheetOptions>"
                            "</x:ExcelWorksheet>"
                            "</x:ExcelWorksheets>"
                            "</x:ExcelWorkbook>"
                            "</xml><![endif]-->"
                            // Cells of class t are text whatever they look like, for Excel
                            // and LibreOffice alike.
                            "<style>.t{mso-number-format:\"\\@\";}</style>"
                            "</head>"
                            "<body>"
                            "<table x:str>";
constexpr char kTail[] = "</table></body></html>";
constexpr char kHeaderCell[] = "<td style=\"text-align: left; font-weight: bold;\" width=";
constexpr char kLeftCell[] = "<td style=\"text-align: left;\">";
constexpr char kRightCell[] = "<td style=\"text-align: right;\">";
constexpr char kTextCell[] = "<td class=t style=\"text-align: left;\">";
// Put before a cell's text to keep it text (the advice against formula injection).
constexpr char kTextMark = '\'';

// Text is collected here and handed to the device in large writes.
class Output
{
public:
    explicit Output(QIODevice &device)
        : m_device(device)
    {
        m_buffer.reserve(kChunk + 4096);
    }

    void append(QByteArrayView bytes)
    {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kChunk)
            flush();
    }
    void append(char c) { m_buffer.append(c); }

    // Stored bytes, with the three characters that would end a cell's text escaped.
    void appendEscaped(QByteArrayView bytes)
    {
        qsizetype plain = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (c != '&' && c != '<' && c != '>')
                continue;
            m_buffer.append(bytes.sliced(plain, i - plain));
            m_buffer.append(c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;");
            plain = i + 1;
        }
        append(bytes.sliced(plain));
    }

    // Text from the program or from an edit: Windows-1252 where the code page has the
    // character, a numeric character reference where it does not.
    void appendEscaped(QStringView text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text[i];
            const char byte = Cp1252::encodeChar(ch);
            if (Cp1252::decodeByte(static_cast<unsigned char>(byte)) == ch) {
                appendEscaped(QByteArrayView(&byte, 1));
                continue;
            }
            char32_t code = ch.unicode();
            if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                code = QChar::surrogateToUcs4(ch, text[++i]);
            m_buffer.append("&#");
            m_buffer.append(QByteArray::number(quint32(code)));
            m_buffer.append(';');
        }
        if (m_buffer.size() >= kChunk)
            flush();
    }

    bool flush()
    {
        if (!m_failed && !m_buffer.isEmpty())
            m_failed = m_device.write(m_buffer) != m_buffer.size();
        m_buffer.clear();
        return !m_failed;
    }

private:
    static constexpr qsizetype kChunk = 1 << 20;
    QIODevice &m_device;
    QByteArray m_buffer;
    bool m_failed = false;
};

// A cell's text trimmed of leading and trailing characters of code 32 or less; stored
// cells are kept trimmed already, but a joined column may end in its space.
QByteArrayView trimmed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && static_cast<unsigned char>(bytes.front()) <= 32)
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && static_cast<unsigned char>(bytes.back()) <= 32)
        bytes.chop(1);
    return bytes;
}

} // namespace

namespace SpreadsheetHtml {

bool needsTextMark(QByteArrayView cell)
{
    if (cell.isEmpty())
        return false;
    const char first = cell.front();
    if (first == '=' || first == '@')
        return true;
    // A signed amount is a number and stays one.
    return (first == '+' || first == '-') && cell.size() > 1 && !TextToNumber(Cp1252::decode(cell));
}

bool write(QIODevice &out, const ExportGrid &grid)
{
    const Export::Exporter &exporter = grid.exporter();
    Output o(out);
    o.append(kHead);
    o.appendEscaped(exporter.sheetName);
    o.append(kOptions);

    o.append("<tr>");
    for (const Export::Column &column : exporter.columns) {
        o.append(kHeaderCell);
        o.append(QByteArray::number(column.fileWidth));
        o.append('>');
        o.appendEscaped(column.fileHeader);
        o.append("</td>");
    }
    o.append("</tr>");

    for (int row = 0; row < grid.rowCount(); ++row) {
        o.append("<tr>");
        for (int c = 0; c < grid.columnCount(); ++c) {
            const Export::Column &column = exporter.columns[std::size_t(c)];
            o.append(column.keepsText                      ? kTextCell
                    : column.align == Export::Align::Right ? kRightCell
                                                           : kLeftCell);
            // A text a spreadsheet program would take for a formula gets the apostrophe
            // that keeps it text.
            if (const QString *edited = grid.edit(row, c)) {
                const QString text = TrimControl(*edited);
                if (needsTextMark(Cp1252::encode(text)))
                    o.append(kTextMark);
                o.appendEscaped(QStringView(text));
            } else {
                const QByteArrayView text = trimmed(grid.storedBytes(row, c));
                if (needsTextMark(text))
                    o.append(kTextMark);
                o.appendEscaped(text);
            }
            o.append("</td>");
        }
        o.append("</tr>");
    }
    o.append(kTail);
    return o.flush();
}

QByteArray text(const ExportGrid &grid)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(buffer, grid);
    return buffer.data();
}

bool save(const QString &path, const ExportGrid &grid)
{
    return SafeFile::replace(path, [&grid](QIODevice &file) { return write(file, grid); });
}

} // namespace SpreadsheetHtml
