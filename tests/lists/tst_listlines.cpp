#include "lists/ListLines.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include "common/TempProgramFolder.h"

#include <QTest>

using namespace ListLines;
using namespace Qt::StringLiterals;

class TestListLines : public QObject
{
    Q_OBJECT
private slots:
    void paddedColumn_data();
    void paddedColumn();
    void joinedColumn_data();
    void joinedColumn();
    void lineKeepsSeparatorsInPlace();
    void lineFromBytes_data();
    void lineFromBytes();
    void lineFromDamagedBytes();
    void compareLines_data();
    void compareLines();
    void sortIsStableAndOrdered();
    void sortAgreesWithTheComparison();
    void containsKey_data();
    void containsKey();
    void findNext_data();
    void findNext();
    void reopenTakesTheLastEqualRecord();
    void reopenFindsNothing();
    void scanStopsAtARefusedRecord();
};

void TestListLines::paddedColumn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter is filled") << u"abc"_s << 6 << u"abc   "_s;
    QTest::newRow("longer is cut") << u"abcdefgh"_s << 5 << u"abcde"_s;
    QTest::newRow("exact width") << u"abcde"_s << 5 << u"abcde"_s;
    QTest::newRow("empty gives spaces only") << QString() << 4 << u"    "_s;
    // Blanks are trimmed before filling, so they never shift the next column.
    QTest::newRow("blanks around") << u"  ab \t"_s << 4 << u"ab  "_s;
    QTest::newRow("accented letters count once") << u"èàù"_s << 4 << u"èàù "_s;
}

void TestListLines::paddedColumn()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(ListLines::paddedColumn(text, width), expected);
}

void TestListLines::joinedColumn_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both filled") << u"Michelin"_s << u"Pilot"_s << 16 << u"Michelin Pilot  "_s;
    QTest::newRow("two empties") << QString() << QString() << 5 << u"     "_s;
    QTest::newRow("first empty") << QString() << u"X"_s << 4 << u" X  "_s;
    QTest::newRow("second empty") << u"X"_s << QString() << 4 << u"X   "_s;
    QTest::newRow("cut inside the second")
        << u"Pirelli"_s << u"Cinturato P7"_s << 10 << u"Pirelli Ci"_s;
    QTest::newRow("trimmed parts") << u" a "_s << u" b "_s << 4 << u"a b "_s;
}

void TestListLines::joinedColumn()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(ListLines::joinedColumn(first, second, width), expected);
}

void TestListLines::lineKeepsSeparatorsInPlace()
{
    const Columns columns = { padded(QString(), ProductRecord::Codice, 5),
        joined(u"  "_s, ProductRecord::Marca, ProductRecord::Modello, 6),
        padded(u"  Costo: "_s, ProductRecord::Costo, 4), tail(u"  Note: "_s, ProductRecord::Note) };
    const struct
    {
        const char16_t *code, *brand, *model, *cost, *note, *line;
    } rows[] = {
        { u"A1", u"B", u"M", u"1,5", u"nota", u"A1     B M     Costo: 1,5   Note: nota" },
        { u"LONGCODE", u"Brandname", u"", u"123456", u"", u"LONGC  Brandn  Costo: 1234  Note: " },
        { u"", u"", u"", u"", u" x ", u"               Costo:       Note: x" },
    };
    for (const auto &row : rows) {
        Record r(ProductRecord::layout());
        r.setValue(ProductRecord::Codice, QString::fromUtf16(row.code));
        r.setValue(ProductRecord::Marca, QString::fromUtf16(row.brand));
        r.setValue(ProductRecord::Modello, QString::fromUtf16(row.model));
        r.setValue(ProductRecord::Costo, QString::fromUtf16(row.cost));
        r.setValue(ProductRecord::Note, QString::fromUtf16(row.note));
        const QString line = buildLine(columns, r);
        QCOMPARE(line, QString::fromUtf16(row.line));
        QCOMPARE(line.indexOf(u"Costo:"), 15);
    }
}

void TestListLines::lineFromBytes_data()
{
    // The stored record is decoded from its bytes; the line must be the one built from the
    // record's texts. code, brand, model, value.
    QTest::addColumn<QStringList>("values");
    QTest::newRow("plain") << QStringList { u"GOM-205/55"_s, u"Continental"_s,
        u"EcoContact 6 più"_s, u"1234,50"_s };
    QTest::newRow("blanks and a tab around")
        << QStringList { u"  A1 "_s, u"\tMarca "_s, u" M "_s, u" 5 "_s };
    QTest::newRow("all empty") << QStringList { QString(), QString(), QString(), QString() };
    QTest::newRow("longer than the columns") << QStringList { QString(30, u'x'), QString(45, u'b'),
        QString(250, u'm'), QString(15, u'9') };
    QTest::newRow("brand fills the joined column exactly")
        << QStringList { u"c"_s, QString(40, u'b'), u"model"_s, u"1"_s };
    QTest::newRow("brand one short of the joined column")
        << QStringList { u"c"_s, QString(39, u'b'), u"model"_s, u"1"_s };
    QTest::newRow("code page characters")
        << QStringList { u"€uro"_s, u"Š‰"_s, u"àèìòù"_s, u"€ 3"_s };
}

void TestListLines::lineFromBytes()
{
    QFETCH(QStringList, values);
    const Columns columns = { padded(QString(), ProductRecord::Codice, 30),
        joined(u"  "_s, ProductRecord::Marca, ProductRecord::Modello, 40),
        tail(u"  Valore: € "_s, ProductRecord::Valore) };
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, values[0]);
    r.setValue(ProductRecord::Marca, values[1]);
    r.setValue(ProductRecord::Modello, values[2]);
    r.setValue(ProductRecord::Valore, values[3]);
    const QByteArray bytes = r.encode();
    const QString expected = buildLine(columns, Record::fromBytes(ProductRecord::layout(), bytes));
    QCOMPARE(buildLine(columns, ProductRecord::layout(), bytes), expected);
    QCOMPARE(lineBuilder(columns, ProductRecord::layout())(bytes), expected);
    // The trimmed texts shown are those of the record.
    QCOMPARE(buildLine(columns, r), expected);
}

void TestListLines::lineFromDamagedBytes()
{
    // A length byte larger than the field's capacity reads no further than the capacity.
    const Columns columns = { tail(QString(), ProductRecord::PercIva) };
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::PercIva, u"22"_s);
    r.setValue(ProductRecord::Prezzo_con_Iva, u"99"_s);
    QByteArray bytes = r.encode();
    bytes[ProductRecord::layout().offset(ProductRecord::PercIva)] = char(200);
    QCOMPARE(buildLine(columns, ProductRecord::layout(), bytes), u"22"_s);
    char16_t buffer[kFieldBuffer];
    QCOMPARE(fieldView(ProductRecord::layout(), bytes, ProductRecord::PercIva, buffer), u"22");
    // A record cut short gives empty fields past its end instead of reading beyond it.
    const QByteArray shortRecord = bytes.left(10);
    QCOMPARE(buildLine({ tail(u"x"_s, ProductRecord::Note) }, ProductRecord::layout(), shortRecord),
        u"x"_s);
}

void TestListLines::compareLines_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("letters ignore case") << u"abc"_s << u"ABC"_s << 0;
    QTest::newRow("case does not decide") << u"aBd"_s << u"Abc"_s << 1;
    QTest::newRow("prefix first") << u"ab"_s << u"AB "_s << -1;
    QTest::newRow("empty first") << QString() << u"a"_s << -1;
    QTest::newRow("digits before letters") << u"9"_s << u"A"_s << -1;
    // Letters compare as lower case: '_' (95) lies before 'a' (97) but after 'Z' (90).
    QTest::newRow("underscore before a letter") << u"_"_s << u"A"_s << -1;
    QTest::newRow("bracket before a letter") << u"["_s << u"a"_s << -1;
    QTest::newRow("brace after a letter") << u"{"_s << u"Z"_s << 1;
    QTest::newRow("blank before everything printable") << u"A B"_s << u"A-B"_s << -1;
    // Accented letters are not folded: È and è differ and both follow z.
    QTest::newRow("accented capital differs") << u"È"_s << u"è"_s << -1;
    QTest::newRow("accented after z") << u"z"_s << u"à"_s << -1;
}

void TestListLines::compareLines()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const int c = ListLines::compareLines(a, b);
    QCOMPARE((c > 0) - (c < 0), sign);
    QCOMPARE(ListLines::compareLines(b, a), -c);
    QCOMPARE(lineLess(a, b), sign < 0);
}

void TestListLines::sortIsStableAndOrdered()
{
    QStringList lines = { u"beta"_s, u"Alpha 2"_s, u"alpha"_s, u"ALPHA 2"_s, u"_x"_s, u"Èlite"_s,
        u"10"_s, u"alpha 2"_s };
    sortLines(lines);
    const QStringList expected = { u"10"_s, u"_x"_s, u"alpha"_s, u"Alpha 2"_s, u"ALPHA 2"_s,
        u"alpha 2"_s, u"beta"_s, u"Èlite"_s };
    QCOMPARE(lines, expected);
}

void TestListLines::sortAgreesWithTheComparison()
{
    // Many lines that share long prefixes, differ in case only, or end early: the sorted
    // list must be the stable sort by lineLess, whatever shortcut the sorting takes.
    const char16_t alphabet[] = { u'a', u'A', u'b', u'B', u'_', u' ', u'9', u'È', u'è', 0 };
    QStringList lines;
    quint32 seed = 12345;
    for (int i = 0; i < 3000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int length = int((seed >> 16) % 40);
        QString line;
        for (int c = 0; c < length; ++c) {
            seed = seed * 1103515245u + 12345u;
            line.append(QChar(alphabet[(seed >> 16) % 10]));
        }
        lines.append(line);
    }
    QStringList expected = lines;
    std::stable_sort(expected.begin(), expected.end(),
        [](const QString &a, const QString &b) { return lineLess(a, b); });
    sortLines(lines);
    QCOMPARE(lines, expected);
}

void TestListLines::containsKey_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::newRow("upper-case line") << u"XX ABC YY"_s << u"abc"_s << true;
    QTest::newRow("empty key never matches") << u"abc"_s << QString() << false;
    QTest::newRow("key at the end") << u"abcd"_s << u"cd"_s << true;
    QTest::newRow("key longer than line") << u"ab"_s << u"abc"_s << false;
    QTest::newRow("not contiguous") << u"a b c"_s << u"abc"_s << false;
    QTest::newRow("spaces are part of the key") << u"Pilot Sport"_s << u"t s"_s << true;
    QTest::newRow("accented capital not folded") << u"ÈLITE"_s << u"èlite"_s << false;
    QTest::newRow("accented same case") << u"Caffè"_s << u"caffè"_s << true;
    QTest::newRow("restart after partial match") << u"aaab"_s << u"aab"_s << true;
}

void TestListLines::containsKey()
{
    QFETCH(QString, line);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QCOMPARE(ListLines::containsKey(line, key), found);
}

void TestListLines::findNext_data()
{
    // Each press types keys[i]; selected[i] is the selected line after it.
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("initial");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QList<int>>("selected");

    const QStringList six
        = { u"zero"_s, u"one"_s, u"two ABC"_s, u"three"_s, u"four"_s, u"five abc"_s };
    QTest::newRow("repeated key wraps around")
        << six << -1 << QStringList { u"abc"_s, u"abc"_s, u"abc"_s } << QList<int> { 2, 5, 2 };
    QTest::newRow("new key restarts from line 0 and tests it")
        << six << 3 << QStringList { u"t"_s, u"Zero"_s } << QList<int> { 2, 0 };
    QTest::newRow("changed key restarts from line 0")
        << six << -1 << QStringList { u"o"_s, u"o"_s, u"e"_s } << QList<int> { 0, 1, 0 };
    QTest::newRow("repeated key tests the selected line last")
        << six << -1 << QStringList { u"e"_s, u"e"_s, u"e"_s, u"e"_s, u"e"_s }
        << QList<int> { 0, 1, 3, 5, 0 };
    QTest::newRow("key only in the selected line comes back to it")
        << six << -1 << QStringList { u"thr"_s, u"thr"_s, u"THR"_s } << QList<int> { 3, 3, 3 };
    QTest::newRow("empty key only selects line 0")
        << six << -1 << QStringList { QString(), QString() } << QList<int> { 0, 0 };
    QTest::newRow("empty key keeps a selection")
        << six << 4 << QStringList { QString() } << QList<int> { 4 };
    QTest::newRow("no match keeps the selection")
        << six << 4 << QStringList { u"xyz"_s, u"xyz"_s } << QList<int> { 4, 4 };
    QTest::newRow("no match and no selection selects line 0")
        << six << -1 << QStringList { u"xyz"_s } << QList<int> { 0 };
    QTest::newRow("single line keeps its selection")
        << QStringList { u"solo ABC"_s } << -1 << QStringList { u"abc"_s, u"abc"_s, u"abc"_s }
        << QList<int> { 0, 0, 0 };
    QTest::newRow("key is not trimmed")
        << QStringList { u"ab"_s, u"a b"_s } << -1 << QStringList { u" b"_s } << QList<int> { 1 };
}

void TestListLines::findNext()
{
    QFETCH(QStringList, lines);
    QFETCH(int, initial);
    QFETCH(QStringList, keys);
    QFETCH(QList<int>, selected);
    int current = initial;
    QString lastKey;
    for (int i = 0; i < keys.size(); ++i) {
        const FindOutcome out = ListLines::findNext(lines, current, keys[i], lastKey);
        QCOMPARE(out.selected, selected[i]);
        QCOMPARE(out.lastKey, LowerAscii(keys[i]));
        current = out.selected;
        lastKey = out.lastKey;
    }
}

namespace {

Record product(const QString &code, const QString &note, const QString &value)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Note, note);
    r.setValue(ProductRecord::Valore, value);
    return r;
}

const Columns kCodeAndNote
    = { padded(QString(), ProductRecord::Codice, 10), tail(u"  Note: "_s, ProductRecord::Note) };

} // namespace

void TestListLines::reopenTakesTheLastEqualRecord()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    // Records 2 and 4 give the same line; they differ in a field the line does not show.
    QVERIFY(file.append(product(u"A"_s, u"n"_s, u"1"_s)));
    QVERIFY(file.append(product(u"B"_s, u"same"_s, u"2"_s)));
    QVERIFY(file.append(product(u"C"_s, u"n"_s, u"3"_s)));
    QVERIFY(file.append(product(u"B"_s, u"same"_s, u"4"_s)));
    QVERIFY(file.append(product(u"D"_s, u"n"_s, u"5"_s)));

    const LineBuilder build = lineBuilder(kCodeAndNote, ProductRecord::layout());
    const QString line = buildLine(kCodeAndNote, product(u"B"_s, u"same"_s, QString()));
    // The list box may hand back the line with its trailing blanks gone.
    for (const QString &selected : { line, line.trimmed() + u"  "_s }) {
        const auto found = reopenByLine(file, ProductRecord::layout(), selected, build);
        QVERIFY(found.has_value());
        QCOMPARE(found->position, 4);
        QCOMPARE(found->record.value(ProductRecord::Valore), u"4"_s);
    }
    const auto first = reopenByLine(
        file, ProductRecord::layout(), buildLine(kCodeAndNote, product(u"A"_s, u"n"_s, {})), build);
    QVERIFY(first.has_value());
    QCOMPARE(first->position, 1);
}

void TestListLines::reopenFindsNothing()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    const LineBuilder build = lineBuilder(kCodeAndNote, ProductRecord::layout());
    QVERIFY(!reopenByLine(file, ProductRecord::layout(), u"A"_s, build).has_value());
    QVERIFY(file.append(product(u"A"_s, u"n"_s, u"1"_s)));
    // A prefix of a line is not the line.
    QVERIFY(!reopenByLine(file, ProductRecord::layout(), u"A"_s, build).has_value());
    QVERIFY(!reopenByLine(file, ProductRecord::layout(), QString(), build).has_value());
}

void TestListLines::scanStopsAtARefusedRecord()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    for (const char16_t *code : { u"1", u"skip", u"2", u"stop", u"3" })
        QVERIFY(file.append(product(QString::fromUtf16(code), {}, {})));
    const auto accept = [](QByteArrayView bytes) {
        const QString code = fieldOf(ProductRecord::layout(), bytes, ProductRecord::Codice);
        if (code == u"skip")
            return Verdict::Skip;
        return code == u"stop" ? Verdict::Stop : Verdict::Add;
    };
    const Columns codeOnly = { tail(QString(), ProductRecord::Codice) };
    const Scan scan = scanLines(file, accept, lineBuilder(codeOnly, ProductRecord::layout()));
    QCOMPARE(scan.lines.toStringList(), (QStringList { u"1"_s, u"2"_s }));
    QVERIFY(!scan.complete);

    const Scan all = scanLines(
        file, [](QByteArrayView) { return Verdict::Add; },
        lineBuilder(codeOnly, ProductRecord::layout()));
    QCOMPARE(all.lines.size(), 5);
    QVERIFY(all.complete);
}

QTEST_APPLESS_MAIN(TestListLines)
#include "tst_listlines.moc"
