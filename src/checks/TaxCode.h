#pragma once
#include "checks/CheckOutcome.h"

#include <QString>
#include <QStringView>

// True when code is 16 characters long, characters 1 to 15 are all in the conversion
// tables ("0" to "Z", the seven signs between "9" and "A" counting 0) and character 16 is
// the check letter they give. Anything else (lower case, blanks, hyphens, accented
// letters, another length) is false.
bool CheckTaxCode(QStringView code);

// The outcome of the tax code dialog's check of the text in its input box.
CheckOutcome TaxCodeOutcome(const QString &input);

// Where the tax code button of a card sends the trimmed text of its field: a text of digits
// only is a VAT number, anything else (the empty text too) a tax code.
enum class CodeCheck { TaxCode, VatNumber };
CodeCheck codeCheckFor(QStringView trimmedText);
