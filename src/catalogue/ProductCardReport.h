#pragma once
#include "report/CardContent.h"

#include <QString>

class Record;

// The product card as it prints on the card template: title "SCHEDA ARTICOLO", 24 rows of
// caption and trimmed field text (row 15 adds " pezzi rimasti" to the under-stock
// threshold), footer "Stampa eseguita in data <date> alle ore <time>". product is a record
// of the product layout, taken from the card's controls as they stand.
CardContent productCardContent(const Record &product, const QString &date, const QString &time);
