#pragma once
#include "storage/Record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <span>

// One archive opened for a piece of work (a save, a list, a search, an export), closed when
// dropped: what every screen and workflow asks of an archive, whatever keeps the records
// (the files of the program folder today, a database server later).
// The message a card shows when its archive cannot be opened, read or written.
QString accessErrorText();
// The message shown when a save or a list gave up waiting for another copy of the program
// that holds the archive.
QString archiveBusyText();

namespace Storage {

enum class Access {
    ReadWrite, // cards: reading and saving
    ReadOnly // lists, searches, exports, browsing: works on archives one may only read
};

// Why the last call failed.
enum class Failure {
    None,
    Other, // the archive could not be opened, read or written
    Busy, // another copy of the program held the archive for the whole wait
    Conflict // a conditional write found the record changed since it was read
};

class Session
{
public:
    virtual ~Session() = default;

    virtual qint64 recordCount() const = 0;
    virtual bool readAt(qint64 index, Record &record) = 0;
    // The record's bytes exactly as stored, and such bytes written back whole: for putting
    // a record back as it was, bytes an older program left past a field's text included.
    virtual bool readAt(qint64 index, QByteArray &bytes) = 0;
    virtual bool writeAt(qint64 index, const QByteArray &bytes) = 0;
    // Every record from the first, in order: visit gets its index and its bytes in the
    // record layout (valid during the call only), and stops the scan by returning false.
    // fields names the fields the caller looks at (empty: all of them); a backend may leave
    // the others empty. False when reading failed before the end.
    using Visit = std::function<bool(qint64 index, QByteArrayView record)>;
    virtual bool scan(std::span<const int> fields, const Visit &visit) = 0;
    virtual bool writeAt(qint64 index, const Record &record) = 0;
    // The same, only when the stored record is still asRead; otherwise failure() is
    // Conflict and nothing is written. Compared where no other copy can write meanwhile.
    virtual bool writeAtIf(qint64 index, const Record &record, const Record &asRead) = 0;
    virtual bool append(const Record &record) = 0;

    virtual Failure failure() const = 0;
    virtual QString errorString() const = 0;
};

} // namespace Storage
