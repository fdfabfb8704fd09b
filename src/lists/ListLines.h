#pragma once
#include "storage/Record.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

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

// How a list builds the line of a stored record.
using LineBuilder = std::function<QString(QByteArrayView recordBytes)>;
LineBuilder lineBuilder(const Columns &columns, const RecordLayout &layout);

// Reopening by line: reads every record of the open file from the first and returns the
// last one whose line, trimmed, equals the selected line, trimmed, with its 1-based
// position. Nothing when no record matches or the file cannot be read to its end.
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
    QStringList lines;
    // False when a record stopped the reading or the file could not be read to its end.
    bool complete = true;
};
Scan scanLines(Storage::Session &archive, const RecordFilter &accept, const LineBuilder &build);
// The same reading for figures rather than lines: every record accept() adds goes to
// take() with its position (0-based), its bytes valid during the call. False when the
// reading did not reach the end.
bool scanRecords(Storage::Session &archive, const RecordFilter &accept,
    const std::function<void(qint64 index, QByteArrayView recordBytes)> &take);

} // namespace ListLines
