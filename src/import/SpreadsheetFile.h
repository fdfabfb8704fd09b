#pragma once
#include "import/SheetRows.h"

#include <QString>
#include <QStringList>

#include <memory>

// A file to import from, whatever its format: the format is found from its bytes (not
// from its name), its sheets listed and the rows of one sheet streamed.
// - .xlsx and .ods: the zip read with minizip, the XML streamed with QXmlStreamReader in
//   blocks, never held whole; the bytes read from each part are bounded, so a zip bomb
//   ends with a message;
// - .xls: the old binary workbook through FreeXL; the program's own .xls export (an HTML
//   table) through HtmlSheet;
// - .csv and .txt through CsvReader.
class SpreadsheetFile
{
public:
    enum class Format { Csv, Xlsx, Ods, BinaryXls, HtmlXls };

    virtual ~SpreadsheetFile();

    // Nullptr with error set (an Italian sentence for the user) when the file cannot be
    // read or is not a file of a supported format.
    static std::unique_ptr<SpreadsheetFile> open(const QString &path, QString &error);

    Format format() const { return m_format; }
    QString path() const { return m_path; }
    // One name per sheet; a text file has one sheet named after the file.
    QStringList sheetNames() const { return m_sheets; }
    // Hands on the rows of a sheet; false with error set when it cannot be read.
    virtual bool readRows(int sheet, const SheetRows::RowSink &sink, QString &error) = 0;

    // The dialog filter of the supported formats.
    static QString dialogFilter();

    // The most bytes read from one part of a zipped workbook.
    static void setPartLimit(qint64 bytes);

protected:
    SpreadsheetFile(Format format, const QString &path)
        : m_format(format)
        , m_path(path)
    {
    }
    Format m_format;
    QString m_path;
    QStringList m_sheets;
};
