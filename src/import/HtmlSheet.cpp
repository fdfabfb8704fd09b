#include "import/HtmlSheet.h"

#include "storage/Cp1252.h"

#include <QIODevice>
#include <QStringDecoder>

namespace HtmlSheet {

namespace {

constexpr qint64 kBlockBytes = 1024 * 1024;

// The name of a tag from the text between '<' and '>': "td", "/td", "br", "x:name"...
QByteArray lowerTagName(QByteArrayView tag)
{
    qsizetype end = tag.startsWith('/') ? 1 : 0;
    while (end < tag.size()) {
        const char c = tag[end];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':'
                || c == '!' || c == '-'))
            break;
        ++end;
    }
    return tag.first(end).toByteArray().toLower();
}

QString decodeReference(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
            ? name.mid(2).toUInt(&ok, 16)
            : name.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF)
            return QString();
        const char32_t c = code;
        return QString::fromUcs4(&c, 1);
    }
    if (name == u"amp")
        return QStringLiteral("&");
    if (name == u"lt")
        return QStringLiteral("<");
    if (name == u"gt")
        return QStringLiteral(">");
    if (name == u"quot")
        return QStringLiteral("\"");
    if (name == u"apos")
        return QStringLiteral("'");
    if (name == u"nbsp")
        return QStringLiteral(" ");
    if (name == u"euro")
        return QStringLiteral("\u20AC");
    return QString();
}

} // namespace

bool looksLikeHtml(QByteArrayView head)
{
    const QByteArray start = head.first(std::min<qsizetype>(head.size(), 1024)).toByteArray();
    const QByteArray lower = start.trimmed().toLower();
    return lower.startsWith("<html") || lower.startsWith("<!doctype html")
        || lower.startsWith("<table") || lower.contains("<table");
}

QString cellText(QByteArrayView bytes, bool utf8)
{
    // Tags out first (a <br> becomes a line break), then the text decoded.
    QByteArray plain;
    plain.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c != '<') {
            if (c != '\r' && c != '\n')
                plain.append(c);
            else
                plain.append(' ');
            ++i;
            continue;
        }
        const qsizetype close = bytes.indexOf('>', i);
        if (close < 0)
            break;
        if (lowerTagName(bytes.sliced(i + 1, close - i - 1)) == "br")
            plain.append('\n');
        i = close + 1;
    }
    const QString text = utf8 ? QString::fromUtf8(plain) : Cp1252::decode(plain);
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == u'&') {
            const qsizetype semi = text.indexOf(u';', k);
            if (semi > k && semi - k <= 10) {
                const QString decoded
                    = decodeReference(QStringView(text).sliced(k + 1, semi - k - 1));
                if (!decoded.isEmpty()) {
                    out += decoded;
                    k = semi;
                    continue;
                }
            }
        }
        out += text[k];
    }
    // Collapse runs of blanks as a browser shows them, keeping line breaks.
    QString collapsed;
    collapsed.reserve(out.size());
    bool blank = false;
    for (const QChar ch : out) {
        if (ch == u' ' || ch == u'\t') {
            if (!blank)
                collapsed += u' ';
            blank = true;
            continue;
        }
        blank = false;
        collapsed += ch;
    }
    return collapsed.trimmed();
}

QString sheetName(QIODevice &device)
{
    const QByteArray head = device.peek(64 * 1024);
    const qsizetype at = head.indexOf("<x:Name>");
    if (at < 0)
        return QString();
    const qsizetype end = head.indexOf("</x:Name>", at);
    if (end < 0)
        return QString();
    const qsizetype from = at + 8;
    return cellText(
        QByteArrayView(head).sliced(from, end - from), head.toLower().contains("charset=utf-8"));
}

bool read(QIODevice &device, const SheetRows::RowSink &sink, QString &error)
{
    const bool utf8 = device.peek(64 * 1024).toLower().contains("charset=utf-8");
    QByteArray buffer;
    qsizetype pos = 0;
    bool inTable = false, inRow = false, inCell = false, done = false;
    QByteArray cell;
    SheetRows::Row row;
    qint64 rowNumber = 0;
    int colspan = 1;
    auto endCell = [&] {
        if (!inCell)
            return;
        inCell = false;
        if (row.size() < SheetRows::kMaxColumns)
            row.append(SheetRows::Cell::fromText(cellText(cell, utf8)));
        for (int k = 1; k < colspan && row.size() < SheetRows::kMaxColumns; ++k)
            row.append(SheetRows::Cell {});
        cell.clear();
    };
    auto endRow = [&] {
        endCell();
        if (!inRow)
            return true;
        inRow = false;
        ++rowNumber;
        const bool keepGoing = SheetRows::isEmptyRow(row) || sink(rowNumber, row);
        row.clear();
        return keepGoing;
    };
    bool atEnd = false;
    while (!done) {
        if (!atEnd) {
            const QByteArray more = device.read(kBlockBytes);
            if (more.isEmpty()) {
                atEnd = true;
                if (!device.atEnd()) {
                    error = device.errorString();
                    return false;
                }
            }
            buffer = buffer.mid(pos) + more;
            pos = 0;
        }
        while (pos < buffer.size()) {
            const qsizetype open = buffer.indexOf('<', pos);
            if (open < 0) {
                if (inCell)
                    cell.append(QByteArrayView(buffer).sliced(pos));
                pos = buffer.size();
                break;
            }
            if (inCell)
                cell.append(QByteArrayView(buffer).sliced(pos, open - pos));
            const qsizetype close = buffer.indexOf('>', open);
            if (close < 0) {
                pos = open;
                break;
            }
            const QByteArrayView tag = QByteArrayView(buffer).sliced(open + 1, close - open - 1);
            const QByteArray name = lowerTagName(tag);
            pos = close + 1;
            if (name == "table") {
                inTable = true;
            } else if (!inTable) {
                continue;
            } else if (name == "/table") {
                done = true;
                break;
            } else if (name == "tr") {
                if (!endRow())
                    return true;
                inRow = true;
            } else if (name == "/tr") {
                if (!endRow())
                    return true;
            } else if (name == "td" || name == "th") {
                endCell();
                inRow = true;
                inCell = true;
                colspan = 1;
                const QByteArray lower = tag.toByteArray().toLower();
                const qsizetype span = lower.indexOf("colspan=");
                if (span >= 0) {
                    QByteArray digits;
                    for (qsizetype k = span + 8; k < lower.size() && digits.size() < 5; ++k) {
                        if (lower[k] >= '0' && lower[k] <= '9')
                            digits.append(lower[k]);
                        else if (!digits.isEmpty())
                            break;
                    }
                    colspan = std::clamp(digits.toInt(), 1, SheetRows::kMaxColumns);
                }
            } else if (name == "/td" || name == "/th") {
                endCell();
            } else if (inCell) {
                cell.append('<');
                cell.append(tag);
                cell.append('>');
            }
            if (cell.size() > (qsizetype(1) << 24)) {
                error = QStringLiteral("una cella del file è troppo lunga");
                return false;
            }
        }
        if (atEnd)
            break;
        if (buffer.size() - pos > (qsizetype(1) << 24)) {
            error = QStringLiteral("il file contiene un elemento troppo lungo");
            return false;
        }
    }
    endRow();
    return true;
}

} // namespace HtmlSheet
