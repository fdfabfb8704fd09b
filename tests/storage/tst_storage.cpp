#include "common/TempProgramFolder.h"
#include "storage/RecordFile.h"
#include "storage/Storage.h"

#include <QDir>
#include <QTest>

// The storage calls beyond one archive's reads and writes, on the program folder's files:
// a change held against other writers, the archives' names, copies, and the working copy
// that replaces an archive whole or not at all.
namespace {

constexpr FieldTable kFields(
    std::array { FieldSpec { "Codice", 10 }, FieldSpec { "Descrizione", 20 } });

const RecordLayout &layout()
{
    static const RecordLayout kLayout(kFields);
    return kLayout;
}

const Archive &archive()
{
    static const Archive kArchive { QStringLiteral("Prove.mrv"), &layout() };
    return kArchive;
}

Record record(const QString &code, const QString &text = {})
{
    Record r(layout());
    r.setValue(0, code);
    r.setValue(1, text);
    return r;
}

void fill(const QStringList &codes)
{
    RecordFile file;
    QVERIFY(file.open(archive()));
    for (const QString &code : codes)
        QVERIFY(file.append(record(code)));
}

// Another copy of the program saving the archive (a handle of its own, so its lock meets
// the one held by the change).
bool otherCopyAppends(const QString &code)
{
    RecordFile other;
    return other.open(archive()) && other.append(record(code));
}

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT
private slots:
    void init() { RecordFile::setLockTimeout(200); }
    void cleanup() { RecordFile::setLockTimeout(5000); }

    void changeKeepsOtherWritersOut();
    void changeReportsAnArchiveThatCannotBeOpened();
    void namesExistenceAndCopies();
    void workingCopy_data();
    void workingCopy();
    void workingCopyKeepsOtherWritersOutUntilReplaced();
    void leftoverWorkingCopyIsThrownAway();
};

void TestStorage::changeKeepsOtherWritersOut()
{
    TempProgramFolder folder;
    fill({ QStringLiteral("A") });
    bool otherSaved = true;
    Storage::Failure otherFailure = Storage::Failure::None;
    const bool done = Storage::change(archive(), [&](Storage::Session &held) {
        RecordFile other;
        otherSaved = other.open(archive()) && other.append(record(QStringLiteral("B")));
        otherFailure = other.failure();
        return held.writeAt(0, record(QStringLiteral("A"), QStringLiteral("cambiata")));
    });
    QVERIFY(done);
    QVERIFY(!otherSaved);
    QCOMPARE(otherFailure, Storage::Failure::Busy);
    // Once the change is over the other copy saves again.
    QVERIFY(otherCopyAppends(QStringLiteral("C")));
    RecordFile file;
    QVERIFY(file.open(archive(), Storage::Access::ReadOnly));
    QCOMPARE(file.recordCount(), 2);
    Record r(layout());
    QVERIFY(file.readAt(0, r));
    QCOMPARE(r.value(1), QStringLiteral("cambiata"));
}

void TestStorage::changeReportsAnArchiveThatCannotBeOpened()
{
    TempProgramFolder folder;
    // A folder where the archive should be.
    QVERIFY(QDir(folder.path()).mkdir(archive().fileName));
    bool ran = false;
    QString error;
    Storage::Failure failure = Storage::Failure::None;
    QVERIFY(!Storage::change(
        archive(),
        [&](Storage::Session &) {
            ran = true;
            return true;
        },
        &error, &failure));
    QVERIFY(!ran);
    QVERIFY(!error.isEmpty());
    QCOMPARE(failure, Storage::Failure::Other);
}

void TestStorage::namesExistenceAndCopies()
{
    TempProgramFolder folder;
    QVERIFY(!Storage::exists(archive()));
    fill({ QStringLiteral("A"), QStringLiteral("B") });
    // Bytes past a field's text (an older program's) are copied as they are.
    QByteArray stored = folder.readAll(archive().fileName);
    stored[5] = 'x';
    {
        QFile f(folder.filePath(archive().fileName));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(stored), stored.size());
    }
    for (const char *name : { "Carico_2024.mrv", "Scarico_2025.mrv", "Carico_20x.txt" }) {
        QFile f(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(Storage::exists(archive()));
    QCOMPARE(Storage::archiveNames(
                 { QStringLiteral("Carico_????.mrv"), QStringLiteral("Scarico_????.mrv") }),
        QStringList({ QStringLiteral("Carico_2024.mrv"), QStringLiteral("Scarico_2025.mrv") }));

    const QString copy = folder.filePath(QStringLiteral("copia/Prove.mrv"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("copia")));
    QString error;
    QVERIFY2(Storage::copyArchive(archive(), copy, &error), qPrintable(error));
    QFile copied(copy);
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), stored);

    const QString day = folder.filePath(QStringLiteral("giorno"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("giorno")));
    QStringList names;
    QVERIFY(Storage::copyArchives(day, &names, &error));
    QCOMPARE(names,
        QStringList({ QStringLiteral("Carico_2024.mrv"), QStringLiteral("Prove.mrv"),
            QStringLiteral("Scarico_2025.mrv") }));
    QCOMPARE(QDir(day).entryList(QDir::Files), names);
}

void TestStorage::workingCopy_data()
{
    QTest::addColumn<bool>("commit");
    QTest::newRow("committed: the archive is the copy") << true;
    QTest::newRow("dropped: the archive as it was") << false;
}

void TestStorage::workingCopy()
{
    QFETCH(bool, commit);
    TempProgramFolder folder;
    fill({ QStringLiteral("A"), QStringLiteral("B") });
    const QByteArray before = folder.readAll(archive().fileName);
    QByteArray expected;
    {
        QString error;
        const auto copy = Storage::workingCopy(archive(), &error);
        QVERIFY2(copy, qPrintable(error));
        QCOMPARE(copy->recordCount(), 2);
        QVERIFY(copy->writeAt(1, record(QStringLiteral("B"), QStringLiteral("aggiornata"))));
        QVERIFY(copy->appendBlock(
            record(QStringLiteral("C")).encode() + record(QStringLiteral("D")).encode()));
        Record r(layout());
        QVERIFY(copy->readAt(3, r));
        QCOMPARE(r.value(0), QStringLiteral("D"));
        // Nothing reaches the archive before the copy takes its place.
        QCOMPARE(folder.readAll(archive().fileName), before);
        expected = before.left(layout().recordSize())
            + record(QStringLiteral("B"), QStringLiteral("aggiornata")).encode()
            + record(QStringLiteral("C")).encode() + record(QStringLiteral("D")).encode();
        if (commit)
            QVERIFY2(copy->commit(), qPrintable(copy->errorString()));
    }
    QCOMPARE(folder.readAll(archive().fileName), commit ? expected : before);
    // No working file or journal is left beside the archive.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList { archive().fileName });
}

void TestStorage::workingCopyKeepsOtherWritersOutUntilReplaced()
{
    TempProgramFolder folder;
    fill({ QStringLiteral("A") });
    // A copy of the program that opened the archive before the import began.
    RecordFile early;
    QVERIFY(early.open(archive()));
    {
        const auto copy = Storage::workingCopy(archive());
        QVERIFY(copy);
        QVERIFY(copy->append(record(QStringLiteral("I"))));
        // Its saves wait for the import, then say the archive is busy: never lost.
        QVERIFY(!otherCopyAppends(QStringLiteral("X")));
        QVERIFY(copy->commit());
    }
    // The early copy's handle still names the archive that was replaced: writing there
    // would be lost, so it is told to try again.
    QVERIFY(!early.append(record(QStringLiteral("E"))));
    QCOMPARE(early.failure(), Storage::Failure::Busy);
    QVERIFY(otherCopyAppends(QStringLiteral("F")));
    RecordFile file;
    QVERIFY(file.open(archive(), Storage::Access::ReadOnly));
    QStringList codes;
    Record r(layout());
    while (file.readNext(r))
        codes.append(r.value(0));
    QCOMPARE(codes, QStringList({ QStringLiteral("A"), QStringLiteral("I"), QStringLiteral("F") }));
}

void TestStorage::leftoverWorkingCopyIsThrownAway()
{
    TempProgramFolder folder;
    fill({ QStringLiteral("A") });
    // A working copy and a journal of it left by an import cut short by a crash.
    const QString leftover = folder.filePath(archive().fileName + QStringLiteral(".importazione"));
    {
        QFile f(leftover);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(record(QStringLiteral("VECCHIA")).encode().repeated(3)) > 0);
        QFile j(RecordFile::journalPath(leftover));
        QVERIFY(j.open(QIODevice::WriteOnly));
        QVERIFY(j.write("MRVJRNL2 damaged") > 0);
    }
    const auto copy = Storage::workingCopy(archive());
    QVERIFY(copy);
    QCOMPARE(copy->recordCount(), 1);
    QVERIFY(!QFileInfo::exists(RecordFile::journalPath(leftover)));
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
