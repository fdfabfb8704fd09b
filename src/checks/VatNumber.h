#pragma once
#include "checks/CheckOutcome.h"

#include <QString>
#include <QStringView>

// True exactly when text has 11 characters, all digits 0 to 9, and the last is the check
// digit of the first ten.
bool CheckVatNumber(QStringView text);

// The VAT office that issues the numbers with this three-character office code (digits 8
// to 10 of a VAT number), or the empty text when the code names none.
QString VatOfficeName(QStringView code);

// The outcome of the VAT number dialog's check of the text in its input box.
CheckOutcome VatNumberOutcome(const QString &input);
