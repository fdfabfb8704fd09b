#include "app/Crypt.h"

namespace Crypt {

namespace {

std::uint16_t nextKey(std::uint16_t key, std::uint8_t scrambled)
{
    // Computed in 32 bits: the wrap-around there is a multiple of 65536, so the value
    // kept is still the exact result modulo 65536.
    const std::uint32_t mixed = (std::uint32_t(scrambled) + key) * kMultiplier + kIncrement;
    return std::uint16_t(mixed & 0xFFFF);
}

int hexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

} // namespace

QString scramble(QStringView password)
{
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    QString result;
    result.reserve(password.size() * 2);
    std::uint16_t key = kStartKey;
    for (const QChar ch : password) {
        const auto clear = std::uint8_t(ch.unicode() & 0xFF);
        const auto scrambled = std::uint8_t(clear ^ (key >> 8));
        result += QChar(digits[scrambled >> 4]);
        result += QChar(digits[scrambled & 0x0F]);
        key = nextKey(key, scrambled);
    }
    return result;
}

std::optional<QString> unscramble(QStringView hex)
{
    const qsizetype pairs = hex.size() / 2;
    QString result;
    result.reserve(pairs);
    std::uint16_t key = kStartKey;
    for (qsizetype i = 0; i < pairs; ++i) {
        const int high = hexDigit(hex[2 * i]);
        const int low = hexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        const auto scrambled = std::uint8_t(high * 16 + low);
        result += QChar(char16_t(scrambled ^ (key >> 8)));
        key = nextKey(key, scrambled);
    }
    return result;
}

} // namespace Crypt
