#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// Printing of every list screen on the list template frxReport: the title, every line of
// the list in order, then the screen's extra lines, as one block that continues on as
// many landscape pages as it needs.
namespace ListReport {

// Prepares the report and shows the print dialog over parent; no preview. A cancelled
// dialog prints nothing and shows nothing.
void print(
    QWidget *parent, const QString &title, const QStringList &lines, const QStringList &extraLines);

// Writes the same report as a PDF file at path, without asking anything. On failure
// returns false and, when error is given, the reason.
bool exportPdf(const QString &title, const QStringList &lines, const QStringList &extraLines,
    const QString &path, QString *error = nullptr);

} // namespace ListReport
