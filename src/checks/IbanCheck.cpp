#include "checks/IbanCheck.h"

#include "storage/TextForms.h"

int IbanMod97(QStringView text)
{
    QString iban = UpperAscii(text);
    const qsizetype marker = iban.indexOf(u"IBAN");
    if (marker >= 0)
        iban.remove(marker, 4);
    const qsizetype head = qMin<qsizetype>(4, iban.size());
    iban = iban.mid(head) + iban.left(head);

    QString digits;
    digits.reserve(iban.size() * 2);
    for (const QChar ch : iban) {
        if (ch >= u'A' && ch <= u'Z')
            digits += QString::number(ch.unicode() - 55);
        else if (ch >= u'0' && ch <= u'9')
            digits += ch;
        else
            return 0;
    }

    // The number is far too long for any integer type: its remainder is taken nine
    // digits at a time, each piece starting with the remainder of the pieces before.
    int remainder = 0;
    QString rest;
    qsizetype start = 0;
    qsizetype take = 9;
    while (start < digits.size()) {
        const QString piece = rest + digits.mid(start, take);
        remainder = int(piece.toLongLong() % 97);
        start += take;
        rest = QString::number(remainder);
        take = 9 - rest.size();
    }
    return remainder;
}

bool CheckIban(QStringView text)
{
    QString compact = text.toString();
    compact.remove(u' ');
    return IbanMod97(compact) == 1;
}

CheckOutcome IbanOutcome(const QString &input)
{
    const QString iban = TrimControl(input);
    if (iban.size() != 27)
        return { CheckOutcome::Kind::Warning,
            QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri "
                           "alfanumerici."),
            false };
    if (CheckIban(iban))
        return { CheckOutcome::Kind::Information, QStringLiteral("L'IBAN digitato è VALIDO."),
            true };
    return { CheckOutcome::Kind::Warning, QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!"),
        true };
}
