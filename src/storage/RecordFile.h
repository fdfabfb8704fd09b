#pragma once
#include "storage/Record.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// The message a card shows when its archive cannot be opened, read or written.
QString accessErrorText();

// A file of fixed-size records in the program folder. Records are addressed by 0-based
// index; a trailing partial record is not counted. Every operation returns false on
// failure (errorString() says why) and never throws. A record write is one write call
// followed by a flush to disk, so a record reported as saved survives a power cut.
// The file is open only between open() and close() (or destruction).
class RecordFile
{
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Opens the archive's file inside the program folder for reading and writing at
    // index 0, creating it empty when missing. An existing file is never emptied: one
    // that exists but cannot be opened for writing is a failure.
    bool open(const Archive &archive);
    // The same for a file given by its full path (a yearly file the user chose, archives
    // outside the program folder in tests and benchmarks).
    bool openPath(const QString &path, const RecordLayout &layout);
    void close();
    bool isOpen() const { return m_file.isOpen(); }

    int recordSize() const { return m_recordSize; }
    qint64 recordCount() const;
    // The index of the next record to be read or written.
    qint64 currentIndex() const { return m_index; }
    bool atEnd() const { return m_index >= recordCount(); }

    // Reads the record at index into bytes (recordSize() bytes). Afterwards the current
    // index is index + 1. Reading past the last whole record fails.
    bool readAt(qint64 index, QByteArray &bytes);
    bool readAt(qint64 index, Record &record);
    // Reads the record at the current index and advances: sequential reading in large
    // blocks, for scans of a whole archive.
    bool readNext(QByteArray &bytes);
    bool readNext(Record &record);
    // Points the sequential reading at a record; seek(0) starts over.
    void seek(qint64 index);

    // Writes one whole record at index (at most the record count: no holes). Afterwards
    // the current index is index + 1.
    bool writeAt(qint64 index, const QByteArray &bytes);
    bool writeAt(qint64 index, const Record &record);
    // Writes one record after the last whole one; its index is recordCount() - 1 after.
    bool append(const QByteArray &bytes);
    bool append(const Record &record);

    QString errorString() const { return m_error; }
    QString filePath() const { return m_file.fileName(); }

private:
    bool fail(const QString &what);
    bool fillBlock();
    // The bytes of the record at the current index, from the read block, and advances;
    // empty on failure. Valid until the next read.
    QByteArrayView nextRecord();
    bool syncToDisk();

    QFile m_file;
    int m_recordSize = 0;
    // The size of the file, taken at open and kept by our own writes, so that a scan
    // does not ask the file system for it at every record.
    qint64 m_fileSize = 0;
    qint64 m_index = 0;
    QString m_error;
    // Sequential reading: a block of whole records starting at m_blockFirst.
    QByteArray m_block;
    qint64 m_blockFirst = 0;
    qint64 m_blockCount = 0;
};
