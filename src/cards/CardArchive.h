#pragma once
#include "app/Notice.h"
#include "cards/CardNavigation.h"
#include "storage/Record.h"
#include "storage/RecordLayout.h"

#include <optional>

// What a card does after one of its archive operations, in this order: show the position
// (0 empties lblPosizione); report the access error (the card's own kind of message) and
// stop; otherwise display the record, then show the notice.
struct CardOutcome
{
    bool accessError = false; // the archive could not be opened, read or written
    std::optional<qint64> position; // unset: the position shown stays as it is
    std::optional<Record> record; // a record to display at position
    Notice notice; // shown last; empty: nothing to say
};

// A failed save rule of a card: its message and the control that gets the focus (empty when
// the focus stays where it was). Each card's rules module gives its saveCheck(record).
struct SaveFailure
{
    Notice notice;
    QString focus;
};

// The save rule of a card that needs one field filled: nothing when the field's trimmed text
// is not empty, otherwise the warning with the focus on the control named focus.
std::optional<SaveFailure> requireField(
    const Record &record, int field, const QString &warning, const QString &focus);

// The card workflow over one archive: the file is opened for each operation, the
// decision taken from the position the card shows, the record read or written whole,
// and the file closed again. Pure logic over the record file, shared by every card.
class CardArchive
{
public:
    explicit CardArchive(const Archive &archive)
        : m_archive(archive)
    {
    }

    const Archive &archive() const { return m_archive; }
    const RecordLayout &layout() const { return *m_archive.layout; }

    // An arrow on a card that shows positionText.
    CardOutcome navigate(CardNavigation::Move move, const QString &positionText) const;
    // Salva: appends a new card (empty position) or rewrites the record shown; the
    // position then shows where the record is.
    CardOutcome save(const Record &record, const QString &positionText) const;
    // Duplica: a card never saved gets a warning and stays as it is; otherwise the card
    // becomes a new one with the same texts (the position emptied) once the archive is
    // known to be accessible.
    CardOutcome duplicate(const QString &positionText) const;

private:
    Archive m_archive;
};
