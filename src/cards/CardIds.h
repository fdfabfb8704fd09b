#pragma once
#include "storage/ArchiveId.h"

#include <QLatin1StringView>
#include <QStringView>

#include <optional>

// The three record cards and what names them elsewhere in the program: the objectName of
// the resident card, the caller tag a search screen writes into lblMemory to reopen a
// record on it, the tag the attached files dialog hands its values back with, the card's
// archive and its page of the help. Callers name a card by its CardId, never by one of
// these strings.
enum class CardId { Product, Customer, Supplier };

struct CardIdentity
{
    CardId id;
    QLatin1StringView objectName; // "TfrmMagazzino"
    QLatin1StringView searchTag; // "magazzino"
    QLatin1StringView attachmentsTag; // "magazzino"
    ArchiveId archive;
    QLatin1StringView helpPage; // the screen class its help page is filed under
};

const CardIdentity &cardIdentity(CardId id);

// The card a search caller tag or an attachments tag names; nothing for any other tag.
std::optional<CardId> cardForSearchTag(QStringView tag);
std::optional<CardId> cardForAttachmentsTag(QStringView tag);
// The card of an archive; nothing for the movement registers.
std::optional<CardId> cardForArchive(ArchiveId archive);
