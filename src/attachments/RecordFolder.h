#pragma once
#include <QString>
#include <QStringView>

// The folder of a customer record: "Cliente_" and the record position, in the documents
// folder (the program folder unless the archives' settings name a folder several computers
// share). It is tied to the record by its position alone; nothing about it is stored.
namespace RecordFolder {

// The full path of the folder of the record at the trimmed position text, or an empty
// text when the position is not a positive whole number (so nothing outside the program
// folder can ever be named).
QString pathFor(QStringView positionText);

enum class Outcome {
    Ready, // the folder exists (created now or before) and can be listed
    CannotCreate, // it did not exist and could not be made (or a file has its name)
    CannotOpen // it exists but cannot be read
};

// Creates the folder with its missing parents (an existing one is left as it is) and
// tells whether it is there and readable.
Outcome prepare(const QString &path);

// The warnings shown when the folder is not Ready.
QString cannotCreateText(const QString &path);
QString cannotOpenText(const QString &path);

} // namespace RecordFolder
