#include "lists/ListLines.h"

#include "storage/Cp1252.h"
#include "storage/Session.h"
#include "storage/StoredField.h"
#include "storage/TextForms.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include <QVarLengthArray>

namespace ListLines {

namespace {

// The lower-case form of one character: only A-Z change.
inline char16_t fold(char16_t c)
{
    return char16_t(c - u'A') < 26 ? char16_t(c + (u'a' - u'A')) : c;
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
    appendFilled(out, TrimControlView(text), width);
}

void appendJoined(QString &out, QStringView first, QStringView second, int width)
{
    if (width <= 0)
        return;
    const qsizetype start = out.size();
    out.append(TrimControlView(first));
    out.append(u' ');
    out.append(TrimControlView(second));
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
            line.append(TrimControlView(valueOf(c.field)));
            break;
        }
    }
    return line;
}

// The code page as a table, so that decoding a byte is one lookup.
const std::array<char16_t, 256> &decodeTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t {};
        for (int b = 0; b < 256; ++b)
            t[std::size_t(b)] = Cp1252::decodeByte(static_cast<unsigned char>(b)).unicode();
        return t;
    }();
    return table;
}

// The text bytes of a stored field with the bytes of code 32 or less at both ends left
// out (they decode to the characters of code 32 or less, which the text form trims).
struct RawField
{
    const unsigned char *bytes = nullptr;
    int size = 0;
};

RawField rawField(QByteArrayView record, int offset, int capacity)
{
    const QByteArrayView text = storedText(record, offset, capacity, Trim::Controls);
    return { reinterpret_cast<const unsigned char *>(text.data()), int(text.size()) };
}

char16_t *decodeInto(char16_t *out, const unsigned char *bytes, int count)
{
    const auto &table = decodeTable();
    for (int i = 0; i < count; ++i)
        *out++ = table[bytes[i]];
    return out;
}

char *copyInto(char *out, const unsigned char *bytes, int count)
{
    for (int i = 0; i < count; ++i)
        *out++ = char(bytes[i]);
    return out;
}

char *fill(char *out, int count)
{
    for (int i = 0; i < count; ++i)
        *out++ = ' ';
    return out;
}

// The stable order of count texts by compareLines, as their indexes. text.length(i) and
// text.unit(i, k) give a text's length and its k-th character. Every text is folded once
// into its first twelve characters, packed four to a 64-bit word with the first character
// in the high bits and 0 past the end: comparing the words gives the order of
// compareLines twelve characters at a time, so most comparisons touch nothing else.
template <typename Texts> std::vector<qsizetype> sortedOrder(qsizetype count, const Texts &text)
{
    constexpr int kInline = 3;
    struct Key
    {
        std::uint64_t head[kInline];
        qsizetype length;
        qsizetype index;
    };
    std::vector<Key> keys(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i) {
        Key &key = keys[std::size_t(i)];
        key.index = i;
        key.length = text.length(i);
        for (int w = 0; w < kInline; ++w) {
            std::uint64_t packed = 0;
            for (qsizetype c = w * 4; c < w * 4 + 4; ++c)
                packed = (packed << 16) | (c < key.length ? fold(text.unit(i, c)) : 0);
            key.head[w] = packed;
        }
    }
    // Equal texts keep their reading order through the index, so the faster unstable
    // sort gives the stable order.
    std::sort(keys.begin(), keys.end(), [&text](const Key &a, const Key &b) {
        for (int w = 0; w < kInline; ++w) {
            if (a.head[w] != b.head[w])
                return a.head[w] < b.head[w];
        }
        const qsizetype common = std::min(a.length, b.length);
        for (qsizetype c = 4 * kInline; c < common; ++c) {
            const char16_t ca = fold(text.unit(a.index, c));
            const char16_t cb = fold(text.unit(b.index, c));
            if (ca != cb)
                return ca < cb;
        }
        if (a.length != b.length)
            return a.length < b.length;
        return a.index < b.index;
    });
    std::vector<qsizetype> order;
    order.reserve(keys.size());
    for (const Key &key : keys)
        order.push_back(key.index);
    return order;
}

// The find over any list of lines: matches(i) tells whether line i holds the key.
template <typename Matches>
FindOutcome findIn(
    int n, int selected, QStringView typedKey, QStringView lastKey, const Matches &matches)
{
    FindOutcome out;
    out.lastKey = LowerAscii(typedKey);
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
        if (matches(index, out.lastKey)) {
            out.selected = index;
            break;
        }
    }
    return out;
}

} // namespace

// A column table made ready for stored records: offsets and capacities looked up once,
// the separators in the code page, the fixed part of the line length added up once. A
// line is written as code-page bytes straight from the record's bytes into room of its
// exact length; its text is those bytes decoded.
class StoredLinePlan
{
public:
    StoredLinePlan(const Columns &columns, const RecordLayout &layout)
    {
        for (const Column &c : columns) {
            Step step;
            step.separator = Cp1252::encode(c.separator);
            // The separators are the program's own texts, all in the code page.
            Q_ASSERT(Cp1252::decode(step.separator) == c.separator);
            step.kind = c.kind;
            step.offset = layout.offset(c.field);
            step.capacity = layout.field(c.field).capacity;
            if (c.kind == ColumnKind::Joined) {
                step.offset2 = layout.offset(c.secondField);
                step.capacity2 = layout.field(c.secondField).capacity;
            }
            step.width = std::max(c.width, 0);
            m_fixed += step.separator.size() + (c.kind == ColumnKind::Tail ? 0 : step.width);
            m_steps.append(step);
        }
    }

    qsizetype length(QByteArrayView record) const
    {
        qsizetype length = m_fixed;
        for (const Step &step : m_steps) {
            if (step.kind == ColumnKind::Tail)
                length += rawField(record, step.offset, step.capacity).size;
        }
        return length;
    }

    // Writes the line into out, which has room for length(record) bytes.
    void write(char *out, QByteArrayView record) const
    {
        for (const Step &step : m_steps) {
            // Separators are a few characters: a plain loop beats a call to memcpy.
            for (const char c : step.separator)
                *out++ = c;
            const RawField first = rawField(record, step.offset, step.capacity);
            switch (step.kind) {
            case ColumnKind::Padded: {
                const int n = std::min(first.size, step.width);
                out = fill(copyInto(out, first.bytes, n), step.width - n);
                break;
            }
            case ColumnKind::Joined: {
                int room = step.width;
                const int n = std::min(first.size, room);
                out = copyInto(out, first.bytes, n);
                room -= n;
                if (room > 0) {
                    *out++ = ' ';
                    --room;
                    const RawField second = rawField(record, step.offset2, step.capacity2);
                    const int m = std::min(second.size, room);
                    out = copyInto(out, second.bytes, m);
                    room -= m;
                }
                out = fill(out, room);
                break;
            }
            case ColumnKind::Tail:
                out = copyInto(out, first.bytes, first.size);
                break;
            }
        }
    }

    QString build(QByteArrayView record) const
    {
        QVarLengthArray<char, 512> bytes(length(record));
        write(bytes.data(), record);
        return decodeLine(QByteArrayView(bytes.data(), bytes.size()));
    }

private:
    struct Step
    {
        QByteArray separator;
        ColumnKind kind = ColumnKind::Padded;
        int offset = 0;
        int capacity = 0;
        int offset2 = 0;
        int capacity2 = 0;
        int width = 0;
    };
    QList<Step> m_steps;
    qsizetype m_fixed = 0;
};

QString decodeLine(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeInto(reinterpret_cast<char16_t *>(text.data()),
        reinterpret_cast<const unsigned char *>(bytes.data()), int(bytes.size()));
    return text;
}

QByteArrayView PackedLines::bytesAt(qsizetype i) const
{
    const std::uint64_t word = m_lines[std::size_t(i)];
    return QByteArrayView(m_bytes.constData() + qsizetype(word >> kLengthBits),
        qsizetype(word & ((std::uint64_t(1) << kLengthBits) - 1)));
}

QString PackedLines::at(qsizetype i) const
{
    return decodeLine(bytesAt(i));
}

QStringList PackedLines::toStringList() const
{
    QStringList texts;
    texts.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        texts.append(at(i));
    return texts;
}

char *PackedLines::appendLine(qsizetype length)
{
    // A line is a few columns of at most 255 characters each: far below the length field.
    Q_ASSERT(length < (qsizetype(1) << kLengthBits));
    const qsizetype start = m_bytes.size();
    m_bytes.resize(start + length);
    m_lines.push_back(std::uint64_t(start) << kLengthBits | std::uint64_t(length));
    m_longest = std::max(m_longest, length);
    return m_bytes.data() + start;
}

void PackedLines::reserve(qsizetype lines)
{
    m_lines.reserve(std::size_t(lines));
}

void PackedLines::clear()
{
    m_bytes.clear();
    m_lines.clear();
    m_lines.shrink_to_fit();
    m_longest = 0;
}

void PackedLines::sort()
{
    struct Texts
    {
        const PackedLines &lines;
        const std::array<char16_t, 256> &table;
        qsizetype length(qsizetype i) const { return lines.bytesAt(i).size(); }
        char16_t unit(qsizetype i, qsizetype k) const
        {
            return table[static_cast<unsigned char>(lines.bytesAt(i)[k])];
        }
    };
    const std::vector<qsizetype> order = sortedOrder(size(), Texts { *this, decodeTable() });
    std::vector<std::uint64_t> sorted;
    sorted.reserve(m_lines.size());
    for (const qsizetype i : order)
        sorted.push_back(m_lines[std::size_t(i)]);
    m_lines = std::move(sorted);
}

Fields columnFields(const Columns &columns)
{
    Fields fields;
    for (const Column &c : columns) {
        fields.push_back(c.field);
        if (c.kind == ColumnKind::Joined)
            fields.push_back(c.secondField);
    }
    return unite(std::move(fields), {});
}

Fields unite(Fields fields, const Fields &more)
{
    fields.insert(fields.end(), more.begin(), more.end());
    std::sort(fields.begin(), fields.end());
    fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
    return fields;
}

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

QString buildLine(const Columns &columns, const Record &record)
{
    return lineFrom(columns, [&record](int field) { return record.value(field); });
}

QString buildLine(const Columns &columns, const RecordLayout &layout, QByteArrayView bytes)
{
    return StoredLinePlan(columns, layout).build(bytes);
}

QStringView fieldView(const RecordLayout &layout, QByteArrayView bytes, int field, char16_t *buffer)
{
    const RawField raw = rawField(
        bytes, layout.offset(field), std::min(layout.field(field).capacity, kFieldBuffer));
    decodeInto(buffer, raw.bytes, raw.size);
    return QStringView(buffer, raw.size);
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
    struct Texts
    {
        const QStringList &lines;
        qsizetype length(qsizetype i) const { return lines[i].size(); }
        char16_t unit(qsizetype i, qsizetype k) const { return lines[i][k].unicode(); }
    };
    const std::vector<qsizetype> order = sortedOrder(lines.size(), Texts { lines });
    QStringList sorted;
    sorted.reserve(lines.size());
    for (const qsizetype i : order)
        sorted.append(std::move(lines[i]));
    lines = std::move(sorted);
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
    return findIn(int(lines.size()), selected, typedKey, lastKey,
        [&lines](int i, QStringView key) { return containsKey(lines[i], key); });
}

FindOutcome findNext(
    const PackedLines &lines, int selected, QStringView typedKey, QStringView lastKey)
{
    return findIn(int(lines.size()), selected, typedKey, lastKey,
        [&lines](int i, QStringView key) { return containsKey(lines.at(i), key); });
}

LineBuilder::LineBuilder(const Columns &columns, const RecordLayout &layout)
    : m_plan(std::make_shared<const StoredLinePlan>(columns, layout))
    , m_fields(columnFields(columns))
{
}

QString LineBuilder::operator()(QByteArrayView recordBytes) const
{
    return m_plan->build(recordBytes);
}

void LineBuilder::appendTo(PackedLines &lines, QByteArrayView recordBytes) const
{
    m_plan->write(lines.appendLine(m_plan->length(recordBytes)), recordBytes);
}

LineBuilder lineBuilder(const Columns &columns, const RecordLayout &layout)
{
    return LineBuilder(columns, layout);
}

std::optional<Reopened> reopenByLine(Storage::Session &archive, const RecordLayout &layout,
    const QString &selectedLine, const LineBuilder &build)
{
    const QString wanted = TrimControl(selectedLine);
    qint64 found = -1;
    const bool read = archive.scan(build.fields(), [&](qint64 index, QByteArrayView bytes) {
        // The scan goes on after a match: with equal lines the last record wins.
        if (TrimControl(build(bytes)) == wanted)
            found = index;
        return true;
    });
    if (!read || found < 0)
        return std::nullopt;
    Reopened reopened { Record(layout), found + 1 };
    if (!archive.readAt(found, reopened.record))
        return std::nullopt;
    return reopened;
}

bool scanRecords(Storage::Session &archive, const Fields &fields, const RecordFilter &accept,
    const RecordTaker &take)
{
    bool stopped = false;
    // Straight from the archive's read block: a scan copies no record.
    const bool read = archive.scan(fields, [&](qint64 index, QByteArrayView bytes) {
        const Verdict verdict = accept(bytes);
        if (verdict == Verdict::Stop) {
            stopped = true;
            return false;
        }
        if (verdict == Verdict::Add)
            take(index, bytes);
        return true;
    });
    return read && !stopped;
}

bool scanRecords(Storage::Session &archive, const RecordFilter &accept, const RecordTaker &take)
{
    return scanRecords(archive, Fields(), accept, take);
}

namespace {

// The lines of the records accept() adds, the archive asked for fields.
Scan linesOf(Storage::Session &archive, const Fields &fields, const RecordFilter &accept,
    const LineBuilder &build)
{
    Scan scan;
    // A damaged or huge file does not make a huge reservation: beyond this the lines grow
    // as they are read.
    scan.lines.reserve(std::min<qint64>(archive.recordCount(), 1 << 20));
    scan.complete = scanRecords(archive, fields, accept,
        [&scan, &build](qint64, QByteArrayView bytes) { build.appendTo(scan.lines, bytes); });
    return scan;
}

} // namespace

Scan scanLines(Storage::Session &archive, const Fields &acceptFields, const RecordFilter &accept,
    const LineBuilder &build)
{
    return linesOf(archive, unite(acceptFields, build.fields()), accept, build);
}

Scan scanLines(Storage::Session &archive, const RecordFilter &accept, const LineBuilder &build)
{
    return linesOf(archive, Fields(), accept, build);
}

} // namespace ListLines
