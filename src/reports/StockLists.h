#pragma once
#include "lists/ListLines.h"
#include "records/MovementRecord.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

namespace Storage {
class Session;
}

// The three stock reports as pure logic: their line tables, the rule that picks the
// records, and the figures shown under the list. Each function reads an open archive
// from its first record to its last (one scan of the archive).
namespace StockLists {

// Inventory (Magazzino.mrv): code, brand and model, cost, stock, value.
ListLines::Columns inventoryColumns();

// The shown filter of the inventory before (and, for the whole archive, after) reading.
QString inventoryAllProducts();

struct Inventory
{
    ListLines::PackedLines lines; // sorted
    double total = 0; // running total of the listed values
    bool complete = true;
    QString shownFilter; // titTipologia
};
// Lists the products whose type contains the filter (lower-case forms, the filter not
// trimmed), or every product when the trimmed filter is empty, adding up their stored
// values. A listed product whose value is not a number ends the reading there without
// its line: the lines before it and their total stay.
Inventory inventoryLines(Storage::Session &archive, const QString &filter);

// The reading of the inventory alone, for figures other than its lines: every product
// the inventory lists goes to take() with its stored value, in file order, and the same
// rule ends the reading. The total is the inventory's total to the last bit.
struct InventoryScan
{
    double total = 0;
    bool complete = true;
    QString shownFilter;
};
InventoryScan scanInventory(Storage::Session &archive, const QString &filter,
    const std::function<void(QByteArrayView productBytes, double value)> &take);
// The same asking the archive only for takeFields, the fields take() looks at, beside the
// ones the reading itself uses (empty: every field).
InventoryScan scanInventory(Storage::Session &archive, const QString &filter,
    const ListLines::Fields &takeFields,
    const std::function<void(QByteArrayView productBytes, double value)> &take);

// The total as the inventory shows it when complete: "€ " and the amount text rounded to
// four decimals ("€ 0,30" for 0,1 + 0,2).
QString inventoryTotalText(double total);

// Under-stock list (Magazzino.mrv): code, brand and model, cost, stock, note.
ListLines::Columns underStockColumns();

// A product is under stock when its stock is at most its minimum stock, both read with
// the decimal comma; nothing when either is not a number.
std::optional<bool> isUnderStock(QStringView stock, QStringView minimum);

// The products under stock, sorted. A product whose stock or minimum is not a number
// ends the reading there.
ListLines::Scan underStockLines(Storage::Session &archive);

// Movement summaries (Carico_<yyyy>.mrv / Scarico_<yyyy>.mrv): date, code, type, brand
// and model, quantity with "+" or "-", unit cost or price.
ListLines::Columns movementColumns(MovementRecord::Kind kind);

// The shown filter of a movement summary before any movement is read, and for all codes.
QString movementNoneRead();
QString movementAllCodes();

struct Movements
{
    ListLines::PackedLines lines; // file order
    bool complete = true;
    QString shownFilter; // titTipologia
};
// Lists, in file order, the movements dated from start to end (both included) whose code
// contains the filter (lower-case forms, the filter not trimmed; an empty code never
// does), or every movement of the interval when the trimmed filter is empty. A movement
// that must be checked against the interval and whose date is not a calendar date ends
// the reading there.
Movements movementLines(Storage::Session &archive, MovementRecord::Kind kind, const QString &filter,
    const QDate &start, const QDate &end);

// The reading of a movement summary alone: every movement the summary lists goes to
// take() with its position and its date, in file order, and the same rule ends the reading.
struct MovementScan
{
    bool complete = true;
    QString shownFilter;
};
MovementScan scanMovements(Storage::Session &archive, const QString &filter, const QDate &start,
    const QDate &end,
    const std::function<void(qint64 index, QByteArrayView movementBytes, QDate date)> &take);
// The same asking the archive only for takeFields, the fields take() looks at, beside the
// ones the reading itself uses (empty: every field).
MovementScan scanMovements(Storage::Session &archive, const QString &filter, const QDate &start,
    const QDate &end, const ListLines::Fields &takeFields,
    const std::function<void(qint64 index, QByteArrayView movementBytes, QDate date)> &take);

// "Dal   05/03/2021   al   09/03/2021".
QString intervalText(const QString &start, const QString &end);

// The lines printed after the list.
QStringList inventoryPrintExtra(const QString &shownTotal);
QStringList movementPrintExtra(const QString &shownInterval, const QString &shownCount);

} // namespace StockLists
