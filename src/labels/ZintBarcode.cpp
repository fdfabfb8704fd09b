#include "labels/ZintBarcode.h"

#include <zint.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace ZintBarcode {

namespace {

// libzint's vector coordinates count two units to a module.
constexpr double kUnitsPerModule = 2.0;
// Bars lower than this are hard to aim at with a hand scanner.
constexpr double kMinimumBarHeight = 5.0;

struct SymbolDeleter
{
    void operator()(zint_symbol *symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

int zintSymbology(Barcode::Symbology symbology)
{
    switch (symbology) {
    case Barcode::Symbology::Ean13:
    case Barcode::Symbology::Ean8:
        return BARCODE_EANX_CHK; // the check digit is given and verified
    case Barcode::Symbology::UpcA:
        return BARCODE_UPCA_CHK;
    case Barcode::Symbology::Code128:
        return BARCODE_CODE128;
    case Barcode::Symbology::None:
        break;
    }
    return 0;
}

// Encodes and lays the symbol out as vectors with bars heightModules high; nullptr when
// libzint refuses the code.
Symbol draw(int symbology, const QByteArray &data, double heightModules)
{
    Symbol symbol(ZBarcode_Create());
    if (!symbol)
        return nullptr;
    symbol->symbology = symbology;
    symbol->output_options = BARCODE_QUIET_ZONES;
    symbol->input_mode = DATA_MODE;
    symbol->show_hrt = 1;
    symbol->height = float(heightModules);
    const int encoded = ZBarcode_Encode(
        symbol.get(), reinterpret_cast<const unsigned char *>(data.constData()), int(data.size()));
    if (encoded >= ZINT_ERROR || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR
        || !symbol->vector)
        return nullptr;
    return symbol;
}

} // namespace

std::optional<Barcode::Shape> encode(
    Barcode::Symbology symbology, const QString &code, double width, double height)
{
    const int zint = zintSymbology(symbology);
    if (!zint || code.isEmpty())
        return std::nullopt;
    // Only printable ASCII reaches here (Barcode::choose).
    const QByteArray data = code.toLatin1();
    Symbol probe = draw(zint, data, 20);
    if (!probe)
        return std::nullopt;
    const int modules = int(std::ceil(probe->vector->width / kUnitsPerModule));
    const std::optional<double> x = Barcode::moduleWidth(symbology, modules, width);
    if (!x)
        return std::nullopt;
    const double unit = *x / kUnitsPerModule; // millimetres per vector unit
    // Everything below the bars (the digits) keeps its size; the bars take the rest.
    const double textUnits = probe->vector->height - 20 * kUnitsPerModule;
    const double barHeight = height - textUnits * unit;
    if (barHeight < kMinimumBarHeight)
        return std::nullopt;
    Symbol symbol = draw(zint, data, barHeight / *x);
    if (!symbol)
        return std::nullopt;

    Barcode::Shape shape;
    shape.width = symbol->vector->width * unit;
    shape.height = symbol->vector->height * unit;
    for (const zint_vector_rect *r = symbol->vector->rectangles; r; r = r->next) {
        // Foreground only: the background is the white label.
        if (r->colour == -1 || r->colour == 7)
            shape.bars.append(QRectF(r->x * unit, r->y * unit, r->width * unit, r->height * unit));
    }
    for (const zint_vector_string *s = symbol->vector->strings; s; s = s->next) {
        double centre = s->x;
        if (s->halign == 1)
            centre += s->width / 2;
        else if (s->halign == 2)
            centre -= s->width / 2;
        shape.texts.append({ QString::fromUtf8(reinterpret_cast<const char *>(s->text), s->length),
            centre * unit, s->y * unit, s->fsize * unit });
    }
    return shape;
}

} // namespace ZintBarcode
