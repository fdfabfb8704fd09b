#include "catalogue/Movement.h"

#include "catalogue/StockMovement.h"
#include "common/StoredRecords.h"
#include "common/TempProgramFolder.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"
#include "storage/ShortString.h"

#include <QDir>
#include <QTest>

using MovementRecord::Kind;
using Result = StockMovement::Outcome::Result;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MovementRecord::Kind)
Q_DECLARE_METATYPE(StockMovement::Outcome::Result)

namespace {

QString repeated(QChar ch, int n)
{
    return QString(n, ch);
}

Movement::MovementEntry entryOn(const QString &date, const QString &code)
{
    return { date, QStringLiteral("10:15:00"), code, QStringLiteral("Pneumatici"),
        QStringLiteral("Pirelli"), QStringLiteral("P Zero"), QStringLiteral("85,50"),
        QStringLiteral("4"), QStringLiteral("consegna") };
}

// Stores two products: A (cost 2,50, stock 4, value 10,00) and B.
bool storeProducts()
{
    RecordFile file;
    if (!file.open(ProductRecord::archive()))
        return false;
    for (const char *code : { "A", "B" }) {
        Record p(ProductRecord::layout());
        p.setValue(ProductRecord::Codice, QString::fromLatin1(code));
        p.setValue(ProductRecord::Costo, u"2,50"_s);
        p.setValue(ProductRecord::Giacenza, u"4"_s);
        p.setValue(ProductRecord::Valore, u"10,00"_s);
        p.setValue(ProductRecord::Note, u"nota"_s);
        if (!file.append(p))
            return false;
    }
    return true;
}

Record movementOf(const QString &code, const QString &quantity)
{
    Movement::MovementEntry entry = entryOn(u"05/03/2021"_s, code);
    entry.quantita = quantity;
    return Movement::buildRecord(entry);
}

} // namespace

class TestMovement : public QObject
{
    Q_OBJECT
private slots:
    void operationFromCaption_data();
    void operationFromCaption();
    void computeTotal_data();
    void computeTotal();
    void recordBytes_data();
    void recordBytes();
    void recordTexts_data();
    void recordTexts();
    void yearlyFileAcrossNewYear();
    void appendKeepsOrder();
    void appendFailureWritesNothing();
    void negativeStockQuestion_data();
    void negativeStockQuestion();
    void appliedToStoredProduct_data();
    void appliedToStoredProduct();
    void appliedUnderTheArchiveLock();
};

void TestMovement::operationFromCaption_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("known");
    QTest::addColumn<Kind>("kind");
    QTest::newRow("load") << QStringLiteral("Quantità da aggiungere:") << true << Kind::Load;
    QTest::newRow("unload") << QStringLiteral("Quantità da sottrarre:") << true << Kind::Unload;
    QTest::newRow("no colon") << QStringLiteral("Quantità da aggiungere") << false << Kind::Load;
    QTest::newRow("trailing blank")
        << QStringLiteral("Quantità da sottrarre: ") << false << Kind::Unload;
    QTest::newRow("other case") << QStringLiteral("quantità da aggiungere:") << false << Kind::Load;
    QTest::newRow("empty") << QString() << false << Kind::Load;
}

void TestMovement::operationFromCaption()
{
    QFETCH(QString, caption);
    QFETCH(bool, known);
    QFETCH(Kind, kind);
    const auto found = Movement::kindFromCaption(caption);
    QCOMPARE(found.has_value(), known);
    if (known) {
        QCOMPARE(*found, kind);
        QCOMPARE(Movement::quantityCaption(kind), caption);
    }
}

void TestMovement::computeTotal_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("giacenza");
    QTest::addColumn<QString>("aggiunta");
    QTest::addColumn<QString>("newGiacenza");
    QTest::addColumn<QString>("newAggiunta");
    QTest::addColumn<QString>("totale");

    const QString zero = QStringLiteral("0");
    QTest::newRow("load 10 + 5") << Kind::Load << QStringLiteral("10") << QStringLiteral("5")
                                 << QStringLiteral("10") << QStringLiteral("5")
                                 << QStringLiteral("15");
    QTest::newRow("unload below zero")
        << Kind::Unload << QStringLiteral("3") << QStringLiteral("5") << QStringLiteral("3")
        << QStringLiteral("5") << QStringLiteral("-2");
    QTest::newRow("unload from negative stock")
        << Kind::Unload << QStringLiteral("-4") << QStringLiteral("2") << QStringLiteral("-4")
        << QStringLiteral("2") << QStringLiteral("-6");
    QTest::newRow("load onto negative stock")
        << Kind::Load << QStringLiteral("-4") << QStringLiteral("6") << QStringLiteral("-4")
        << QStringLiteral("6") << QStringLiteral("2");
    QTest::newRow("quantity 0 keeps the stock")
        << Kind::Unload << QStringLiteral("7") << zero << QStringLiteral("7") << zero
        << QStringLiteral("7");
    QTest::newRow("empty stock counts as 0") << Kind::Load << QString() << QStringLiteral("3")
                                             << zero << QStringLiteral("3") << QStringLiteral("3");
    QTest::newRow("blank quantity counts as 0")
        << Kind::Unload << QStringLiteral("9") << QStringLiteral("  ") << QStringLiteral("9")
        << zero << QStringLiteral("9");
    QTest::newRow("stock not a number")
        << Kind::Load << QStringLiteral("abc") << QStringLiteral("5") << zero << zero << zero;
    QTest::newRow("quantity not a number")
        << Kind::Unload << QStringLiteral("10") << QStringLiteral("1.5") << zero << zero << zero;
    QTest::newRow("large numbers") << Kind::Load << QStringLiteral("123456789012")
                                   << QStringLiteral("99999999") << QStringLiteral("123456789012")
                                   << QStringLiteral("99999999") << QStringLiteral("123556789011");
}

void TestMovement::computeTotal()
{
    QFETCH(Kind, kind);
    QFETCH(QString, giacenza);
    QFETCH(QString, aggiunta);
    const Movement::StockTotal total = Movement::computeTotal(kind, giacenza, aggiunta);
    QTEST(total.giacenza, "newGiacenza");
    QTEST(total.aggiunta, "newAggiunta");
    QTEST(total.totale, "totale");
}

void TestMovement::recordBytes_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    QTest::newRow("Data") << int(MovementRecord::Data) << 0 << 10;
    QTest::newRow("Ora") << int(MovementRecord::Ora) << 11 << 8;
    QTest::newRow("Codice") << int(MovementRecord::Codice) << 20 << 30;
    QTest::newRow("Tipologia") << int(MovementRecord::Tipologia) << 51 << 50;
    QTest::newRow("Marca") << int(MovementRecord::Marca) << 102 << 50;
    QTest::newRow("Modello") << int(MovementRecord::Modello) << 153 << 50;
    QTest::newRow("Importo") << int(MovementRecord::Importo) << 204 << 15;
    QTest::newRow("Quantita") << int(MovementRecord::Quantita) << 220 << 10;
    QTest::newRow("Note") << int(MovementRecord::Note) << 231 << 250;
}

// Every field holds its own text, so a field written at the wrong place shows up as a
// wrong text at the expected offset.
void TestMovement::recordBytes()
{
    QFETCH(int, field);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    const Movement::MovementEntry entry { QStringLiteral("05/03/2021"), QStringLiteral("09:05:30"),
        QStringLiteral("ART-001"), QStringLiteral("Pneumatici estivi"), QStringLiteral("Michelin"),
        QStringLiteral("Pilot Sport 4"), QStringLiteral("85,5"), QStringLiteral("12"),
        QStringLiteral("Consegna a domicilio") };
    const QStringList texts { entry.data, entry.ora, entry.codice, entry.tipologia, entry.marca,
        entry.modello, entry.importo, entry.quantita, entry.note };
    const QByteArray bytes = Movement::buildRecord(entry).encode();
    QCOMPARE(bytes.size(), 482);
    const QString text = texts[field];
    QCOMPARE(int(quint8(bytes[offset])), int(text.size()));
    QCOMPARE(LoadField(QByteArrayView(bytes).sliced(offset, capacity + 1), capacity), text);
}

void TestMovement::recordTexts_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("stored");
    const QString long80 = QStringLiteral("0123456789").repeated(8);
    QTest::newRow("category of 80 keeps 50")
        << int(MovementRecord::Tipologia) << long80 << long80.left(50);
    QTest::newRow("brand of 80 keeps 50")
        << int(MovementRecord::Marca) << repeated(u'M', 80) << repeated(u'M', 50);
    QTest::newRow("model of 51 keeps 50")
        << int(MovementRecord::Modello) << repeated(u'x', 51) << repeated(u'x', 50);
    QTest::newRow("code trimmed") << int(MovementRecord::Codice) << QStringLiteral("  AB12 \t")
                                  << QStringLiteral("AB12");
    QTest::newRow("quantity 0 recorded")
        << int(MovementRecord::Quantita) << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("empty quantity recorded as 0")
        << int(MovementRecord::Quantita) << QString() << QStringLiteral("0");
    QTest::newRow("empty amount recorded as 0,00")
        << int(MovementRecord::Importo) << QStringLiteral(" ") << QStringLiteral("0,00");
    QTest::newRow("accented note")
        << int(MovementRecord::Note) << QStringLiteral("città € 5") << QStringLiteral("città € 5");
    QTest::newRow("note of 260 keeps 250")
        << int(MovementRecord::Note) << repeated(u'n', 260) << repeated(u'n', 250);
}

void TestMovement::recordTexts()
{
    QFETCH(int, field);
    QFETCH(QString, given);
    QFETCH(QString, stored);
    Movement::MovementEntry entry = entryOn(QStringLiteral("05/03/2021"), QStringLiteral("A"));
    QString *fields[] = { &entry.data, &entry.ora, &entry.codice, &entry.tipologia, &entry.marca,
        &entry.modello, &entry.importo, &entry.quantita, &entry.note };
    *fields[field] = given;
    const Record read
        = Record::fromBytes(MovementRecord::layout(), Movement::buildRecord(entry).encode());
    QCOMPARE(read.value(field), stored);
}

void TestMovement::yearlyFileAcrossNewYear()
{
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    const Record lastOfYear
        = Movement::buildRecord(entryOn(QStringLiteral("31/12/2021"), QStringLiteral("OLD")));
    QCOMPARE(Movement::fileNameFor(Kind::Load, lastOfYear), QStringLiteral("Carico_2021.mrv"));
    QVERIFY(Movement::appendMovement(Kind::Load, lastOfYear));
    const QByteArray before = folder.readAll(QStringLiteral("Carico_2021.mrv"));
    QCOMPARE(before.size(), 482);

    const Record firstOfYear
        = Movement::buildRecord(entryOn(QStringLiteral("01/01/2022"), QStringLiteral("NEW")));
    QVERIFY(Movement::appendMovement(Kind::Load, firstOfYear));
    QCOMPARE(folder.readAll(QStringLiteral("Carico_2021.mrv")), before);
    const QList<Record> created
        = recordsOf(folder, QStringLiteral("Carico_2022.mrv"), MovementRecord::layout());
    QCOMPARE(created.size(), 1);
    QCOMPARE(created[0].value(MovementRecord::Codice), QStringLiteral("NEW"));

    QVERIFY(Movement::appendMovement(Kind::Unload, firstOfYear));
    QCOMPARE(
        recordsOf(folder, QStringLiteral("Scarico_2022.mrv"), MovementRecord::layout()).size(), 1);
    QCOMPARE(
        recordsOf(folder, QStringLiteral("Carico_2022.mrv"), MovementRecord::layout()).size(), 1);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Scarico_2021.mrv"))));
}

void TestMovement::appendKeepsOrder()
{
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    // A trailing partial record left by an earlier failure is not counted: the next
    // movement goes after the last whole one.
    {
        QFile f(folder.filePath(QStringLiteral("Scarico_2021.mrv")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Movement::buildRecord(entryOn(QStringLiteral("01/02/2021"), QStringLiteral("A")))
                    .encode());
        f.write(QByteArray(100, 'x'));
    }
    QVERIFY(Movement::appendMovement(Kind::Unload,
        Movement::buildRecord(entryOn(QStringLiteral("02/02/2021"), QStringLiteral("B")))));
    QVERIFY(Movement::appendMovement(Kind::Unload,
        Movement::buildRecord(entryOn(QStringLiteral("03/02/2021"), QStringLiteral("C")))));
    const QList<Record> records
        = recordsOf(folder, QStringLiteral("Scarico_2021.mrv"), MovementRecord::layout());
    QCOMPARE(folder.readAll(QStringLiteral("Scarico_2021.mrv")).size(), 3 * 482);
    QStringList codes;
    for (const Record &r : records)
        codes << r.value(MovementRecord::Codice);
    QCOMPARE(
        codes, (QStringList { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C") }));
}

void TestMovement::appendFailureWritesNothing()
{
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    // A folder in the place of the yearly file cannot be written, even by root.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Carico_2021.mrv")));
    QString error;
    QVERIFY(!Movement::appendMovement(Kind::Load,
        Movement::buildRecord(entryOn(QStringLiteral("10/10/2021"), QStringLiteral("A"))), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Carico_2021.mrv"))).isDir());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

void TestMovement::negativeStockQuestion_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("totale");
    QTest::addColumn<QString>("question");
    QTest::newRow("unload to -4")
        << Kind::Unload << u"-4"_s
        << u"La giacenza diventerà negativa (-4). Registrare lo scarico?"_s;
    QTest::newRow("blanks around")
        << Kind::Unload << u" -12 "_s
        << u"La giacenza diventerà negativa (-12). Registrare lo scarico?"_s;
    QTest::newRow("unload to 0") << Kind::Unload << u"0"_s << QString();
    QTest::newRow("unload to 3") << Kind::Unload << u"3"_s << QString();
    QTest::newRow("load to -4") << Kind::Load << u"-4"_s << QString();
    QTest::newRow("not a number") << Kind::Unload << u"x"_s << QString();
    QTest::newRow("empty total") << Kind::Unload << QString() << QString();
}

void TestMovement::negativeStockQuestion()
{
    QFETCH(Kind, kind);
    QFETCH(QString, totale);
    QTEST(Movement::negativeStockQuestion(kind, totale), "question");
}

// The movement and the stored product change together: the stock from the stored stock,
// the value from the stored cost; any failure leaves both files as they were.
void TestMovement::appliedToStoredProduct_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint64>("index");
    QTest::addColumn<bool>("registerBlocked"); // a folder where the yearly file goes
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("value");
    QTest::newRow("load") << Kind::Load << u"A"_s << qint64(0) << false << Result::Applied << u"7"_s
                          << u"17,50"_s;
    QTest::newRow("unload") << Kind::Unload << u"B"_s << qint64(1) << false << Result::Applied
                            << u"1"_s << u"2,50"_s;
    QTest::newRow("code with blanks")
        << Kind::Load << u" A "_s << qint64(0) << false << Result::Applied << u"7"_s << u"17,50"_s;
    QTest::newRow("other product's code") << Kind::Load << u"B"_s << qint64(0) << false
                                          << Result::CardChanged << u"4"_s << u"10,00"_s;
    QTest::newRow("beyond the archive") << Kind::Load << u"A"_s << qint64(2) << false
                                        << Result::CardChanged << QString() << QString();
    QTest::newRow("register not writable") << Kind::Unload << u"A"_s << qint64(0) << true
                                           << Result::AccessError << u"4"_s << u"10,00"_s;
}

void TestMovement::appliedToStoredProduct()
{
    QFETCH(Kind, kind);
    QFETCH(QString, code);
    QFETCH(qint64, index);
    QFETCH(bool, registerBlocked);
    QFETCH(Result, result);
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    QVERIFY(storeProducts());
    const QString registerName = MovementRecord::fileNameFor(kind, u"05/03/2021"_s);
    if (registerBlocked)
        QVERIFY(QDir().mkdir(folder.filePath(registerName)));
    const QByteArray before = folder.readAll(ProductRecord::archive().fileName);

    const StockMovement::Outcome outcome
        = StockMovement::apply(kind, movementOf(code, u"3"_s), index);
    QCOMPARE(outcome.result, result);
    QTEST(outcome.product.value(ProductRecord::Giacenza), "stock");
    QTEST(outcome.product.value(ProductRecord::Valore), "value");
    QCOMPARE(outcome.error.isEmpty(), result != Result::AccessError);

    const QList<Record> products
        = recordsOf(folder, ProductRecord::archive().fileName, ProductRecord::layout());
    QCOMPARE(products.size(), 2);
    const QList<Record> movements = registerBlocked
        ? QList<Record>()
        : recordsOf(folder, registerName, MovementRecord::layout());
    if (result != Result::Applied) {
        QCOMPARE(folder.readAll(ProductRecord::archive().fileName), before);
        QCOMPARE(movements.size(), 0);
        return;
    }
    // Only the stock and the value changed, and the movement is in its register.
    const Record &stored = products.at(int(index));
    QTEST(stored.value(ProductRecord::Giacenza), "stock");
    QTEST(stored.value(ProductRecord::Valore), "value");
    QCOMPARE(stored.value(ProductRecord::Note), u"nota"_s);
    QCOMPARE(stored.value(ProductRecord::Costo), u"2,50"_s);
    QCOMPARE(products.at(1 - int(index)).value(ProductRecord::Giacenza), u"4"_s);
    QCOMPARE(movements.size(), 1);
    QCOMPARE(movements.first().value(MovementRecord::Quantita), u"3"_s);
}

// While another writer holds the product archive, the movement waits for it and, when
// it does not come free, writes nothing anywhere.
void TestMovement::appliedUnderTheArchiveLock()
{
    TempProgramFolder folder;
    QVERIFY(folder.isValid());
    QVERIFY(storeProducts());
    RecordFile::setLockTimeout(200);
    {
        RecordFile other;
        QVERIFY(other.open(ProductRecord::archive()));
        QVERIFY(other.lockWriters());
        const StockMovement::Outcome outcome
            = StockMovement::apply(Kind::Load, movementOf(u"A"_s, u"3"_s), 0);
        QCOMPARE(outcome.result, Result::AccessError);
        QVERIFY(!QFile::exists(folder.filePath(u"Carico_2021.mrv"_s)));
    }
    // Once the other writer is gone the same movement goes through.
    const StockMovement::Outcome outcome
        = StockMovement::apply(Kind::Load, movementOf(u"A"_s, u"3"_s), 0);
    RecordFile::setLockTimeout(5000);
    QCOMPARE(outcome.result, Result::Applied);
    QCOMPARE(outcome.product.value(ProductRecord::Giacenza), u"7"_s);
    QCOMPARE(recordsOf(folder, u"Carico_2021.mrv"_s, MovementRecord::layout()).size(), 1);
}

QTEST_APPLESS_MAIN(TestMovement)
#include "tst_movement.moc"
