#pragma once
#include <QString>

#include <functional>

class QWidget;

// A file the program writes for the user on a button ("Crea PDF" of a card, of the labels):
// written, then the question whether to open it; a file that cannot be written gets a
// warning naming it instead, and no question.
namespace Report {

// "Attenzione: impossibile salvare <what> nel file" with the file and what to do about it;
// what is e.g. "la scheda in PDF".
QString saveFailedText(const QString &what, const QString &path);

// Runs write(path); when it fails, the warning saveFailedText(what, path) and false. When
// it succeeds, asks done, where the file was written and "Si vuole aprire il file?", and on
// Sì opens the file through the shell (saying so when nothing could open it); true.
bool saveAndAsk(QWidget *parent, const QString &path, const QString &what, const QString &done,
    const std::function<bool(const QString &path)> &write);

} // namespace Report
