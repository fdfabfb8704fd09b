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
    bool busy = false; // with accessError: another copy of the program held the archive
    // Salva found the record changed on disk since the card read it: nothing was written
    bool conflict = false;
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
    // position then shows where the record is. With asRead (the record as the card read
    // it) a rewrite happens only while the stored record is still that one, compared under
    // the archive's lock; otherwise the outcome is a conflict and nothing is written.
    CardOutcome save(const Record &record, const QString &positionText,
        const std::optional<Record> &asRead = std::nullopt) const;
    // The record stored at the position shown, to display it again (after a conflict).
    CardOutcome reread(const QString &positionText) const;
    // The question a card asks on a conflict: Sì saves over the other copy's changes.
    static QString conflictText();
    // Duplica: a card never saved gets a warning and stays as it is; otherwise the card
    // becomes a new one with the same texts (the position emptied) once the archive is
    // known to be accessible.
    CardOutcome duplicate(const QString &positionText) const;

private:
    Archive m_archive;
};
