#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

// Text forms of numbers, dates and times. Every value of the archives is text; these
// helpers read and write it with the decimal comma and dd/mm/yyyy, whatever the locale.

// The first / last n characters of text, or the whole text when it is shorter.
QString TextLeft(QStringView text, qsizetype n);
QString TextRight(QStringView text, qsizetype n);

// value rounded to n decimals, halves upward: floor(value * 10^n + 0.5) / 10^n.
double RoundDecimals(double value, int n);

// The number a text holds: blanks, optional sign, digits with an optional decimal comma,
// optional exponent (E or e, optional sign, digits), blanks. Anything else fails.
std::optional<double> TextToNumber(QStringView text);

// Shortest text of a number with at most 15 significant digits and a decimal comma;
// exponent form (1E20, 1,5E-6) from 10^15 upward and below 0,00001.
QString NumberToText(double value);

// Amount text ("0,00"; two to four decimals) of the number in text, rounded to n decimals.
QString FormatAmountText(QStringView text, int n);

// Count text ("0"; a whole number) of the number in text.
QString FormatCountText(QStringView text);

// Trims every leading and trailing character of code 32 or less.
QString TrimControl(QStringView text);
// The same as a view into text, for loops that must not allocate.
QStringView TrimControlView(QStringView text);

// The 26 letters A-Z / a-z changed case; every other character, accented ones included,
// stays as it is.
QString LowerAscii(QStringView text);
QString UpperAscii(QStringView text);

// The year part of a dd/mm/yyyy date: its last four characters.
QString YearOf(QStringView dateText);

// Today's date as dd/mm/yyyy and the current time as hh:mm:ss, from the program clock.
QString Today();
QString Now();
QString DateText(const QDate &date);

// A date read as day, month and year separated by slashes ("5/3/2021" and "05/03/2021"
// alike), or nothing when the text is not a real calendar date.
std::optional<QDate> DateFromText(QStringView text);

// True for a real calendar date written exactly dd/mm/yyyy (leap years included).
bool IsCalendarDate(QStringView text);

// The program clock: the system time, or a fixed moment set by tests.
namespace Clock {
QDateTime now();
void setFixed(const QDateTime &moment);
void reset();
} // namespace Clock
