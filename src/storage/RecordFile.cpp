#include "storage/RecordFile.h"

#include "storage/ProgramFolder.h"

#include <QFileInfo>

#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
// Sequential reads fetch this many bytes at a time, rounded down to whole records.
constexpr qint64 kBlockBytes = 256 * 1024;
} // namespace

QString accessErrorText()
{
    return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                          "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                          "installazione del programma.");
}

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::open(const Archive &archive)
{
    return openPath(ProgramFolder::filePath(archive.fileName), *archive.layout);
}

bool RecordFile::openPath(const QString &path, const RecordLayout &layout)
{
    const int recordSize = layout.recordSize();
    close();
    m_error.clear();
    m_recordSize = recordSize;
    m_index = 0;
    m_file.setFileName(path);
    if (recordSize <= 0)
        return fail(QStringLiteral("dimensione del record non valida"));
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("è una cartella"));
    // ReadWrite creates a missing file and never truncates an existing one. Unbuffered:
    // a record write is exactly one write call.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    m_fileSize = m_file.size();
    return true;
}

void RecordFile::close()
{
    if (m_file.isOpen())
        m_file.close();
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

bool RecordFile::fail(const QString &what)
{
    m_error = what;
    return false;
}

bool RecordFile::readAt(qint64 index, QByteArray &bytes)
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("archivio non aperto"));
    if (index < 0 || index >= recordCount())
        return fail(QStringLiteral("record oltre la fine dell'archivio"));
    if (!m_file.seek(index * m_recordSize))
        return fail(m_file.errorString());
    bytes.resize(m_recordSize);
    qint64 done = 0;
    while (done < m_recordSize) {
        const qint64 n = m_file.read(bytes.data() + done, m_recordSize - done);
        if (n <= 0)
            return fail(QStringLiteral("lettura incompleta del record"));
        done += n;
    }
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

bool RecordFile::fillBlock()
{
    const qint64 perBlock = std::max<qint64>(1, kBlockBytes / m_recordSize);
    const qint64 wanted = std::min(perBlock, recordCount() - m_index);
    if (wanted <= 0)
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

bool RecordFile::syncToDisk()
{
#ifdef Q_OS_WIN
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(m_file.handle()));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h);
#else
    return ::fsync(m_file.handle()) == 0;
#endif
}

bool RecordFile::writeAt(qint64 index, const QByteArray &bytes)
{
    if (!m_file.isOpen())
        return fail(QStringLiteral("archivio non aperto"));
    if (bytes.size() != m_recordSize)
        return fail(QStringLiteral("record di dimensione errata"));
    if (index < 0 || index > recordCount())
        return fail(QStringLiteral("posizione del record non valida"));
    if (!m_file.seek(index * m_recordSize))
        return fail(m_file.errorString());
    const qint64 written = m_file.write(bytes);
    // A partly written record may have grown the file.
    m_fileSize = m_file.size();
    if (written != m_recordSize)
        return fail(m_file.errorString());
    if (!m_file.flush() || !syncToDisk())
        return fail(QStringLiteral("impossibile scrivere su disco"));
    // The block of sequential reading may hold the old bytes of this record.
    m_blockCount = 0;
    m_index = index + 1;
    return true;
}

bool RecordFile::writeAt(qint64 index, const Record &record)
{
    return writeAt(index, record.encode());
}

bool RecordFile::append(const QByteArray &bytes)
{
    return writeAt(recordCount(), bytes);
}

bool RecordFile::append(const Record &record)
{
    return append(record.encode());
}
