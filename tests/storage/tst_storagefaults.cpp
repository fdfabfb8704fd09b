// The promises of the storage layer under faults: a crash at any moment of a save, I/O
// errors at every step of a write, two copies of the program writing at once, an archive
// that may only be read, a rewrite interrupted before its journal was deleted.
#include "cards/CardArchive.h"
#include "common/TempProgramFolder.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"

#include <QCoreApplication>
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

namespace {

const QString kArchive = QStringLiteral("Magazzino.mrv");

// The fields of a test card that carry its stamp: spread over the whole 4874 bytes, so a
// record torn at any page boundary has fields that disagree.
const int kStampFields[]
    = { ProductRecord::Tipologia, ProductRecord::Descrizione, ProductRecord::Documento,
          ProductRecord::Collocazione, ProductRecord::Note, ProductRecord::File02,
          ProductRecord::Desc01, ProductRecord::Desc03, ProductRecord::CartellaDesc };

// A card whose every stamped field says which record and which version it is. The
// fields are filled to their capacity so that every byte of the record changes from one
// version to the next.
QByteArray card(qint64 index, qint64 version)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, QStringLiteral("P%1").arg(index));
    const QString stamp = QStringLiteral("%1:%2;").arg(index).arg(version);
    for (int f : kStampFields)
        r.setValue(f, stamp.repeated(250 / int(stamp.size()) + 1).left(250));
    return r.encode();
}

struct Stamp
{
    bool whole = false; // every stamped field agrees
    qint64 index = -1;
    qint64 version = -1;
};

Stamp stampOf(const QByteArray &bytes)
{
    Record r(ProductRecord::layout());
    r.decode(bytes);
    Stamp s;
    const QString first = r.value(kStampFields[0]);
    for (int f : kStampFields) {
        if (r.value(f) != first)
            return s;
    }
    const QStringList parts = first.section(QLatin1Char(';'), 0, 0).split(QLatin1Char(':'));
    if (parts.size() != 2 || r.value(ProductRecord::Codice) != QLatin1Char('P') + parts[0])
        return s;
    s.whole = true;
    s.index = parts[0].toLongLong();
    s.version = parts[1].toLongLong();
    return s;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

QString selfPath()
{
    return QCoreApplication::applicationFilePath();
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

} // namespace

Q_DECLARE_METATYPE(RecordFile::IoStep)
Q_DECLARE_METATYPE(RecordFile::IoFault)
Q_DECLARE_METATYPE(RecordFile::Access)

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
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (int i = 0; i < 3; ++i)
            QVERIFY(file.append(card(i, 1)));
    }
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
    // Tear the record, as a crash in the middle of the write would.
    writeRecordRaw(path, 2, card(2, 3).left(4096));

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
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (int i = 0; i < count; ++i)
            QVERIFY(file.append(card(i, 1)));
    }
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
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (int i = 0; i < 3; ++i)
            QVERIFY(file.append(card(i, 1)));
    }
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

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--crash-child"))
        return crashChild(args[2], args[3].toLongLong());
    if (args.size() == 5 && args[1] == QLatin1String("--append-child"))
        return appendChild(args[2], args[3], args[4].toInt());
    TestStorageFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storagefaults.moc"
