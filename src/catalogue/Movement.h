#pragma once
#include "records/MovementRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QString>
#include <QStringView>

#include <optional>

// The values the product card hands to the movement dialog, as the card shows them.
// importo is the unit cost for a load and the unit (net) price for an unload; index is
// the position (0-based) of the stored product the movement applies to.
struct MovementInput
{
    QString codice, tipologia, marca, modello, giacenza, importo;
    qint64 index = -1;
};

// The rules of a stock movement, apart from the dialog that shows it.
namespace Movement {

// The caption of the quantity label that names the operation: "Quantità da aggiungere:"
// for a load, "Quantità da sottrarre:" for an unload.
QString quantityCaption(MovementRecord::Kind kind);
// The operation a quantity caption names, or nothing for any other text.
std::optional<MovementRecord::Kind> kindFromCaption(QStringView caption);

// The three numbers of "Calcola totale": the current stock and the quantity as they
// stand afterwards, and the new stock.
struct StockTotal
{
    QString giacenza, aggiunta, totale;
};
// Empty stock or quantity texts count as "0"; a load adds the quantity, an unload
// subtracts it with no lower limit, so the new stock may be negative. When either text
// is not a number all three become "0".
StockTotal computeTotal(
    MovementRecord::Kind kind, const QString &giacenza, const QString &aggiunta);

// The texts of one movement as the dialog shows them.
struct MovementEntry
{
    QString data, ora, codice, tipologia, marca, modello, importo, quantita, note;
};
// An unload that leaves the stock below zero is recorded only once the user agrees; the
// question names the new stock as "Calcola totale" shows it. Empty when no question is due
// (a load, a stock that stays at zero or above, a total that is not a number).
QString negativeStockQuestion(MovementRecord::Kind kind, const QString &totale);

// The movement record of these texts. An empty quantity is recorded as "0" and an empty
// amount as "0,00"; trimming and cutting to each field's capacity happen when the record
// is written (category, brand and model keep their first 50 characters).
Record buildRecord(const MovementEntry &entry);

// The yearly file of the movement: Carico_<yyyy>.mrv or Scarico_<yyyy>.mrv, the year of
// its date.
QString fileNameFor(MovementRecord::Kind kind, const Record &record);

// Appends the movement to its yearly file in the program folder (created when missing)
// and closes it. Returns false, with the reason in *error when given, when the file
// cannot be opened or written; nothing is appended then.
// The kind of failure goes to *failure when given (another copy holding the file).
bool appendMovement(MovementRecord::Kind kind, const Record &record, QString *error = nullptr,
    RecordFile::Failure *failure = nullptr);

} // namespace Movement
