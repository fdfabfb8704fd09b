// The promises of the storage layer under faults: a crash at any moment of a save, I/O
// errors at every step of a write, two copies of the program writing at once, an archive
// that may only be read, a rewrite interrupted before its journal was deleted.
#include "app/IniFile.h"
#include "attachments/AttachedFiles.h"
#include "cards/CardArchive.h"
#include "catalogue/Movement.h"
#include "common/StampedCards.h"
#include "common/TempProgramFolder.h"
#include "export/ExportGrid.h"
#include "export/Exporters.h"
#include "export/SpreadsheetHtml.h"
#include "export/SpreadsheetXlsx.h"
#include "records/ProductRecord.h"
#include "storage/Backup.h"
#include "storage/RecordFile.h"
#include "storage/SafeFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <memory>
#include <vector>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <sys/types.h>
#endif

namespace {

const QString kArchive = QStringLiteral("Magazzino.mrv");

// Child: saves cards in the archive without end, as Salva does (appends while the archive
// is small, then mostly rewrites), and says on stdout each save reported done.
int crashChild(const QString &path, qint64 firstVersion)
{
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout()))
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    QRandomGenerator random { quint32(firstVersion) };
    for (qint64 version = firstVersion;; ++version) {
        const qint64 count = file.recordCount();
        const bool append = count < 8 || random.bounded(6) == 0;
        const qint64 index = append ? count : random.bounded(int(count));
        const QByteArray bytes = card(index, version);
        const bool ok = append ? file.append(bytes) : file.writeAt(index, bytes);
        if (!ok)
            return 3;
        std::printf("%lld %lld\n", static_cast<long long>(index), static_cast<long long>(version));
        std::fflush(stdout);
    }
}

// Child: appends count records tagged with its name, each its own save.
int appendChild(const QString &path, const QString &tag, int count)
{
    RecordFile::setLockTimeout(30000);
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout()))
        return 2;
    Record r(ProductRecord::layout());
    for (int i = 0; i < count; ++i) {
        r.setValue(ProductRecord::Codice, QStringLiteral("%1-%2").arg(tag).arg(i));
        r.setValue(ProductRecord::Note, QStringLiteral("record %1 di %2").arg(i).arg(tag));
        if (!file.append(r))
            return 3;
    }
    return 0;
}

// Child: rewrites one record once with a card of the given version ("saved" on stdout).
int saveChild(const QString &path, qint64 index, qint64 version)
{
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout()) || !file.writeAt(index, card(index, version)))
        return 3;
    std::printf("saved\n");
    std::fflush(stdout);
    return 0;
}

// Child: starts a rewrite and stays inside it, holding the archive's lock, until killed.
int holdChild(const QString &path)
{
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout()))
        return 2;
    RecordFile::setFaultHook([](RecordFile::IoStep step) {
        if (step == RecordFile::IoStep::ArchiveWrite) {
            std::printf("holding\n");
            std::fflush(stdout);
            QThread::sleep(600);
        }
        return RecordFile::IoFault::None;
    });
    file.writeAt(0, card(0, 99));
    return 0;
}

// Child: makes the daily copy of folder for each of count days from the first of January
// 2030 on, in step with a twin (each day starts when the file go-<day> appears), and
// prints each outcome.
int backupChild(const QString &folder, int count)
{
    const QDate first(2030, 1, 1);
    for (int day = 0; day < count; ++day) {
        const QString go = QDir(folder).filePath(QStringLiteral("go-%1").arg(day));
        QDeadlineTimer deadline(30000);
        while (!QFileInfo::exists(go) && !deadline.hasExpired())
            QThread::usleep(200);
        const Backup::Result r = Backup::makeDaily(folder, first.addDays(day), 1000);
        std::printf("%d %d %s\n", day, int(r.outcome), qPrintable(r.error));
        std::fflush(stdout);
    }
    return 0;
}

QString selfPath()
{
    return QCoreApplication::applicationFilePath();
}

// A child process of this test, started with args; its standard output is read by the
// test.
std::unique_ptr<QProcess> startChild(const QStringList &args)
{
    auto child = std::make_unique<QProcess>();
    child->start(selfPath(), args);
    return child;
}

// Faults for a test: each plan lets its step pass skip times, then answers its fault the
// next times times.
struct FaultPlan
{
    RecordFile::IoStep step;
    RecordFile::IoFault fault;
    int times = 1;
    int skip = 0;
    int seen = 0;
};

class ScopedFaults
{
public:
    explicit ScopedFaults(QList<FaultPlan> plans)
        : m_plans(std::move(plans))
    {
        RecordFile::setFaultHook([this](RecordFile::IoStep step) {
            for (FaultPlan &p : m_plans) {
                if (p.step != step)
                    continue;
                const int n = p.seen++;
                if (n >= p.skip && n < p.skip + p.times)
                    return p.fault;
            }
            return RecordFile::IoFault::None;
        });
    }
    ~ScopedFaults() { RecordFile::setFaultHook({}); }
    ScopedFaults(const ScopedFaults &) = delete;
    ScopedFaults &operator=(const ScopedFaults &) = delete;

private:
    QList<FaultPlan> m_plans;
};

void writeRecordRaw(const QString &path, qint64 index, const QByteArray &bytes)
{
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadWrite));
    QVERIFY(raw.seek(index * ProductRecord::kRecordSize));
    QCOMPARE(raw.write(bytes), bytes.size());
}

// Appends cards 0 to count - 1 (version 1) to the product archive; false when one fails.
bool appendCards(int count)
{
    RecordFile file;
    if (!file.open(ProductRecord::archive()))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!file.append(card(i, 1)))
            return false;
    }
    return true;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Three cards saved, then a rewrite of card 2 to version 2 cut short as by a crash in the
// middle of its overwrite: the journal is on disk and the record holds the first half of
// the new bytes over the old.
void leaveTornRewrite(const QString &path)
{
    {
        RecordFile file;
        QVERIFY(file.openPath(path, ProductRecord::layout()));
        for (int i = 0; i < 3; ++i)
            QVERIFY(file.append(card(i, 1)));
        // The new record is written but cannot be flushed, and putting the old one back
        // fails too.
        ScopedFaults faults({ { RecordFile::IoStep::ArchiveFlush, RecordFile::IoFault::Fail },
            { RecordFile::IoStep::ArchiveWrite, RecordFile::IoFault::Fail, 1, 1 } });
        QVERIFY(!file.writeAt(2, card(2, 2)));
    }
    QVERIFY(QFile::exists(RecordFile::journalPath(path)));
    writeRecordRaw(path, 2, card(2, 1).left(ProductRecord::kRecordSize / 2));
}

// The files of a folder whose names start with prefix.
QStringList filesStartingWith(const QString &folder, const QString &prefix)
{
    return QDir(folder).entryList({ prefix + QLatin1Char('*') },
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

enum class JournalCase {
    Own, // this archive's, its record torn
    OwnRecordSavedSince, // this archive's, but its record holds other bytes now
    OtherArchive, // a journal of another archive with the same record size
    OneByteMore,
    OldFormat, // a journal without the archive's name and the new bytes
    Folder,
    Fifo,
    LinkToDevice,
    DanglingLink
};

} // namespace

Q_DECLARE_METATYPE(RecordFile::IoStep)
Q_DECLARE_METATYPE(RecordFile::IoFault)
Q_DECLARE_METATYPE(RecordFile::Access)
Q_DECLARE_METATYPE(JournalCase)

class TestStorageFaults : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteChangesNothing_data();
    void failedWriteChangesNothing();
    void rewriteInterruptedIsRolledBackOnOpen_data();
    void rewriteInterruptedIsRolledBackOnOpen();
    void damagedJournalIsDiscarded();
    void readOnlyArchiveIsListedAndPaged();
    void cardArrowsPageAReadOnlyArchive();
    void newArchiveWhereOneMayOnlyReadFails();
    void busyArchiveGivesUpAndWritesNothing();
    void appendTakesTheEndUnderTheLock();
    void twoProcessesAppendingLoseNothing();
    void crashAtAnyMomentTearsNothing();
    void journalOnlyRepairsItsOwnArchive_data();
    void journalOnlyRepairsItsOwnArchive();
    void archiveThatIsNotAFileIsRefused();
    void writeRollsBackACrashedCopysJournal();
    void crashInsideOverwriteWhileAnotherCopySaves();
    void staleCardIsNotSavedOverAnotherCopy_data();
    void staleCardIsNotSavedOverAnotherCopy();
    void busyArchiveNamesTheOtherCopy_data();
    void busyArchiveNamesTheOtherCopy();
    void safeFileFailsAtEachStep_data();
    void safeFileFailsAtEachStep();
    void wholeFileWritersReportFailure_data();
    void wholeFileWritersReportFailure();
    void backupIsMadeOnceADay_data();
    void backupIsMadeOnceADay();
    void twoCopiesBackingUpTogetherMakeOneCopy();
    void failedFirstMovementLeavesNoYearlyFile();
};

void TestStorageFaults::failedWriteChangesNothing_data()
{
    using S = RecordFile::IoStep;
    using F = RecordFile::IoFault;
    QTest::addColumn<bool>("rewrite");
    QTest::addColumn<RecordFile::IoStep>("step");
    QTest::addColumn<RecordFile::IoFault>("fault");
    const struct
    {
        const char *name;
        S step;
        F fault;
    } faults[] = {
        { "failing write", S::ArchiveWrite, F::Fail },
        { "short write", S::ArchiveWrite, F::ShortWrite },
        { "full disk", S::ArchiveWrite, F::DiskFull },
        { "failing flush", S::ArchiveFlush, F::Fail },
        { "failing journal write", S::JournalWrite, F::Fail },
        { "journal on a full disk", S::JournalWrite, F::DiskFull },
        { "failing journal flush", S::JournalFlush, F::Fail },
    };
    for (const auto &f : faults) {
        const bool journal = f.step == S::JournalWrite || f.step == S::JournalFlush;
        if (!journal)
            QTest::addRow("append, %s", f.name) << false << f.step << f.fault;
        QTest::addRow("rewrite, %s", f.name) << true << f.step << f.fault;
    }
}

void TestStorageFaults::failedWriteChangesNothing()
{
    QFETCH(bool, rewrite);
    QFETCH(RecordFile::IoStep, step);
    QFETCH(RecordFile::IoFault, fault);
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    QVERIFY(appendCards(3));
    const QByteArray before = readFile(path);
    const QByteArray next = card(rewrite ? 1 : 3, 2);

    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    {
        ScopedFaults faults({ { step, fault } });
        const bool ok = rewrite ? file.writeAt(1, next) : file.append(next);
        QVERIFY(!ok);
    }
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY2(!file.errorString().contains(QStringLiteral("Unknown error")),
        qPrintable(file.errorString()));
    QCOMPARE(readFile(path), before);
    QVERIFY(!QFile::exists(RecordFile::journalPath(path)));
    QCOMPARE(file.recordCount(), 3);

    // Saving again writes the record once.
    QVERIFY(rewrite ? file.writeAt(1, next) : file.append(next));
    file.close();
    QByteArray expected = before;
    if (rewrite)
        expected.replace(ProductRecord::kRecordSize, ProductRecord::kRecordSize, next);
    else
        expected += next;
    QCOMPARE(readFile(path), expected);
}

void TestStorageFaults::rewriteInterruptedIsRolledBackOnOpen_data()
{
    QTest::addColumn<RecordFile::Access>("access");
    QTest::newRow("card") << RecordFile::Access::ReadWrite;
    QTest::newRow("list") << RecordFile::Access::ReadOnly;
}

void TestStorageFaults::rewriteInterruptedIsRolledBackOnOpen()
{
    QFETCH(RecordFile::Access, access);
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    const QString journal = RecordFile::journalPath(path);
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    for (int i = 0; i < 3; ++i)
        QVERIFY(file.append(card(i, 1)));
    const QByteArray before = readFile(path);
    {
        // The new record is written but cannot be flushed, and putting the old one back
        // fails too: as after a crash, the new bytes are in the file and the old ones only
        // in the journal.
        ScopedFaults faults({ { RecordFile::IoStep::ArchiveFlush, RecordFile::IoFault::Fail },
            { RecordFile::IoStep::ArchiveWrite, RecordFile::IoFault::Fail, 1, 1 } });
        QVERIFY(!file.writeAt(2, card(2, 2)));
    }
    file.close();
    QVERIFY(QFile::exists(journal));
    QCOMPARE(stampOf(readFile(path).mid(2 * ProductRecord::kRecordSize)).version, qint64(2));
    // Tear the record, as a crash in the middle of the write would: part old, part new.
    writeRecordRaw(path, 2, card(2, 1).left(4096));

    RecordFile reader;
    QVERIFY2(reader.open(ProductRecord::archive(), access), qPrintable(reader.errorString()));
    QVERIFY(!QFile::exists(journal));
    QByteArray bytes;
    QVERIFY(reader.readAt(2, bytes));
    QCOMPARE(bytes, card(2, 1));
    QCOMPARE(readFile(path), before);
}

void TestStorageFaults::damagedJournalIsDiscarded()
{
    // A crash while the journal itself was being written: the record was not touched yet,
    // and a journal cut short (or otherwise damaged) must not be written into it.
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    const QString journalPath = RecordFile::journalPath(path);
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        QVERIFY(file.append(card(0, 1)));
        ScopedFaults faults({ { RecordFile::IoStep::ArchiveWrite, RecordFile::IoFault::Fail, 2 } });
        QVERIFY(!file.writeAt(0, card(0, 2)));
    }
    const QByteArray whole = readFile(journalPath);
    QVERIFY(whole.size() > ProductRecord::kRecordSize);
    // The record saved again since, with other bytes than the journal's.
    writeRecordRaw(path, 0, card(0, 3));
    const QByteArray current = readFile(path);
    for (qsizetype cut : { qsizetype(0), qsizetype(10), whole.size() / 2, whole.size() - 1 }) {
        QByteArray bytes = whole.left(cut);
        if (cut == 0) { // whole, with one byte of the old record flipped
            bytes = whole;
            bytes[100] = char(bytes[100] ^ 0x40);
        }
        QFile journal(journalPath);
        QVERIFY(journal.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(journal.write(bytes), bytes.size());
        journal.close();
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        QVERIFY(!QFile::exists(journalPath));
        QCOMPARE(readFile(path), current);
    }
}

void TestStorageFaults::readOnlyArchiveIsListedAndPaged()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    const int count = 200; // more than one read block
    QVERIFY(appendCards(count));
    const QByteArray before = readFile(path);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // Root may write any file: the seam says what a read-only share says to everyone.
    ScopedFaults faults(
        { { RecordFile::IoStep::OpenForWriting, RecordFile::IoFault::Fail, 1000 } });

    RecordFile writer;
    QVERIFY(!writer.open(ProductRecord::archive()));

    RecordFile file;
    QVERIFY2(file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly),
        qPrintable(file.errorString()));
    QVERIFY(file.isReadOnly());
    QCOMPARE(file.recordCount(), qint64(count));
    // Listed from the first record to the last.
    QByteArray bytes;
    int listed = 0;
    while (!file.atEnd()) {
        QVERIFY(file.readNext(bytes));
        QCOMPARE(stampOf(bytes).index, qint64(listed));
        ++listed;
    }
    QCOMPARE(listed, count);
    // Paged through as the card's arrows do: last, back, first, forward.
    for (qint64 index : { qint64(count - 1), qint64(count - 2), qint64(0), qint64(1) }) {
        QVERIFY(file.readAt(index, bytes));
        QCOMPARE(stampOf(bytes).index, index);
    }
    // Saving through a read-only open is refused and changes nothing.
    QVERIFY(!file.writeAt(0, card(0, 2)));
    QVERIFY(!file.append(card(count, 2)));
    file.close();
    QCOMPARE(readFile(path), before);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TestStorageFaults::cardArrowsPageAReadOnlyArchive()
{
    TempProgramFolder folder;
    QVERIFY(appendCards(3));
    ScopedFaults faults(
        { { RecordFile::IoStep::OpenForWriting, RecordFile::IoFault::Fail, 1000 } });
    const CardArchive archive(ProductRecord::archive());
    const struct
    {
        CardNavigation::Move move;
        const char *from;
        qint64 to;
    } steps[] = { { CardNavigation::Move::Last, "", 3 }, { CardNavigation::Move::Previous, "3", 2 },
        { CardNavigation::Move::First, "2", 1 }, { CardNavigation::Move::Next, "1", 2 } };
    for (const auto &step : steps) {
        const CardOutcome out = archive.navigate(step.move, QString::fromLatin1(step.from));
        QVERIFY(!out.accessError);
        QCOMPARE(out.position.value_or(-1), step.to);
        QVERIFY(out.record.has_value());
        QCOMPARE(out.record->value(ProductRecord::Codice), QStringLiteral("P%1").arg(step.to - 1));
    }
    // Saving there is the access error, as before.
    QVERIFY(archive.save(Record(ProductRecord::layout()), QStringLiteral("1")).accessError);
}

void TestStorageFaults::newArchiveWhereOneMayOnlyReadFails()
{
    // A reader of an archive that does not exist yet creates it empty, as a card does.
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly));
    QCOMPARE(file.recordCount(), 0);
    QVERIFY(QFile::exists(folder.filePath(kArchive)));
    // In a folder that is not there, opening fails instead of listing nothing.
    ProgramFolder::setPath(folder.filePath(QStringLiteral("manca")));
    QVERIFY(!file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly));
    QVERIFY(!file.errorString().isEmpty());
}

void TestStorageFaults::busyArchiveGivesUpAndWritesNothing()
{
    // While one save holds the lock, another copy's save waits, then gives up.
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    RecordFile first;
    RecordFile second;
    QVERIFY(first.open(ProductRecord::archive()));
    QVERIFY(first.append(card(0, 1)));
    QVERIFY(second.open(ProductRecord::archive()));
    RecordFile::setLockTimeout(300);
    bool secondSaved = true;
    QByteArray whileLocked;
    QString secondError;
    int calls = 0;
    RecordFile::setFaultHook([&](RecordFile::IoStep step) {
        if (step == RecordFile::IoStep::ArchiveWrite && calls++ == 0) {
            whileLocked = readFile(path);
            secondSaved = second.append(card(1, 9)) || second.writeAt(0, card(0, 9));
            secondError = second.errorString();
        }
        return RecordFile::IoFault::None;
    });
    QElapsedTimer timer;
    timer.start();
    const bool firstSaved = first.writeAt(0, card(0, 2));
    RecordFile::setFaultHook({});
    RecordFile::setLockTimeout(5000);
    QVERIFY(firstSaved);
    QVERIFY(!secondSaved);
    QVERIFY(!secondError.isEmpty());
    QVERIFY(timer.elapsed() >= 2 * 300);
    // Nothing of the second copy reached the file.
    QByteArray expected = card(0, 2);
    QCOMPARE(readFile(path), expected);
    QCOMPARE(whileLocked, card(0, 1));
    // Once the lock is free the second copy saves, after the first's record.
    QVERIFY(second.append(card(1, 9)));
    QCOMPARE(readFile(path), expected + card(1, 9));
}

void TestStorageFaults::appendTakesTheEndUnderTheLock()
{
    // Two opens of one archive, each appending: the second does not write over the first.
    TempProgramFolder folder;
    RecordFile a;
    RecordFile b;
    QVERIFY(a.open(ProductRecord::archive()));
    QVERIFY(b.open(ProductRecord::archive()));
    QVERIFY(a.append(card(0, 1)));
    QVERIFY(b.append(card(1, 1)));
    QCOMPARE(b.recordCount(), 2);
    QVERIFY(a.append(card(2, 1)));
    QCOMPARE(a.recordCount(), 3);
    const QByteArray all = readFile(folder.filePath(kArchive));
    QCOMPARE(all, card(0, 1) + card(1, 1) + card(2, 1));
}

void TestStorageFaults::twoProcessesAppendingLoseNothing()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    const int perChild = 2000;
    QList<QProcess *> children;
    for (const QString &tag : { QStringLiteral("A"), QStringLiteral("B") }) {
        auto *child = new QProcess(this);
        child->start(
            selfPath(), { QStringLiteral("--append-child"), path, tag, QString::number(perChild) });
        QVERIFY(child->waitForStarted());
        children.append(child);
    }
    for (QProcess *child : children) {
        QVERIFY(child->waitForFinished(240000));
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        QCOMPARE(child->exitCode(), 0); // every append reported saved
        delete child;
    }
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly));
    QCOMPARE(file.recordCount(), qint64(2 * perChild));
    QCOMPARE(QFileInfo(path).size(), qint64(2 * perChild) * ProductRecord::kRecordSize);
    QHash<QString, int> seen;
    Record r(ProductRecord::layout());
    while (!file.atEnd()) {
        QVERIFY(file.readNext(r));
        const QString code = r.value(ProductRecord::Codice);
        const QString tag = code.section(QLatin1Char('-'), 0, 0);
        const QString i = code.section(QLatin1Char('-'), 1);
        QCOMPARE(r.value(ProductRecord::Note), QStringLiteral("record %1 di %2").arg(i, tag));
        ++seen[code];
    }
    QCOMPARE(seen.size(), 2 * perChild);
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        QCOMPARE(it.value(), 1);
}

void TestStorageFaults::crashAtAnyMomentTearsNothing()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    const int kills = 300;
    QRandomGenerator random { 20261210u };
    QHash<qint64, qint64> saved; // index -> highest version reported saved
    qint64 reportedRecords = 0;
    int rolledBack = 0;
    for (int round = 0; round < kills; ++round) {
        const qint64 firstVersion = qint64(round + 1) * 1000000;
        QProcess child;
        child.start(
            selfPath(), { QStringLiteral("--crash-child"), path, QString::number(firstVersion) });
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(20000));
        // Killed somewhere in its saves: from before the first to a few dozen in.
        QThread::usleep(random.bounded(30000));
        child.kill();
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        QVERIFY(!lines.isEmpty() && lines.first() == "ready");
        for (const QByteArray &line : lines.mid(1)) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() != 2)
                continue; // the last line may be cut by the kill
            const qint64 index = parts[0].toLongLong();
            saved[index] = std::max(saved.value(index, -1), parts[1].toLongLong());
            reportedRecords = std::max(reportedRecords, index + 1);
        }

        rolledBack += QFile::exists(RecordFile::journalPath(path)) ? 1 : 0;
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        QVERIFY(!QFile::exists(RecordFile::journalPath(path)));
        QVERIFY(file.recordCount() >= reportedRecords);
        QByteArray bytes;
        for (qint64 i = 0; i < file.recordCount(); ++i) {
            QVERIFY(file.readAt(i, bytes));
            const Stamp s = stampOf(bytes);
            QVERIFY2(s.whole && s.index == i,
                qPrintable(QStringLiteral("record %1 torn after kill %2").arg(i).arg(round)));
            QVERIFY2(s.version >= saved.value(i, -1),
                qPrintable(QStringLiteral("record %1 lost a reported save").arg(i)));
        }
    }
    qInfo("%d kills, %lld records, %d rewrites rolled back on open", kills,
        static_cast<long long>(reportedRecords), rolledBack);
}

void TestStorageFaults::journalOnlyRepairsItsOwnArchive_data()
{
    QTest::addColumn<JournalCase>("journalCase");
    QTest::addColumn<bool>("applied");
    QTest::newRow("own journal, record torn") << JournalCase::Own << true;
    QTest::newRow("own journal, record saved since (a day's copy put back)")
        << JournalCase::OwnRecordSavedSince << false;
    QTest::newRow("another archive's journal") << JournalCase::OtherArchive << false;
    QTest::newRow("one byte more than a journal") << JournalCase::OneByteMore << false;
    QTest::newRow("journal of the earlier format") << JournalCase::OldFormat << false;
    QTest::newRow("a folder") << JournalCase::Folder << false;
#ifndef Q_OS_WIN
    QTest::newRow("a FIFO") << JournalCase::Fifo << false;
    QTest::newRow("a link to /dev/zero") << JournalCase::LinkToDevice << false;
    QTest::newRow("a dangling link") << JournalCase::DanglingLink << false;
#endif
}

void TestStorageFaults::journalOnlyRepairsItsOwnArchive()
{
    QFETCH(JournalCase, journalCase);
    QFETCH(bool, applied);
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    const QString journal = RecordFile::journalPath(path);
    leaveTornRewrite(path);
    QByteArray wholeJournal = readFile(journal);
    QFile::remove(journal);
    switch (journalCase) {
    case JournalCase::Own:
        writeFile(journal, wholeJournal);
        break;
    case JournalCase::OwnRecordSavedSince:
        writeFile(journal, wholeJournal);
        writeRecordRaw(path, 2, card(2, 7));
        break;
    case JournalCase::OtherArchive: {
        // The same torn rewrite in another product archive; its journal is put beside
        // this one.
        const QString other = folder.filePath(QStringLiteral("Altro.mrv"));
        leaveTornRewrite(other);
        QVERIFY(QFile::rename(RecordFile::journalPath(other), journal));
        break;
    }
    case JournalCase::OneByteMore:
        writeFile(journal, wholeJournal + 'x');
        break;
    case JournalCase::OldFormat: {
        // Tag, record size, index, the old bytes and a checksum, as before journals named
        // their archive.
        QByteArray old = wholeJournal.left(20);
        old[7] = '1';
        old += card(2, 1);
        old += QByteArray(4, '\0');
        writeFile(journal, old);
        break;
    }
    case JournalCase::Folder:
        QVERIFY(QDir().mkdir(journal));
        break;
    case JournalCase::Fifo:
#ifndef Q_OS_WIN
        QCOMPARE(::mkfifo(QFile::encodeName(journal).constData(), 0600), 0);
#endif
        break;
    case JournalCase::LinkToDevice:
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), journal));
        break;
    case JournalCase::DanglingLink:
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("manca")), journal));
        break;
    }
    const QByteArray before = readFile(path);
    RecordFile::takeNotices();

    QElapsedTimer timer;
    timer.start();
    RecordFile file;
    QVERIFY2(file.open(ProductRecord::archive()), qPrintable(file.errorString()));
    QVERIFY(timer.elapsed() < 5000); // nothing waited on the journal
    QFileInfo left(journal);
    QVERIFY(!left.exists() && !left.isSymLink());
    const QStringList notices = RecordFile::takeNotices();
    const QStringList aside
        = filesStartingWith(folder.path(), kArchive + QStringLiteral("-journal."));
    if (applied) {
        QVERIFY(notices.isEmpty());
        QVERIFY(aside.isEmpty());
        QByteArray bytes;
        QVERIFY(file.readAt(2, bytes));
        QCOMPARE(bytes, card(2, 1));
    } else {
        // Set aside whole, never applied: the archive is as it was, and the user is told.
        QCOMPARE(readFile(path), before);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices.first().contains(aside.first()));
    }
    // Saving works as before.
    QVERIFY(file.writeAt(1, card(1, 5)));
    QVERIFY(!QFileInfo::exists(journal));
}

void TestStorageFaults::archiveThatIsNotAFileIsRefused()
{
#ifdef Q_OS_WIN
    QSKIP("no FIFOs here");
#else
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    for (RecordFile::Access access :
        { RecordFile::Access::ReadOnly, RecordFile::Access::ReadWrite }) {
        QElapsedTimer timer;
        timer.start();
        RecordFile file;
        QVERIFY(!file.open(ProductRecord::archive(), access));
        QVERIFY(!file.errorString().isEmpty());
        QVERIFY(timer.elapsed() < 5000);
    }
    // The daily copy does not hang on it either, nor copies it.
    QElapsedTimer timer;
    timer.start();
    const Backup::Result r = Backup::makeDaily(folder.path(), QDate(2030, 1, 1));
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(!r.copied.contains(kArchive));
#endif
}

void TestStorageFaults::writeRollsBackACrashedCopysJournal()
{
    // A copy opened the archive, then another copy crashed inside its rewrite of card 2.
    // The first copy's next save (of another card) puts card 2 back before anything else,
    // instead of writing its own journal over the crashed one's.
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
    }
    RecordFile waiting;
    QVERIFY(waiting.open(ProductRecord::archive()));
    leaveTornRewrite(path);
    QVERIFY(waiting.writeAt(0, card(0, 3)));
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(path)));
    waiting.close();
    QCOMPARE(readFile(path), card(0, 3) + card(1, 1) + card(2, 1));
}

void TestStorageFaults::crashInsideOverwriteWhileAnotherCopySaves()
{
    // The crash placed inside the overwrite itself (the child stops there and is killed),
    // while a second copy keeps saving other cards: no card stays torn.
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    QVERIFY(appendCards(8));
    auto saver = startChild({ QStringLiteral("--crash-child"), path, QStringLiteral("5000000") });
    QVERIFY(saver->waitForStarted());
    const int rounds = 20;
    for (int round = 0; round < rounds; ++round) {
        auto child = startChild({ QStringLiteral("--midwrite-child"), path,
            QString::number(round % 8), QString::number(round + 10) });
        QVERIFY(child->waitForStarted());
        QVERIFY(child->waitForReadyRead(20000));
        QCOMPARE(child->readAllStandardOutput().trimmed(), QByteArray("inside"));
        child->kill();
        QVERIFY(child->waitForFinished(20000));
    }
    saver->kill();
    QVERIFY(saver->waitForFinished(20000));
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    QByteArray bytes;
    for (qint64 i = 0; i < file.recordCount(); ++i) {
        QVERIFY(file.readAt(i, bytes));
        const Stamp s = stampOf(bytes);
        QVERIFY2(s.whole && s.index == i, qPrintable(QStringLiteral("record %1 torn").arg(i)));
    }
}

void TestStorageFaults::staleCardIsNotSavedOverAnotherCopy_data()
{
    QTest::addColumn<bool>("otherCopySaved");
    QTest::addColumn<bool>("overwrite"); // the user's answer to the question
    QTest::newRow("nobody else saved") << false << false;
    QTest::newRow("another copy saved, the user keeps its changes") << true << false;
    QTest::newRow("another copy saved, the user overwrites them") << true << true;
}

void TestStorageFaults::staleCardIsNotSavedOverAnotherCopy()
{
    QFETCH(bool, otherCopySaved);
    QFETCH(bool, overwrite);
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    QVERIFY(appendCards(3));
    const CardArchive archive(ProductRecord::archive());
    const CardOutcome shown = archive.navigate(CardNavigation::Move::Last, QString());
    QVERIFY(shown.record.has_value());
    const Record asRead = *shown.record;
    if (otherCopySaved) {
        auto other = startChild(
            { QStringLiteral("--save-child"), path, QStringLiteral("2"), QStringLiteral("8") });
        QVERIFY(other->waitForFinished(20000));
        QCOMPARE(other->exitCode(), 0);
    }
    const QByteArray stored = readFile(path);
    const Record mine = Record::fromBytes(ProductRecord::layout(), card(2, 5));

    CardOutcome out = archive.save(mine, QStringLiteral("3"), asRead);
    QCOMPARE(out.conflict, otherCopySaved);
    QVERIFY(!out.accessError);
    if (!otherCopySaved) {
        QCOMPARE(readFile(path).mid(2 * ProductRecord::kRecordSize), card(2, 5));
        return;
    }
    // Nothing written until the user answers.
    QCOMPARE(readFile(path), stored);
    QVERIFY(CardArchive::conflictText().startsWith(
        QStringLiteral("La scheda è stata modificata da un'altra postazione")));
    if (overwrite) {
        out = archive.save(mine, QStringLiteral("3"));
        QVERIFY(!out.conflict && !out.accessError);
        QCOMPARE(readFile(path).mid(2 * ProductRecord::kRecordSize), card(2, 5));
    } else {
        out = archive.reread(QStringLiteral("3"));
        QVERIFY(out.record.has_value());
        QCOMPARE(out.record->encode(), card(2, 8));
        QCOMPARE(out.position.value_or(0), qint64(3));
        QCOMPARE(readFile(path), stored);
    }
}

void TestStorageFaults::busyArchiveNamesTheOtherCopy_data()
{
    QTest::addColumn<bool>("rewrite");
    QTest::newRow("rewrite") << true;
    QTest::newRow("new card") << false;
}

void TestStorageFaults::busyArchiveNamesTheOtherCopy()
{
    QFETCH(bool, rewrite);
    TempProgramFolder folder;
    const QString path = folder.filePath(kArchive);
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        QVERIFY(file.append(card(0, 1)));
    }
    auto holder = startChild({ QStringLiteral("--hold-child"), path });
    QVERIFY(holder->waitForStarted());
    QVERIFY(holder->waitForReadyRead(20000));
    QCOMPARE(holder->readAllStandardOutput().trimmed(), QByteArray("holding"));
    QList<bool> waits;
    RecordFile::setWaitHook([&waits](bool waiting) { waits.append(waiting); });
    RecordFile::setLockTimeout(300);
    QElapsedTimer timer;
    timer.start();
    const CardArchive archive(ProductRecord::archive());
    const CardOutcome out = archive.save(Record::fromBytes(ProductRecord::layout(), card(0, 2)),
        rewrite ? QStringLiteral("1") : QString());
    const qint64 waited = timer.elapsed();
    RecordFile::setLockTimeout(5000);
    RecordFile::setWaitHook({});
    holder->kill();
    QVERIFY(holder->waitForFinished(20000));
    QVERIFY(out.accessError);
    QVERIFY(out.busy);
    QVERIFY(waited >= 300 && waited < 5000);
    QCOMPARE(waits, (QList<bool> { true, false })); // the busy cursor on, then off
    QCOMPARE(archiveBusyText(),
        QStringLiteral("L'archivio è in uso da un'altra copia del programma. Riprovare tra "
                       "qualche istante."));
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly));
    QCOMPARE(accessErrorText(file), accessErrorText()); // an open that worked is no wait
}

void TestStorageFaults::safeFileFailsAtEachStep_data()
{
    using S = RecordFile::IoStep;
    using F = RecordFile::IoFault;
    QTest::addColumn<bool>("writerFails");
    QTest::addColumn<RecordFile::IoStep>("step");
    QTest::addColumn<RecordFile::IoFault>("fault");
    QTest::newRow("nothing fails") << false << S::OpenForWriting << F::None;
    QTest::newRow("the writer fails") << true << S::OpenForWriting << F::None;
    QTest::newRow("write fails") << false << S::ReplaceWrite << F::Fail;
    QTest::newRow("disk full while writing") << false << S::ReplaceWrite << F::DiskFull;
    QTest::newRow("sync to disk fails") << false << S::ReplaceSync << F::Fail;
    QTest::newRow("rename fails") << false << S::ReplaceCommit << F::Fail;
}

void TestStorageFaults::safeFileFailsAtEachStep()
{
    QFETCH(bool, writerFails);
    QFETCH(RecordFile::IoStep, step);
    QFETCH(RecordFile::IoFault, fault);
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("Documento.txt"));
    writeFile(path, "old content");
    // Small content: all of it would stay in the buffer until commit() without the checks.
    const QByteArray content = "new content";
    QString error;
    bool replaced = false;
    {
        ScopedFaults faults({ { step, fault } });
        replaced = SafeFile::replace(
            path,
            [&](QIODevice &out) { return out.write(content) == content.size() && !writerFails; },
            &error);
    }
    const bool fails = writerFails || fault != RecordFile::IoFault::None;
    QCOMPARE(replaced, !fails);
    QCOMPARE(readFile(path), fails ? QByteArray("old content") : content);
    QCOMPARE(error.isEmpty(), !fails);
    // No temporary file stays behind.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("Documento.txt") });
}

void TestStorageFaults::wholeFileWritersReportFailure_data()
{
    using S = RecordFile::IoStep;
    using F = RecordFile::IoFault;
    QTest::addColumn<QString>("writer");
    QTest::addColumn<RecordFile::IoStep>("step");
    QTest::addColumn<RecordFile::IoFault>("fault");
    for (const char *writer : { "attachment", "xls", "xlsx", "password", "backup" }) {
        QTest::addRow("%s, full disk", writer)
            << QString::fromLatin1(writer) << S::ReplaceWrite << F::DiskFull;
        QTest::addRow("%s, sync fails", writer)
            << QString::fromLatin1(writer) << S::ReplaceSync << F::Fail;
    }
}

void TestStorageFaults::wholeFileWritersReportFailure()
{
    QFETCH(QString, writer);
    QFETCH(RecordFile::IoStep, step);
    QFETCH(RecordFile::IoFault, fault);
    TempProgramFolder folder;
    QString target;
    std::function<bool()> write;
    if (writer == QLatin1String("attachment")) {
        // A small file: the whole copy would sit in the buffer until commit().
        const QString source = folder.filePath(QStringLiteral("scelto.txt"));
        writeFile(source, QByteArray(3000, 'n'));
        QVERIFY(AttachedFiles::copyIntoFolder(source, QStringLiteral("doc.txt"))
            == AttachedFiles::CopyResult::Copied);
        target = AttachedFiles::filePath(QStringLiteral("doc.txt"));
        writeFile(target, "old");
        write = [source] {
            return AttachedFiles::copyIntoFolder(source, QStringLiteral("doc.txt"))
                == AttachedFiles::CopyResult::Copied;
        };
    } else if (writer.startsWith(QLatin1String("xls"))) {
        target = folder.filePath(QStringLiteral("Magazzino.") + writer);
        writeFile(target, "old");
        Record r(ProductRecord::layout());
        r.setValue(ProductRecord::Codice, QStringLiteral("A"));
        write = [target, writer, r] {
            const ExportGrid grid
                = ExportGrid::fromRecords(Export::exporter(ArchiveId::Products), { r });
            return writer == QLatin1String("xls") ? SpreadsheetHtml::save(target, grid)
                                                  : SpreadsheetXlsx::save(target, grid);
        };
    } else if (writer == QLatin1String("password")) {
        target = folder.filePath(QStringLiteral("unins000.dll"));
        writeFile(target, "old");
        write = [target] {
            return IniFile::writeValue(target, "Password", "Valore", QStringLiteral("nuovo"));
        };
    } else {
        writeFile(folder.filePath(kArchive), card(0, 1));
        target = folder.filePath(QStringLiteral("Backup"));
        write = [&folder] {
            return Backup::makeDaily(folder.path(), QDate(2030, 1, 1)).outcome
                == Backup::Result::Outcome::Done;
        };
    }
    const QByteArray before = readFile(target);
    bool written = true;
    {
        ScopedFaults faults({ { step, fault, 1000 } });
        written = write();
    }
    QVERIFY(!written);
    if (writer == QLatin1String("backup")) {
        // No day and no work folder: the next start tries again.
        QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    } else {
        QCOMPARE(readFile(target), before);
        QCOMPARE(filesStartingWith(QFileInfo(target).absolutePath(), QFileInfo(target).fileName()),
            QStringList { QFileInfo(target).fileName() });
    }
    // Without the fault the same call works.
    QVERIFY(write());
}

void TestStorageFaults::backupIsMadeOnceADay_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("a journal vanishes while it is copied") << QStringLiteral("vanishing journal");
    QTest::newRow("folders dated after today") << QStringLiteral("future days");
    QTest::newRow("today's folder is there but empty") << QStringLiteral("empty today");
    QTest::newRow("another copy still at work on yesterday's copy")
        << QStringLiteral("yesterday at work");
}

void TestStorageFaults::backupIsMadeOnceADay()
{
    QFETCH(QString, situation);
    TempProgramFolder folder;
    const QDate today(2030, 1, 15);
    const QString day = QStringLiteral("2030-01-15");
    const QString backups = folder.filePath(QStringLiteral("Backup"));
    writeFile(folder.filePath(kArchive), card(0, 1));
    std::optional<ScopedFaults> faults;
    if (situation == QLatin1String("vanishing journal")) {
        // A rewrite ends (and deletes its journal) after the folder was listed.
        const QString journal = RecordFile::journalPath(folder.filePath(kArchive));
        writeFile(journal, "journal of a rewrite going on");
        RecordFile::setFaultHook([journal](RecordFile::IoStep step) {
            if (step == RecordFile::IoStep::ReplaceWrite)
                QFile::remove(journal);
            return RecordFile::IoFault::None;
        });
    } else if (situation == QLatin1String("future days")) {
        for (int i = 1; i <= 12; ++i)
            QVERIFY(QDir().mkpath(
                QStringLiteral("%1/2031-01-%2/x").arg(backups).arg(i, 2, 10, QLatin1Char('0'))));
    } else if (situation == QLatin1String("yesterday at work")) {
        // A copy started just before midnight is still copying; one cut short two days ago
        // left its work behind.
        QVERIFY(QDir().mkpath(backups + QStringLiteral("/2030-01-14.tmp-41-0a0b0c0d/x")));
        QVERIFY(QDir().mkpath(backups + QStringLiteral("/2030-01-13.tmp-42-0a0b0c0d/x")));
    } else {
        QVERIFY(QDir().mkpath(backups + QLatin1Char('/') + day));
    }
    const Backup::Result r = Backup::makeDaily(folder.path(), today);
    RecordFile::setFaultHook({});
    QCOMPARE(r.outcome, Backup::Result::Outcome::Done);
    QCOMPARE(readFile(backups + QLatin1Char('/') + day + QLatin1Char('/') + kArchive), card(0, 1));
    if (situation == QLatin1String("future days"))
        QCOMPARE(QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 13);
    if (situation == QLatin1String("yesterday at work")) {
        QCOMPARE(QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
            QStringList({ QStringLiteral("2030-01-14.tmp-41-0a0b0c0d"), day }));
    }
    // Once made, the day is done.
    QCOMPARE(Backup::makeDaily(folder.path(), today).outcome, Backup::Result::Outcome::AlreadyDone);
}

void TestStorageFaults::twoCopiesBackingUpTogetherMakeOneCopy()
{
    TempProgramFolder folder;
    writeFile(folder.filePath(kArchive), card(0, 1) + card(1, 1));
    const int days = 20;
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int i = 0; i < 2; ++i) {
        copies.push_back(
            startChild({ QStringLiteral("--backup-child"), folder.path(), QString::number(days) }));
        QVERIFY(copies.back()->waitForStarted());
    }
    // Each day both copies are let go at the same moment, and the next day waits for both.
    const QString backups = folder.filePath(QStringLiteral("Backup"));
    for (int day = 0; day < days; ++day) {
        writeFile(folder.filePath(QStringLiteral("go-%1").arg(day)), "go");
        QList<QByteArray> both;
        for (auto &copy : copies) {
            QDeadlineTimer deadline(30000);
            while (!copy->canReadLine() && !deadline.hasExpired())
                copy->waitForReadyRead(100);
            QVERIFY(copy->canReadLine());
            const QByteArray line = copy->readLine().trimmed();
            QVERIFY2(line.startsWith(QByteArray::number(day) + ' '), line.constData());
            both.append(line);
        }
        // Neither copy failed (and so neither warned its user).
        for (const QByteArray &line : both) {
            QVERIFY2(line.split(' ').value(1).toInt() != int(Backup::Result::Outcome::Failed),
                line.constData());
        }
        const QString name = QDate(2030, 1, 1).addDays(day).toString(QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(readFile(backups + QLatin1Char('/') + name + QLatin1Char('/') + kArchive),
            card(0, 1) + card(1, 1));
    }
    for (auto &copy : copies) {
        QVERIFY(copy->waitForFinished(60000));
        QCOMPARE(copy->exitCode(), 0);
    }
    // Only day folders are left.
    QCOMPARE(QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), days);
}

void TestStorageFaults::failedFirstMovementLeavesNoYearlyFile()
{
    TempProgramFolder folder;
    Movement::MovementEntry entry;
    entry.data = QStringLiteral("15/01/2030");
    entry.codice = QStringLiteral("A");
    const Record movement = Movement::buildRecord(entry);
    const QString yearly
        = folder.filePath(Movement::fileNameFor(MovementRecord::Kind::Load, movement));
    {
        ScopedFaults faults(
            { { RecordFile::IoStep::ArchiveWrite, RecordFile::IoFault::DiskFull } });
        QVERIFY(!Movement::appendMovement(MovementRecord::Kind::Load, movement));
    }
    QVERIFY(!QFileInfo::exists(yearly));
    QVERIFY(Movement::appendMovement(MovementRecord::Kind::Load, movement));
    // A later failure keeps the file and its movements.
    {
        ScopedFaults faults(
            { { RecordFile::IoStep::ArchiveWrite, RecordFile::IoFault::DiskFull } });
        QVERIFY(!Movement::appendMovement(MovementRecord::Kind::Load, movement));
    }
    QCOMPARE(QFileInfo(yearly).size(), qint64(MovementRecord::layout().recordSize()));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--crash-child"))
        return crashChild(args[2], args[3].toLongLong());
    if (args.size() == 5 && args[1] == QLatin1String("--append-child"))
        return appendChild(args[2], args[3], args[4].toInt());
    if (args.size() == 5 && args[1] == QLatin1String("--save-child"))
        return saveChild(args[2], args[3].toLongLong(), args[4].toLongLong());
    if (args.size() == 5 && args[1] == QLatin1String("--midwrite-child"))
        return crashInsideOverwrite(args[2], args[3].toLongLong(), args[4].toLongLong());
    if (args.size() == 3 && args[1] == QLatin1String("--hold-child"))
        return holdChild(args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("--backup-child"))
        return backupChild(args[2], args[3].toInt());
    TestStorageFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storagefaults.moc"
