#pragma once
#include "export/Exporters.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

class Record;
namespace Storage {
class Session;
}

// The rows of an export grid: the exporter's columns of every record, kept as the stored
// Windows-1252 bytes of each cell (packed one after the other, so 100,000 products take
// tens of megabytes, not hundreds), and the cells the user edited on top of them. Rows and
// columns count from 0; column 0 is the exporter's first column (the grid's row number
// column is not part of it). The archive itself is never written.
class ExportGrid
{
public:
    // The grid of an empty archive: its design rows, empty.
    static constexpr int kDesignRows = 10;

    explicit ExportGrid(const Export::Exporter &exporter);

    const Export::Exporter &exporter() const { return *m_exporter; }
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    // The rows filled from records (from the first); the rows after them are empty.
    int filledRows() const { return m_filled; }

    // Empties the grid and gives it one row per record, or the design rows when there is
    // none; the rows are then filled by addRecord.
    void reset(qint64 recordCount);
    // Fills the next row from the bytes of one stored record (the exporter's record
    // size). False when every row is already filled.
    bool addRecord(QByteArrayView recordBytes);
    // Reads an open archive from its first record: one row per record. A read failure
    // ends the filling; the rows read so far stay filled, the others empty.
    void fill(Storage::Session &archive);
    // A grid made of these records (tests and tools).
    static ExportGrid fromRecords(const Export::Exporter &exporter, const QList<Record> &records);

    // The text of a cell as the grid shows it: the edited text, or the stored fields
    // (trimmed; a joined column is both fields with one space between them).
    QString text(int row, int column) const;
    // Edits a cell; the edit is kept as typed.
    void setText(int row, int column, const QString &text);
    bool isEdited(int row, int column) const;
    // The edited text of a cell, or nullptr.
    const QString *edit(int row, int column) const;
    // The stored Windows-1252 bytes of a cell, empty for unfilled rows (edits ignored).
    // Valid until the grid changes.
    QByteArrayView storedBytes(int row, int column) const;

private:
    qint64 key(int row, int column) const { return qint64(row) * m_columnCount + column; }

    const Export::Exporter *m_exporter;
    int m_columnCount;
    // Per column: the source field and the joined field (-1 for none).
    std::vector<int> m_fields;
    std::vector<int> m_joined;
    // The fields the columns show: all that is asked of the archive.
    std::vector<int> m_readFields;
    int m_rowCount = kDesignRows;
    int m_filled = 0;
    QByteArray m_bytes;
    // m_offsets[row * columnCount + column] is where the cell starts in m_bytes; one more
    // entry closes the last cell.
    std::vector<quint32> m_offsets;
    QHash<qint64, QString> m_edits;
};
