#include "storage/SafeFile.h"

#include "storage/RecordFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace SafeFile {

bool replace(const QString &path, const Writer &writer, QString *error)
{
    using Step = RecordFile::IoStep;
    using Fault = RecordFile::IoFault;
    QSaveFile file(path);
    // Never written in place, even in a folder where a new file cannot be made.
    file.setDirectWriteFallback(false);
    auto failed = [&](const QString &why) {
        file.cancelWriting();
        if (error)
            *error = why;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    const bool written = writer(file);
    if (!written || file.error() != QFileDevice::NoError)
        return failed(file.error() != QFileDevice::NoError
                ? file.errorString()
                : QStringLiteral("scrittura incompleta"));
    switch (RecordFile::faultAt(Step::ReplaceWrite)) {
    case Fault::None:
        break;
    case Fault::Fail:
        return failed(QStringLiteral("errore di scrittura (Input/output error)"));
    case Fault::ShortWrite:
    case Fault::DiskFull:
        return failed(QStringLiteral("scrittura incompleta (No space left on device)"));
    }
    // The last buffered bytes are written here, where a failure is seen, not inside
    // commit(), where Qt 6.4 does not look at it.
    if (!file.flush())
        return failed(file.errorString());
    QString why;
    if (!RecordFile::syncToDisk(file, &why))
        return failed(why);
    if (RecordFile::faultAt(Step::ReplaceCommit) != Fault::None)
        return failed(QStringLiteral("impossibile sostituire il file (Input/output error)"));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // The rename itself lasts through a power cut once the folder is flushed; a folder
    // that cannot be flushed does not undo a file already complete on disk.
    RecordFile::syncFolder(QFileInfo(path).absolutePath());
    return true;
}

bool replace(const QString &path, const QByteArray &content, QString *error)
{
    return replace(
        path, [&content](QIODevice &out) { return out.write(content) == content.size(); }, error);
}

} // namespace SafeFile
