#pragma once
#include "app/Notice.h"
#include "cards/CardArchive.h"
#include "report/CardContent.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

class Record;

// The rules of the customer registry that need no window: the dates of the instalments
// and the due test, the checks of Salva in their order, the new card and the printed card.
namespace CustomerRules {

// The date an instalment field holds: day and month of one or two digits and a year of
// four, separated by slashes ("5/3/2021" and "05/03/2021" alike), leading and trailing
// blanks ignored. Nothing when the text is not a real calendar date; a two-digit year is
// refused rather than read as a year of the first century.
std::optional<QDate> instalmentDate(QStringView text);

// The days of notice: a whole number of digits only (blanks at the ends ignored).
std::optional<int> noticeDays(QStringView text);

// The day from which a customer is due: Scadenza minus Preavviso days. Nothing when
// either text does not hold its value.
std::optional<QDate> noticeDate(QStringView scadenza, QStringView preavviso);

// The due test: true when the notice date is today or earlier (overdue customers
// included), false when it is later; nothing when the record cannot be tested.
std::optional<bool> isDue(QStringView scadenza, QStringView preavviso, const QDate &today);

// The card texts the save checks look at, as they stand on the card.
struct SaveInput
{
    QString cognome;
    QString nome;
    QString decorrenza;
    QString scadenza;
    QString preavviso;
};

// A failed save check: its message (a warning, or a plain box with OK alone for the
// dates) and the control that gets the focus (empty when the focus stays where it was).
using SaveFailure = ::SaveFailure;

// The save checks in their order; the first that fails, or nothing when the card may be
// written.
std::optional<SaveFailure> firstFailingCheck(const SaveInput &card);
// Salva's rule on the customer card: firstFailingCheck over the card's texts.
std::optional<SaveFailure> saveCheck(const Record &customer);

// A customer as a new card shows it: the dates of the instalments today, no days of
// notice, amounts "0,00", everything else empty.
Record newCustomer();

// The warning of cmdCartella on a card not yet saved.
QString folderOnNewCardText();

// The customer card as it prints on the card template: title, 24 rows, footer.
// customer holds the card's texts by their field names (Cognome, Nome, ...).
CardContent cardContent(const Record &customer, const QString &date, const QString &time);

} // namespace CustomerRules
