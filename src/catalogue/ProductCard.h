#pragma once
#include "cards/CardArchive.h"
#include "storage/Record.h"

#include <QString>

#include <optional>

// The rules of the product card that need no window: the new card and what Salva checks
// before the card fills and rounds its numbers.
namespace ProductCard {

// A product as a new card shows it: amounts "0,00", counts "0", everything else empty.
Record newProduct();

// Salva's rule: a card without a product code gets a warning and the focus on txtCodice;
// nothing when the card may be saved. Only Codice is checked, after trimming.
std::optional<SaveFailure> saveCheck(const Record &product);

// The texts of an empty amount and an empty count.
inline const QString kZeroAmount = QStringLiteral("0,00");
inline const QString kZeroCount = QStringLiteral("0");

} // namespace ProductCard
