#pragma once
#include "report/CardContent.h"

#include <QString>
#include <QStringView>

class Record;

// The rules of the supplier card that need no window: what its check box stores, what
// Salva checks, where the tax code button sends its text, the e-mail address handed to
// the shell and the card as it prints. A supplier is a record of the supplier layout
// (records/SupplierRecord.h).
namespace SupplierCard {

// The texts of the Ricontatta field: "Sì" for a checked box, "No" for an unchecked one.
QString recontactText(bool checked);

// How a stored Ricontatta shows on the check box: checked for "Sì", unchecked for "No"
// and for any other text (an empty field of an older archive), so that a record never
// shows the flag of the supplier shown before it. The text is trimmed first.
bool recontactChecked(QStringView stored);

// The warning of a Salva without a company name; empty when the card may be saved.
// Only Ditta is checked, after trimming.
QString saveWarning(const Record &supplier);

// Where btnCodFisc sends the trimmed text of txtCodFisc: an empty text and any text with
// a character other than 0-9 go to the tax code check, a text of digits only to the VAT
// number check.
enum class TaxCheck { TaxCode, VatNumber };
TaxCheck taxCheckFor(QStringView trimmedCode);

// The text handed to the shell by btnEmail: "mailto:" and the trimmed address, within
// double quotes. An empty address gives a new message without a recipient.
QString mailtoCommand(QStringView email);

// The supplier card as it prints on the card template: title "SCHEDA ANAGRAFICA
// FORNITORE", 24 rows of caption and trimmed field text (row 23 "Sì" or "No" as the
// check box shows Ricontatta), footer "Stampa eseguita in data <date> alle ore
// <time>". supplier holds the card's values as they stand, saved or not.
CardContent cardContent(const Record &supplier, const QString &date, const QString &time);

} // namespace SupplierCard
