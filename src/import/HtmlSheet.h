#pragma once
#include "import/SheetRows.h"

#include <QByteArrayView>
#include <QString>

class QIODevice;

// The .xls file this program exports (an HTML table with the Excel workbook options, see
// export/SpreadsheetHtml) and any other HTML table saved under .xls: the rows of the first
// table, each cell's text with its tags left out and its character references decoded.
// The bytes are Windows-1252 unless the file says it is UTF-8.
namespace HtmlSheet {

// True when the first bytes look like an HTML document rather than a binary workbook.
bool looksLikeHtml(QByteArrayView head);

// The sheet name the file gives (<x:Name>), or empty.
QString sheetName(QIODevice &device);

// Hands on the rows of the first table. False with error set on a read failure.
bool read(QIODevice &device, const SheetRows::RowSink &sink, QString &error);

// A cell's text from its bytes: tags dropped, <br> a line break, references decoded,
// blanks at the ends trimmed.
QString cellText(QByteArrayView bytes, bool utf8);

} // namespace HtmlSheet
