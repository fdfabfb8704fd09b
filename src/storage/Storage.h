#pragma once
#include "storage/Record.h"
#include "storage/RecordLayout.h"
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

// Where the archives live.
class Backend
{
public:
    virtual ~Backend() = default;
    // Nothing when the archive cannot be opened; error says why (and failure its kind).
    virtual std::unique_ptr<Session> open(
        const Archive &archive, Access access, QString *error, Failure *failure)
        = 0;
};

// Opens an archive of the backend in use (the program folder's files unless one was set).
std::unique_ptr<Session> open(const Archive &archive, Access access = Access::ReadWrite,
    QString *error = nullptr, Failure *failure = nullptr);
// Opens a file of records the user chose by its path (a yearly register kept in another
// folder): always a file, whatever the backend.
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

// What the storage layer set right by itself since the last call (a journal set aside),
// for the user to read; emptied by the call.
QStringList takeNotices();

// The message a screen shows for a failure of this kind: archiveBusyText() when another
// copy of the program held the archive, accessErrorText() otherwise.
QString failureText(Failure failure);

} // namespace Storage
