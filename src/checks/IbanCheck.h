#pragma once
#include "checks/CheckOutcome.h"

#include <QString>
#include <QStringView>

// The remainder (0 to 96) of the IBAN in text divided by 97, after upper-casing it,
// deleting its first "IBAN", moving its first four characters to the end and writing
// every letter as its two-digit value (A = 10 ... Z = 35). A text with any other
// character than letters and digits, or an empty one, gives 0.
int IbanMod97(QStringView text);

// True when the text, without its blanks, passes the mod-97 test (remainder 1).
bool CheckIban(QStringView text);

// The outcome of the IBAN dialog's check of the text in its input box.
CheckOutcome IbanOutcome(const QString &input);
