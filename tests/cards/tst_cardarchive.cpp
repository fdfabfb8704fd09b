#include "cards/CardArchive.h"
#include "common/TempProgramFolder.h"
#include "records/CustomerRecord.h"
#include "storage/RecordFile.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using CardNavigation::Move;

// The card workflow over a real archive in a temporary program folder: which record each
// move reads and the position it shows, where Salva writes, what Duplica says, and the
// access error when the archive cannot be reached.
class TestCardArchive : public QObject
{
    Q_OBJECT
private slots:
    void navigate_data();
    void navigate();
    void saveAppendsOrRewrites_data();
    void saveAppendsOrRewrites();
    void duplicate_data();
    void duplicate();
    void unreachableArchiveIsAnAccessError();
};

namespace {

const CardArchive kCards(CustomerRecord::archive());

Record customer(const QString &surname)
{
    Record r(CustomerRecord::layout());
    r.setValue(CustomerRecord::Cognome, surname);
    return r;
}

// An archive of count customers named "C1", "C2", ...
void fill(int count)
{
    RecordFile file;
    QVERIFY(file.open(CustomerRecord::archive()));
    for (int i = 1; i <= count; ++i)
        QVERIFY(file.append(customer(u"C"_s + QString::number(i))));
}

QList<QString> surnames()
{
    QList<QString> out;
    RecordFile file;
    if (!file.open(CustomerRecord::archive()))
        return out;
    Record r(CustomerRecord::layout());
    while (file.readNext(r))
        out << r.value(CustomerRecord::Cognome);
    return out;
}

const QString kEmpty = u"L'archivio non contiene nessuna scheda."_s;

} // namespace

void TestCardArchive::navigate_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<Move>("move");
    QTest::addColumn<QString>("position");
    // -1: the position stays; 0: emptied; otherwise the position shown with the record.
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("notice");

    QTest::newRow("first") << 3 << Move::First << u"2"_s << 1 << QString();
    QTest::newRow("last") << 3 << Move::Last << u""_s << 3 << QString();
    QTest::newRow("previous") << 3 << Move::Previous << u"3"_s << 2 << QString();
    QTest::newRow("previous on a new card") << 3 << Move::Previous << u""_s << 1 << QString();
    QTest::newRow("previous at the first") << 3 << Move::Previous << u"1"_s << -1 << QString();
    QTest::newRow("next") << 3 << Move::Next << u"1"_s << 2 << QString();
    QTest::newRow("next on a new card") << 3 << Move::Next << u""_s << 1 << QString();
    QTest::newRow("next at the last") << 3 << Move::Next << u"3"_s << -1 << QString();
    QTest::newRow("first, empty archive") << 0 << Move::First << u"4"_s << -1 << kEmpty;
    QTest::newRow("last, empty archive") << 0 << Move::Last << u""_s << -1 << kEmpty;
    QTest::newRow("previous, empty archive") << 0 << Move::Previous << u"2"_s << -1 << kEmpty;
    QTest::newRow("next, empty archive empties the position")
        << 0 << Move::Next << u"2"_s << 0 << kEmpty;
}

void TestCardArchive::navigate()
{
    QFETCH(int, count);
    QFETCH(Move, move);
    QFETCH(QString, position);
    QFETCH(int, shown);
    QFETCH(QString, notice);
    TempProgramFolder folder;
    fill(count);

    const CardOutcome out = kCards.navigate(move, position);
    QVERIFY(!out.accessError);
    QCOMPARE(out.notice.text, notice);
    if (!notice.isEmpty())
        QCOMPARE(out.notice.kind, Notice::Kind::Information);
    if (shown < 0) {
        QVERIFY(!out.position);
        QVERIFY(!out.record);
    } else if (shown == 0) {
        QCOMPARE(out.position.value_or(-1), 0);
        QVERIFY(!out.record);
    } else {
        QCOMPARE(out.position.value_or(-1), shown);
        QVERIFY(out.record);
        QCOMPARE(out.record->value(CustomerRecord::Cognome), u"C"_s + QString::number(shown));
    }
}

void TestCardArchive::saveAppendsOrRewrites_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("position");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("notice");
    const QString added = u"La scheda corrente è stata inserita in archivio."_s;
    const QString saved
        = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;

    QTest::newRow("new card, empty archive") << 0 << u""_s << 1 << QStringList { u"N"_s } << added;
    QTest::newRow("new card appended")
        << 2 << u""_s << 3 << QStringList { u"C1"_s, u"C2"_s, u"N"_s } << added;
    QTest::newRow("rewrite the first")
        << 2 << u"1"_s << 1 << QStringList { u"N"_s, u"C2"_s } << saved;
    QTest::newRow("rewrite, blanks around the position")
        << 2 << u" 2 "_s << 2 << QStringList { u"C1"_s, u"N"_s } << saved;
    QTest::newRow("not a number is a new card")
        << 1 << u"x"_s << 2 << QStringList { u"C1"_s, u"N"_s } << added;
}

void TestCardArchive::saveAppendsOrRewrites()
{
    QFETCH(int, count);
    QFETCH(QString, position);
    QFETCH(int, shown);
    QFETCH(QStringList, after);
    QFETCH(QString, notice);
    TempProgramFolder folder;
    fill(count);

    const CardOutcome out = kCards.save(customer(u"N"_s), position);
    QVERIFY(!out.accessError);
    QCOMPARE(out.position.value_or(-1), shown);
    QVERIFY(!out.record);
    QCOMPARE(out.notice, (Notice { Notice::Kind::Information, notice }));
    QCOMPARE(surnames(), after);
}

void TestCardArchive::duplicate_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<bool>("duplicated");
    QTest::newRow("new card") << u""_s << false;
    QTest::newRow("blank position") << u"  "_s << false;
    QTest::newRow("saved card") << u"2"_s << true;
}

void TestCardArchive::duplicate()
{
    QFETCH(QString, position);
    QFETCH(bool, duplicated);
    TempProgramFolder folder;
    fill(2);

    const CardOutcome out = kCards.duplicate(position);
    QVERIFY(!out.accessError);
    QVERIFY(!out.record);
    if (duplicated) {
        QCOMPARE(out.position.value_or(-1), 0);
        QCOMPARE(out.notice.kind, Notice::Kind::Information);
        QVERIFY(out.notice.text.startsWith(u"E' ora possibile apportare"_s));
    } else {
        QVERIFY(!out.position);
        QCOMPARE(out.notice.kind, Notice::Kind::Warning);
        QVERIFY(out.notice.text.startsWith(u"Attenzione: la duplicazione di una scheda"_s));
    }
    // Duplicating writes nothing.
    QCOMPARE(surnames(), (QStringList { u"C1"_s, u"C2"_s }));
}

void TestCardArchive::unreachableArchiveIsAnAccessError()
{
    TempProgramFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(CustomerRecord::archive().fileName));

    for (Move move : { Move::First, Move::Previous, Move::Next, Move::Last }) {
        const CardOutcome out = kCards.navigate(move, u"2"_s);
        QVERIFY(out.accessError);
        QVERIFY(!out.record);
        QVERIFY(!out.position);
    }
    const CardOutcome saved = kCards.save(customer(u"N"_s), u""_s);
    QVERIFY(saved.accessError);
    QVERIFY(!saved.position);
    QVERIFY(saved.notice.isEmpty());
    // Duplica has already made the card a new one when it finds the archive unreachable.
    const CardOutcome duplicated = kCards.duplicate(u"1"_s);
    QVERIFY(duplicated.accessError);
    QCOMPARE(duplicated.position.value_or(-1), 0);
    QVERIFY(duplicated.notice.isEmpty());
}

QTEST_APPLESS_MAIN(TestCardArchive)
#include "tst_cardarchive.moc"
