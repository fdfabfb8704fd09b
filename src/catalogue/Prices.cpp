#include "catalogue/Prices.h"

#include "storage/TextForms.h"

#include <cmath>
#include <optional>

namespace Prices {

namespace {

const QString kZeroAmount = QStringLiteral("0,00");
const QString kZeroCount = QStringLiteral("0");

QString filled(const QString &text, const QString &zero)
{
    return TrimControl(text).isEmpty() ? zero : text;
}

// A number read from a field, or nothing when the text is not one or is not finite.
std::optional<double> numberOf(const QString &text)
{
    const std::optional<double> n = TextToNumber(text);
    if (!n || !std::isfinite(*n))
        return std::nullopt;
    return n;
}

// An amount computed by the card: two decimals, halves upward. Infinite or undefined
// results (overflow, a rate of -100) are failures, as they have no text form.
std::optional<QString> amountOf(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return FormatAmountText(NumberToText(value), 2);
}

PriceResult priceFailure()
{
    return { false, { kZeroAmount, kZeroCount, kZeroAmount } };
}

} // namespace

PriceResult calcola(const PriceFields &in)
{
    PriceFields out { filled(in.prezzo, kZeroAmount), filled(in.percIva, kZeroCount),
        filled(in.prezzoConIva, kZeroAmount) };
    const std::optional<double> price = numberOf(out.prezzo);
    const std::optional<double> rate = numberOf(out.percIva);
    if (!price || !rate)
        return priceFailure();
    const double vat = *price * *rate / 100.0;
    const std::optional<QString> gross = amountOf(*price + vat);
    if (!gross)
        return priceFailure();
    out.prezzoConIva = *gross;
    return { true, out };
}

PriceResult scorpora(const PriceFields &in)
{
    PriceFields out { in.prezzo, filled(in.percIva, kZeroCount),
        filled(in.prezzoConIva, kZeroAmount) };
    const std::optional<double> rate = numberOf(out.percIva);
    const std::optional<double> gross = numberOf(out.prezzoConIva);
    if (!rate || !gross)
        return priceFailure();
    const std::optional<QString> net = amountOf(*gross * 100.0 / (100.0 + *rate));
    if (!net)
        return priceFailure();
    out.prezzo = *net;
    out.percIva = NumberToText(*rate);
    return { true, out };
}

ValueResult calcolaValore(const ValueFields &in)
{
    ValueFields out { filled(in.costo, kZeroAmount), filled(in.giacenza, kZeroCount),
        filled(in.valore, kZeroAmount) };
    const std::optional<double> cost = numberOf(out.costo);
    const std::optional<double> stock = numberOf(out.giacenza);
    const std::optional<QString> value = cost && stock ? amountOf(*cost * *stock) : std::nullopt;
    if (!value)
        return { false, { kZeroAmount, kZeroCount, kZeroAmount } };
    out.valore = *value;
    return { true, out };
}

QString calcolaWarning()
{
    return QStringLiteral("Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo "
                          "e l'aliquota IVA prima di premere il pulsante Calcola.");
}

QString scorporaWarning()
{
    return QStringLiteral("Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo "
                          "IVA inclusa e l'aliquota IVA prima di premere il pulsante Scorpora.");
}

} // namespace Prices
