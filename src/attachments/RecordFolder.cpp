#include "attachments/RecordFolder.h"

#include "app/ArchiveSettings.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFileInfo>

namespace RecordFolder {

QString pathFor(QStringView positionText)
{
    const QString position = TrimControl(positionText);
    bool ok = false;
    const qint64 n = position.toLongLong(&ok);
    if (!ok || n < 1 || position.startsWith(u'+') || position.startsWith(u'0'))
        return QString();
    // The customers' folders live in the documents folder of the settings (the program
    // folder unless a folder shared by several computers is set).
    return QDir(ArchiveSettings::documentsFolder()).filePath(QStringLiteral("Cliente_") + position);
}

Outcome prepare(const QString &path)
{
    if (path.isEmpty())
        return Outcome::CannotCreate;
    // mkpath also answers true for an existing folder; a file of the same name fails it.
    if (!QDir().mkpath(path) || !QFileInfo(path).isDir())
        return Outcome::CannotCreate;
    const QFileInfo info(path);
    if (!info.isReadable() || !info.isExecutable())
        return Outcome::CannotOpen;
    return Outcome::Ready;
}

QString cannotCreateText(const QString &path)
{
    return QStringLiteral("Attenzione: non è stato possibile creare la cartella abbinata alla "
                          "scheda corrente:\r\n\r\n")
        + QDir::toNativeSeparators(path)
        + QStringLiteral("\r\n\r\nAccertarsi di possedere i privilegi di scrittura nella cartella "
                         "di installazione del programma.");
}

QString cannotOpenText(const QString &path)
{
    return QStringLiteral("Attenzione: non è possibile aprire la cartella abbinata alla scheda "
                          "corrente:\r\n\r\n")
        + QDir::toNativeSeparators(path)
        + QStringLiteral("\r\n\r\nAccertarsi di possedere i privilegi di accesso alla cartella.");
}

} // namespace RecordFolder
