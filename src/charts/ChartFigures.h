#pragma once
#include "charts/ChartTable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace Storage {
class Session;
}

// The figures of the charts, read from the archives as the lists read them, so that a
// chart and its list never disagree: the inventory (StockLists::scanInventory) and the due
// list (DueList::read) by their own readings, the yearly movement files straight from
// their record bytes by the rules of the movement summaries (StockLists::scanMovements),
// with no text made per movement. A record that stops a list's reading stops the chart's
// there too.
namespace ChartFigures {

// The four charts, in the order cboGrafico offers them.
enum class Kind { Movements, ValueByType, TopUnloaded, Instalments };
// Their names in cboGrafico.
QStringList kindNames();
// Whether a chart is of one calendar year (cboAnno).
bool usesYear(Kind kind);
// The chart shown first when the charts screen is opened from a screen of that class.
Kind firstKindFor(const QString &openerClass);

// One month of a yearly movement file: the movements the summary of that month lists
// (every code, first to last day), their pieces and value (pieces times the stored unit
// cost of a load or unit price of an unload).
struct MonthFigure
{
    qint64 movements = 0;
    double pieces = 0;
    double value = 0;
};
struct MonthlyMovements
{
    std::array<MonthFigure, 12> months {};
    bool complete = true; // false: a movement without a readable date ended the reading
    // Listed movements whose quantity or amount is not a number: counted as movements,
    // left out of the pieces (quantity) or of the value (either).
    qint64 unreadable = 0;
};
MonthlyMovements monthlyMovements(Storage::Session &file, int year);

// The inventory's value by Tipologia. Types are one when their trimmed texts differ only in
// the case of the letters A-Z; the first spelling met names it; an empty type is named
// "Senza tipologia".
struct TypeValue
{
    QString type;
    double value = 0;
    qint64 products = 0;
};
struct ValueByType
{
    QList<TypeValue> types; // largest value first; equal values by name
    double total = 0; // the inventory's total, summed as the inventory sums it
    bool complete = true; // false: a product whose value is not a number ended the reading
};
ValueByType valueByType(Storage::Session &products);
// At most maxBars bars: the largest maxBars - 1 types and "Altre" for the rest together.
QList<TypeValue> withOthers(const QList<TypeValue> &types, int maxBars = 10);

// The product codes with the most pieces unloaded in the year (the movements the summary
// of the whole year lists; movements without a code left out), largest first, equal
// pieces by code in the lists' order (codes differing only in the case of their letters in
// the order they were first met); the description is the brand and model of the code's
// last movement.
struct Unloaded
{
    QString code;
    QString description;
    double pieces = 0;
};
struct TopUnloaded
{
    QList<Unloaded> products;
    bool complete = true;
    qint64 unreadable = 0; // movements whose quantity is not a number, left out
    qint64 movements = 0; // movements with a code read in the year
};
TopUnloaded topUnloaded(Storage::Session &unloads, int year, int count = 10);

// The customers' next instalments (Scadenza and Rata) falling due from today to the last
// day of the eleventh month after today's, by month.
struct MonthDue
{
    QDate month; // its first day
    qint64 instalments = 0;
    double amount = 0;
};
struct InstalmentsAhead
{
    std::array<MonthDue, 12> months {};
    bool complete = true; // false: a customer the due list cannot test ended the reading
    qint64 unreadable = 0; // instalments whose Rata is not a number: counted, not summed
};
InstalmentsAhead instalmentsAhead(Storage::Session &customers, const QDate &today);

// The years that have a load or unload archive, newest first ("2026", "2025").
QStringList movementYears();

// The tables the screen draws.
ChartTable::Table movementsTable(
    const MonthlyMovements &loads, const MonthlyMovements &unloads, int year);
ChartTable::Table valueTable(const ValueByType &value);
ChartTable::Table topUnloadedTable(const TopUnloaded &top, int year);
ChartTable::Table instalmentsTable(const InstalmentsAhead &ahead);

// A chart read from the archives of the program folder: the files are opened for reading
// only, and a yearly file that does not exist is a year without those movements (it is
// not created). error holds the message to show when an archive cannot be opened.
struct Reading
{
    ChartTable::Table table;
    QString error;
};
Reading read(Kind kind, const QString &year, const QDate &today);

} // namespace ChartFigures
