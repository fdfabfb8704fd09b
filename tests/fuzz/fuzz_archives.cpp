// libFuzzer target: arbitrary bytes as an archive (and, when asked, as a rollback journal
// beside it), opened for reading and for writing and read by every list builder. Checks
// besides the sanitizers: the lists never hold more lines than the archive has records,
// a list's line reopens a record, and opening for reading changes no byte of an archive
// that has no journal.
//
// Input: byte 0 chooses the archive and the list options; with bit 2 set, bytes 1-2 give
// the length of a journal that follows; the rest is the archive.
#include "lists/ListLines.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void writeFile(const QString &path, const char *data, qsizetype size)
{
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(f.write(data, size) == size);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kFilters[]
    = { QString(), QStringLiteral("a"), QStringLiteral(" GOMME "), QStringLiteral("\u00e8") };

void listProducts(RecordFile &file, unsigned options)
{
    const qint64 count = file.recordCount();
    file.seek(0);
    const StockLists::Inventory inventory
        = StockLists::inventoryLines(file, kFilters[(options >> 3) & 3]);
    check(inventory.lines.size() <= count);
    file.seek(0);
    const ListLines::Scan under = StockLists::underStockLines(file);
    check(under.lines.size() <= count);
    // Reopening by line, as the lists do on a double click.
    if (!inventory.lines.isEmpty()) {
        file.seek(0);
        const auto build
            = ListLines::lineBuilder(StockLists::inventoryColumns(), ProductRecord::layout());
        const auto reopened = ListLines::reopenByLine(
            file, ProductRecord::layout(), inventory.lines.first(), build);
        check(reopened.has_value() && reopened->position >= 1 && reopened->position <= count);
    }
    // The card's arrows: first, last, and a record read in the middle.
    Record record(ProductRecord::layout());
    if (count > 0) {
        check(file.readAt(0, record));
        check(file.readAt(count - 1, record));
        check(file.readAt(count / 2, record));
    }
    check(!file.readAt(count, record));
}

void listMovements(RecordFile &file, MovementRecord::Kind kind, unsigned options)
{
    const qint64 count = file.recordCount();
    const QDate starts[]
        = { QDate(2024, 1, 1), QDate(2024, 3, 5), QDate(1900, 1, 1), QDate(2024, 12, 31) };
    const QDate start = starts[(options >> 5) & 3];
    file.seek(0);
    const StockLists::Movements movements = StockLists::movementLines(
        file, kind, kFilters[(options >> 3) & 3], start, QDate(2024, 12, 31));
    check(movements.lines.size() <= count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // In memory where the system has a memory file system: the saves flush to disk, and a
    // disk would make every run wait for it.
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isDir()
            ? QStringLiteral("/dev/shm/merventa-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/merventa-fuzz-XXXXXX"));
    if (size < 1 || size > 1 << 20 || !dir.isValid())
        return 0;
    ProgramFolder::setPath(dir.path());
    const unsigned options = data[0];
    const char *rest = reinterpret_cast<const char *>(data) + 1;
    qsizetype restSize = qsizetype(size) - 1;

    const unsigned which = options & 3;
    const QString name = which == 0 ? QStringLiteral("Magazzino.mrv")
        : which == 1                ? QStringLiteral("Carico_2024.mrv")
                                    : QStringLiteral("Scarico_2024.mrv");
    const Archive archive
        = which == 0 ? ProductRecord::archive() : MovementRecord::archiveNamed(name);
    const int recordSize = archive.layout->recordSize();
    const QString path = dir.filePath(name);
    const QString journal = RecordFile::journalPath(path);
    QFile::remove(journal);

    bool withJournal = false;
    if ((options & 4) && restSize >= 2) {
        const qsizetype length = std::min<qsizetype>(
            restSize - 2, qsizetype(std::uint8_t(rest[0])) | qsizetype(std::uint8_t(rest[1])) << 8);
        writeFile(journal, rest + 2, length);
        rest += 2 + length;
        restSize -= 2 + length;
        withJournal = true;
    }
    writeFile(path, rest, restSize);
    const QByteArray original(rest, restSize);

    // A list opens for reading only.
    {
        RecordFile file;
        const bool opened = file.open(archive, RecordFile::Access::ReadOnly);
        if (!withJournal) {
            check(opened);
            check(readFile(path) == original);
        }
        if (opened) {
            check(file.recordCount()
                == (withJournal ? QFileInfo(path).size() : restSize) / recordSize);
            if (which == 0)
                listProducts(file, options);
            else
                listMovements(file,
                    which == 1 ? MovementRecord::Kind::Load : MovementRecord::Kind::Unload,
                    options);
        }
    }
    // A card opens for writing and saves: the journal is gone, and what it saved is there.
    if (options & 0x80) {
        RecordFile file;
        if (file.open(archive)) {
            check(!QFile::exists(journal));
            const qint64 count = file.recordCount();
            const QByteArray record(recordSize, '\x01');
            check(file.append(record));
            check(file.recordCount() == count + 1);
            check(file.writeAt(0, record));
            QByteArray back;
            check(file.readAt(count, back) && back == record);
        }
    }
    return 0;
}
