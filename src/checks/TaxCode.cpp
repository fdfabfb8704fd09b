#include "checks/TaxCode.h"

#include "storage/TextForms.h"

#include <algorithm>
#include <array>

namespace {

constexpr char16_t kFirstCode = u'0';
constexpr char16_t kLastCode = u'Z';
constexpr int kTableSize = kLastCode - kFirstCode + 1;

// Values of the characters "0" to "Z" in odd positions; the seven signs from ":" to "@"
// lie between "9" and "A" and count 0.
constexpr std::array<int, kTableSize> kOddTable = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, // 0-9
    0, 0, 0, 0, 0, 0, 0, // : ; < = > ? @
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, // A-P
    6, 8, 12, 14, 16, 10, 22, 25, 24, 23, // Q-Z
};

// Values in even positions: a digit its own value, a letter its place from A = 0.
constexpr std::array<int, kTableSize> kEvenTable = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, // 0-9
    0, 0, 0, 0, 0, 0, 0, // : ; < = > ? @
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, // A-P
    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, // Q-Z
};

} // namespace

bool CheckTaxCode(QStringView code)
{
    if (code.size() != 16)
        return false;
    int sum = 0;
    for (qsizetype i = 0; i < 15; ++i) {
        const char16_t ch = code[i].unicode();
        // A character the tables do not cover makes the code wrong rather than being
        // looked up outside them.
        if (ch < kFirstCode || ch > kLastCode)
            return false;
        // Position i + 1 counted from 1: even indexes are the odd positions.
        sum += (i % 2 == 0 ? kOddTable : kEvenTable)[ch - kFirstCode];
    }
    return code[15] == QChar(u'A' + sum % 26);
}

CheckOutcome TaxCodeOutcome(const QString &input)
{
    const QString code = UpperAscii(input);
    if (code.size() != 16)
        return { CheckOutcome::Kind::Warning,
            QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 "
                           "caratteri alfanumerici."),
            false };
    if (CheckTaxCode(code))
        return { CheckOutcome::Kind::Information,
            QStringLiteral("Il codice fiscale digitato è VALIDO."), true };
    return { CheckOutcome::Kind::Warning,
        QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."), true };
}

CodeCheck codeCheckFor(QStringView trimmedText)
{
    const bool digitsOnly = !trimmedText.isEmpty()
        && std::all_of(
            trimmedText.begin(), trimmedText.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return digitsOnly ? CodeCheck::VatNumber : CodeCheck::TaxCode;
}
