#pragma once
#include "app/Notice.h"

#include <QString>

// The decisions of a card's navigation arrows and of its Salva, taken from the position
// text the card shows (1-based, empty for a new record) and the record count of its
// archive. Shared by the product, customer and supplier cards: the card opens the file,
// asks here what to do, then reads or writes and shows the message.
namespace CardNavigation {

enum class Move { First, Previous, Next, Last };

struct Step
{
    enum class Action {
        Read, // read the record at index and show position index + 1
        Stay, // nothing to do and nothing to say
        EmptyArchive // show emptyArchiveText(); clearPosition tells whether to empty the position
    };
    Action action = Action::Stay;
    qint64 index = -1;
    bool clearPosition = false;

    qint64 position() const { return index + 1; }
};

// What an arrow does on a card that shows positionText over an archive of recordCount
// records. A position beyond the archive yields an index the file will refuse to read,
// which the card reports as an access error.
Step decide(Move move, const QString &positionText, qint64 recordCount);

struct Save
{
    bool append = false; // a new record: append it; otherwise rewrite index
    qint64 index = -1; // the record rewritten (not used for an append)
    Notice notice; // the information shown after a successful write
};

// Where Salva writes the card that shows positionText.
Save decideSave(const QString &positionText);

// The position a card holds: 0 for a new record (empty text), otherwise the number shown.
// A text that is not a positive whole number counts as a new record.
qint64 positionOf(const QString &positionText);

QString emptyArchiveText();
QString duplicateNewCardText(); // Duplica on a card never saved (a warning)
QString duplicatedText(); // Duplica done (information)

} // namespace CardNavigation
