#include "storage/ShortString.h"

#include "storage/Cp1252.h"
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
    if (field.isEmpty())
        return {};
    int length = static_cast<unsigned char>(field[0]);
    length = std::min<int>({ length, capacity, int(field.size()) - 1 });
    return TrimControl(Cp1252::decode(field.sliced(1, std::max(length, 0))));
}
