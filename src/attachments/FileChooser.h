#pragma once
#include <QString>

#include <functional>

class QFileDialog;

// Every file open dialog of the program is shown through here, so tests can choose the file
// instead of a user: a chooser installed by a test receives the dialog as the screen set it
// up (title, filters) and returns the full path chosen, or an empty text for Annulla.
namespace FileChooser {

// Shows dialog modally; the full path of the file chosen, or empty when cancelled.
QString chooseFile(QFileDialog *dialog);

using Chooser = std::function<QString(QFileDialog *)>;
// An empty function brings the real dialog back.
void setChooser(Chooser chooser);

} // namespace FileChooser
