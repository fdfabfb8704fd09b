#include "reports/StockLists.h"

#include "catalogue/ProductRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

namespace StockLists {

namespace {

QString trimmed(const QString &text)
{
    return TrimControl(text);
}

} // namespace

ListLines::Columns inventoryColumns()
{
    using namespace ListLines;
    return {
        padded(QString(), ProductRecord::Codice, 30),
        joined(QStringLiteral("  "), ProductRecord::Marca, ProductRecord::Modello, 40),
        padded(QStringLiteral("  Costo: € "), ProductRecord::Costo, 12),
        padded(QStringLiteral("  Giacenza: "), ProductRecord::Giacenza, 12),
        tail(QStringLiteral("  Valore: € "), ProductRecord::Valore),
    };
}

QString inventoryAllProducts()
{
    return QStringLiteral("Tutti gli articoli in magazzino.");
}

Inventory inventoryLines(RecordFile &file, const QString &filter)
{
    const RecordLayout &layout = ProductRecord::layout();
    Inventory inv;
    inv.shownFilter = inventoryAllProducts();
    const QString shownFilter = trimmed(filter);
    const bool all = shownFilter.isEmpty();
    const QString key = LowerAscii(filter);

    auto accept = [&](QByteArrayView bytes) {
        if (!all) {
            const QString type = fieldOf(layout, bytes, ProductRecord::Tipologia);
            if (type.isEmpty())
                return ListLines::Verdict::Skip;
            inv.shownFilter = shownFilter;
            if (!ListLines::containsKey(type, key))
                return ListLines::Verdict::Skip;
        }
        const auto value = TextToNumber(fieldOf(layout, bytes, ProductRecord::Valore));
        if (!value)
            return ListLines::Verdict::Stop;
        inv.total += *value;
        return ListLines::Verdict::Add;
    };
    ListLines::Scan scan
        = ListLines::scanLines(file, accept, ListLines::lineBuilder(inventoryColumns(), layout));
    ListLines::sortLines(scan.lines);
    inv.lines = std::move(scan.lines);
    inv.complete = scan.complete;
    return inv;
}

QString inventoryTotalText(double total)
{
    return QStringLiteral("€ ") + FormatAmountText(NumberToText(total), 4);
}

ListLines::Columns underStockColumns()
{
    using namespace ListLines;
    return {
        padded(QString(), ProductRecord::Codice, 30),
        joined(QStringLiteral("  "), ProductRecord::Marca, ProductRecord::Modello, 40),
        padded(QStringLiteral("  Costo: "), ProductRecord::Costo, 12),
        padded(QStringLiteral("  Giacenza: "), ProductRecord::Giacenza, 12),
        tail(QStringLiteral("  Note: "), ProductRecord::Note),
    };
}

std::optional<bool> isUnderStock(QStringView stock, QStringView minimum)
{
    const auto s = TextToNumber(stock);
    const auto m = TextToNumber(minimum);
    if (!s || !m)
        return std::nullopt;
    return *s <= *m;
}

ListLines::Scan underStockLines(RecordFile &file)
{
    const RecordLayout &layout = ProductRecord::layout();
    auto accept = [&layout](QByteArrayView bytes) {
        const auto under = isUnderStock(fieldOf(layout, bytes, ProductRecord::Giacenza),
            fieldOf(layout, bytes, ProductRecord::Sottoscorta));
        if (!under)
            return ListLines::Verdict::Stop;
        return *under ? ListLines::Verdict::Add : ListLines::Verdict::Skip;
    };
    ListLines::Scan scan
        = ListLines::scanLines(file, accept, ListLines::lineBuilder(underStockColumns(), layout));
    ListLines::sortLines(scan.lines);
    return scan;
}

ListLines::Columns movementColumns(MovementRecord::Kind kind)
{
    using namespace ListLines;
    const bool load = kind == MovementRecord::Kind::Load;
    return {
        padded(QStringLiteral("Data: "), MovementRecord::Data, 10),
        padded(QStringLiteral("  Cod. art. "), MovementRecord::Codice, 20),
        padded(QStringLiteral("  Tipo: "), MovementRecord::Tipologia, 20),
        joined(QStringLiteral("  Marca: "), MovementRecord::Marca, MovementRecord::Modello, 30),
        padded(load ? QStringLiteral("  Pezzi: +") : QStringLiteral("  Pezzi: -"),
            MovementRecord::Quantita, 10),
        tail(load ? QStringLiteral("  Costo: € ") : QStringLiteral("  Prezzo: € "),
            MovementRecord::Importo),
    };
}

QString movementNoneRead()
{
    return QStringLiteral("- - -");
}

QString movementAllCodes()
{
    return QStringLiteral("Tutti gli articoli");
}

Movements movementLines(RecordFile &file, MovementRecord::Kind kind, const QString &filter,
    const QDate &start, const QDate &end)
{
    const RecordLayout &layout = MovementRecord::layout();
    Movements mov;
    mov.shownFilter = movementNoneRead();
    const QString shownFilter = trimmed(filter);
    const bool all = shownFilter.isEmpty();
    const QString key = LowerAscii(filter);

    auto accept = [&](QByteArrayView bytes) {
        if (all) {
            mov.shownFilter = movementAllCodes();
        } else {
            const QString code = fieldOf(layout, bytes, MovementRecord::Codice);
            if (code.isEmpty())
                return ListLines::Verdict::Skip;
            mov.shownFilter = shownFilter;
            if (!ListLines::containsKey(code, key))
                return ListLines::Verdict::Skip;
        }
        const auto date = DateFromText(fieldOf(layout, bytes, MovementRecord::Data));
        if (!date)
            return ListLines::Verdict::Stop;
        return (*date >= start && *date <= end) ? ListLines::Verdict::Add
                                                : ListLines::Verdict::Skip;
    };
    ListLines::Scan scan
        = ListLines::scanLines(file, accept, ListLines::lineBuilder(movementColumns(kind), layout));
    mov.lines = std::move(scan.lines);
    mov.complete = scan.complete;
    return mov;
}

QString intervalText(const QString &start, const QString &end)
{
    return QStringLiteral("Dal   ") + TrimControl(start) + QStringLiteral("   al   ")
        + TrimControl(end);
}

QStringList inventoryPrintExtra(const QString &shownTotal)
{
    return { QStringLiteral("--------------------------"),
        QStringLiteral("VALORE TOTALE: ") + TrimControl(shownTotal) };
}

QStringList movementPrintExtra(const QString &shownInterval, const QString &shownCount)
{
    return { QStringLiteral("- - - - - - - - - - - - - - - -"),
        QStringLiteral("INTERVALLO SELEZIONATO:    ") + TrimControl(shownInterval),
        QStringLiteral("TOTALE MOVIMENTI:  ") + TrimControl(shownCount) };
}

} // namespace StockLists
