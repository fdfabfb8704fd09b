#include "storage/Backup.h"

#include "storage/RecordFile.h"
#include "storage/Storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace Backup {

namespace {

const QString kDayFormat = QStringLiteral("yyyy-MM-dd");

bool isDayFolder(const QString &name)
{
    static const QRegularExpression day(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    return day.match(name).hasMatch();
}

// A day's copy is made when its folder holds files; an empty one (a copy cut short by
// hand, a folder made by someone else) is not.
bool holdsCopy(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && !QDir(folder).isEmpty(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Removes the copies of all but the keep most recent days up to today, and temporary
// folders left by a copy cut short before yesterday. Folders dated after today (a clock set
// wrong once) are left alone and do not count: today's copy stays.
void prune(const QDir &backups, const QDate &today, int keep)
{
    const QString todayName = today.toString(kDayFormat);
    // Today's and yesterday's may be another copy's at work right now (one started just
    // before midnight).
    const QString yesterdayName = today.addDays(-1).toString(kDayFormat);
    QStringList days;
    const QStringList entries = backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : entries) {
        if (isDayFolder(name)) {
            if (name <= todayName)
                days.append(name);
        } else if (name.contains(QStringLiteral(".tmp")) && name < yesterdayName) {
            QDir(backups.filePath(name)).removeRecursively();
        }
    }
    // Names of the form yyyy-mm-dd sort by date.
    days.sort();
    while (days.size() > keep)
        QDir(backups.filePath(days.takeFirst())).removeRecursively();
}

} // namespace

Result makeDaily(const QString &programFolder, const QDate &today, int keep)
{
    Result result;
    const QString dayName = today.toString(kDayFormat);
    const QDir program(programFolder);
    const QString backupsPath = program.filePath(QString::fromLatin1(kFolderName));
    const QDir backups(backupsPath);
    result.folder = backups.filePath(dayName);
    if (holdsCopy(result.folder)) {
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
    // A temporary folder of this copy's own: two copies of the program started at once
    // each make theirs, and the first to finish gives the day its folder.
    const QString work = backups.filePath(dayName
        + QStringLiteral(".tmp-%1-%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    QDir(work).removeRecursively();
    if (!backups.mkpath(work))
        return failed(QStringLiteral("impossibile creare la cartella ") + work);
    // The archives (from the server when they live there), then the password file, which
    // stays on each computer.
    QString why;
    const bool archivesCopied = Storage::usesFolder()
        ? Storage::copyFolderArchives(programFolder, work, &result.copied, &why)
        : Storage::copyArchives(work, &result.copied, &why);
    if (!archivesCopied) {
        QDir(work).removeRecursively();
        return failed(why);
    }
    const QString password = program.filePath(QString::fromLatin1(kPasswordFileName));
    if (QFileInfo(password).isFile()) {
        if (!RecordFile::copyArchive(
                password, QDir(work).filePath(QString::fromLatin1(kPasswordFileName)), &why)) {
            QDir(work).removeRecursively();
            return failed(QString::fromLatin1(kPasswordFileName) + QStringLiteral(": ") + why);
        }
        result.copied.append(QString::fromLatin1(kPasswordFileName));
    }
    result.copied.sort();
    RecordFile::syncFolder(work);
    // An empty day folder is not a copy: it makes room for this one.
    if (QFileInfo(result.folder).isDir() && !holdsCopy(result.folder))
        QDir(result.folder).removeRecursively();
    if (!QDir().rename(work, result.folder)) {
        QDir(work).removeRecursively();
        // Another copy of the program made the day's folder meanwhile.
        if (holdsCopy(result.folder)) {
            result.outcome = Result::Outcome::AlreadyDone;
            result.copied.clear();
            return result;
        }
        return failed(QStringLiteral("impossibile rinominare ") + work);
    }
    RecordFile::syncFolder(backupsPath);
    prune(backups, today, keep);
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
