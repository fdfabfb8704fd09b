#pragma once
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The scrambling of the access password: two upper-case hexadecimal digits per character,
// each one the character's low byte mixed with a running 16-bit key that is fed back with
// the scrambled byte after every character. A password file can be read only with the
// same three constants that wrote it, so they are fixed here once for every installation.
namespace Crypt {

inline constexpr std::uint16_t kStartKey = 0x6C3B;
inline constexpr std::uint16_t kMultiplier = 0x9E37;
inline constexpr std::uint16_t kIncrement = 0x3619;

// 2n upper-case hex digits for a text of n characters; only the low 8 bits of each
// character's code count. An empty text gives an empty text.
QString scramble(QStringView password);

// The text that scramble turned into hex (upper- or lower-case digits; a last single
// digit is ignored); nothing when a pair is not hexadecimal.
std::optional<QString> unscramble(QStringView hex);

} // namespace Crypt
