#pragma once
#include "storage/Record.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Storage {
class Session;
}

// The lines of the list screens: fixed-width text lines built from record fields by a
// table of columns, their order, the in-list find and the reopening of a record by its
// line. Pure logic over texts and records; the list screens only show the results.
namespace ListLines {

enum class ColumnKind {
    Padded, // the trimmed field, filled with spaces or cut to the width
    Joined, // two trimmed fields with one space between, filled or cut to the width
    Tail // the trimmed field as it is; always the last column of a line
};

// One column of a line: the literal separator written before it, its kind, the record
// field(s) it shows (indexes of the record layout) and its width in characters.
struct Column
{
    QString separator;
    ColumnKind kind = ColumnKind::Padded;
    int field = 0;
    int secondField = -1;
    int width = 0;
};
using Columns = QList<Column>;

// The fields of a record a reading looks at, by their numbers in the layout, each once and
// in layout order: what a list asks the archive for (Storage::Session::scan). A field
// left out may come empty from the archive, so a list names every field its lines, its
// filter, its figures and its order use.
using Fields = std::vector<int>;
// The fields the columns show.
Fields columnFields(const Columns &columns);
// The fields of both, each once.
Fields unite(Fields fields, const Fields &more);

Column padded(const QString &separator, int field, int width);
Column joined(const QString &separator, int first, int second, int width);
Column tail(const QString &separator, int field);

// Column texts. Trimming removes the characters of code 32 or less at both ends.
QString paddedColumn(QStringView text, int width);
QString joinedColumn(QStringView first, QStringView second, int width);

// The line of a record: every column's separator followed by its text, in order.
QString buildLine(const Columns &columns, const Record &record);
// The same straight from the stored bytes of a record, decoding only the fields shown.
QString buildLine(const Columns &columns, const RecordLayout &layout, QByteArrayView bytes);

// The trimmed text of one field of a stored record, decoded into buffer, which must hold
// kFieldBuffer characters and outlive the view. For scans that test a field of every
// record without making a string of it.
inline constexpr int kFieldBuffer = 256;
QStringView fieldView(
    const RecordLayout &layout, QByteArrayView bytes, int field, char16_t *buffer);

// The lines of a list kept packed: the code-page bytes of every line one after the other
// and one word per line (where it starts, how long it is). A line becomes text only when
// it is asked for (painted, found, printed, reopened); one character is one byte, so the
// length of a line in bytes is its length in characters.
class PackedLines
{
public:
    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }
    // The text of line i.
    QString at(qsizetype i) const;
    QString operator[](qsizetype i) const { return at(i); }
    QString first() const { return at(0); }
    // The stored bytes of line i.
    QByteArrayView bytesAt(qsizetype i) const;
    // The characters of the longest line.
    qsizetype longest() const { return m_longest; }
    // All lines as texts, in list order (for printing).
    QStringList toStringList() const;

    // Room for a line of length characters at the end; the caller writes its bytes.
    char *appendLine(qsizetype length);
    void reserve(qsizetype lines);
    void clear();
    // Sorts by compareLines, stably: equal lines keep the order they were added in.
    void sort();

    class const_iterator
    {
    public:
        const_iterator(const PackedLines *lines, qsizetype i)
            : m_lines(lines)
            , m_i(i)
        {
        }
        QString operator*() const { return m_lines->at(m_i); }
        const_iterator &operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator!=(const const_iterator &other) const { return m_i != other.m_i; }

    private:
        const PackedLines *m_lines;
        qsizetype m_i;
    };
    const_iterator begin() const { return { this, 0 }; }
    const_iterator end() const { return { this, size() }; }

private:
    // start << kLengthBits | length
    static constexpr int kLengthBits = 24;
    QByteArray m_bytes;
    std::vector<std::uint64_t> m_lines;
    qsizetype m_longest = 0;
};

// The text of stored code-page bytes, one character per byte.
QString decodeLine(QByteArrayView bytes);

// The order of the sorted lists: character by character, the letters a-z equal to A-Z
// (compared as lower case), every other character by its code, and a line that is a
// prefix of another first. Returns <0, 0 or >0.
int compareLines(QStringView a, QStringView b);
bool lineLess(QStringView a, QStringView b);
// Sorts once, stably: lines that compare equal keep the order they were read in.
void sortLines(QStringList &lines);

// True when the lower-case form of line contains loweredKey (already in lower-case form)
// as a contiguous substring; an empty key never matches.
bool containsKey(QStringView line, QStringView loweredKey);

// The in-list find ("Trova"). selected is the selected line or -1; lastKey the lower-case
// key of the previous press. A new key searches from line 0 (tested first); the same key
// again searches from the line after the selected one, wrapping around, and tests the
// selected line last. Without a match the selection stays (line 0 when none was
// selected). The caller handles the empty list (no lines: nothing to search).
struct FindOutcome
{
    int selected = -1;
    QString lastKey;
};
FindOutcome findNext(
    const QStringList &lines, int selected, QStringView typedKey, QStringView lastKey);
FindOutcome findNext(
    const PackedLines &lines, int selected, QStringView typedKey, QStringView lastKey);

// How a list builds the line of a stored record: as text, or packed at the end of a list.
class StoredLinePlan;
class LineBuilder
{
public:
    LineBuilder(const Columns &columns, const RecordLayout &layout);
    QString operator()(QByteArrayView recordBytes) const;
    void appendTo(PackedLines &lines, QByteArrayView recordBytes) const;
    // The fields the lines show.
    const Fields &fields() const { return m_fields; }

private:
    std::shared_ptr<const StoredLinePlan> m_plan;
    Fields m_fields;
};
LineBuilder lineBuilder(const Columns &columns, const RecordLayout &layout);

// Reopening by line: reads every record of the open file from the first and returns the
// last one whose line, trimmed, equals the selected line, trimmed, with its 1-based
// position. Nothing when no record matches or the file cannot be read to its end. The
// scan asks for the fields of the lines; the record found is then read whole.
struct Reopened
{
    Record record;
    qint64 position = 0;
};
std::optional<Reopened> reopenByLine(Storage::Session &archive, const RecordLayout &layout,
    const QString &selectedLine, const LineBuilder &build);

// Reading a whole list: every record of the open file from the first to the last goes
// through accept(); Add puts its line in the list, Skip leaves it out, Stop ends the
// reading at that record (a record the list cannot read: the lines so far stay).
enum class Verdict { Add, Skip, Stop };
using RecordFilter = std::function<Verdict(QByteArrayView recordBytes)>;
struct Scan
{
    PackedLines lines;
    // False when a record stopped the reading or the file could not be read to its end.
    bool complete = true;
};
// The archive is asked for the fields of the lines and acceptFields, the fields accept()
// looks at.
Scan scanLines(Storage::Session &archive, const Fields &acceptFields, const RecordFilter &accept,
    const LineBuilder &build);
// The same where accept() may look at every field: the whole records are asked for.
Scan scanLines(Storage::Session &archive, const RecordFilter &accept, const LineBuilder &build);
// The same reading for figures rather than lines: every record accept() adds goes to
// take() with its position (0-based), its bytes valid during the call. False when the
// reading did not reach the end. fields are the fields accept() and take() look at
// (empty: every field).
using RecordTaker = std::function<void(qint64 index, QByteArrayView recordBytes)>;
bool scanRecords(Storage::Session &archive, const Fields &fields, const RecordFilter &accept,
    const RecordTaker &take);
bool scanRecords(Storage::Session &archive, const RecordFilter &accept, const RecordTaker &take);

} // namespace ListLines
