#include "reports/ListLines.h"

#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <algorithm>

namespace ListLines {

namespace {

// Trimming as the record fields are trimmed: characters of code 32 or less at both ends.
QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.sliced(begin, end - begin);
}

// The lower-case form of one character: only A-Z change.
inline char16_t fold(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

void appendFilled(QString &out, QStringView text, int width)
{
    if (width <= 0)
        return;
    if (text.size() >= width) {
        out.append(text.first(width));
    } else {
        const qsizetype start = out.size();
        out.append(text);
        out.resize(start + width, u' ');
    }
}

void appendPadded(QString &out, QStringView text, int width)
{
    appendFilled(out, trimmedView(text), width);
}

void appendJoined(QString &out, QStringView first, QStringView second, int width)
{
    if (width <= 0)
        return;
    const qsizetype start = out.size();
    out.append(trimmedView(first));
    out.append(u' ');
    out.append(trimmedView(second));
    if (out.size() - start >= width)
        out.truncate(start + width);
    else
        out.resize(start + width, u' ');
}

template <typename ValueOf> QString lineFrom(const Columns &columns, ValueOf valueOf)
{
    QString line;
    line.reserve(160);
    for (const Column &c : columns) {
        line.append(c.separator);
        switch (c.kind) {
        case ColumnKind::Padded:
            appendPadded(line, valueOf(c.field), c.width);
            break;
        case ColumnKind::Joined:
            appendJoined(line, valueOf(c.field), valueOf(c.secondField), c.width);
            break;
        case ColumnKind::Tail:
            line.append(trimmedView(valueOf(c.field)));
            break;
        }
    }
    return line;
}

} // namespace

Column padded(const QString &separator, int field, int width)
{
    return Column { separator, ColumnKind::Padded, field, -1, width };
}

Column joined(const QString &separator, int first, int second, int width)
{
    return Column { separator, ColumnKind::Joined, first, second, width };
}

Column tail(const QString &separator, int field)
{
    return Column { separator, ColumnKind::Tail, field, -1, 0 };
}

QString paddedColumn(QStringView text, int width)
{
    QString out;
    appendPadded(out, text, width);
    return out;
}

QString joinedColumn(QStringView first, QStringView second, int width)
{
    QString out;
    appendJoined(out, first, second, width);
    return out;
}

QString tailColumn(QStringView text)
{
    return trimmedView(text).toString();
}

QString buildLine(const Columns &columns, const Record &record)
{
    return lineFrom(columns, [&record](int field) { return record.value(field); });
}

QString buildLine(const Columns &columns, const RecordLayout &layout, QByteArrayView bytes)
{
    return lineFrom(columns, [&layout, bytes](int field) { return fieldOf(layout, bytes, field); });
}

int compareLines(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const QChar *pa = a.data();
    const QChar *pb = b.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = fold(pa[i].unicode());
        const char16_t cb = fold(pb[i].unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool lineLess(QStringView a, QStringView b)
{
    return compareLines(a, b) < 0;
}

void sortLines(QStringList &lines)
{
    std::stable_sort(lines.begin(), lines.end(),
        [](const QString &a, const QString &b) { return lineLess(a, b); });
}

bool containsKey(QStringView line, QStringView loweredKey)
{
    const qsizetype m = loweredKey.size();
    const qsizetype n = line.size();
    if (m == 0 || m > n)
        return false;
    const QChar *l = line.data();
    const QChar *k = loweredKey.data();
    const char16_t first = k[0].unicode();
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (fold(l[i].unicode()) != first)
            continue;
        qsizetype j = 1;
        while (j < m && fold(l[i + j].unicode()) == k[j].unicode())
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

FindOutcome findNext(
    const QStringList &lines, int selected, QStringView typedKey, QStringView lastKey)
{
    FindOutcome out;
    out.lastKey = LowerAscii(typedKey);
    const int n = int(lines.size());
    if (n == 0) {
        out.selected = -1;
        return out;
    }
    if (selected < 0 || selected >= n)
        selected = 0;
    out.selected = selected;

    // A new key tests line 0 first; the same key again tests the selected line last.
    const bool repeated = out.lastKey == lastKey;
    for (int k = 0; k < n; ++k) {
        const int index = repeated ? (selected + 1 + k) % n : k;
        if (containsKey(lines[index], out.lastKey)) {
            out.selected = index;
            break;
        }
    }
    return out;
}

LineBuilder lineBuilder(const Columns &columns, const RecordLayout &layout)
{
    return [columns, &layout](QByteArrayView bytes) { return buildLine(columns, layout, bytes); };
}

std::optional<Reopened> reopenByLine(RecordFile &file, const RecordLayout &layout,
    const QString &selectedLine, const LineBuilder &build)
{
    const QString wanted = TrimControl(selectedLine);
    std::optional<Reopened> found;
    file.seek(0);
    const qint64 count = file.recordCount();
    QByteArray bytes;
    for (qint64 index = 0; index < count; ++index) {
        if (!file.readNext(bytes))
            return std::nullopt;
        // The scan goes on after a match: with equal lines the last record wins.
        if (TrimControl(build(bytes)) == wanted)
            found = Reopened { Record::fromBytes(layout, bytes), index + 1 };
    }
    return found;
}

Scan scanLines(RecordFile &file, const RecordFilter &accept, const LineBuilder &build)
{
    Scan scan;
    file.seek(0);
    const qint64 count = file.recordCount();
    QByteArray bytes;
    for (qint64 index = 0; index < count; ++index) {
        if (!file.readNext(bytes)) {
            scan.complete = false;
            break;
        }
        const Verdict verdict = accept(bytes);
        if (verdict == Verdict::Stop) {
            scan.complete = false;
            break;
        }
        if (verdict == Verdict::Add)
            scan.lines.append(build(bytes));
    }
    return scan;
}

} // namespace ListLines
