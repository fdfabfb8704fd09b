#include "storage/Record.h"

#include "storage/ShortString.h"

#include <algorithm>

Record::Record(const RecordLayout &layout)
    : m_layout(&layout)
{
    m_values.resize(layout.fieldCount());
}

QString Record::value(QStringView name) const
{
    const int i = m_layout->indexOf(name);
    Q_ASSERT_X(i >= 0, "Record::value", "unknown field");
    return i >= 0 ? m_values[i] : QString();
}

void Record::setValue(QStringView name, const QString &text)
{
    const int i = m_layout->indexOf(name);
    Q_ASSERT_X(i >= 0, "Record::setValue", "unknown field");
    if (i >= 0)
        m_values[i] = text;
}

void Record::clear()
{
    for (QString &v : m_values)
        v.clear();
}

QByteArray Record::encode() const
{
    QByteArray out;
    out.reserve(m_layout->recordSize());
    for (int i = 0; i < m_layout->fieldCount(); ++i)
        out += StoreField(m_values[i], m_layout->field(i).capacity);
    return out;
}

void Record::decode(QByteArrayView bytes)
{
    for (int i = 0; i < m_layout->fieldCount(); ++i)
        m_values[i] = fieldOf(*m_layout, bytes, i);
}

Record Record::fromBytes(const RecordLayout &layout, QByteArrayView bytes)
{
    Record r(layout);
    r.decode(bytes);
    return r;
}

QString fieldOf(const RecordLayout &layout, QByteArrayView recordBytes, int field)
{
    const int offset = layout.offset(field);
    const int capacity = layout.field(field).capacity;
    if (offset >= recordBytes.size())
        return {};
    const qsizetype len = std::min<qsizetype>(capacity + 1, recordBytes.size() - offset);
    return LoadField(recordBytes.sliced(offset, len), capacity);
}
