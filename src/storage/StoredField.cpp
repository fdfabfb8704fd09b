#include "storage/StoredField.h"

#include <algorithm>

QByteArrayView storedText(QByteArrayView record, int offset, int capacity, Trim trim)
{
    if (offset < 0 || offset >= record.size() || capacity <= 0)
        return {};
    const qsizetype length = std::min<qsizetype>(
        { static_cast<unsigned char>(record[offset]), capacity, record.size() - offset - 1 });
    QByteArrayView text = record.sliced(offset + 1, length);
    if (trim == Trim::Controls) {
        while (!text.isEmpty() && static_cast<unsigned char>(text.front()) <= 32)
            text = text.sliced(1);
        while (!text.isEmpty() && static_cast<unsigned char>(text.back()) <= 32)
            text.chop(1);
    }
    return text;
}
