#include "labels/Barcode.h"

#include "storage/TextForms.h"

#include <algorithm>

namespace Barcode {

namespace {

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool printableAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u' ' && c <= u'~'; });
}

} // namespace

bool hasValidCheckDigit(QStringView digits)
{
    if (digits.size() < 2 || !allDigits(digits))
        return false;
    // From the right, the digits before the check digit weigh 3, 1, 3, ...
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 2; i >= 0; --i) {
        sum += (digits[i].unicode() - u'0') * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10 == digits.back().unicode() - u'0';
}

Symbology choose(QStringView code)
{
    const QStringView trimmed = TrimControlView(code);
    if (trimmed.isEmpty() || trimmed.size() > kMaxCodeLength)
        return Symbology::None;
    if (allDigits(trimmed) && hasValidCheckDigit(trimmed)) {
        switch (trimmed.size()) {
        case 13:
            return Symbology::Ean13;
        case 12:
            return Symbology::UpcA;
        case 8:
            return Symbology::Ean8;
        default:
            break;
        }
    }
    return printableAscii(trimmed) ? Symbology::Code128 : Symbology::None;
}

QString name(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Ean13:
        return QStringLiteral("EAN-13");
    case Symbology::Ean8:
        return QStringLiteral("EAN-8");
    case Symbology::UpcA:
        return QStringLiteral("UPC-A");
    case Symbology::Code128:
        return QStringLiteral("Code 128");
    case Symbology::None:
        break;
    }
    return QStringLiteral("nessuno");
}

double minimumModule(Symbology symbology)
{
    // EAN and UPC down to 80 % of their nominal size; Code 128 no finer than a common
    // hand scanner reads from a 300 dpi label printer (three dots a module).
    return symbology == Symbology::Code128 ? 0.25 : 0.264;
}

double nominalModule(Symbology symbology)
{
    return symbology == Symbology::Code128 ? 0.40 : 0.33;
}

std::optional<double> moduleWidth(Symbology symbology, int modules, double width)
{
    if (symbology == Symbology::None || modules <= 0 || width <= 0)
        return std::nullopt;
    const double x = std::min(nominalModule(symbology), width / modules);
    if (x < minimumModule(symbology))
        return std::nullopt;
    return x;
}

} // namespace Barcode
