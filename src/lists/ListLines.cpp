#include "lists/ListLines.h"

#include "storage/Cp1252.h"
#include "storage/Session.h"
#include "storage/StoredField.h"
#include "storage/TextForms.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

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

char16_t *fill(char16_t *out, int count)
{
    for (int i = 0; i < count; ++i)
        *out++ = u' ';
    return out;
}

// A column table made ready for stored records: offsets and capacities looked up once,
// the fixed part of the line length added up once. Every line is then written into one
// allocation of its exact length.
class StoredLinePlan
{
public:
    StoredLinePlan(const Columns &columns, const RecordLayout &layout)
    {
        for (const Column &c : columns) {
            Step step;
            step.separator = c.separator;
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

    QString build(QByteArrayView record) const
    {
        qsizetype length = m_fixed;
        for (const Step &step : m_steps) {
            if (step.kind == ColumnKind::Tail)
                length += rawField(record, step.offset, step.capacity).size;
        }
        QString line(length, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(line.data());
        for (const Step &step : m_steps) {
            // Separators are a few characters: a plain loop beats a call to memcpy.
            const char16_t *sep = reinterpret_cast<const char16_t *>(step.separator.constData());
            for (qsizetype i = 0, n = step.separator.size(); i < n; ++i)
                *out++ = sep[i];
            const RawField first = rawField(record, step.offset, step.capacity);
            switch (step.kind) {
            case ColumnKind::Padded: {
                const int n = std::min(first.size, step.width);
                out = fill(decodeInto(out, first.bytes, n), step.width - n);
                break;
            }
            case ColumnKind::Joined: {
                int room = step.width;
                const int n = std::min(first.size, room);
                out = decodeInto(out, first.bytes, n);
                room -= n;
                if (room > 0) {
                    *out++ = u' ';
                    --room;
                    const RawField second = rawField(record, step.offset2, step.capacity2);
                    const int m = std::min(second.size, room);
                    out = decodeInto(out, second.bytes, m);
                    room -= m;
                }
                out = fill(out, room);
                break;
            }
            case ColumnKind::Tail:
                out = decodeInto(out, first.bytes, first.size);
                break;
            }
        }
        return line;
    }

private:
    struct Step
    {
        QString separator;
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
    // Every line is folded once and packed four characters to a 64-bit word, the first
    // character in the high bits, the last word padded with 0: comparing the words in
    // order then gives the order of compareLines four characters at a time, and a line
    // whose words all equal the start of a longer one sorts first by its length. The
    // first words sit in the sort key itself, so most comparisons touch nothing else.
    constexpr int kInline = 3;
    struct Key
    {
        std::uint64_t head[kInline];
        std::uint32_t rest; // where the words after the inline ones start
        std::uint32_t words; // how many words the line has in all
        qsizetype length;
        qsizetype index;
    };
    const qsizetype count = lines.size();
    qsizetype allWords = 0;
    for (const QString &line : std::as_const(lines))
        allWords += std::max<qsizetype>((line.size() + 3) / 4 - kInline, 0);
    std::vector<std::uint64_t> words(static_cast<std::size_t>(allWords) + 1);
    std::vector<Key> keys(static_cast<std::size_t>(count));
    std::size_t at = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const QString &line = lines[i];
        const char16_t *chars = reinterpret_cast<const char16_t *>(line.constData());
        const qsizetype length = line.size();
        Key &key = keys[std::size_t(i)];
        key.index = i;
        key.length = length;
        key.words = std::uint32_t((length + 3) / 4);
        key.rest = std::uint32_t(at);
        // Whole words straight, then the last one padded with 0; the inline words of a
        // short line are 0 past its end.
        const qsizetype whole = length / 4;
        qsizetype w = 0;
        for (; w < whole; ++w) {
            const char16_t *c = chars + 4 * w;
            const std::uint64_t packed = std::uint64_t(fold(c[0])) << 48
                | std::uint64_t(fold(c[1])) << 32 | std::uint64_t(fold(c[2])) << 16
                | std::uint64_t(fold(c[3]));
            if (w < kInline)
                key.head[w] = packed;
            else
                words[at++] = packed;
        }
        for (; w < std::max<qsizetype>(key.words, kInline); ++w) {
            std::uint64_t packed = 0;
            for (qsizetype c = w * 4; c < w * 4 + 4; ++c)
                packed = (packed << 16) | (c < length ? fold(chars[c]) : 0);
            if (w < kInline)
                key.head[w] = packed;
            else
                words[at++] = packed;
        }
    }
    const std::uint64_t *const tail = words.data();
    // Equal lines keep their reading order through the index, so the faster unstable sort
    // gives the stable order.
    std::sort(keys.begin(), keys.end(), [tail](const Key &a, const Key &b) {
        for (int w = 0; w < kInline; ++w) {
            if (a.head[w] != b.head[w])
                return a.head[w] < b.head[w];
        }
        const std::uint32_t common = std::min(a.words, b.words);
        for (std::uint32_t w = kInline; w < common; ++w) {
            const std::uint64_t wa = tail[a.rest + w - kInline];
            const std::uint64_t wb = tail[b.rest + w - kInline];
            if (wa != wb)
                return wa < wb;
        }
        if (a.length != b.length)
            return a.length < b.length;
        return a.index < b.index;
    });
    QStringList sorted;
    sorted.reserve(count);
    for (const Key &key : keys)
        sorted.append(std::move(lines[key.index]));
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
    return [plan = StoredLinePlan(columns, layout)](
               QByteArrayView bytes) { return plan.build(bytes); };
}

std::optional<Reopened> reopenByLine(Storage::Session &archive, const RecordLayout &layout,
    const QString &selectedLine, const LineBuilder &build)
{
    const QString wanted = TrimControl(selectedLine);
    std::optional<Reopened> found;
    const bool read = archive.scan({}, [&](qint64 index, QByteArrayView bytes) {
        // The scan goes on after a match: with equal lines the last record wins.
        if (TrimControl(build(bytes)) == wanted)
            found = Reopened { Record::fromBytes(layout, bytes), index + 1 };
        return true;
    });
    if (!read)
        return std::nullopt;
    return found;
}

bool scanRecords(Storage::Session &archive, const RecordFilter &accept,
    const std::function<void(qint64 index, QByteArrayView recordBytes)> &take)
{
    bool stopped = false;
    // Straight from the archive's read block: a scan copies no record.
    const bool read = archive.scan({}, [&](qint64 index, QByteArrayView bytes) {
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

Scan scanLines(Storage::Session &archive, const RecordFilter &accept, const LineBuilder &build)
{
    Scan scan;
    scan.lines.reserve(archive.recordCount());
    scan.complete = scanRecords(archive, accept,
        [&scan, &build](qint64, QByteArrayView bytes) { scan.lines.append(build(bytes)); });
    return scan;
}

} // namespace ListLines
