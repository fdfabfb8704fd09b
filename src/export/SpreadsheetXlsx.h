#pragma once
#include <QString>

#include <optional>

class ExportGrid;

// The .xlsx file of an export, written with libxlsxwriter: one worksheet named like the
// .xls one, the file headers in a bold first row, the file widths (pixels) as column
// widths, then every grid row as the .xls has it. Cells of amount and count columns whose
// text is a number go in as numbers (amounts shown with two to four decimals), so that
// the spreadsheet can sum them; every other cell, and a number column's cell that holds no
// number, goes in as text. Empty cells are left out.
namespace SpreadsheetXlsx {

// Writes the file at path through a temporary file that replaces it only once it is
// complete: on any failure the file that was there stays as it was and nothing partial is
// left. False on failure.
bool save(const QString &path, const ExportGrid &grid);

// The number that a cell of an amount or count column holds, or nothing (the cell is then
// written as text). Trimmed text with the decimal comma, as the program writes amounts.
std::optional<double> cellNumber(const QString &text);

} // namespace SpreadsheetXlsx
