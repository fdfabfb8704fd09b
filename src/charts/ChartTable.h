#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What a chart shows, as plain data: its bars' labels and the numbers of each series, the
// lines written under it, and the texts of its axes. The charts screen draws it, prints it
// and writes it as a .csv file; every text and number form is made here, so the screen
// only places them.
namespace ChartTable {

enum class Unit {
    Pieces, // pieces of goods, whole or not: "1.234" or "2,5"
    Euro, // amounts: "1.234,56 €"
    Count // how many: "12"
};
enum class Plot { Bars, Line };

struct Series
{
    QString name; // legend and .csv column
    Unit unit = Unit::Pieces;
    Plot plot = Plot::Bars;
    QList<double> values; // one per label
};

struct Table
{
    QString title; // the chart's title, the printed page's and the PDF's
    QString labelHeader; // .csv heading of the labels: "Mese", "Tipologia", "Codice"
    QStringList labels; // one per bar or group of bars, in order
    QString textHeader; // an extra text column of the .csv ("Descrizione"), or empty
    QStringList texts; // its texts, one per label
    QList<Series> series;
    // Bars along the vertical axis, labels on the left (long names read better so).
    bool horizontal = false;
    QString summary; // the totals under the chart
    QString notice; // what the reader must know (a reading that stopped), or empty
    QString emptyText; // shown instead of the chart when there is nothing to draw
    bool empty = true;
};

// The .csv form: UTF-8 with a byte order mark (spreadsheets then read accents right), one
// heading line, then one line per label; fields separated by semicolons, lines ended by
// CR LF, numbers with the decimal comma and no thousands separator (amounts with two
// decimals), texts quoted only when they hold a semicolon, a quote or a line break.
QByteArray csv(const Table &table);

// Writes csv(table) to path, replacing the file only once it is complete; on failure the
// old file stays as it was and error holds the system's reason.
bool saveCsv(const QString &path, const Table &table, QString *error = nullptr);

// The labels of the category axis, all different: the labels as they are; on a horizontal
// chart each with its text, cut to 40 characters, and the bar's value ("PNEUMATICI
// (12.345,67 €)"), so that long names take the room of the labels, not of the bars.
QStringList axisLabels(const Table &table);

// "1.234,56 €", "-0,50 €": rounded to the cent, halves away from zero.
QString euroText(double amount);
// The number with a thousands point and a decimal comma, rounded to decimals places.
QString numberText(double value, int decimals);
// The text of a value in its unit, as the summaries and labels show it.
QString unitText(double value, Unit unit);

// A value axis: from min to max in steps of step (1, 2 or 5 times a power of ten), zero
// always included, with the labels at each step in the unit's form.
struct Scale
{
    double min = 0;
    double max = 1;
    double step = 1;
    int decimals = 0;
    QStringList labels; // min, min + step, ... max; all different
};
// At most maxTicks labels for values from low to high. Pieces and counts step by whole
// numbers. Infinite or not-a-number values count as zero.
Scale scale(double low, double high, Unit unit, int maxTicks = 7);

// The angle of the labels of a horizontal category axis so that neighbours never overlap
// and Qt Charts does not shorten them: 0 when the widest label fits its slot, -45 when it
// fits slanted, -90 (upright) otherwise. Widths and heights in the same units (pixels).
int labelAngle(double widestLabel, double lineHeight, double slotWidth);

// The font size and angle of such labels, measured at size: the size as it is when the
// widest label fits its slot side by side; else the size that makes it fit, down to
// minSize; else the size as it is at the angle labelAngle gives.
struct LabelFit
{
    double size = 0;
    int angle = 0;
};
LabelFit fitLabels(
    double widestLabel, double lineHeight, double slotWidth, double size, double minSize);

// Labels made different where equal ones would stand for different bars: the second
// "Altre" becomes "Altre (2)".
QStringList uniqueLabels(const QStringList &labels);

// The text cut to at most maxChars characters, the cut marked by "…".
QString elided(const QString &text, int maxChars);

} // namespace ChartTable
