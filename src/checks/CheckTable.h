#pragma once
#include "checks/CheckOutcome.h"

#include <QString>
#include <QStringView>

// The four check dialogs share one form; each is this table's row: its names, texts,
// input box, look and the check it runs.
namespace Checks {

enum class Kind { TaxCode, VatNumber, Iban, PaymentCard };

// What can be typed into the input box.
enum class Typing {
    UpperCase, // trimmed and upper-cased while typed
    Digits, // digits only; neither trimmed nor changed in case
    TrimmedDigits, // digits only, kept trimmed
};

struct Check
{
    QStringView objectName; // the dialog's class name, TfrmCodFisc
    QStringView windowTitle;
    QStringView instructions; // lblTitolo
    QStringView input; // the input box's name
    int maxLength;
    Typing typing;
    // The look: the dialog's colour (a Palette colour text), the banner's title and
    // subtitle, and its emblem: a short word on a white card, or a drawn payment card.
    const char *colour;
    QStringView title;
    QStringView subtitle;
    QStringView emblem;
    bool paymentCard;
    CheckOutcome (*outcome)(const QString &input);
};

const Check &check(Kind kind);

} // namespace Checks
