#include "lists/ListLines.h"
#include "records/SupplierRecord.h"
#include "storage/RecordFile.h"
#include "suppliers/RecontactList.h"

#include "common/TempProgramFolder.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Record supplier(const QString &ditta, const QString &titolare, const QString &recapito,
    const QString &questioni, const QString &ricontatta)
{
    using namespace SupplierRecord;
    Record r(layout());
    r.setValue(Ditta, ditta);
    r.setValue(Titolare, titolare);
    r.setValue(Recapito, recapito);
    r.setValue(Questioni, questioni);
    r.setValue(Ricontatta, ricontatta);
    r.setValue(Note, u"note"_s);
    return r;
}

} // namespace

class TestRecontactList : public QObject
{
    Q_OBJECT
private slots:
    void selection_data();
    void selection();
    void damagedFlagLength();
    void line_data();
    void line();
    void linesAreSelectedAndSorted();
    void partialLastRecordIsNotListed();
    void readingStopsAtAnUnreadableRecord();
};

void TestRecontactList::selection_data()
{
    QTest::addColumn<QString>("ricontatta");
    QTest::addColumn<bool>("listed");
    QTest::newRow("Sì") << u"Sì"_s << true;
    QTest::newRow("Sì after a blank") << u" Sì"_s << true;
    QTest::newRow("No") << u"No"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("Si without accent") << u"Si"_s << false;
    QTest::newRow("sì lower case") << u"sì"_s << false;
    QTest::newRow("S alone") << u"S"_s << false;
}

void TestRecontactList::selection()
{
    QFETCH(QString, ricontatta);
    QFETCH(bool, listed);
    const Record r = supplier(u"Ditta"_s, u"Titolare"_s, u"Tel"_s, u"Questione"_s, ricontatta);
    QCOMPARE(RecontactList::isListed(r.encode()), listed);
}

// A length byte beyond the field's two characters reads no further than the field: the
// flag's own bytes still decide, the next field's bytes never do.
void TestRecontactList::damagedFlagLength()
{
    const Record r = supplier(u"Ditta"_s, QString(), QString(), QString(), u"Sì"_s);
    QByteArray bytes = r.encode();
    bytes[2134] = char(0xFF);
    QVERIFY(RecontactList::isListed(bytes));
    bytes[2135] = 'N';
    bytes[2136] = 'o';
    QVERIFY(!RecontactList::isListed(bytes));
    // A flag cut short: only "S".
    bytes[2134] = char(1);
    bytes[2135] = 'S';
    QVERIFY(!RecontactList::isListed(bytes));
}

void TestRecontactList::line_data()
{
    QTest::addColumn<QString>("ditta");
    QTest::addColumn<QString>("titolare");
    QTest::addColumn<QString>("recapito");
    QTest::addColumn<QString>("questioni");
    QTest::addColumn<QString>("line");
    const QString ditta30 = u"Rossi Forniture S.r.l."_s.leftJustified(30);
    const QString mario30 = u"Mario Rossi"_s.leftJustified(30);
    const QString tel20 = u"02 1234567"_s.leftJustified(20);
    QTest::newRow("every column") << u"Rossi Forniture S.r.l."_s << u"Mario Rossi"_s
                                  << u"02 1234567"_s << u"Nota di credito"_s
                                  << ditta30 + u"  "_s + mario30 + u"  Tel. "_s + tel20
            + u"  Nota di credito"_s;
    // An empty Questioni ends the line with the two blanks of its separator.
    QTest::newRow("no open issue")
        << u"Rossi Forniture S.r.l."_s << u"Mario Rossi"_s << u"02 1234567"_s << QString()
        << ditta30 + u"  "_s + mario30 + u"  Tel. "_s + tel20 + u"  "_s;
    QTest::newRow("long company name cut at 30")
        << u"Distribuzione Esposito e Figli S.p.A."_s << QString() << QString() << u"X"_s
        << u"Distribuzione Esposito e Figli"_s + u"  "_s + QString(30, u' ') + u"  Tel. "_s
            + QString(20, u' ') + u"  X"_s;
    QTest::newRow("values trimmed, open issue whole")
        << u"  Bianchi  "_s << u" Anna "_s << u" 333 1234567 "_s
        << u"  Una questione lunga che supera ampiamente ogni colonna della riga.  "_s
        << u"Bianchi"_s.leftJustified(30) + u"  "_s + u"Anna"_s.leftJustified(30) + u"  Tel. "_s
            + u"333 1234567"_s.leftJustified(20)
            + u"  Una questione lunga che supera ampiamente ogni colonna della riga."_s;
    QTest::newRow("contact cut at 20")
        << u"A"_s << u"B"_s << u"ordini@rossiforniture.it"_s << QString()
        << u"A"_s.leftJustified(30) + u"  "_s + u"B"_s.leftJustified(30) + u"  Tel. "_s
            + u"ordini@rossifornitur"_s + u"  "_s;
}

void TestRecontactList::line()
{
    QFETCH(QString, ditta);
    QFETCH(QString, titolare);
    QFETCH(QString, recapito);
    QFETCH(QString, questioni);
    QFETCH(QString, line);
    const Record r = supplier(ditta, titolare, recapito, questioni, u"Sì"_s);
    // The same line from the record in memory and from its stored bytes.
    QCOMPARE(ListLines::buildLine(RecontactList::columns(), r), line);
    QCOMPARE(RecontactList::lineBuilder()(r.encode()), line);
    QCOMPARE(line.left(91).size(), 91);
}

void TestRecontactList::linesAreSelectedAndSorted()
{
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    {
        RecordFile file;
        QVERIFY(file.open(SupplierRecord::archive()));
        const QList<Record> records = {
            supplier(u"Verdi"_s, u"Zeno"_s, u"1"_s, u"a"_s, u"Sì"_s),
            supplier(u"Unmarked"_s, QString(), QString(), QString(), u"No"_s),
            supplier(u"bianchi"_s, u"Anna"_s, u"2"_s, u"b"_s, u"Sì"_s),
            supplier(u"Verdi"_s, u"Aldo"_s, u"9"_s, u"c"_s, u"Sì"_s),
            supplier(u"Older"_s, QString(), QString(), QString(), QString()),
            // The same company and person: the contact decides.
            supplier(u"Verdi"_s, u"Aldo"_s, u"1"_s, u"d"_s, u"Sì"_s),
        };
        for (const Record &r : records)
            QVERIFY(file.append(r));
    }
    RecordFile file;
    QVERIFY(file.open(SupplierRecord::archive()));
    const ListLines::Scan scan = RecontactList::lines(file);
    QVERIFY(scan.complete);
    QStringList companies;
    for (const QString &line : scan.lines)
        companies.append(line.left(30).trimmed() + u'/' + line.mid(32, 30).trimmed() + u'/'
            + line.mid(69, 20).trimmed());
    // Case does not count in the order: "bianchi" before "Verdi".
    QCOMPARE(companies,
        QStringList(
            { u"bianchi/Anna/2"_s, u"Verdi/Aldo/1"_s, u"Verdi/Aldo/9"_s, u"Verdi/Zeno/1"_s }));
}

void TestRecontactList::partialLastRecordIsNotListed()
{
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    QByteArray bytes = supplier(u"Primo"_s, QString(), QString(), u"x"_s, u"Sì"_s).encode()
        + supplier(u"Secondo"_s, QString(), QString(), u"y"_s, u"Sì"_s).encode();
    // A half record at the end is not a record: it is neither listed nor an error.
    bytes += supplier(u"Mezzo"_s, QString(), QString(), u"z"_s, u"Sì"_s).encode().left(1000);
    QFile raw(folder.filePath(u"Fornitori.mrv"_s));
    QVERIFY(raw.open(QIODevice::WriteOnly));
    raw.write(bytes);
    raw.close();

    RecordFile file;
    QVERIFY(file.open(SupplierRecord::archive()));
    const ListLines::Scan scan = RecontactList::lines(file);
    QVERIFY(scan.complete);
    QCOMPARE(scan.lines.size(), 2);
    QVERIFY(scan.lines[0].startsWith(u"Primo"_s));
    QVERIFY(scan.lines[1].startsWith(u"Secondo"_s));
}

// The file shrinks under the reader (another program truncates it): the reading ends at
// the record it cannot read and keeps the lines before it.
void TestRecontactList::readingStopsAtAnUnreadableRecord()
{
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    {
        RecordFile file;
        QVERIFY(file.open(SupplierRecord::archive()));
        for (const QString &name : { u"Uno"_s, u"Due"_s, u"Tre"_s })
            QVERIFY(file.append(supplier(name, QString(), QString(), QString(), u"Sì"_s)));
    }
    RecordFile file;
    QVERIFY(file.open(SupplierRecord::archive()));
    QVERIFY(QFile::resize(folder.filePath(u"Fornitori.mrv"_s), 3643 + 100));
    const ListLines::Scan scan = RecontactList::lines(file);
    QVERIFY(!scan.complete);
    QCOMPARE(scan.lines.size(), 1);
    QVERIFY(scan.lines[0].startsWith(u"Uno "_s));
}

QTEST_APPLESS_MAIN(TestRecontactList)
#include "tst_recontactlist.moc"
