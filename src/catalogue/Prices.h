#pragma once
#include <QString>

// The price and value calculations of the product card, as pure functions from the texts
// of its fields to their new texts. A failed calculation returns ok = false and the texts
// the card resets its fields to; the card shows the warning (if any) itself.
namespace Prices {

// Net price, VAT rate in percent and price with VAT, as the card shows them.
struct PriceFields
{
    QString prezzo;
    QString percIva;
    QString prezzoConIva;
    bool operator==(const PriceFields &) const = default;
};

// Cost, stock and value (cost x stock), as the card shows them.
struct ValueFields
{
    QString costo;
    QString giacenza;
    QString valore;
    bool operator==(const ValueFields &) const = default;
};

struct PriceResult
{
    bool ok = false;
    PriceFields fields;
};

struct ValueResult
{
    bool ok = false;
    ValueFields fields;
};

// "Calcola": the price with VAT from the net price and the rate, rounded to two decimals.
// Empty fields are first filled with their zero text; the other texts are kept as given.
PriceResult calcola(const PriceFields &in);

// "Scorpora": the net price from the price with VAT and the rate, rounded to two
// decimals; the rate is rewritten in its shortest form (05 becomes 5) and the price with
// VAT is kept as given.
PriceResult scorpora(const PriceFields &in);

// "Calcola valore": the value as cost x stock, rounded to two decimals. Never warns.
ValueResult calcolaValore(const ValueFields &in);

// The warnings the card shows when "Calcola" or "Scorpora" fails.
QString calcolaWarning();
QString scorporaWarning();

} // namespace Prices
