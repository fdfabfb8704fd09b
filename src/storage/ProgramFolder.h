#pragma once
#include <QString>

// The program folder: every archive, the password file, the attachments and the exported
// files live here. It is the folder of the executable unless a test points it elsewhere.
namespace ProgramFolder {
QString path();
// The full path of a plain file name inside the program folder.
QString filePath(const QString &fileName);
// Tests point the program at a temporary folder; an empty path returns to the default.
void setPath(const QString &folder);
} // namespace ProgramFolder
