#include "storage/Cp1252.h"

#include <array>

namespace {
// Bytes 0x80 to 0x9F; the five bytes Windows leaves undefined map to the C1 control
// characters of the same code, as Windows itself converts them.
constexpr std::array<char16_t, 32> kHigh
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };
} // namespace

namespace Cp1252 {

QChar decodeByte(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(kHigh[byte - 0x80]);
    return QChar(byte);
}

char encodeChar(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        // A character outside the Basic Multilingual Plane is one unknown character,
        // not two: its surrogate pair becomes a single '?'.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        out.append(encodeChar(ch));
    }
    return out;
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = decodeByte(static_cast<unsigned char>(bytes[i]));
    return out;
}

} // namespace Cp1252
