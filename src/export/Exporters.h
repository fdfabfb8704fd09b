#pragma once
#include "storage/ArchiveId.h"
#include "storage/RecordLayout.h"

#include <QString>
#include <QStringView>

#include <span>

// The five spreadsheet exporters: one implementation, and for each archive a table of
// values that says what is read, which columns are shown and how they are written.
namespace Export {

enum class Align { Left, Right };

// How a cell goes into the .xlsx file: amounts and counts as numbers (read from their
// decimal-comma text), everything else as text.
enum class CellType { Text, Amount, Count };

// One column of an exporter: shown in the grid after the row number column "N.", written
// into the file in the same order.
struct Column
{
    QStringView gridHeader;
    QStringView fileHeader;
    int fileWidth; // the width written in the file's header cell
    int gridWidth; // display width on screen, in units of 1/96 inch
    int field; // source field of the record, by its number in the layout
    // A second field joined to the first with one space (each trimmed), or -1.
    int joinedField = -1;
    Align align = Align::Left; // of the data cells in the file
    bool editable = false; // the cells can be corrected in the grid
    CellType type = CellType::Text;
};

struct Exporter
{
    ArchiveId kind;
    QStringView screenClass; // "TfrmExpMagazzino"
    QStringView caption; // window caption
    // The archive in the program folder; nullptr for the movement exporters, which read
    // the yearly file named by their selection screen.
    const Archive &(*archive)();
    const RecordLayout &(*layout)();
    QStringView fileName; // "Magazzino.xls", in the program folder
    QStringView sheetName;
    std::span<const Column> columns;

    int columnCount() const { return int(columns.size()); }
    // The name of the .xlsx file written beside the .xls one ("Magazzino.xlsx").
    QString xlsxFileName() const;
};

const Exporter &exporter(ArchiveId kind);

// Display width of the row number column "N.", in units of 1/96 inch.
inline constexpr int kRowNumberWidth = 60;

} // namespace Export
