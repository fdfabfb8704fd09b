#pragma once
#include "import/SheetRows.h"
#include "storage/ArchiveId.h"
#include "storage/Record.h"
#include "storage/RecordLayout.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The archives an import fills, their importable fields, the matching of a file's column
// headers to them, and the conversion of a row of the file into a record exactly as the
// card would store it after the same values were typed in and Salva pressed.
namespace ImportFields {

enum class Target { Products, Customers, Suppliers };

// How a field's value is read and stored, after the card's own field rules.
enum class Kind {
    Text, // trimmed
    Upper, // trimmed, letters a-z upper case (tax codes, IBAN, provinces)
    Digits, // digits only (the card lets nothing else be typed)
    Amount, // a number with the card's decimals
    Count, // a whole number
    Date, // dd/mm/yyyy
    YesNo // "Sì" or "No" (a check box)
};

struct Field
{
    int index = -1; // the field of the record layout
    QString name; // the field name (Codice)
    QString caption; // what the mapping grid shows
    Kind kind = Kind::Text;
    QStringList names; // normalised headers that match the field
    QStringList fallbackNames; // matched only when no column matches names
};

// The import target of one of the program's archives; nothing for the movement registers,
// which are written by the loads and unloads only.
std::optional<Target> targetOf(ArchiveId archive);
ArchiveId archiveIdOf(Target target);

const Archive &archiveOf(Target target);
const RecordLayout &layoutOf(Target target);
// The screen class of the card of the archive (for texts that name it).
QString archiveTitle(Target target);

// The importable fields in record order (the attachment fields are not among them).
const QList<Field> &fields(Target target);

// A header reduced for comparison: accents removed, lower case, only letters and digits.
QString normalise(QStringView header);

// For each field of fields(target), the column of headers it matches, or -1.
QList<int> matchHeaders(Target target, const QStringList &headers);

// True when the first row reads as the column names: one of its texts matches a field, or
// it holds text only while the second row holds a number or a date.
bool looksLikeHeader(Target target, const SheetRows::Row &first, const SheetRows::Row *second);

// The values of a cell read as an amount: "1.234,56", "1234,56", "1234.56", "€ 12",
// spreadsheet numbers. Nothing when it is no number.
std::optional<double> parseAmount(QStringView text);
// dd/mm/yyyy (one-digit day and month too), yyyy-mm-dd, dd.mm.yyyy, dd-mm-yyyy.
std::optional<QDate> parseDate(QStringView text);
// A spreadsheet's day number (1900 system: 1 = 1 January 1900 as the programs count it).
std::optional<QDate> dateFromSerial(double serial);

// A problem of one cell (field >= 0) or of the whole row (field -1). A blocking problem
// keeps the row out of the archive; the others are stored as the archive can hold them
// (cut, characters replaced) when the user imports anyway.
struct Problem
{
    int field = -1; // index into fields(target), or -1
    QString reason;
    bool blocking = false;
};

struct Converted
{
    Record record;
    QList<Problem> problems;
    bool rejected() const;
    QString rejection() const; // the first blocking reason
};

// The record a row gives: base is the record already in the archive (an update: only the
// mapped fields change) or nullptr (a new card, with a new card's empty values).
// mapping holds, for each field of fields(target), its column in the row or -1.
Converted convertRow(
    Target target, const QList<int> &mapping, const SheetRows::Row &row, const Record *base);

// The text by which a record is found again in the archive: products by Codice, customers
// by CodFisc when filled (otherwise surname, name and phone), suppliers by PartitaIva when
// filled (otherwise company name); trimmed and case-insensitive. Empty: no key.
QString duplicateKey(Target target, const Record &record);

} // namespace ImportFields
