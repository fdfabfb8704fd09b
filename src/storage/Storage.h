#pragma once
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/RecordLayout.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <span>

// The archives as the program's screens and workflows reach them: opened by archive, read
// at an index, scanned, written at an index, appended to. Nothing here says where the
// records live: the files of the program folder are the backend today (byte-compatible with
// earlier installations), and a database server can be another one behind the same calls.
namespace Storage {

using Access = RecordFile::Access;
using Failure = RecordFile::Failure;

// One archive opened for a piece of work (a save, a list, a search), closed when dropped.
class Session
{
public:
    virtual ~Session() = default;

    virtual qint64 recordCount() const = 0;
    virtual bool readAt(qint64 index, Record &record) = 0;
    // Every record from the first, in order: visit gets its index and its bytes in the
    // record layout, and stops the scan by returning false. fields names the fields the
    // caller looks at (empty: all of them); a backend may leave the others empty. False
    // when reading failed before the end.
    using Visit = std::function<bool(qint64 index, QByteArrayView record)>;
    virtual bool scan(std::span<const int> fields, const Visit &visit) = 0;
    virtual bool writeAt(qint64 index, const Record &record) = 0;
    // The same, only when the stored record is still asRead; otherwise failure() is
    // Conflict and nothing is written. Compared where no other copy can write meanwhile.
    virtual bool writeAtIf(qint64 index, const Record &record, const Record &asRead) = 0;
    virtual bool append(const Record &record) = 0;

    // Why the last call failed.
    virtual Failure failure() const = 0;
    virtual QString errorString() const = 0;
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
};

// Opens an archive of the backend in use (the program folder's files unless one was set).
std::unique_ptr<Session> open(const Archive &archive, Access access = Access::ReadWrite,
    QString *error = nullptr, Failure *failure = nullptr);
// The backend every open goes to from now on; nullptr returns to the program folder.
void setBackend(std::shared_ptr<Backend> backend);

// The message a screen shows for a failure of this kind.
QString failureText(Failure failure);

} // namespace Storage
