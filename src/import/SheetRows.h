#pragma once
#include <QList>
#include <QString>

#include <functional>

// What the import readers hand on: one row of a sheet at a time, each cell with the kind
// of value the file gave it, so that a number or a date is converted from its value and
// never from the way the file happened to show it.
namespace SheetRows {

struct Cell
{
    enum class Kind : quint8 { Empty, Text, Number, Date, Boolean };
    Kind kind = Kind::Empty;
    QString text; // Text: the text; Date: dd/mm/yyyy; Boolean: "VERO"/"FALSO"
    double number = 0; // Number: the value; Boolean: 1 or 0

    static Cell fromText(const QString &text)
    {
        return text.isEmpty() ? Cell {} : Cell { Kind::Text, text, 0 };
    }
    static Cell fromNumber(double value) { return Cell { Kind::Number, QString(), value }; }
    bool isEmpty() const { return kind == Kind::Empty; }
    bool operator==(const Cell &) const = default;
    // The cell as a person would read it (numbers with a decimal comma).
    QString display() const;
};

using Row = QList<Cell>;

// Receives the rows of a sheet in order; rowNumber is the 1-based row of the file (empty
// rows are not handed on, so numbers may jump). Returning false stops the reading.
using RowSink = std::function<bool(qint64 rowNumber, const Row &row)>;

// The most columns a sheet may have (XFD, as in the spreadsheet programs); cells beyond it
// are left out.
inline constexpr int kMaxColumns = 16384;

// True when every cell is empty.
bool isEmptyRow(const Row &row);

// The name of a column from its 0-based index: A, B, ..., Z, AA, ...
QString columnLetters(int column);

} // namespace SheetRows
