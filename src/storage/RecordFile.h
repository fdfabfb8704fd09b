#pragma once
#include "storage/Record.h"
#include "storage/Session.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

// A file of fixed-size records in the program folder. Records are addressed by 0-based
// index; a trailing partial record is not counted. Every operation returns false on
// failure (errorString() says why) and never throws. The file is open only between
// open() and close() (or destruction).
//
// Writes are safe against crashes, I/O errors and a second copy of the program:
// - every write holds an exclusive lock on the archive for its duration (a byte-range
//   lock far beyond the data, so readers are never blocked); an append takes the file
//   size again under the lock, so two copies never write at the same place;
// - a rewrite in place first saves the old bytes in a rollback journal beside the archive
//   ("<archive>-journal"), flushed with its folder; the record is then overwritten and
//   flushed and the journal deleted. Opening an archive that has a journal (a crash in
//   the middle of a rewrite), and every write once it holds the lock, puts the old record
//   back first, so a crashed copy's journal is never written over by another copy;
// - a journal names its archive and holds the old and the new bytes of the record: it is
//   applied only to that archive and only when the record holds nothing but those bytes.
//   Any other file found in its place (another archive's, damaged, of the wrong size, not
//   a regular file) is never applied nor read whole: it is renamed aside and a notice
//   says so (takeNotices());
// - false from append() or writeAt() means the file is as it was: a failed append is cut
//   back, a failed rewrite gets its old bytes back;
// - a record reported as saved has been flushed to disk, and a new file's folder too.
class RecordFile;
// The message for a failed open, read or write of file: archiveBusyText() when another
// copy held the archive, accessErrorText() otherwise.
QString accessErrorText(const RecordFile &file);

//
// It is the program folder's kind of Storage::Session: the screens reach it through
// Storage::open().
class RecordFile final : public Storage::Session
{
public:
    using Access = Storage::Access;
    using Failure = Storage::Failure;

    RecordFile() = default;
    ~RecordFile() override;
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Opens the archive's file inside the program folder at index 0, creating it empty
    // when missing. An existing file is never emptied: one that exists but cannot be
    // opened with the access asked is a failure.
    bool open(const Archive &archive, Access access = Access::ReadWrite);
    // The same for a file given by its full path (a yearly file the user chose, archives
    // outside the program folder in tests and benchmarks).
    bool openPath(
        const QString &path, const RecordLayout &layout, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    bool isReadOnly() const { return m_readOnly; }

    int recordSize() const { return m_recordSize; }
    qint64 recordCount() const override;
    // The index of the next record to be read or written.
    qint64 currentIndex() const { return m_index; }
    bool atEnd() const { return m_index >= recordCount(); }

    // Reads the record at index into bytes (recordSize() bytes). Afterwards the current
    // index is index + 1. Reading past the last whole record fails.
    bool readAt(qint64 index, QByteArray &bytes) override;
    bool readAt(qint64 index, Record &record) override;
    // Reads the record at the current index and advances: sequential reading in large
    // blocks, for scans of a whole archive.
    bool readNext(QByteArray &bytes);
    bool readNext(Record &record);
    // The same without a copy: the bytes of the record at the current index, straight from
    // the read block, valid until the next read or write; empty on failure.
    QByteArrayView nextRecord();
    // Points the sequential reading at a record; seek(0) starts over.
    void seek(qint64 index);
    // Every record from the first, straight from the read blocks (the fields asked for do
    // not matter: a record is read whole).
    bool scan(std::span<const int> fields, const Visit &visit) override;

    // Writes one whole record at index (at most the record count: no holes). Afterwards
    // the current index is index + 1.
    bool writeAt(qint64 index, const QByteArray &bytes) override;
    bool writeAt(qint64 index, const Record &record) override;
    // The same, only when unchanged says yes to the bytes on disk (the record the card
    // read is still there), asked under the lock: otherwise nothing is written and
    // failure() is Conflict.
    using StillAsRead = std::function<bool(QByteArrayView stored)>;
    bool writeAtIf(qint64 index, const QByteArray &bytes, const StillAsRead &unchanged);
    // Compared as records: bytes past a field's text that are not zeros (an older
    // program's) do not make the stored record another one.
    bool writeAtIf(qint64 index, const Record &record, const Record &asRead) override;
    // Writes one record after the last whole one; its index is recordCount() - 1 after.
    bool append(const QByteArray &bytes);
    bool append(const Record &record) override;
    // Appends several whole records (a multiple of recordSize() bytes) in one write and one
    // flush, for long operations that add many records: all of them are written, or none.
    bool appendBlock(const QByteArray &records);
    // For a working copy that takes an archive's place only once it is complete (a
    // rename): written records are not flushed one write at a time and a rewrite keeps no
    // journal (a crash leaves the archive as it was and the copy is thrown away); flush()
    // flushes them all before the copy is put in place.
    void setScratch() { m_scratch = true; }
    bool flush();

    // Why the last operation failed, beyond errorString()'s words.
    Failure failure() const override { return m_failure; }
    QString errorString() const override { return m_error; }
    QString filePath() const { return m_file.fileName(); }

    // Holds the writers' lock of the archive from now until unlockWriters() or close():
    // what is read meanwhile cannot change under the caller, and this file's own writes
    // do not take the lock again. For a change that reads records and writes them back
    // (with other files) as one.
    bool lockWriters();
    void unlockWriters();

    // The rollback journal of an archive.
    static QString journalPath(const QString &archivePath);
    // Copies a file (an archive, the password file) whole to a new file flushed to disk
    // (through SafeFile), keeping the archive's writers out meanwhile, so that no record is
    // copied half saved.
    // writersLocked: the caller holds the archive's writers' lock already.
    static bool copyArchive(const QString &from, const QString &to, QString *error = nullptr,
        bool writersLocked = false);
    // Puts the file from in the place of the file to in one step of the file system.
    static bool replaceFile(const QString &from, const QString &to);
    // Flushes a folder's list of names (a file created, renamed or deleted in it).
    static bool syncFolder(const QString &folder);
    // How long a write waits for another copy's lock before it gives up (5 s unless a test
    // says otherwise).
    static void setLockTimeout(int milliseconds);
    // Told true when a write starts waiting for another copy's lock and false when the wait
    // ends (the program shows a busy cursor meanwhile).
    using WaitHook = std::function<void(bool waiting)>;
    static void setWaitHook(WaitHook hook);
    // What the storage layer set right by itself since the last call (a journal renamed
    // aside), for the user to read; emptied by the call.
    static QStringList takeNotices();
    // Flushes a file's written bytes to the disk (fsync / FlushFileBuffers), asking the
    // fault hook at step first.
    static bool syncToDisk(QFileDevice &file, QString *error);

    // Test seam: the storage layer asks the hook before each step of a write and
    // simulates the fault it answers.
    enum class IoStep {
        OpenForWriting, // Fail: the archive may only be read (no rights, read-only share)
        ArchiveWrite,
        ArchiveFlush,
        JournalWrite,
        JournalFlush,
        // The steps of a whole-file replace (SafeFile)
        ReplaceWrite, // the content written into the new file
        ReplaceSync, // the new file flushed to disk
        ReplaceCommit // the new file renamed over the old one
    };
    enum class IoFault {
        None,
        Fail, // the call fails, nothing written
        ShortWrite, // part of the bytes written, then the call fails
        DiskFull // part of the bytes written, then no space left
    };
    using FaultHook = std::function<IoFault(IoStep)>;
    static void setFaultHook(FaultHook hook);
    // The hook's answer for a step (None without a hook).
    static IoFault faultAt(IoStep step);

    // Removes a file that holds no record, under the writers' lock (a yearly file whose
    // first movement failed); true when it was removed.
    static bool removeIfEmpty(const QString &path);

private:
    bool openPath(const QString &path, int recordSize, Access access);
    bool fail(const QString &what, Failure failure = Failure::Other);
    bool fillBlock();

    bool lock();
    bool refreshSize();
    // The file open is still the one the path names: not replaced whole (an import) while
    // this copy waited for the lock.
    bool stillAtPath();
    // writeAt (index) and append (no index, after the last record) in one: the checks,
    // the lock, the current size, then the write.
    bool write(std::optional<qint64> index, const QByteArray &bytes,
        const StillAsRead *unchanged = nullptr, bool block = false);
    bool appendLocked(const QByteArray &bytes);
    bool rewriteLocked(qint64 index, const QByteArray &bytes, const StillAsRead *unchanged);
    bool writeJournal(qint64 index, const QByteArray &oldBytes, const QByteArray &newBytes);
    bool removeJournal();
    bool rollBackJournal();
    // Applies or sets aside the journal found beside the archive; the lock is held.
    bool rollBackLocked(QFile &target);
    bool readRaw(qint64 offset, char *data, qint64 size);

    QFile m_file;
    bool m_readOnly = false;
    bool m_scratch = false;
    bool m_lockHeld = false;
    // The open made the file, and an append into it failed: unless another copy has filled
    // it meanwhile, close() removes it, so a failed first record leaves no empty archive.
    bool m_created = false;
    bool m_createdAppendFailed = false;
    int m_recordSize = 0;
    // The size of the file, taken at open and again under the lock of each write, so
    // that a scan does not ask the file system for it at every record.
    qint64 m_fileSize = 0;
    qint64 m_index = 0;
    // The file system's name of the file opened (device and inode where there are such).
    std::optional<std::pair<quint64, quint64>> m_identity;
    QString m_error;
    Failure m_failure = Failure::None;
    // Sequential reading: a block of whole records starting at m_blockFirst.
    QByteArray m_block;
    qint64 m_blockFirst = 0;
    qint64 m_blockCount = 0;
};
