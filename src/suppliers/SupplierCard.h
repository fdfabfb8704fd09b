#pragma once
#include "cards/CardArchive.h"
#include "report/CardContent.h"
#include "storage/Record.h"

#include <QString>
#include <QStringView>

#include <optional>

// The rules of the supplier card that need no window: what its check box stores, what
// Salva checks, the new card and the card as it prints. A supplier is a record of the supplier
// layout (records/SupplierRecord.h).
namespace SupplierCard {

// The texts of the Ricontatta field: "Sì" for a checked box, "No" for an unchecked one.
QString recontactText(bool checked);

// How a stored Ricontatta shows on the check box: checked for "Sì", unchecked for "No"
// and for any other text (an empty field of an older archive), so that a record never
// shows the flag of the supplier shown before it. The text is trimmed first.
bool recontactChecked(QStringView stored);

// Salva's rule: a card without a company name gets a warning and the focus on txtDitta;
// nothing when the card may be saved. Only Ditta is checked, after trimming.
std::optional<SaveFailure> saveCheck(const Record &supplier);
// A supplier as a new card shows it: every text empty, the flag unchecked.
Record newSupplier();

// The supplier card as it prints on the card template: title "SCHEDA ANAGRAFICA
// FORNITORE", 24 rows of caption and trimmed field text (row 23 "Sì" or "No" as the
// check box shows Ricontatta), footer "Stampa eseguita in data <date> alle ore
// <time>". supplier holds the card's values as they stand, saved or not.
CardContent cardContent(const Record &supplier, const QString &date, const QString &time);

} // namespace SupplierCard
