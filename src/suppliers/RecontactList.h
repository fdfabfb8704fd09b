#pragma once
#include "lists/ListLines.h"

#include <QByteArrayView>

namespace Storage {
class Session;
}

// The list of the suppliers to recontact as pure logic over Fornitori.mrv: which records
// it shows and the line of each, company, person, preferred contact and open issues.
namespace RecontactList {

// Ditta (30), "  " Titolare (30), "  Tel. " Recapito (20), "  " Questioni whole: 91
// characters and the trimmed open issues.
ListLines::Columns columns();
ListLines::LineBuilder lineBuilder();

// A supplier is listed when its Ricontatta, trimmed, is "Sì" exactly ("No", an empty
// field and any other text are not).
bool isListed(QByteArrayView recordBytes);

// The lines of the listed suppliers of the open archive, read from the first record to
// the last and sorted. A record that cannot be read ends the reading: the lines before
// it stay, sorted, and complete is false.
ListLines::Scan lines(Storage::Session &archive);

} // namespace RecontactList
