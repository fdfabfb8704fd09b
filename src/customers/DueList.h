#pragma once
#include "lists/ListLines.h"

#include <QByteArrayView>
#include <QDate>

#include <optional>

namespace Storage {
class Session;
}

// The due list of instalments as pure logic: its line table and the reading of the
// customer archive that picks the customers due (the notice date is today or earlier).
namespace DueList {

// Surname and name, preferred contact, due date, instalment, purchase.
ListLines::Columns columns();

// How the list reads one stored customer: the date of the next instalment (Scadenza) and
// whether the customer is due on today. Nothing when the customer cannot be tested
// (Scadenza not a date or Preavviso not a whole number): the reading ends there.
struct Reading
{
    QDate scadenza;
    bool due = false;
};
std::optional<Reading> read(QByteArrayView customerBytes, const QDate &today);
// The fields read() looks at.
ListLines::Fields readFields();

// The customers of the open archive that are due on today, sorted by their lines (by
// surname and name). A customer whose Scadenza is not a date or whose Preavviso is not a
// whole number ends the reading there, without its line: the lines before it stay.
ListLines::Scan lines(Storage::Session &archive, const QDate &today);

// The title of the printed list.
QString printTitle();

} // namespace DueList
