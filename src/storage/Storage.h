#pragma once
#include "storage/Record.h"
#include "storage/RecordLayout.h"
#include "storage/SafeFile.h"
#include "storage/Session.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The archives as the program's screens and workflows reach them: opened by archive, read
// at an index, scanned, written at an index, appended to (Storage::Session). Nothing here
// says where the records live: the files of the program folder are the backend today
// (byte-compatible with earlier installations), and a database server can be another one
// behind the same calls.
namespace Storage {

// The folder of the program folder that keeps the attached documents when the archives
// live in the program folder.
inline constexpr char kDocumentsFolderName[] = "Documenti_Allegati";

// A copy of an archive to change at leisure (an import): it takes the archive's place
// whole, by commit(), or never. Dropped without commit() it is thrown away. While it
// exists no other copy of the program writes the archive (their saves wait, then say the
// archive is busy), so nothing saved meanwhile can be lost by the replacement.
class WorkingCopy : public Session
{
public:
    // Appends several whole records (a multiple of the record size) in one write.
    virtual bool appendBlock(const QByteArray &records) = 0;
    // Puts the copy in the archive's place; false (failure() says why) leaves the archive
    // exactly as it was.
    virtual bool commit() = 0;
};

// Where the archives live.
class Backend
{
public:
    virtual ~Backend() = default;
    // Nothing when the archive cannot be opened; error says why (and failure its kind).
    virtual std::unique_ptr<Session> open(
        const Archive &archive, Access access, QString *error, Failure *failure)
        = 0;
    // Runs work on the archive opened for writing, with no other copy writing it until
    // work returns: records read in work stay as read. Archives work opens meanwhile
    // belong to the same change (on a server, one transaction that work's false undoes;
    // the folder's files keep their own writes, and work puts back what it must).
    // False when the archive could not be opened or work returned false.
    virtual bool change(const Archive &held, const std::function<bool(Session &)> &work,
        QString *error, Failure *failure);
    // The names of the archives there are whose file names match one of the wildcard
    // patterns ("Carico_????.mrv"), sorted.
    virtual QStringList archiveNames(const QStringList &patterns) const = 0;
    // The archive holds records or exists empty (or something stands in its place that
    // cannot be opened as one).
    virtual bool exists(const Archive &archive) const;
    // Writes the archive as a file of records at path (byte for byte what the program
    // folder would hold), replacing it only when complete.
    virtual bool copyArchive(const Archive &archive, const QString &path, QString *error);
    // Copies every archive into folder (as copyArchive); copied gets the file names.
    virtual bool copyArchives(const QString &folder, QStringList *copied, QString *error) = 0;
    // Attached documents, known by plain names (the caller checks them). The defaults keep
    // them in the documents folder of the program folder.
    // Makes sure documents can be stored (the folder there, a folder indeed).
    virtual bool prepareDocuments();
    // Something is stored under the name.
    virtual bool documentExists(const QString &name) const;
    // Stores what writer writes under the name, replacing a document of that name only once
    // complete.
    virtual bool storeDocument(const QString &name, const SafeFile::Writer &writer, QString *error);
    // A file of this computer holding the document, to open or compare: the folder's own
    // file, or a copy made for the purpose; empty when there is none.
    virtual QString documentFile(const QString &name, QString *error) const;
    // A working copy of the archive; nothing, with error and failure, when it cannot be made.
    virtual std::unique_ptr<WorkingCopy> workingCopy(
        const Archive &archive, QString *error, Failure *failure)
        = 0;
};

// Opens an archive of the backend in use (the program folder's files unless one was set).
std::unique_ptr<Session> open(const Archive &archive, Access access = Access::ReadWrite,
    QString *error = nullptr, Failure *failure = nullptr);
// Opens a file of records the user chose by its path (a yearly register kept in another
// folder): a file, whatever the backend, unless the path names an archive of the program
// folder, which opens where the archives live.
std::unique_ptr<Session> openFile(const QString &path, const RecordLayout &layout,
    Access access = Access::ReadOnly, QString *error = nullptr, Failure *failure = nullptr);
// Opens the archive (or the file) for reading, runs work on it and closes it again; false,
// with the kind of failure in *failure when given, when it could not be opened (work is
// not run then).
bool read(
    const Archive &archive, const std::function<void(Session &)> &work, Failure *failure = nullptr);
bool readFile(const QString &path, const RecordLayout &layout,
    const std::function<void(Session &)> &work, Failure *failure = nullptr);
// The backend every open goes to from now on; nullptr returns to the program folder.
void setBackend(std::shared_ptr<Backend> backend);

// The program folder's files are the backend in use.
bool usesFolder();
// Copies the archive files of folder from (and the journals beside them) into folder to;
// copied gets their names.
bool copyFolderArchives(
    const QString &from, const QString &to, QStringList *copied, QString *error);

// The same calls on the backend in use (see Backend).
bool change(const Archive &held, const std::function<bool(Session &)> &work,
    QString *error = nullptr, Failure *failure = nullptr);
QStringList archiveNames(const QStringList &patterns);
bool exists(const Archive &archive);
bool copyArchive(const Archive &archive, const QString &path, QString *error = nullptr);
bool copyArchives(const QString &folder, QStringList *copied = nullptr, QString *error = nullptr);
std::unique_ptr<WorkingCopy> workingCopy(
    const Archive &archive, QString *error = nullptr, Failure *failure = nullptr);

bool prepareDocuments();
bool documentExists(const QString &name);
bool storeDocument(const QString &name, const SafeFile::Writer &writer, QString *error = nullptr);
QString documentFile(const QString &name, QString *error = nullptr);
// Where the program folder's backend keeps a document.
QString documentsFolder();

// Told true when a piece of work starts waiting for another copy of the program (or for a
// server) and false when the wait ends: the program shows a busy cursor meanwhile.
using WaitHook = std::function<void(bool waiting)>;
void setWaitHook(WaitHook hook);
// What a backend calls around such a wait.
void waiting(bool waiting);

// What the storage layer set right by itself since the last call (a journal set aside),
// for the user to read; emptied by the call.
QStringList takeNotices();

// The message a screen shows for a failure of this kind: archiveBusyText() when another
// copy of the program held the archive, accessErrorText() otherwise.
QString failureText(Failure failure);

} // namespace Storage
