#pragma once
#include "report/CardContent.h"

#include <QString>

class QWidget;

// Printing, preview and PDF export of a card on the card template repScheda, for the
// product, customer and supplier cards.
namespace CardReport {

// The print dialog over parent; a cancelled dialog prints nothing and shows nothing.
void print(QWidget *parent, const CardContent &content);

// The preview window (print, zoom, full screen, close), modal over parent.
void preview(QWidget *parent, const CardContent &content);

// Writes the card as a PDF file at path, replacing it, without asking anything. The file
// appears only once complete. On failure returns false and, when error is given, an
// Italian explanation for the user.
bool exportPdf(const CardContent &content, const QString &path, QString *error = nullptr);

// The question asked once the PDF is written: it says where the file is and offers to
// open it.
QString doneText(const QString &path);

// The whole "Crea PDF" action of a card: writes ProgramFolder::filePath(fileName), then
// asks doneText() and on Sì opens it through the shell (saying so when nothing can open
// it). When the file cannot be written the user gets a warning saying so, and no question.
void exportPdfAndAsk(QWidget *parent, const CardContent &content, const QString &fileName);

} // namespace CardReport
