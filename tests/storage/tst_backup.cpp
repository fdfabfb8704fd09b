// The daily copy of the archives: what it copies, once a day, the days it keeps, and the
// one warning when it cannot be made.
#include "app/DailyBackup.h"
#include "common/MessageRecorder.h"
#include "common/TempProgramFolder.h"
#include "storage/Backup.h"
#include "storage/RecordFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QDate kToday(2026, 12, 10);

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT
private slots:
    void copiesTheArchivesAndThePasswordOnly();
    void onceADay();
    void keepsTheLastTenDays();
    void failureLeavesNoDayAndIsReported();
    void backgroundCopyWarnsOnceWhenItFails();
};

void TestBackup::copiesTheArchivesAndThePasswordOnly()
{
    TempProgramFolder folder;
    const QByteArray big(3 * 1024 * 1024 + 17, 'm'); // more than one copy block
    writeFile(folder.filePath(QStringLiteral("Magazzino.mrv")), big);
    writeFile(folder.filePath(QStringLiteral("Carico_2026.mrv")), "carico");
    writeFile(folder.filePath(QStringLiteral("Clienti.mrv")), QByteArray());
    writeFile(folder.filePath(QStringLiteral("unins000.dll")), "password");
    writeFile(folder.filePath(QStringLiteral("Magazzino.mrv-journal")), "giornale");
    // Not archives: attachments, other files, folders.
    writeFile(folder.filePath(QStringLiteral("foto.jpg")), "jpg");
    writeFile(folder.filePath(QStringLiteral("Guida.pdf")), "pdf");
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("Allegati/A1")));
    writeFile(folder.filePath(QStringLiteral("Allegati/A1/doc.mrv")), "nested");

    const Backup::Result r = Backup::makeDaily(folder.path(), kToday);
    QCOMPARE(r.outcome, Backup::Result::Outcome::Done);
    QCOMPARE(r.folder, folder.filePath(QStringLiteral("Backup/2026-12-10")));
    const QStringList expected = { QStringLiteral("Carico_2026.mrv"), QStringLiteral("Clienti.mrv"),
        QStringLiteral("Magazzino.mrv"), QStringLiteral("Magazzino.mrv-journal"),
        QStringLiteral("unins000.dll") };
    QCOMPARE(r.copied, expected);
    QCOMPARE(
        QDir(r.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), expected);
    for (const QString &name : expected)
        QCOMPARE(readFile(QDir(r.folder).filePath(name)), readFile(folder.filePath(name)));
    QCOMPARE(readFile(QDir(r.folder).filePath(QStringLiteral("Magazzino.mrv"))), big);
    // Nothing temporary left behind.
    QCOMPARE(QDir(folder.filePath(QStringLiteral("Backup")))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("2026-12-10") });
}

void TestBackup::onceADay()
{
    TempProgramFolder folder;
    writeFile(folder.filePath(QStringLiteral("Magazzino.mrv")), "primo");
    QCOMPARE(Backup::makeDaily(folder.path(), kToday).outcome, Backup::Result::Outcome::Done);
    writeFile(folder.filePath(QStringLiteral("Magazzino.mrv")), "secondo");
    // A second start on the same day keeps the copy of the first.
    const Backup::Result again = Backup::makeDaily(folder.path(), kToday);
    QCOMPARE(again.outcome, Backup::Result::Outcome::AlreadyDone);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("Backup/2026-12-10/Magazzino.mrv"))),
        QByteArray("primo"));
    // The next day gets its own.
    QCOMPARE(
        Backup::makeDaily(folder.path(), kToday.addDays(1)).outcome, Backup::Result::Outcome::Done);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("Backup/2026-12-11/Magazzino.mrv"))),
        QByteArray("secondo"));
}

void TestBackup::keepsTheLastTenDays()
{
    TempProgramFolder folder;
    writeFile(folder.filePath(QStringLiteral("Magazzino.mrv")), "x");
    QDir program(folder.path());
    // Twelve earlier days (not all consecutive: days the program was not started), a copy
    // cut short by a crash and a folder of the user's own.
    QStringList earlier;
    for (int back : { 1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 400 })
        earlier.append(kToday.addDays(-back).toString(QStringLiteral("yyyy-MM-dd")));
    for (const QString &day : earlier)
        QVERIFY(program.mkpath(QStringLiteral("Backup/") + day));
    QVERIFY(program.mkpath(QStringLiteral("Backup/2026-12-01.tmp")));
    QVERIFY(program.mkpath(QStringLiteral("Backup/vecchi")));
    writeFile(
        folder.filePath(QStringLiteral("Backup/") + earlier.last() + QStringLiteral("/a.mrv")),
        "old");

    QCOMPARE(Backup::makeDaily(folder.path(), kToday).outcome, Backup::Result::Outcome::Done);
    QStringList expected = earlier.mid(0, 9);
    expected.append(QStringLiteral("2026-12-10"));
    expected.append(QStringLiteral("vecchi"));
    expected.sort();
    QCOMPARE(QDir(folder.filePath(QStringLiteral("Backup")))
                 .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
        expected);
}

void TestBackup::failureLeavesNoDayAndIsReported()
{
    TempProgramFolder folder;
    writeFile(folder.filePath(QStringLiteral("Magazzino.mrv")), "x");
    // A file where the Backup folder should be.
    writeFile(folder.filePath(QStringLiteral("Backup")), "not a folder");
    Backup::Result r = Backup::makeDaily(folder.path(), kToday);
    QCOMPARE(r.outcome, Backup::Result::Outcome::Failed);
    QVERIFY(!r.error.isEmpty());
    QFile::remove(folder.filePath(QStringLiteral("Backup")));

    // A copy that fails half way (a full disk) leaves neither the day nor its work folder:
    // the next start tries again.
    RecordFile::setFaultHook([](RecordFile::IoStep step) {
        return step == RecordFile::IoStep::ReplaceWrite ? RecordFile::IoFault::DiskFull
                                                        : RecordFile::IoFault::None;
    });
    r = Backup::makeDaily(folder.path(), kToday);
    RecordFile::setFaultHook({});
    QCOMPARE(r.outcome, Backup::Result::Outcome::Failed);
    QVERIFY(r.error.contains(QStringLiteral("Magazzino.mrv")));
    QCOMPARE(QDir(folder.filePath(QStringLiteral("Backup")))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList());
    QCOMPARE(Backup::makeDaily(folder.path(), kToday).outcome, Backup::Result::Outcome::Done);
}

void TestBackup::backgroundCopyWarnsOnceWhenItFails()
{
    TempProgramFolder folder;
    writeFile(folder.filePath(QStringLiteral("Magazzino.mrv")), "x");
    writeFile(folder.filePath(QStringLiteral("Backup")), "not a folder");
    MessageRecorder messages;
    QThread *thread = startDailyBackup(kToday);
    QSignalSpy destroyed(thread, &QObject::destroyed);
    QVERIFY(destroyed.wait(10000));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(messages.lastText(), Backup::warningText());

    // A copy that succeeds says nothing.
    QFile::remove(folder.filePath(QStringLiteral("Backup")));
    messages.clear();
    thread = startDailyBackup(kToday);
    QSignalSpy done(thread, &QObject::destroyed);
    QVERIFY(done.wait(10000));
    QCOMPARE(messages.count(), 0);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("Backup/2026-12-10/Magazzino.mrv"))));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
