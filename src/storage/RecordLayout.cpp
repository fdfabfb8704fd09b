#include "storage/RecordLayout.h"

int RecordLayout::indexOf(QStringView name) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (name == QLatin1StringView(m_fields[i].name))
            return int(i);
    }
    return -1;
}
