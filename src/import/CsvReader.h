#pragma once
#include "import/SheetRows.h"

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

class QIODevice;

// Text files of values (.csv, .txt): the separator and the encoding are found from the
// bytes of the file, then the file is read in blocks and handed on row by row.
namespace CsvReader {

enum class Encoding { Utf8, Utf8Bom, Windows1252 };

struct Dialect
{
    QChar separator = u';';
    Encoding encoding = Encoding::Utf8;
    bool operator==(const Dialect &) const = default;
};

// UTF-8 with its mark, UTF-8 when every byte sequence is valid UTF-8 (a sequence cut by
// the end of a sample that is not the whole file counts as valid), Windows-1252 otherwise.
Encoding detectEncoding(QByteArrayView sample, bool wholeFile);

// The separator among ';', tab and ',' whose count is the same, and not zero, on the
// most lines of text (separators inside double quotes not counted); ';' when none is.
QChar detectSeparator(QStringView text);

// Both, from the first bytes of a file.
Dialect detect(QByteArrayView sample, bool wholeFile);

// The rows of CSV text fed in pieces: fields separated by the separator, a field in
// double quotes may hold separators, line breaks and doubled quotes (""). Lines end with
// LF, CR LF or CR. Empty lines are not handed on.
class Parser
{
public:
    Parser(QChar separator, SheetRows::RowSink sink);
    // False once the sink has asked to stop.
    bool feed(QStringView text);
    bool finish();

private:
    bool endRow();
    void endField();

    QChar m_separator;
    SheetRows::RowSink m_sink;
    SheetRows::Row m_row;
    QString m_field;
    bool m_quoted = false; // inside a quoted field
    bool m_quoteSeen = false; // a quote inside a quoted field: its end, or the first of ""
    bool m_fieldStarted = false;
    bool m_lastWasCr = false;
    bool m_stopped = false;
    qint64 m_rowNumber = 0;
};

// Reads a whole device: the dialect found from its first 64 KiB, then the rows. False
// with error set when it cannot be read; dialect (when given) receives what was found.
bool read(
    QIODevice &device, const SheetRows::RowSink &sink, QString &error, Dialect *dialect = nullptr);

// The longest text a field keeps; what follows is left out (the cell is then longer than
// any field of the archives anyway).
inline constexpr qsizetype kMaxFieldLength = 1 << 20;

} // namespace CsvReader
