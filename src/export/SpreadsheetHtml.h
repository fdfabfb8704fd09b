#pragma once
#include <QByteArray>
#include <QString>

class ExportGrid;
class QIODevice;

// The .xls file of an export: an HTML table preceded by the Excel workbook options, in
// Windows-1252, written as one line. The header row carries the exporter's file headers
// and widths; then every grid row, top to bottom, each cell trimmed, edited cells as
// edited; the cells of identifier, phone and postcode columns are marked as text. The
// characters &, < and > are written as &amp;, &lt; and &gt;, so that a
// spreadsheet program reads every cell whole, and a character that Windows-1252 lacks
// (only an edit can bring one) as a numeric character reference.
namespace SpreadsheetHtml {

// Whether a cell's text (trimmed, Windows-1252) would be taken for a formula by a
// spreadsheet program opening the file: it starts with =, @, or with + or - without being
// a number. Such a cell is written with an apostrophe before it, so that it stays text.
bool needsTextMark(QByteArrayView cell);

// Writes the whole file text to out. False when a write fails.
bool write(QIODevice &out, const ExportGrid &grid);

// The whole file text.
QByteArray text(const ExportGrid &grid);

// Writes the file at path through a temporary file that replaces it only once it is
// complete: on any failure the file that was there stays as it was and nothing partial is
// left. False on failure.
bool save(const QString &path, const ExportGrid &grid);

} // namespace SpreadsheetHtml
