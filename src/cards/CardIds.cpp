#include "cards/CardIds.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<CardIdentity, 3> kCards { {
    { CardId::Product, "TfrmMagazzino"_L1, "magazzino"_L1, "magazzino"_L1, ArchiveId::Products,
        "TfrmMagazzino"_L1 },
    { CardId::Customer, "TfrmAnagrafica"_L1, "clienti"_L1, "anagrafica"_L1, ArchiveId::Customers,
        "TfrmAnagrafica"_L1 },
    { CardId::Supplier, "TfrmFornitori"_L1, "fornitori"_L1, "fornitori"_L1, ArchiveId::Suppliers,
        "TfrmFornitori"_L1 },
} };

// cardIdentity reads the row of a card by its number.
constexpr bool rowsInOrder()
{
    for (std::size_t i = 0; i < kCards.size(); ++i) {
        if (std::size_t(kCards[i].id) != i)
            return false;
    }
    return true;
}
static_assert(rowsInOrder(), "the card table lists the cards in the order of CardId");

template <typename Match> std::optional<CardId> find(Match match)
{
    for (const CardIdentity &card : kCards) {
        if (match(card))
            return card.id;
    }
    return std::nullopt;
}

} // namespace

const CardIdentity &cardIdentity(CardId id)
{
    return kCards[std::size_t(id)];
}

std::optional<CardId> cardForSearchTag(QStringView tag)
{
    return find([tag](const CardIdentity &card) { return tag == card.searchTag; });
}

std::optional<CardId> cardForAttachmentsTag(QStringView tag)
{
    return find([tag](const CardIdentity &card) { return tag == card.attachmentsTag; });
}

std::optional<CardId> cardForArchive(ArchiveId archive)
{
    return find([archive](const CardIdentity &card) { return card.archive == archive; });
}
