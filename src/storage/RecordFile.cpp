#include "storage/RecordFile.h"

#include "storage/ProgramFolder.h"
#include "storage/SafeFile.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QThread>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// Sequential reads fetch this many bytes at a time, rounded down to whole records: a scan
// of a whole archive costs less CPU in blocks of 1 MiB than of 256 KiB (measured), and
// no more beyond.
constexpr qint64 kBlockBytes = 1024 * 1024;

// The byte that writers lock: far beyond any archive, so that the lock never covers data
// (on Windows a locked range cannot be read by other handles).
constexpr qint64 kLockOffset = qint64(1) << 40;

int g_lockTimeoutMs = 5000;
RecordFile::FaultHook g_faultHook;
RecordFile::WaitHook g_waitHook;
QStringList g_notices;

RecordFile::IoFault faultAt(RecordFile::IoStep step)
{
    return RecordFile::faultAt(step);
}

// The journal: a tag, the record size, the index, the archive's file name (its length and
// its UTF-8 bytes), the old bytes, the new bytes and a checksum of all before it. A
// journal cut short by a crash has the wrong size: then the overwrite had not begun,
// since it starts only after the journal is on disk.
constexpr char kJournalTag[8] = { 'M', 'R', 'V', 'J', 'R', 'N', 'L', '2' };
constexpr int kJournalHeader = 8 + 4 + 8 + 2;

quint32 crc32(const char *data, qint64 size)
{
    quint32 crc = 0xFFFFFFFFu;
    for (qint64 i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

struct Journal
{
    qint64 index = -1;
    QByteArray oldBytes;
    QByteArray newBytes;
};

// The name a journal carries: the archive's file name, without its folder (a restored or
// moved program folder keeps its journals).
QByteArray journalName(const QString &archivePath)
{
    return QFileInfo(archivePath).fileName().toUtf8().left(0xFFFF);
}

// The exact size of a journal of this archive.
qint64 journalSize(const QString &archivePath, int recordSize)
{
    return kJournalHeader + journalName(archivePath).size() + 2 * qint64(recordSize) + 4;
}

QByteArray encodeJournal(const QString &archivePath, qint64 index, const QByteArray &oldBytes,
    const QByteArray &newBytes)
{
    const QByteArray name = journalName(archivePath);
    QByteArray out(kJournalHeader, Qt::Uninitialized);
    std::memcpy(out.data(), kJournalTag, 8);
    qToLittleEndian<quint32>(quint32(oldBytes.size()), out.data() + 8);
    qToLittleEndian<quint64>(quint64(index), out.data() + 12);
    qToLittleEndian<quint16>(quint16(name.size()), out.data() + 20);
    out += name;
    out += oldBytes;
    out += newBytes;
    char sum[4];
    qToLittleEndian<quint32>(crc32(out.constData(), out.size()), sum);
    out.append(sum, 4);
    return out;
}

// Nothing when the bytes are not a whole journal of this archive and record size.
std::optional<Journal> decodeJournal(
    const QByteArray &bytes, const QString &archivePath, int recordSize)
{
    const QByteArray name = journalName(archivePath);
    if (bytes.size() != journalSize(archivePath, recordSize)
        || std::memcmp(bytes.constData(), kJournalTag, 8))
        return std::nullopt;
    const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + 8);
    const quint64 index = qFromLittleEndian<quint64>(bytes.constData() + 12);
    const quint16 nameSize = qFromLittleEndian<quint16>(bytes.constData() + 20);
    if (qint64(size) != recordSize || nameSize != name.size()
        || bytes.mid(kJournalHeader, nameSize) != name || index > quint64(1) << 40)
        return std::nullopt;
    const quint32 sum = qFromLittleEndian<quint32>(bytes.constData() + bytes.size() - 4);
    if (sum != crc32(bytes.constData(), bytes.size() - 4))
        return std::nullopt;
    const qsizetype first = kJournalHeader + nameSize;
    return Journal { qint64(index), bytes.mid(first, size), bytes.mid(first + size, size) };
}

// True when bytes are the beginning of a journal of this archive, cut short: as far as
// they go, the tag, the record size, the index and the archive's name are this archive's.
bool isCutShortJournal(const QByteArray &bytes, const QString &archivePath, int recordSize)
{
    QByteArray head(kJournalHeader, '\0');
    std::memcpy(head.data(), kJournalTag, 8);
    qToLittleEndian<quint32>(quint32(recordSize), head.data() + 8);
    const QByteArray name = journalName(archivePath);
    qToLittleEndian<quint16>(quint16(name.size()), head.data() + 20);
    // The index (bytes 12 to 19) may be any.
    for (qsizetype i = 0; i < bytes.size() && i < kJournalHeader; ++i) {
        if ((i < 12 || i >= 20) && bytes[i] != head[i])
            return false;
    }
    const QByteArray named = bytes.mid(kJournalHeader, name.size());
    return name.startsWith(named);
}

// True when every byte of the record is the old or the new byte at its place: the record
// is this journal's, whole or torn by a crash in the middle of the overwrite.
bool madeOf(const QByteArray &record, const Journal &journal)
{
    for (qsizetype i = 0; i < record.size(); ++i) {
        if (record[i] != journal.oldBytes[i] && record[i] != journal.newBytes[i])
            return false;
    }
    return true;
}

// A journal is there, even as a dangling link.
bool journalPresent(const QString &journal)
{
    const QFileInfo info(journal);
    return info.exists() || info.isSymLink();
}

QString shortWriteText(qint64 done, qint64 size)
{
    return QStringLiteral("scrittura incompleta: %1 byte scritti su %2").arg(done).arg(size);
}

// Writes all of data at offset, going on after a partial write (whose cause the next
// call reports, such as a full disk). On failure error says why.
bool writeAll(QFile &file, qint64 offset, const char *data, qint64 size, RecordFile::IoStep step,
    QString &error)
{
    if (!file.seek(offset)) {
        error = file.errorString();
        return false;
    }
    const RecordFile::IoFault fault = faultAt(step);
    if (fault == RecordFile::IoFault::Fail) {
        error = QStringLiteral("errore di scrittura (Input/output error)");
        return false;
    }
    const bool partial
        = fault == RecordFile::IoFault::ShortWrite || fault == RecordFile::IoFault::DiskFull;
    const qint64 limit = partial ? size / 2 : size;
    qint64 done = 0;
    while (done < limit) {
        const qint64 n = file.write(data + done, limit - done);
        if (n < 0) {
            const QString why = file.errorString();
            error = shortWriteText(done, size) + QStringLiteral(" (") + why + QLatin1Char(')');
            return false;
        }
        if (n == 0) {
            error = shortWriteText(done, size);
            return false;
        }
        done += n;
    }
    if (fault == RecordFile::IoFault::ShortWrite) {
        error = shortWriteText(done, size);
        return false;
    }
    if (fault == RecordFile::IoFault::DiskFull) {
        error = shortWriteText(done, size) + QStringLiteral(" (No space left on device)");
        return false;
    }
    return true;
}

// Flushes a file to the disk (fsync / FlushFileBuffers).
bool syncFile(QFileDevice &file, RecordFile::IoStep step, QString &error)
{
    if (faultAt(step) != RecordFile::IoFault::None) {
        error = QStringLiteral("impossibile scrivere su disco (Input/output error)");
        return false;
    }
    bool ok = file.flush();
#ifdef Q_OS_WIN
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    ok = ok && h != INVALID_HANDLE_VALUE && FlushFileBuffers(h);
#else
    ok = ok && ::fsync(file.handle()) == 0;
#endif
    if (!ok)
        error = QStringLiteral("impossibile scrivere su disco (%1)")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return ok;
}

// Flushes a folder's list of names, so that a file created or deleted in it stays so
// after a power cut. NTFS keeps its folders in its own journal: nothing to do there.
bool syncFolderOf(const QString &filePath)
{
#ifdef Q_OS_WIN
    Q_UNUSED(filePath);
    return true;
#else
    const QByteArray dir = QFile::encodeName(QFileInfo(filePath).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int rc = ::fsync(fd);
    // Some file systems (network shares among them) cannot flush a folder.
    if (rc != 0 && (errno == EINVAL || errno == ENOTSUP || errno == EROFS))
        rc = 0;
    ::close(fd);
    return rc == 0;
#endif
}

// This program's writes to each archive file, by path: counted so that a rewrite in the
// same tick of the file system's clock as the one before still changes the file's stamp.
QMutex g_writesMutex;
QHash<QString, quint64> g_writes;

void countWrite(const QString &path)
{
    const QMutexLocker locker(&g_writesMutex);
    ++g_writes[path];
}

quint64 writesTo(const QString &path)
{
    const QMutexLocker locker(&g_writesMutex);
    return g_writes.value(path);
}

qint64 nativeSize(QFile &file)
{
#ifdef Q_OS_WIN
    LARGE_INTEGER size;
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (h == INVALID_HANDLE_VALUE || !GetFileSizeEx(h, &size))
        return -1;
    return size.QuadPart;
#else
    struct stat st;
    if (::fstat(file.handle(), &st) != 0)
        return -1;
    return st.st_size;
#endif
}

enum class LockResult { Locked, Busy, Unsupported, Failed };

#ifndef Q_OS_WIN
// The one byte that writers lock.
struct flock lockRange(short type)
{
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(kLockOffset);
    fl.l_len = 1;
    return fl;
}
#endif

// One try at the writers' lock on an open file; shared for a copy that only reads, which
// keeps writers out but not other readers.
LockResult tryLock(QFile &file, bool shared = false)
{
#ifdef Q_OS_WIN
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    OVERLAPPED ov {};
    ov.Offset = DWORD(kLockOffset & 0xFFFFFFFF);
    ov.OffsetHigh = DWORD(kLockOffset >> 32);
    const DWORD flags = (shared ? 0 : LOCKFILE_EXCLUSIVE_LOCK) | LOCKFILE_FAIL_IMMEDIATELY;
    if (LockFileEx(h, flags, 0, 1, 0, &ov))
        return LockResult::Locked;
    const DWORD err = GetLastError();
    if (err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING)
        return LockResult::Busy;
    if (err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION)
        return LockResult::Unsupported;
    return LockResult::Failed;
#else
    const short type = shared ? F_RDLCK : F_WRLCK;
    struct flock fl = lockRange(type);
    // Locks of the open file itself where the system has them: a plain POSIX lock belongs
    // to the process and goes away when any descriptor of the file is closed (a backup
    // copying the archive, another list of the same process).
#ifdef F_OFD_SETLK
    int rc = ::fcntl(file.handle(), F_OFD_SETLK, &fl);
    if (rc != 0 && errno == EINVAL) {
        fl = lockRange(type);
        rc = ::fcntl(file.handle(), F_SETLK, &fl);
    }
#else
    const int rc = ::fcntl(file.handle(), F_SETLK, &fl);
#endif
    if (rc == 0)
        return LockResult::Locked;
    if (errno == EACCES || errno == EAGAIN || errno == EINTR)
        return LockResult::Busy;
    if (errno == ENOLCK || errno == ENOSYS || errno == EOPNOTSUPP)
        return LockResult::Unsupported;
    return LockResult::Failed;
#endif
}

void releaseLock(QFile &file)
{
#ifdef Q_OS_WIN
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    OVERLAPPED ov {};
    ov.Offset = DWORD(kLockOffset & 0xFFFFFFFF);
    ov.OffsetHigh = DWORD(kLockOffset >> 32);
    UnlockFileEx(h, 0, 1, 0, &ov);
#else
    struct flock fl = lockRange(F_UNLCK);
#ifdef F_OFD_SETLK
    if (::fcntl(file.handle(), F_OFD_SETLK, &fl) == 0)
        return;
    fl = lockRange(F_UNLCK);
#endif
    ::fcntl(file.handle(), F_SETLK, &fl);
#endif
}

// Tells the wait hook that a wait for the lock began, and that it ended when it goes.
class WaitNotice
{
public:
    void begin()
    {
        if (!m_waiting && g_waitHook)
            g_waitHook(true);
        m_waiting = true;
    }
    ~WaitNotice()
    {
        if (m_waiting && g_waitHook)
            g_waitHook(false);
    }

private:
    bool m_waiting = false;
};

// Waits up to the lock timeout for the writers' lock. A file system without locks (some
// network shares) is written without one, as before locks existed. busy says that another
// copy held it for the whole wait.
bool acquireLock(QFile &file, QString &error, bool &busy, bool shared = false)
{
    busy = false;
    QDeadlineTimer deadline(g_lockTimeoutMs);
    WaitNotice wait;
    for (;;) {
        switch (tryLock(file, shared)) {
        case LockResult::Locked:
        case LockResult::Unsupported:
            return true;
        case LockResult::Failed:
            error = QStringLiteral("impossibile bloccare l'archivio per la scrittura");
            return false;
        case LockResult::Busy:
            break;
        }
        if (deadline.hasExpired()) {
            error = QStringLiteral("l'archivio è in uso da un'altra copia del programma");
            busy = true;
            return false;
        }
        wait.begin();
        QThread::msleep(10);
    }
}

// Holds the writers' lock for a scope.
class LockGuard
{
public:
    explicit LockGuard(QFile &file)
        : m_file(file)
    {
    }
    bool acquire(QString &error, bool shared = false)
    {
        m_held = acquireLock(m_file, error, m_busy, shared);
        return m_held;
    }
    // The lock was not had because another copy held it.
    bool busy() const { return m_busy; }
    ~LockGuard()
    {
        if (m_held)
            releaseLock(m_file);
    }
    LockGuard(const LockGuard &) = delete;
    LockGuard &operator=(const LockGuard &) = delete;

private:
    QFile &m_file;
    bool m_held = false;
    bool m_busy = false;
};

} // namespace

namespace {

// What names the file at path now (nothing when nothing does).
std::optional<std::pair<quint64, quint64>> fileIdentity(const QString &path)
{
#ifndef Q_OS_WIN
    struct stat named;
    if (::stat(QFile::encodeName(path).constData(), &named) != 0)
        return std::nullopt;
    return std::make_pair(quint64(named.st_dev), quint64(named.st_ino));
#else
    Q_UNUSED(path);
    return std::make_pair(quint64(0), quint64(0));
#endif
}

} // namespace

QString accessErrorText()
{
    return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                          "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                          "installazione del programma.");
}

QString archiveBusyText()
{
    return QStringLiteral("L'archivio è in uso da un'altra copia del programma. Riprovare tra "
                          "qualche istante.");
}

QString accessErrorText(const RecordFile &file)
{
    return file.failure() == RecordFile::Failure::Busy ? archiveBusyText() : accessErrorText();
}

QString RecordFile::journalPath(const QString &archivePath)
{
    return archivePath + QStringLiteral("-journal");
}

void RecordFile::setLockTimeout(int milliseconds)
{
    g_lockTimeoutMs = milliseconds;
}

void RecordFile::setFaultHook(FaultHook hook)
{
    g_faultHook = std::move(hook);
}

RecordFile::IoFault RecordFile::faultAt(IoStep step)
{
    return g_faultHook ? g_faultHook(step) : IoFault::None;
}

void RecordFile::setWaitHook(WaitHook hook)
{
    g_waitHook = std::move(hook);
}

QStringList RecordFile::takeNotices()
{
    return std::exchange(g_notices, {});
}

bool RecordFile::syncToDisk(QFileDevice &file, QString *error)
{
    QString why;
    if (syncFile(file, IoStep::ReplaceSync, why))
        return true;
    if (error)
        *error = why;
    return false;
}

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::open(const Archive &archive, Access access)
{
    return openPath(ProgramFolder::filePath(archive.fileName), *archive.layout, access);
}

bool RecordFile::openPath(const QString &path, const RecordLayout &layout, Access access)
{
    return openPath(path, layout.recordSize(), access);
}

bool RecordFile::openPath(const QString &path, int recordSize, Access access)
{
    close();
    m_error.clear();
    m_failure = Failure::None;
    m_recordSize = recordSize;
    m_readOnly = access == Access::ReadOnly;
    m_created = false;
    m_createdAppendFailed = false;
    m_index = 0;
    m_file.setFileName(path);
    if (recordSize <= 0)
        return fail(QStringLiteral("dimensione del record non valida"));
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("è una cartella"));
    const bool existed = info.exists();
    // A FIFO or a device would block the open or the reads for good.
    if (existed && !info.isFile())
        return fail(QStringLiteral("non è un archivio (non è un file regolare)"));
    // ReadWrite creates a missing file and never truncates an existing one; a reader
    // creates a missing archive the same way, so that it exists from then on. Unbuffered:
    // every read and write goes straight to the file.
    const QIODevice::OpenMode mode
        = (m_readOnly && existed) ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (mode == QIODevice::ReadWrite && existed && faultAt(IoStep::OpenForWriting) != IoFault::None)
        return fail(QStringLiteral("Permission denied"));
    if (!m_file.open(mode | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    m_created = !existed;
    m_identity = fileIdentity(path);
    if (!existed && !syncFolderOf(path)) {
        const QString why = QStringLiteral("impossibile registrare il nuovo archivio su disco");
        close();
        return fail(why);
    }
    m_fileSize = nativeSize(m_file);
    if (m_fileSize < 0) {
        close();
        return fail(QStringLiteral("dimensione dell'archivio non leggibile"));
    }
    if (journalPresent(journalPath(path)) && !rollBackJournal()) {
        const QString why = m_error;
        const Failure failure = m_failure;
        close();
        return fail(why, failure);
    }
    return true;
}

bool RecordFile::lockWriters()
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("archivio non aperto"));
    if (m_readOnly)
        return fail(QStringLiteral("archivio aperto in sola lettura"));
    if (m_lockHeld)
        return true;
    QString why;
    bool busy = false;
    if (!acquireLock(m_file, why, busy))
        return fail(why, busy ? Failure::Busy : Failure::Other);
    m_lockHeld = true;
    if (!stillAtPath()) {
        unlockWriters();
        return false;
    }
    // Another copy may have written before the lock was taken.
    m_blockCount = 0;
    return refreshSize();
}

bool RecordFile::stillAtPath()
{
    // Gone or another file: the archive was replaced after this copy opened it. (On Windows
    // a file open elsewhere cannot be replaced.)
    if (fileIdentity(m_file.fileName()) != m_identity)
        return fail(QStringLiteral("l'archivio è stato sostituito da un'altra copia del programma"),
            Failure::Busy);
    return true;
}

bool RecordFile::replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

void RecordFile::unlockWriters()
{
    if (m_lockHeld && m_file.isOpen())
        releaseLock(m_file);
    m_lockHeld = false;
}

void RecordFile::close()
{
    unlockWriters();
    if (m_file.isOpen()) {
        m_file.close();
        if (std::exchange(m_createdAppendFailed, false))
            removeIfEmpty(m_file.fileName());
    }
    m_block.clear();
    m_blockFirst = 0;
    m_blockCount = 0;
    m_fileSize = 0;
}

qint64 RecordFile::recordCount() const
{
    if (!m_file.isOpen() || m_recordSize <= 0)
        return 0;
    return m_fileSize / m_recordSize;
}

bool RecordFile::fail(const QString &what, Failure failure)
{
    m_error = what;
    m_failure = failure;
    return false;
}

bool RecordFile::readRaw(qint64 offset, char *data, qint64 size)
{
    if (!m_file.seek(offset))
        return fail(m_file.errorString());
    qint64 done = 0;
    while (done < size) {
        const qint64 n = m_file.read(data + done, size - done);
        if (n <= 0)
            return fail(QStringLiteral("lettura incompleta del record"));
        done += n;
    }
    return true;
}

bool RecordFile::readAt(qint64 index, QByteArray &bytes)
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("archivio non aperto"));
    if (index < 0 || index >= recordCount())
        return fail(QStringLiteral("record oltre la fine dell'archivio"));
    bytes.resize(m_recordSize);
    if (!readRaw(index * m_recordSize, bytes.data(), m_recordSize))
        return false;
    m_index = index + 1;
    return true;
}

bool RecordFile::readAt(qint64 index, Record &record)
{
    QByteArray bytes;
    if (!readAt(index, bytes))
        return false;
    record.decode(bytes);
    return true;
}

void RecordFile::seek(qint64 index)
{
    m_index = index;
}

bool RecordFile::scan(std::span<const int> fields, const Visit &visit)
{
    Q_UNUSED(fields);
    seek(0);
    const qint64 count = recordCount();
    for (qint64 index = 0; index < count; ++index) {
        const QByteArrayView bytes = nextRecord();
        if (bytes.isEmpty())
            return false;
        if (!visit(index, bytes))
            break;
    }
    return true;
}

bool RecordFile::fillBlock()
{
    const qint64 perBlock = std::max<qint64>(1, kBlockBytes / m_recordSize);
    const qint64 wanted = std::min(perBlock, recordCount() - m_index);
    if (wanted <= 0 || m_index < 0)
        return fail(QStringLiteral("record oltre la fine dell'archivio"));
    if (!m_file.seek(m_index * m_recordSize))
        return fail(m_file.errorString());
    m_block.resize(wanted * m_recordSize);
    qint64 done = 0;
    while (done < m_block.size()) {
        const qint64 n = m_file.read(m_block.data() + done, m_block.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    m_blockFirst = m_index;
    m_blockCount = done / m_recordSize;
    if (m_blockCount == 0)
        return fail(QStringLiteral("lettura incompleta del record"));
    return true;
}

QByteArrayView RecordFile::nextRecord()
{
    if (!m_file.isOpen()) {
        fail(QStringLiteral("archivio non aperto"));
        return {};
    }
    if (m_index < m_blockFirst || m_index >= m_blockFirst + m_blockCount) {
        if (!fillBlock())
            return {};
    }
    const qint64 offset = (m_index - m_blockFirst) * m_recordSize;
    ++m_index;
    return QByteArrayView(m_block).sliced(offset, m_recordSize);
}

bool RecordFile::readNext(QByteArray &bytes)
{
    const QByteArrayView next = nextRecord();
    if (next.isEmpty())
        return false;
    // Copied into the caller's buffer, which keeps its allocation from one record to the
    // next: a scan allocates nothing per record.
    bytes.resize(m_recordSize);
    std::memcpy(bytes.data(), next.data(), std::size_t(m_recordSize));
    return true;
}

bool RecordFile::readNext(Record &record)
{
    const QByteArrayView next = nextRecord();
    if (next.isEmpty())
        return false;
    record.decode(next);
    return true;
}

QByteArray RecordFile::contentStamp() const
{
    if (!m_file.isOpen())
        return {};
    // The size the records are read up to, not the size now: a record appended since the
    // open is not in what this session reads, and its size makes the next stamp another.
    qint64 values[8] = { m_fileSize, 0, 0, 0, 0, 0, 0, qint64(writesTo(m_file.fileName())) };
    qint64 changedMs = 0;
#ifdef Q_OS_WIN
    BY_HANDLE_FILE_INFORMATION info;
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(m_file.handle()));
    if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &info))
        return {};
    const qint64 written = qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32)
        | info.ftLastWriteTime.dwLowDateTime); // 100 ns since 1601
    values[1] = written;
    values[2] = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    values[3] = qint64((quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
    values[4] = qint64(info.dwVolumeSerialNumber);
    changedMs = written / 10000 - 11644473600000LL;
#else
    struct stat st;
    if (::fstat(m_file.handle(), &st) != 0)
        return {};
#ifdef Q_OS_DARWIN
    const struct timespec modified = st.st_mtimespec;
    const struct timespec changed = st.st_ctimespec;
#else
    const struct timespec modified = st.st_mtim;
    const struct timespec changed = st.st_ctim;
#endif
    values[1] = qint64(modified.tv_sec) * 1000000000 + modified.tv_nsec;
    values[2] = qint64(changed.tv_sec) * 1000000000 + changed.tv_nsec;
    values[3] = qint64(st.st_ino);
    values[4] = qint64(st.st_dev);
    values[5] = qint64(st.st_size);
    changedMs = qint64(modified.tv_sec) * 1000 + modified.tv_nsec / 1000000;
#endif
    const qint64 age = QDateTime::currentMSecsSinceEpoch() - changedMs;
    if (age < kStampSettleMs)
        return {};
    return QByteArray(reinterpret_cast<const char *>(values), sizeof values);
}

bool RecordFile::refreshSize()
{
    const qint64 size = nativeSize(m_file);
    if (size < 0)
        return fail(QStringLiteral("dimensione dell'archivio non leggibile"));
    m_fileSize = size;
    return true;
}

bool RecordFile::writeAt(qint64 index, const QByteArray &bytes)
{
    return write(index, bytes);
}

bool RecordFile::writeAt(qint64 index, const Record &record)
{
    return writeAt(index, record.encode());
}

bool RecordFile::writeAtIf(qint64 index, const QByteArray &bytes, const StillAsRead &unchanged)
{
    return write(index, bytes, &unchanged);
}

bool RecordFile::writeAtIf(qint64 index, const Record &record, const Record &asRead)
{
    const QByteArray readBytes = asRead.encode();
    const RecordLayout &layout = asRead.layout();
    return writeAtIf(index, record.encode(), [&](QByteArrayView stored) {
        return Record::fromBytes(layout, stored).encode() == readBytes;
    });
}

bool RecordFile::append(const QByteArray &bytes)
{
    if (write(std::nullopt, bytes))
        return true;
    if (m_created)
        m_createdAppendFailed = true;
    return false;
}

bool RecordFile::appendBlock(const QByteArray &records)
{
    return write(std::nullopt, records, nullptr, true);
}

bool RecordFile::flush()
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("archivio non aperto"));
    QString why;
    return syncFile(m_file, IoStep::ArchiveFlush, why) || fail(why);
}

bool RecordFile::write(
    std::optional<qint64> index, const QByteArray &bytes, const StillAsRead *unchanged, bool block)
{
    m_failure = Failure::None;
    if (!m_file.isOpen())
        return fail(QStringLiteral("archivio non aperto"));
    if (m_readOnly)
        return fail(QStringLiteral("archivio aperto in sola lettura"));
    const bool wholeRecords = block ? !bytes.isEmpty() && bytes.size() % m_recordSize == 0
                                    : bytes.size() == m_recordSize;
    if (!wholeRecords)
        return fail(QStringLiteral("record di dimensione errata"));
    if (index && (*index < 0 || *index > recordCount()))
        return fail(QStringLiteral("posizione del record non valida"));
    LockGuard guard(m_file);
    QString why;
    if (!m_lockHeld && !guard.acquire(why))
        return fail(why, guard.busy() ? Failure::Busy : Failure::Other);
    if (!m_lockHeld && !stillAtPath())
        return false;
    // A journal here now is a copy's that crashed inside its rewrite after this archive was
    // opened: its record is put back before anything else, or the rewrite below would
    // write its own journal over it and the torn record would stay.
    if (journalPresent(journalPath(m_file.fileName())) && !rollBackLocked(m_file))
        return false;
    // The end of the file now, not at open: another copy may have appended meanwhile.
    if (!refreshSize())
        return false;
    // The block of sequential reading may hold the old bytes of this record.
    m_blockCount = 0;
    const qint64 count = recordCount();
    const qint64 at = index.value_or(count);
    if (at > count)
        return fail(QStringLiteral("posizione del record non valida"));
    if (unchanged && at == count)
        return fail(QStringLiteral("la scheda non è più nell'archivio"), Failure::Conflict);
    const bool written = at == count ? appendLocked(bytes) : rewriteLocked(at, bytes, unchanged);
    // Even a failed write may have changed the file and put it back.
    countWrite(m_file.fileName());
    if (!written)
        return false;
    m_index = at + bytes.size() / m_recordSize;
    return true;
}

bool RecordFile::append(const Record &record)
{
    return append(record.encode());
}

bool RecordFile::appendLocked(const QByteArray &bytes)
{
    // A trailing partial record (a crash in an earlier append) is written over.
    const qint64 offset = recordCount() * m_recordSize;
    QString why;
    if (writeAll(m_file, offset, bytes.constData(), bytes.size(), IoStep::ArchiveWrite, why)
        && (m_scratch || syncFile(m_file, IoStep::ArchiveFlush, why))) {
        m_fileSize = std::max(m_fileSize, offset + bytes.size());
        return true;
    }
    // Not saved, so not in the file: a retry must not find it there twice. The flush
    // is not tried again on the same bytes (a failed flush may have dropped them); the
    // file is cut back to its whole records and that is flushed.
    QString ignored;
    if (!m_file.resize(offset) || !syncFile(m_file, IoStep::ArchiveFlush, ignored))
        why += QStringLiteral("; l'archivio non è stato riportato alla dimensione precedente");
    refreshSize();
    return fail(why);
}

bool RecordFile::rewriteLocked(qint64 index, const QByteArray &bytes, const StillAsRead *unchanged)
{
    const qint64 offset = index * m_recordSize;
    QByteArray old(m_recordSize, Qt::Uninitialized);
    if (!readRaw(offset, old.data(), m_recordSize))
        return false;
    if (unchanged && !(*unchanged)(old))
        return fail(QStringLiteral("la scheda è stata modificata da un'altra postazione"),
            Failure::Conflict);
    if (m_scratch) {
        QString why;
        return writeAll(m_file, offset, bytes.constData(), m_recordSize, IoStep::ArchiveWrite, why)
            || fail(why);
    }
    if (!writeJournal(index, old, bytes)) {
        // The archive is untouched; a journal left half written is discarded at the next
        // open, a whole one puts back the same bytes.
        QFile::remove(journalPath(m_file.fileName()));
        return false;
    }
    QString why;
    bool ok = writeAll(m_file, offset, bytes.constData(), m_recordSize, IoStep::ArchiveWrite, why)
        && syncFile(m_file, IoStep::ArchiveFlush, why);
    if (ok && !removeJournal()) {
        why = m_error;
        ok = false;
    }
    if (ok)
        return true;
    // Put the old record back. If even that fails the journal stays, and the next open
    // of the archive puts it back.
    QString ignored;
    if (writeAll(m_file, offset, old.constData(), m_recordSize, IoStep::ArchiveWrite, ignored)
        && syncFile(m_file, IoStep::ArchiveFlush, ignored))
        removeJournal();
    else
        why += QStringLiteral("; il record precedente sarà ripristinato alla prossima apertura");
    return fail(why);
}

bool RecordFile::writeJournal(qint64 index, const QByteArray &oldBytes, const QByteArray &newBytes)
{
    const QString path = journalPath(m_file.fileName());
    QFile journal(path);
    if (!journal.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(QStringLiteral("impossibile creare il giornale di ripristino: ")
            + journal.errorString());
    const QByteArray content = encodeJournal(m_file.fileName(), index, oldBytes, newBytes);
    QString why;
    if (!writeAll(journal, 0, content.constData(), content.size(), IoStep::JournalWrite, why)
        || !syncFile(journal, IoStep::JournalFlush, why))
        return fail(QStringLiteral("giornale di ripristino: ") + why);
    journal.close();
    if (!syncFolderOf(path))
        return fail(QStringLiteral("impossibile registrare il giornale di ripristino su disco"));
    return true;
}

bool RecordFile::removeJournal()
{
    const QString path = journalPath(m_file.fileName());
    if (!QFile::remove(path) && QFileInfo::exists(path))
        return fail(QStringLiteral("impossibile eliminare il giornale di ripristino"));
    // Without this a power cut could bring the journal back, and the next open would
    // undo a save already reported. A folder that cannot be flushed is not a failure of
    // the save: the record itself is on disk.
    syncFolderOf(path);
    return true;
}

bool RecordFile::rollBackJournal()
{
    const QString path = m_file.fileName();
    // A reader has the archive open for reading only: the record is put back through a
    // handle of its own when the file may be written at all.
    QFile writer(path);
    QFile *target = &m_file;
    if (m_readOnly) {
        if (faultAt(IoStep::OpenForWriting) != IoFault::None
            || !writer.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            return true; // a read-only archive: read as it is
        target = &writer;
    }
    // Under the writers' lock: a journal may belong to a rewrite another copy is doing
    // right now, and is gone once that copy is done.
    LockGuard guard(*target);
    QString why;
    if (!guard.acquire(why))
        return fail(why, guard.busy() ? Failure::Busy : Failure::Other);
    return rollBackLocked(*target);
}

bool RecordFile::rollBackLocked(QFile &target)
{
    const QString path = m_file.fileName();
    const QString journalName = journalPath(path);
    if (!refreshSize())
        return false;
    const QFileInfo info(journalName);
    if (!info.exists() && !info.isSymLink())
        return true; // another copy's rewrite ended meanwhile
    // Only a regular file of exactly a journal's size is read: a FIFO, a device or a huge
    // file is never opened.
    std::optional<Journal> journal;
    const qint64 expected = journalSize(path, m_recordSize);
    if (!info.isSymLink() && info.isFile() && info.size() <= expected) {
        QFile journalFile(journalName);
        if (!journalFile.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("giornale di ripristino non leggibile: ")
                + journalFile.errorString());
        const QByteArray content = journalFile.read(expected);
        journalFile.close();
        if (content.size() < expected && isCutShortJournal(content, path, m_recordSize)) {
            // A crash while this archive's journal was being written: the overwrite had
            // not begun, so there is nothing to put back.
            if (!QFile::remove(journalName))
                return fail(QStringLiteral("impossibile eliminare il giornale di ripristino"));
            syncFolderOf(path);
            return true;
        }
        journal = decodeJournal(content, path, m_recordSize);
    }
    QByteArray current;
    if (journal && (journal->index + 1) * m_recordSize <= m_fileSize) {
        current.resize(m_recordSize);
        if (!readRaw(journal->index * m_recordSize, current.data(), m_recordSize))
            return false;
    }
    if (current.isEmpty() || !madeOf(current, *journal)) {
        // Not this archive's, damaged, or its record was written since (a day's copy put
        // back): applying it would write bytes that were never there.
        QString aside = journalName + QStringLiteral(".scartato");
        for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n)
            aside = journalName + QStringLiteral(".scartato%1").arg(n);
        if (!QDir().rename(journalName, aside))
            return fail(QStringLiteral("giornale di ripristino estraneo o danneggiato, "
                                       "impossibile metterlo da parte: ")
                + journalName);
        syncFolderOf(path);
        const QString notice = QStringLiteral(
            "Attenzione: il giornale di ripristino %1 non appartiene all'archivio %2 o è "
            "danneggiato. Non è stato applicato ed è stato rinominato in %3.")
                                   .arg(QFileInfo(journalName).fileName(),
                                       QFileInfo(path).fileName(), QFileInfo(aside).fileName());
        qWarning("%s", qPrintable(notice));
        g_notices.append(notice);
        return true;
    }
    QString why;
    if (current != journal->oldBytes) {
        const qint64 size = m_recordSize;
        const bool restored = writeAll(target, journal->index * size, journal->oldBytes.constData(),
                                  size, IoStep::ArchiveWrite, why)
            && syncFile(target, IoStep::ArchiveFlush, why);
        countWrite(path);
        if (!restored)
            return fail(QStringLiteral("ripristino del record non riuscito: ") + why);
    }
    // The block of sequential reading may hold the torn bytes.
    m_blockCount = 0;
    if (!QFile::remove(journalName))
        return fail(QStringLiteral("impossibile eliminare il giornale di ripristino"));
    syncFolderOf(path);
    return refreshSize();
}

bool RecordFile::copyArchive(
    const QString &from, const QString &to, QString *error, bool writersLocked)
{
    QString why;
    QFile source(from);
    if (!QFileInfo(from).isFile()) {
        // A FIFO or a device: its reads would never end.
        why = QStringLiteral("non è un file regolare");
    } else if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        why = source.errorString();
    } else {
        // No save runs while the copy is made, so every record is copied whole.
        LockGuard guard(source);
        if (writersLocked || guard.acquire(why, true)) {
            QString readError;
            const bool copied = SafeFile::replace(
                to,
                [&](QIODevice &target) {
                    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
                    for (;;) {
                        const qint64 n = source.read(buffer.data(), buffer.size());
                        if (n < 0) {
                            readError = source.errorString();
                            return false;
                        }
                        if (n == 0)
                            return true;
                        if (target.write(buffer.constData(), n) != n)
                            return false;
                    }
                },
                &why);
            if (!copied && !readError.isEmpty())
                why = readError;
            else if (copied)
                why.clear();
        }
    }
    if (why.isEmpty())
        return true;
    if (error)
        *error = why;
    return false;
}

bool RecordFile::removeIfEmpty(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    // Under the lock: another copy that appends has the file to itself, and one that has
    // appended leaves it not empty.
    LockGuard guard(file);
    QString why;
    if (!guard.acquire(why) || nativeSize(file) != 0)
        return false;
    const bool removed = QFile::remove(path);
    if (removed)
        syncFolderOf(path);
    return removed;
}

bool RecordFile::syncFolder(const QString &folder)
{
    return syncFolderOf(QDir(folder).filePath(QStringLiteral(".")));
}
