#include "export/ExportGrid.h"

#include "storage/Cp1252.h"
#include "storage/Record.h"
#include "storage/Session.h"
#include "storage/StoredField.h"

#include <algorithm>
#include <limits>

namespace {

// A stored field's text, trimmed of every leading and trailing byte of code 32 or less
// (as the text of a field is trimmed when it is read); a damaged length byte larger than
// the capacity is taken as the capacity.
QByteArrayView fieldBytes(const RecordLayout &layout, QByteArrayView record, int field)
{
    return storedText(record, layout.offset(field), layout.field(field).capacity, Trim::Controls);
}

} // namespace

ExportGrid::ExportGrid(const Export::Exporter &exporter)
    : m_exporter(&exporter)
    , m_columnCount(exporter.columnCount())
{
    for (const Export::Column &column : exporter.columns) {
        m_fields.push_back(column.field);
        m_joined.push_back(column.joinedField);
        for (const int field : { column.field, column.joinedField }) {
            if (field >= 0)
                m_readFields.push_back(field);
        }
    }
    std::sort(m_readFields.begin(), m_readFields.end());
    m_readFields.erase(std::unique(m_readFields.begin(), m_readFields.end()), m_readFields.end());
    reset(0);
}

void ExportGrid::reset(qint64 recordCount)
{
    constexpr qint64 kMaxRows = std::numeric_limits<int>::max() / 2;
    m_rowCount = recordCount > 0 ? int(std::min(recordCount, kMaxRows)) : kDesignRows;
    m_filled = 0;
    m_bytes.clear();
    m_offsets.assign(1, 0);
    m_edits.clear();
}

bool ExportGrid::addRecord(QByteArrayView recordBytes)
{
    if (m_filled >= m_rowCount)
        return false;
    const RecordLayout &layout = m_exporter->layout();
    // The offsets are 32-bit: a grid never holds more text than they can address.
    constexpr qsizetype kMaxBytes = std::numeric_limits<quint32>::max() - 4 * 256;
    if (m_bytes.size() + qsizetype(m_columnCount) * 2 * 256 > kMaxBytes)
        return false;
    if (m_offsets.capacity() < m_offsets.size() + std::size_t(m_columnCount))
        m_offsets.reserve(std::size_t(m_rowCount) * std::size_t(m_columnCount) + 1);
    for (int c = 0; c < m_columnCount; ++c) {
        const int field = m_fields[std::size_t(c)];
        if (field >= 0)
            m_bytes.append(fieldBytes(layout, recordBytes, field));
        const int joined = m_joined[std::size_t(c)];
        if (joined >= 0) {
            m_bytes.append(' ');
            m_bytes.append(fieldBytes(layout, recordBytes, joined));
        }
        m_offsets.push_back(quint32(m_bytes.size()));
    }
    ++m_filled;
    return true;
}

void ExportGrid::fill(Storage::Session &archive)
{
    const qint64 count = archive.recordCount();
    reset(count);
    if (count <= 0)
        return;
    archive.scan(m_readFields, [this](qint64, QByteArrayView bytes) { return addRecord(bytes); });
}

ExportGrid ExportGrid::fromRecords(const Export::Exporter &exporter, const QList<Record> &records)
{
    ExportGrid grid(exporter);
    grid.reset(records.size());
    for (const Record &record : records)
        grid.addRecord(record.encode());
    return grid;
}

QString ExportGrid::text(int row, int column) const
{
    if (const QString *edited = edit(row, column))
        return *edited;
    return Cp1252::decode(storedBytes(row, column));
}

void ExportGrid::setText(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= m_columnCount)
        return;
    m_edits.insert(key(row, column), text);
}

bool ExportGrid::isEdited(int row, int column) const
{
    return m_edits.contains(key(row, column));
}

const QString *ExportGrid::edit(int row, int column) const
{
    if (m_edits.isEmpty())
        return nullptr;
    const auto found = m_edits.constFind(key(row, column));
    return found == m_edits.constEnd() ? nullptr : &found.value();
}

QByteArrayView ExportGrid::storedBytes(int row, int column) const
{
    if (row < 0 || row >= m_filled || column < 0 || column >= m_columnCount)
        return {};
    const std::size_t k = std::size_t(key(row, column));
    return QByteArrayView(m_bytes).sliced(m_offsets[k], m_offsets[k + 1] - m_offsets[k]);
}
