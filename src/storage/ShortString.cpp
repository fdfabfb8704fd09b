#include "storage/ShortString.h"

#include "storage/Cp1252.h"
#include "storage/StoredField.h"
#include "storage/TextForms.h"

#include <algorithm>

QByteArray StoreField(QStringView text, int capacity)
{
    QByteArray out(capacity + 1, '\0');
    const QString trimmed = TrimControl(text);
    const QByteArray bytes = Cp1252::encode(QStringView(trimmed).left(255));
    const int length = int(std::min<qsizetype>(bytes.size(), capacity));
    out[0] = char(length);
    std::copy_n(bytes.constData(), length, out.data() + 1);
    return out;
}

QString LoadField(QByteArrayView field, int capacity)
{
    return Cp1252::decode(storedText(field, 0, capacity, Trim::Controls));
}
