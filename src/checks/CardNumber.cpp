#include "checks/CardNumber.h"

#include "storage/TextForms.h"

int CardCheckCode(QStringView text)
{
    QString digits;
    for (const QChar ch : text.left(20)) {
        if (ch >= u'0' && ch <= u'9')
            digits += ch;
    }
    if (digits.isEmpty())
        return 0;

    // Every second digit going left from the one before the check digit is doubled.
    const qsizetype checkIndex = digits.size() - 1;
    int sum = 0;
    for (qsizetype i = checkIndex - 1; i >= 0; --i) {
        int v = digits[i].unicode() - u'0';
        if ((checkIndex - 1 - i) % 2 == 0)
            v *= 2;
        if (v >= 10)
            v -= 9;
        sum += v;
    }
    const int expected = (10 - sum % 10) % 10;
    if (digits[checkIndex].unicode() - u'0' != expected)
        return 0;
    return digits[0].unicode() - u'0' - 2;
}

QString CardNetworkName(int code, QStringView trimmedInput)
{
    switch (code) {
    case 1: {
        const QStringView prefix = trimmedInput.left(2);
        if (prefix == u"30" || prefix == u"36" || prefix == u"38")
            return QStringLiteral("Diner's Club / Carte Blanche");
        if (prefix == u"34" || prefix == u"37")
            return QStringLiteral("American Express");
        if (prefix == u"31" || prefix == u"33" || prefix == u"35")
            return QStringLiteral("JCB");
        return {};
    }
    case 2:
        return QStringLiteral("Visa");
    case 3:
        return QStringLiteral("MasterCard");
    case 4:
        return QStringLiteral("Discover");
    default:
        return {};
    }
}

CheckOutcome CardOutcome(const QString &input)
{
    const QString trimmed = TrimControl(input);
    if (trimmed.isEmpty())
        return { CheckOutcome::Kind::Warning,
            QStringLiteral("Attenzione: immettere il numero di carta di credito prima di "
                           "premere il pulsante di controllo."),
            false };

    const int code = CardCheckCode(input);
    const QString valid = QStringLiteral("Il numero di carta di credito ") + trimmed
        + QStringLiteral(" risulta valido.\r\n\r\n");
    const QString network = CardNetworkName(code, trimmed);
    if (!network.isEmpty())
        return { CheckOutcome::Kind::Information,
            valid + QStringLiteral("La carta di credito è del tipo ") + network + u'.', true };
    // A number of the first digit 3 that passes the test but whose first two characters
    // belong to none of the three networks of that digit (32, 39): it is right, its
    // network unknown.
    if (code == 1)
        return { CheckOutcome::Kind::Information,
            valid
                + QStringLiteral("Non è però possibile stabilire il tipo di carta di "
                                 "credito."),
            true };
    return { CheckOutcome::Kind::Warning,
        QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
                       "Non è quindi possibile fornire informazioni relative al tipo di "
                       "carta di credito."),
        true };
}
