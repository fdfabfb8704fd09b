#include "storage/Storage.h"

#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"
#include "storage/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Storage {

namespace {

// What a failed open leaves for the caller.
std::unique_ptr<Session> opened(
    std::unique_ptr<RecordFile> file, bool ok, QString *error, Failure *failure)
{
    if (ok)
        return file;
    if (error)
        *error = file->errorString();
    if (failure)
        *failure = file->failure();
    return nullptr;
}

void say(QString *error, Failure *failure, const QString &why, Failure kind)
{
    if (error)
        *error = why;
    if (failure)
        *failure = kind;
}

// A working copy beside the archive ("<archive>.importazione"), a file of its own: its
// appends are flushed once, before it takes the archive's place, and its rewrites need no
// journal (a crash leaves the archive untouched and the copy is thrown away). The archive's
// writers' lock is held from the copy to the rename.
class FileWorkingCopy final : public WorkingCopy
{
public:
    bool make(const Archive &archive, QString *error, Failure *failure)
    {
        m_archivePath = ProgramFolder::filePath(archive.fileName);
        m_path = m_archivePath + QStringLiteral(".importazione");
        // Opening the archive for writing puts back a record left by a crash, and makes
        // sure it may be written at all.
        if (!m_archive.open(archive) || !m_archive.lockWriters()) {
            say(error, failure, m_archive.errorString(), m_archive.failure());
            return false;
        }
        // A working copy left by a copy cut short, and its journal, are thrown away.
        discard();
        QString why;
        if (!RecordFile::copyArchive(m_archivePath, m_path, &why, true)) {
            say(error, failure, why, Failure::Other);
            discard();
            return false;
        }
        if (!m_copy.openPath(m_path, *archive.layout)) {
            say(error, failure, m_copy.errorString(), m_copy.failure());
            discard();
            return false;
        }
        m_copy.setScratch();
        return true;
    }
    ~FileWorkingCopy() override
    {
        m_copy.close();
        if (!m_committed)
            discard();
    }

    qint64 recordCount() const override { return m_copy.recordCount(); }
    bool readAt(qint64 index, Record &record) override { return m_copy.readAt(index, record); }
    bool readAt(qint64 index, QByteArray &bytes) override { return m_copy.readAt(index, bytes); }
    bool writeAt(qint64 index, const QByteArray &bytes) override
    {
        return m_copy.writeAt(index, bytes);
    }
    bool scan(std::span<const int> fields, const Visit &visit) override
    {
        return m_copy.scan(fields, visit);
    }
    bool writeAt(qint64 index, const Record &record) override
    {
        return m_copy.writeAt(index, record);
    }
    bool writeAtIf(qint64 index, const Record &record, const Record &asRead) override
    {
        return m_copy.writeAtIf(index, record, asRead);
    }
    bool append(const Record &record) override { return m_copy.append(record); }
    bool appendBlock(const QByteArray &records) override { return m_copy.appendBlock(records); }
    // The copy's own failure, or the working file's.
    Failure failure() const override { return m_error.isEmpty() ? m_copy.failure() : m_failure; }
    QString errorString() const override
    {
        return m_error.isEmpty() ? m_copy.errorString() : m_error;
    }

    bool commit() override
    {
        if (!m_copy.flush())
            return fail(m_copy.errorString());
        m_copy.close();
#ifdef Q_OS_WIN
        // Windows replaces no file that is open, this one's lock included: a copy that
        // opens the archive from now on makes the replacement fail, never lost.
        m_archive.close();
#endif
        if (!RecordFile::replaceFile(m_path, m_archivePath))
            return fail(QStringLiteral("impossibile sostituire l'archivio"));
        m_committed = true;
        RecordFile::syncFolder(QFileInfo(m_archivePath).absolutePath());
        // Copies waiting for the lock find the archive replaced and try again.
        m_archive.close();
        return true;
    }

private:
    bool fail(const QString &why)
    {
        m_error = why;
        m_failure = Failure::Other;
        return false;
    }
    void discard()
    {
        QFile::remove(m_path);
        QFile::remove(RecordFile::journalPath(m_path));
    }

    RecordFile m_archive;
    RecordFile m_copy;
    QString m_archivePath;
    QString m_path;
    bool m_committed = false;
    QString m_error;
    Failure m_failure = Failure::None;
};

// The archives as files of the program folder.
class FileBackend final : public Backend
{
public:
    std::unique_ptr<Session> open(
        const Archive &archive, Access access, QString *error, Failure *failure) override
    {
        auto file = std::make_unique<RecordFile>();
        const bool ok = file->open(archive, access);
        return opened(std::move(file), ok, error, failure);
    }

    bool change(const Archive &held, const std::function<bool(Session &)> &work, QString *error,
        Failure *failure) override
    {
        // The writers' lock, held until work is done: no other copy writes in between.
        RecordFile file;
        if (!file.open(held) || !file.lockWriters()) {
            say(error, failure, file.errorString(), file.failure());
            return false;
        }
        return work(file);
    }

    QStringList archiveNames(const QStringList &patterns) const override
    {
        return QDir(ProgramFolder::path()).entryList(patterns, QDir::Files, QDir::Name);
    }

    bool exists(const Archive &archive) const override
    {
        // Anything in its place: a folder there is an archive that cannot be opened.
        return QFileInfo::exists(ProgramFolder::filePath(archive.fileName));
    }

    bool copyArchive(const Archive &archive, const QString &path, QString *error) override
    {
        if (!RecordFile::copyArchive(ProgramFolder::filePath(archive.fileName), path, error))
            return false;
        RecordFile::syncFolder(QFileInfo(path).absolutePath());
        return true;
    }

    bool copyArchives(const QString &folder, QStringList *copied, QString *error) override
    {
        return copyFolderArchives(ProgramFolder::path(), folder, copied, error);
    }

    std::unique_ptr<WorkingCopy> workingCopy(
        const Archive &archive, QString *error, Failure *failure) override
    {
        auto copy = std::make_unique<FileWorkingCopy>();
        if (!copy->make(archive, error, failure))
            return nullptr;
        return copy;
    }
};

std::shared_ptr<Backend> &backend()
{
    static std::shared_ptr<Backend> current;
    return current;
}

Backend &current()
{
    static FileBackend files;
    return backend() ? *backend() : static_cast<Backend &>(files);
}

WaitHook &waitHook()
{
    static WaitHook hook;
    return hook;
}

} // namespace

bool copyFolderArchives(const QString &from, const QString &to, QStringList *copied, QString *error)
{
    const QDir source(from);
    const QStringList names
        = source.entryList({ QStringLiteral("*.mrv"), QStringLiteral("*.mrv-journal") },
            QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        const QString path = source.filePath(name);
        const QString target = QDir(to).filePath(name);
        QString why;
        if (!RecordFile::copyArchive(path, target, &why)) {
            // A journal is gone as soon as its rewrite ends: then there is nothing of it to
            // copy, and the archive's copy (made under its lock) is whole.
            if (name.endsWith(QStringLiteral("-journal")) && !QFileInfo::exists(path)) {
                QFile::remove(target);
                continue;
            }
            if (error)
                *error = name + QStringLiteral(": ") + why;
            return false;
        }
        if (copied)
            copied->append(name);
    }
    RecordFile::syncFolder(to);
    return true;
}

bool usesFolder()
{
    return !backend();
}

bool Backend::change(const Archive &held, const std::function<bool(Session &)> &work,
    QString *error, Failure *failure)
{
    const std::unique_ptr<Session> session = open(held, Access::ReadWrite, error, failure);
    return session && work(*session);
}

bool Backend::exists(const Archive &archive) const
{
    return archiveNames({ archive.fileName }).contains(archive.fileName);
}

bool Backend::copyArchive(const Archive &archive, const QString &path, QString *error)
{
    QString why;
    Failure failure = Failure::None;
    const std::unique_ptr<Session> session = open(archive, Access::ReadOnly, &why, &failure);
    bool ok = session
        && SafeFile::replace(
            path,
            [&](QIODevice &out) {
                bool written = true;
                const bool read = session->scan({}, [&](qint64, QByteArrayView record) {
                    written = out.write(record.data(), record.size()) == record.size();
                    return written;
                });
                if (!read)
                    why = session->errorString();
                return read && written;
            },
            why.isEmpty() ? &why : nullptr);
    if (!ok && error)
        *error = why;
    return ok;
}

QString documentsFolder()
{
    return ProgramFolder::filePath(QString::fromLatin1(kDocumentsFolderName));
}

bool Backend::prepareDocuments()
{
    // mkpath also answers true when a file, not a folder, has the folder's name.
    return QDir().mkpath(documentsFolder()) && QFileInfo(documentsFolder()).isDir();
}

bool Backend::documentExists(const QString &name) const
{
    const QFileInfo target(QDir(documentsFolder()).filePath(name));
    // A dangling link still takes the name.
    return target.exists() || target.isSymLink();
}

bool Backend::storeDocument(const QString &name, const SafeFile::Writer &writer, QString *error)
{
    // Never written in place: the old file is replaced only by a whole copy on disk.
    return SafeFile::replace(QDir(documentsFolder()).filePath(name), writer, error);
}

QString Backend::documentFile(const QString &name, QString *) const
{
    return QDir(documentsFolder()).filePath(name);
}

bool prepareDocuments()
{
    return current().prepareDocuments();
}

bool documentExists(const QString &name)
{
    return current().documentExists(name);
}

bool storeDocument(const QString &name, const SafeFile::Writer &writer, QString *error)
{
    return current().storeDocument(name, writer, error);
}

QString documentFile(const QString &name, QString *error)
{
    return current().documentFile(name, error);
}

std::unique_ptr<Session> open(
    const Archive &archive, Access access, QString *error, Failure *failure)
{
    return current().open(archive, access, error, failure);
}

bool change(const Archive &held, const std::function<bool(Session &)> &work, QString *error,
    Failure *failure)
{
    return current().change(held, work, error, failure);
}

QStringList archiveNames(const QStringList &patterns)
{
    return current().archiveNames(patterns);
}

bool exists(const Archive &archive)
{
    return current().exists(archive);
}

bool copyArchive(const Archive &archive, const QString &path, QString *error)
{
    return current().copyArchive(archive, path, error);
}

bool copyArchives(const QString &folder, QStringList *copied, QString *error)
{
    return current().copyArchives(folder, copied, error);
}

std::unique_ptr<WorkingCopy> workingCopy(const Archive &archive, QString *error, Failure *failure)
{
    return current().workingCopy(archive, error, failure);
}

void setWaitHook(WaitHook hook)
{
    waitHook() = hook;
    RecordFile::setWaitHook(std::move(hook));
}

void waiting(bool waiting)
{
    if (waitHook())
        waitHook()(waiting);
}

std::unique_ptr<Session> openFile(const QString &path, const RecordLayout &layout, Access access,
    QString *error, Failure *failure)
{
    // An archive of the program folder lives where the archives live.
    const QFileInfo info(path);
    if (backend() && info.absolutePath() == QFileInfo(ProgramFolder::path()).absoluteFilePath())
        return backend()->open(Archive { info.fileName(), &layout }, access, error, failure);
    auto file = std::make_unique<RecordFile>();
    const bool ok = file->openPath(path, layout, access);
    return opened(std::move(file), ok, error, failure);
}

bool read(const Archive &archive, const std::function<void(Session &)> &work, Failure *failure)
{
    const std::unique_ptr<Session> session = open(archive, Access::ReadOnly, nullptr, failure);
    if (!session)
        return false;
    work(*session);
    return true;
}

bool readFile(const QString &path, const RecordLayout &layout,
    const std::function<void(Session &)> &work, Failure *failure)
{
    const std::unique_ptr<Session> session
        = openFile(path, layout, Access::ReadOnly, nullptr, failure);
    if (!session)
        return false;
    work(*session);
    return true;
}

void setBackend(std::shared_ptr<Backend> backend)
{
    Storage::backend() = std::move(backend);
}

QStringList takeNotices()
{
    return RecordFile::takeNotices();
}

QString failureText(Failure failure)
{
    return failure == Failure::Busy ? archiveBusyText() : accessErrorText();
}

} // namespace Storage
