#include "storage/Backup.h"

#include "storage/RecordFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace Backup {

namespace {

const QString kDayFormat = QStringLiteral("yyyy-MM-dd");

bool isDayFolder(const QString &name)
{
    static const QRegularExpression day(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return day.match(name).hasMatch();
}

// Removes the copies of all but the keep most recent days, and temporary folders left by
// a copy that was cut short.
void prune(const QDir &backups, const QString &todayName, int keep)
{
    QStringList days;
    const QStringList entries = backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : entries) {
        if (isDayFolder(name))
            days.append(name);
        else if (name.endsWith(QStringLiteral(".tmp"))
            && name != todayName + QStringLiteral(".tmp"))
            QDir(backups.filePath(name)).removeRecursively();
    }
    // Names of the form yyyy-mm-dd sort by date.
    days.sort();
    while (days.size() > keep)
        QDir(backups.filePath(days.takeFirst())).removeRecursively();
}

} // namespace

QStringList filesToCopy(const QString &programFolder)
{
    const QDir dir(programFolder);
    QStringList names = dir.entryList({ QStringLiteral("*.mrv"), QStringLiteral("*.mrv-journal"),
                                          QString::fromLatin1(kPasswordFileName) },
        QDir::Files | QDir::Hidden, QDir::Name);
    names.removeDuplicates();
    return names;
}

Result makeDaily(const QString &programFolder, const QDate &today, int keep)
{
    Result result;
    const QString dayName = today.toString(kDayFormat);
    const QDir program(programFolder);
    const QString backupsPath = program.filePath(QString::fromLatin1(kFolderName));
    const QDir backups(backupsPath);
    result.folder = backups.filePath(dayName);
    if (QFileInfo(result.folder).isDir()) {
        result.outcome = Result::Outcome::AlreadyDone;
        return result;
    }
    auto failed = [&](const QString &why) {
        result.outcome = Result::Outcome::Failed;
        result.error = why;
        return result;
    };
    if (!program.mkpath(backupsPath))
        return failed(QStringLiteral("impossibile creare la cartella ") + backupsPath);
    const QString work = backups.filePath(dayName + QStringLiteral(".tmp"));
    QDir(work).removeRecursively();
    if (!backups.mkpath(work))
        return failed(QStringLiteral("impossibile creare la cartella ") + work);
    const QStringList names = filesToCopy(programFolder);
    for (const QString &name : names) {
        QString why;
        if (!RecordFile::copyArchive(program.filePath(name), QDir(work).filePath(name), &why)) {
            QDir(work).removeRecursively();
            return failed(name + QStringLiteral(": ") + why);
        }
        result.copied.append(name);
    }
    RecordFile::syncFolder(work);
    if (!QDir().rename(work, result.folder)) {
        QDir(work).removeRecursively();
        return failed(QStringLiteral("impossibile rinominare ") + work);
    }
    RecordFile::syncFolder(backupsPath);
    prune(backups, dayName, keep);
    return result;
}

QString warningText()
{
    return QStringLiteral(
        "Attenzione: non è stato possibile eseguire la copia di sicurezza giornaliera degli "
        "archivi nella cartella Backup.\n\nVerificare lo spazio disponibile su disco e i "
        "privilegi di scrittura nella cartella di installazione del programma.");
}

} // namespace Backup
