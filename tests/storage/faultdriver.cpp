// Measures the storage layer's promises where they take thousands of runs or a really full
// disk, for the figures of a change's note (not run by ctest):
//   faultdriver crashpair DIR N   N crashes placed inside an overwrite while a second copy
//                                 saves every 0-3 ms; counts torn cards
//   faultdriver backups DIR N     N daily copies while a copy saves every 20 ms; counts
//                                 failed copies and torn records in them
//   faultdriver diskfull DIR      the attachment copy and the .xlsx export on a full disk
//                                 (DIR on a small file system, filled here)
#include "attachments/AttachedFiles.h"
#include "common/StampedCards.h"
#include "export/ExportGrid.h"
#include "export/Exporters.h"
#include "export/SpreadsheetXlsx.h"
#include "storage/Backup.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>
#include <memory>

namespace {

const QString kArchive = QStringLiteral("Magazzino.mrv");
constexpr int kCards = 8;

// Child: saves the cards of the archive in turn, pausing pace microseconds (or a random
// 0-3 ms when pace is 0) between saves, until killed.
int saver(const QString &path, int pace)
{
    RecordFile::setLockTimeout(30000);
    QRandomGenerator random(1234);
    // Opened once, as a card that stays on screen: its saves wait for the lock of a copy
    // that crashes meanwhile.
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout()))
        return 2;
    for (qint64 version = 1000000;; ++version) {
        const qint64 index = version % kCards;
        if (!file.writeAt(index, card(index, version)))
            std::fprintf(stderr, "save failed: %s\n", qPrintable(file.errorString()));
        QThread::usleep(pace > 0 ? pace : random.bounded(3000));
    }
}

std::unique_ptr<QProcess> child(const QStringList &args)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QCoreApplication::applicationFilePath(), args);
    p->waitForStarted();
    return p;
}

void seed(const QString &path)
{
    QFile::remove(path);
    QFile::remove(RecordFile::journalPath(path));
    RecordFile file;
    file.openPath(path, ProductRecord::layout());
    for (int i = 0; i < kCards; ++i)
        file.append(card(i, 1));
}

// Torn records of an archive file read as it is (no journal applied).
int tornIn(const QByteArray &bytes)
{
    int torn = 0;
    for (qsizetype at = 0; at + ProductRecord::kRecordSize <= bytes.size();
         at += ProductRecord::kRecordSize) {
        const Stamp s = stampOf(bytes.mid(at, ProductRecord::kRecordSize));
        if (!s.whole || s.index != at / ProductRecord::kRecordSize)
            ++torn;
    }
    return torn;
}

int crashpair(const QString &dir, int rounds)
{
    const QString path = QDir(dir).filePath(kArchive);
    seed(path);
    auto second = child({ QStringLiteral("--saver"), path, QStringLiteral("0") });
    int tornCards = 0;
    for (int round = 0; round < rounds; ++round) {
        auto crashing = child({ QStringLiteral("--midwrite"), path, QString::number(round % kCards),
            QString::number(round + 10) });
        if (!crashing->waitForReadyRead(30000)) {
            std::printf("round %d: the crashing copy never got inside (state %d, exit %d)\n", round,
                int(crashing->state()), crashing->exitCode());
            return 1;
        }
        crashing->kill();
        crashing->waitForFinished();
        // The second copy saves on for a while, then the cards are read as the next start
        // reads them.
        QThread::msleep(QRandomGenerator::global()->bounded(10));
        if (round % 100 == 99 || round == rounds - 1) {
            second->kill();
            second->waitForFinished();
            {
                RecordFile file; // puts back what a journal left
                file.openPath(path, ProductRecord::layout());
            }
            const int torn = tornIn(readFile(path));
            tornCards += torn;
            if (torn) // start the next rounds from whole cards
                seed(path);
            std::printf("%d crashes: %d torn cards so far\n", round + 1, tornCards);
            std::fflush(stdout);
            second = child({ QStringLiteral("--saver"), path, QStringLiteral("0") });
        }
    }
    second->kill();
    second->waitForFinished();
    std::printf("crashpair: %d crashes inside an overwrite, second copy saving: %d torn cards\n",
        rounds, tornCards);
    return 0;
}

int backups(const QString &dir, int count)
{
    const QString path = QDir(dir).filePath(kArchive);
    seed(path);
    QDir(QDir(dir).filePath(QStringLiteral("Backup"))).removeRecursively();
    auto writer = child({ QStringLiteral("--saver"), path, QStringLiteral("20000") });
    int failed = 0;
    int torn = 0;
    const QDate first(2031, 1, 1);
    for (int day = 0; day < count; ++day) {
        const Backup::Result r = Backup::makeDaily(dir, first.addDays(day), count + 1);
        if (r.outcome != Backup::Result::Outcome::Done) {
            ++failed;
            std::printf("day %d: %s\n", day, qPrintable(r.error));
            continue;
        }
        torn += tornIn(readFile(QDir(r.folder).filePath(kArchive)));
        QThread::msleep(7);
    }
    writer->kill();
    writer->waitForFinished();
    std::printf("backups: %d daily copies while a copy saves every 20 ms: %d failed, %d torn "
                "records in the copies\n",
        count, failed, torn);
    return 0;
}

// Fills the file system of dir to its last bytes.
void fill(const QString &dir)
{
    QFile filler(QDir(dir).filePath(QStringLiteral("riempitivo")));
    filler.open(QIODevice::WriteOnly);
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) { }
    const QByteArray byte(1, 'f');
    while (filler.write(byte) == 1 && filler.flush()) { }
    filler.close();
}

int diskfull(const QString &dir)
{
    ProgramFolder::setPath(dir);
    // Earlier files: an attachment of 20,000 bytes and a 30,000-byte workbook.
    const QString source = QDir(dir).filePath(QStringLiteral("scelto.txt"));
    {
        QFile s(source);
        s.open(QIODevice::WriteOnly);
        s.write(QByteArray(3000, 'n'));
    }
    AttachedFiles::ensureFolder();
    const QString attached = AttachedFiles::filePath(QStringLiteral("doc.txt"));
    const QString workbook = QDir(dir).filePath(QStringLiteral("Magazzino.xlsx"));
    for (const auto &[file, size] :
        { std::pair { attached, 20000 }, std::pair { workbook, 30000 } }) {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(size, 'o'));
    }
    const QByteArray attachedBefore = readFile(attached);
    const QByteArray workbookBefore = readFile(workbook);
    fill(dir);
    const AttachedFiles::CopyResult copy
        = AttachedFiles::copyIntoFolder(source, QStringLiteral("doc.txt"));
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, QStringLiteral("A"));
    const bool exported = SpreadsheetXlsx::save(
        workbook, ExportGrid::fromRecords(Export::exporter(ArchiveId::Products), { r }));
    std::printf("diskfull: attachment copy %s, old file %s (%lld bytes); .xlsx export %s, old "
                "file %s (%lld bytes)\n",
        copy == AttachedFiles::CopyResult::Copied ? "reported copied" : "reported failed",
        readFile(attached) == attachedBefore ? "kept" : "CHANGED",
        static_cast<long long>(QFileInfo(attached).size()),
        exported ? "reported done" : "reported failed",
        readFile(workbook) == workbookBefore ? "kept" : "CHANGED",
        static_cast<long long>(QFileInfo(workbook).size()));
    QFile::remove(QDir(dir).filePath(QStringLiteral("riempitivo")));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 4 && a[1] == QLatin1String("--saver"))
        return saver(a[2], a[3].toInt());
    if (a.size() == 5 && a[1] == QLatin1String("--midwrite"))
        return crashInsideOverwrite(a[2], a[3].toLongLong(), a[4].toLongLong());
    if (a.size() == 4 && a[1] == QLatin1String("crashpair"))
        return crashpair(a[2], a[3].toInt());
    if (a.size() == 4 && a[1] == QLatin1String("backups"))
        return backups(a[2], a[3].toInt());
    if (a.size() == 3 && a[1] == QLatin1String("diskfull"))
        return diskfull(a[2]);
    std::fprintf(stderr, "usage: faultdriver crashpair|backups DIR N | diskfull DIR\n");
    return 2;
}
