#include "reports/StockLists.h"

#include "records/ProductRecord.h"
#include "storage/Session.h"
#include "storage/TextForms.h"

#include <algorithm>
#include <iterator>

namespace StockLists {

namespace {

QString trimmed(const QString &text)
{
    return TrimControl(text);
}

std::optional<double> numberOf(const RecordLayout &layout, QByteArrayView bytes, int field)
{
    char16_t buffer[ListLines::kFieldBuffer];
    return TextToNumber(ListLines::fieldView(layout, bytes, field, buffer));
}

int digit(QChar ch)
{
    return (ch >= u'0' && ch <= u'9') ? ch.unicode() - u'0' : -1;
}

// The date of a movement. Dates are written dd/mm/yyyy, which is read here directly;
// any other form goes through the general reading of dates.
std::optional<QDate> movementDate(QByteArrayView bytes)
{
    char16_t buffer[ListLines::kFieldBuffer];
    const QStringView text
        = ListLines::fieldView(MovementRecord::layout(), bytes, MovementRecord::Data, buffer);
    if (text.size() == 10 && text[2] == u'/' && text[5] == u'/') {
        const int d[8] = { digit(text[0]), digit(text[1]), digit(text[3]), digit(text[4]),
            digit(text[6]), digit(text[7]), digit(text[8]), digit(text[9]) };
        if (std::all_of(std::begin(d), std::end(d), [](int x) { return x >= 0; })) {
            const int day = d[0] * 10 + d[1];
            const int month = d[2] * 10 + d[3];
            const int year = d[4] * 1000 + d[5] * 100 + d[6] * 10 + d[7];
            if (year > 0 && QDate::isValid(year, month, day))
                return QDate(year, month, day);
        }
    }
    return DateFromText(text);
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

InventoryScan scanInventory(Storage::Session &archive, const QString &filter,
    const std::function<void(QByteArrayView productBytes, double value)> &take)
{
    return scanInventory(archive, filter, {}, take);
}

InventoryScan scanInventory(Storage::Session &archive, const QString &filter,
    const ListLines::Fields &takeFields,
    const std::function<void(QByteArrayView productBytes, double value)> &take)
{
    const RecordLayout &layout = ProductRecord::layout();
    InventoryScan inv;
    inv.shownFilter = inventoryAllProducts();
    const QString shownFilter = trimmed(filter);
    const bool all = shownFilter.isEmpty();
    const QString key = LowerAscii(filter);

    double value = 0;
    auto accept = [&](QByteArrayView bytes) {
        if (!all) {
            char16_t buffer[ListLines::kFieldBuffer];
            const QStringView type
                = ListLines::fieldView(layout, bytes, ProductRecord::Tipologia, buffer);
            if (type.isEmpty())
                return ListLines::Verdict::Skip;
            inv.shownFilter = shownFilter;
            if (!ListLines::containsKey(type, key))
                return ListLines::Verdict::Skip;
        }
        const auto stored = numberOf(layout, bytes, ProductRecord::Valore);
        if (!stored)
            return ListLines::Verdict::Stop;
        value = *stored;
        return ListLines::Verdict::Add;
    };
    // Without fields named for take() it may look at every field.
    const ListLines::Fields fields = takeFields.empty()
        ? ListLines::Fields()
        : ListLines::unite(takeFields,
            all ? ListLines::Fields { ProductRecord::Valore }
                : ListLines::Fields { ProductRecord::Tipologia, ProductRecord::Valore });
    inv.complete
        = ListLines::scanRecords(archive, fields, accept, [&](qint64, QByteArrayView bytes) {
              inv.total += value;
              take(bytes, value);
          });
    return inv;
}

Inventory inventoryLines(Storage::Session &archive, const QString &filter)
{
    const ListLines::LineBuilder build
        = ListLines::lineBuilder(inventoryColumns(), ProductRecord::layout());
    Inventory inv;
    inv.lines.reserve(std::min<qint64>(archive.recordCount(), 1 << 20));
    const InventoryScan scan = scanInventory(archive, filter, build.fields(),
        [&](QByteArrayView bytes, double) { build.appendTo(inv.lines, bytes); });
    inv.lines.sort();
    inv.total = scan.total;
    inv.complete = scan.complete;
    inv.shownFilter = scan.shownFilter;
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

ListLines::Scan underStockLines(Storage::Session &archive)
{
    const RecordLayout &layout = ProductRecord::layout();
    auto accept = [&layout](QByteArrayView bytes) {
        char16_t stock[ListLines::kFieldBuffer];
        char16_t minimum[ListLines::kFieldBuffer];
        const std::optional<bool> under
            = isUnderStock(ListLines::fieldView(layout, bytes, ProductRecord::Giacenza, stock),
                ListLines::fieldView(layout, bytes, ProductRecord::Sottoscorta, minimum));
        if (!under)
            return ListLines::Verdict::Stop;
        return *under ? ListLines::Verdict::Add : ListLines::Verdict::Skip;
    };
    ListLines::Scan scan
        = ListLines::scanLines(archive, { ProductRecord::Giacenza, ProductRecord::Sottoscorta },
            accept, ListLines::lineBuilder(underStockColumns(), layout));
    scan.lines.sort();
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

MovementScan scanMovements(Storage::Session &archive, const QString &filter, const QDate &start,
    const QDate &end,
    const std::function<void(qint64 index, QByteArrayView movementBytes, QDate date)> &take)
{
    return scanMovements(archive, filter, start, end, {}, take);
}

MovementScan scanMovements(Storage::Session &archive, const QString &filter, const QDate &start,
    const QDate &end, const ListLines::Fields &takeFields,
    const std::function<void(qint64 index, QByteArrayView movementBytes, QDate date)> &take)
{
    const RecordLayout &layout = MovementRecord::layout();
    MovementScan mov;
    mov.shownFilter = movementNoneRead();
    const QString shownFilter = trimmed(filter);
    const bool all = shownFilter.isEmpty();
    const QString key = LowerAscii(filter);

    QDate listed;
    auto accept = [&](QByteArrayView bytes) {
        if (all) {
            mov.shownFilter = movementAllCodes();
        } else {
            char16_t buffer[ListLines::kFieldBuffer];
            const QStringView code
                = ListLines::fieldView(layout, bytes, MovementRecord::Codice, buffer);
            if (code.isEmpty())
                return ListLines::Verdict::Skip;
            mov.shownFilter = shownFilter;
            if (!ListLines::containsKey(code, key))
                return ListLines::Verdict::Skip;
        }
        const auto date = movementDate(bytes);
        if (!date)
            return ListLines::Verdict::Stop;
        listed = *date;
        return (*date >= start && *date <= end) ? ListLines::Verdict::Add
                                                : ListLines::Verdict::Skip;
    };
    // Without fields named for take() it may look at every field.
    const ListLines::Fields fields = takeFields.empty()
        ? ListLines::Fields()
        : ListLines::unite(takeFields,
            all ? ListLines::Fields { MovementRecord::Data }
                : ListLines::Fields { MovementRecord::Codice, MovementRecord::Data });
    mov.complete = ListLines::scanRecords(archive, fields, accept,
        [&](qint64 index, QByteArrayView bytes) { take(index, bytes, listed); });
    return mov;
}

Movements movementLines(Storage::Session &archive, MovementRecord::Kind kind, const QString &filter,
    const QDate &start, const QDate &end)
{
    const ListLines::LineBuilder build
        = ListLines::lineBuilder(movementColumns(kind), MovementRecord::layout());
    Movements mov;
    mov.lines.reserve(std::min<qint64>(archive.recordCount(), 1 << 20));
    const MovementScan scan = scanMovements(archive, filter, start, end, build.fields(),
        [&](qint64, QByteArrayView bytes, QDate) { build.appendTo(mov.lines, bytes); });
    mov.complete = scan.complete;
    mov.shownFilter = scan.shownFilter;
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
