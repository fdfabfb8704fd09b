#pragma once
#include "app/Notice.h"
#include "records/MovementRecord.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// The choice made on a movement summary selection screen: the calendar year, the day and
// month of the two ends of the interval. Pure logic: the checks in their order, the dates
// worked out and the message to show.
namespace SummarySelection {

// What makes the load and unload twins differ: their window caption, the prefix of the
// yearly file, the caption that explains the product code, the class names of the
// screens and the title of the printed list.
struct Twin
{
    MovementRecord::Kind kind;
    QString menuClass;
    QString listClass;
    QString caption;
    QString filePrefix;
    QString codeCaption; // lblCampo02
    QString printTitle; // followed by the shown filter
};
const Twin &twin(MovementRecord::Kind kind);

// "Gennaio" to "Dicembre" and "01" to "31", as the drop-down boxes offer them.
QStringList monthNames();
QStringList dayTexts();

// 1 to 12 for a month name (trimmed, compared in lower-case form), 0 for anything else.
int monthNumber(QStringView monthText);

// Day, "/", the two-digit month, "/", year, each trimmed ("05", "Marzo", "2021" give
// "05/03/2021"); empty when the month matches no name.
QString intervalDate(QStringView day, QStringView month, QStringView year);

// "Carico_" or "Scarico_" + year + ".mrv" in the program folder.
QString yearlyFilePath(const QString &prefix, const QString &year);

struct Choice
{
    QString year; // txtAnno as typed
    QString startYear; // lblAnnoInizio
    QString endYear; // lblAnnoFine
    QString startDay, startMonth, endDay, endMonth;
};

// Which control takes the focus after a failed check; Keep leaves it where it is.
enum class Focus { None, Anno, GiornoInizio, MeseInizio, GiornoFine, MeseFine, Keep };

struct Outcome
{
    bool ok = false;
    // The dates as worked out so far (lblDataInizio, lblDataFine): a date that does not
    // exist is still shown in its label.
    QString startDate;
    QString endDate;
    Notice notice; // a warning or a plain message; empty when the checks pass
    Focus focus = Focus::None;
};

// The checks of "Visualizza riepilogo" in order; the first that fails gives the outcome.
Outcome check(const Choice &choice);

// The year check alone, as the export does it: empty when the year has four characters.
QString yearMessage(const QString &year);

} // namespace SummarySelection
