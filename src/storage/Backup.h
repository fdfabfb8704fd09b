#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

// The daily copy of the archives: at the first start of a day the archives (*.mrv, with a
// rollback journal left by a crash) and the password file are copied into
// Backup/<yyyy-mm-dd>/ in the program folder; the copies of the last days are kept.
// Restoring is copying a day's files back into the program folder with the program closed.
namespace Backup {

inline constexpr int kDaysKept = 10;
inline constexpr char kFolderName[] = "Backup";
inline constexpr char kPasswordFileName[] = "unins000.dll";

struct Result
{
    enum class Outcome { Done, AlreadyDone, Failed };
    Outcome outcome = Outcome::Done;
    QString folder; // the day's folder
    QStringList copied; // file names
    QString error; // what failed, for the log; the user gets warningText()
};

// Makes today's copy unless there is one already, then removes the oldest days' copies
// beyond keep. The day's folder appears only whole: the files are copied into a
// temporary folder that is renamed at the end.
Result makeDaily(const QString &programFolder, const QDate &today, int keep = kDaysKept);

// The warning shown once when the day's copy could not be made.
QString warningText();

} // namespace Backup
