#include "storage/RecordLayout.h"

#include <stdexcept>

void RecordLayout::init()
{
    if (m_fields.size() > m_offsets.size())
        throw std::logic_error("record layout with too many fields");
    int offset = 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_offsets[i] = offset;
        offset += m_fields[i].capacity + 1;
    }
    m_size = offset;
}

int RecordLayout::indexOf(QStringView name) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (name == QLatin1StringView(m_fields[i].name))
            return int(i);
    }
    return -1;
}
