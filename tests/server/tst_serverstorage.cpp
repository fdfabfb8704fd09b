#include "StallingProxy.h"
#include "TestServer.h"
#include "common/TempProgramFolder.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "server/Connection.h"
#include "server/ServerBackend.h"
#include "storage/Cp1252.h"
#include "storage/Storage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

Record product(const QString &code, const QString &note = QString())
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Descrizione, QStringLiteral("articolo ") + code);
    r.setValue(ProductRecord::Giacenza, QString::number(code.size() * 3));
    r.setValue(ProductRecord::Note, note.isEmpty() ? QStringLiteral("nota di ") + code : note);
    return r;
}

Record movement(const QString &code, const QString &date)
{
    Record r(MovementRecord::layout());
    r.setValue(MovementRecord::Data, date);
    r.setValue(MovementRecord::Ora, QStringLiteral("10:00:00"));
    r.setValue(MovementRecord::Codice, code);
    r.setValue(MovementRecord::Quantita, QStringLiteral("2"));
    return r;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(mancante)");
}

// The bytes of a record as an older program may have left them: text past a field's
// length byte, and a length byte over the field's capacity.
QByteArray oddProduct(int variant)
{
    QByteArray bytes = product(QStringLiteral("ODD%1").arg(variant)).encode();
    const RecordLayout &layout = ProductRecord::layout();
    if (variant == 0) {
        const int note = layout.offset(ProductRecord::Note);
        for (int i = 40; i < 60; ++i)
            bytes[note + i] = char(0xAB);
    } else {
        bytes[layout.offset(ProductRecord::Codice)] = char(255);
        bytes[layout.offset(ProductRecord::PercIva)] = char(200);
    }
    return bytes;
}

// The text of every byte value from first to last, between two letters so that trimming
// leaves it whole.
QString everyByte(int first, int last)
{
    QByteArray bytes("x");
    for (int b = first; b <= last; ++b)
        bytes.append(char(b));
    bytes.append('x');
    return Cp1252::decode(bytes);
}

QStringList codesOf(Storage::Session &session)
{
    QStringList codes;
    Record r(ProductRecord::layout());
    for (qint64 i = 0; i < session.recordCount(); ++i) {
        if (!session.readAt(i, r))
            return { QStringLiteral("(lettura fallita a %1)").arg(i) };
        codes << r.value(ProductRecord::Codice);
    }
    return codes;
}

} // namespace

class TestServerStorage : public QObject
{
    Q_OBJECT

private:
    // Points the storage at the backend of the test row: a fresh program folder, or a fresh
    // database of the test cluster.
    bool useBackend(const QString &which);
    QString newDatabase();
    QString m_server;
    QString m_conninfo;
    QString m_role;
    QString m_rolePassword;
    int m_databases = 0;
    std::unique_ptr<TempProgramFolder> m_folder;

private slots:
    void initTestCase();
    void cleanup();

    void readAppendRewrite_data();
    void readAppendRewrite();
    void writesPastTheEndRefused_data();
    void writesPastTheEndRefused();
    void conditionalRewrite_data();
    void conditionalRewrite();
    void scanGivesTheAskedFields_data();
    void scanGivesTheAskedFields();
    void scanStops_data();
    void scanStops();
    void yearlyRegisters_data();
    void yearlyRegisters();
    void everyByteValueComesBack_data();
    void everyByteValueComesBack();

    void recordBytesWrittenWhole_data();
    void recordBytesWrittenWhole();
    void archiveNamesAndExists_data();
    void archiveNamesAndExists();
    void workingCopyReplacesWholeOrNothing_data();
    void workingCopyReplacesWholeOrNothing();
    void copyArchivesWritesTheFiles_data();
    void copyArchivesWritesTheFiles();
    void changeIsOneTransaction();
    void documentsAreKept_data();
    void documentsAreKept();
    void olderSchemaIsUpgraded();
    void changeKeepsOtherComputersOut();

    void readOnlyRoleGetsTheAccessFailure();
    void connectionFaults_data();
    void connectionFaults();
    void anotherProgramsTablesAreLeftAlone();
    void newerSchemaIsRefused();
    void quotesAndSemicolonsInNames();
    void stallingServerGivesUpInTime();
    void lostConnectionFailsOnceThenReconnects();
    void restartedServerBetweenSaves();
    void saveWhoseAnswerStalls_data();
    void saveWhoseAnswerStalls();
    void concurrentWriters();
    void transferAndCopyBackRoundTrip();
    void cancelledTransferChangesNothing();
};

void TestServerStorage::initTestCase()
{
    m_server = testServer();
    QVERIFY2(!m_server.isEmpty(),
        "nessun cluster PostgreSQL di prova: eseguire scripts/test o ctest (che lo avvia), "
        "oppure impostare MERVENTA_TEST_SERVER");
    Admin admin(m_server);
    QVERIFY2(admin.ok(), qPrintable(admin.error()));
    // A role that logs in with a password holding quotes, a semicolon and a backslash.
    m_role = QStringLiteral("negozio_%1").arg(QCoreApplication::applicationPid());
    m_rolePassword = QStringLiteral("Pa'ss;wo\"rd \\segreta");
    QVERIFY(admin.run(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %2")
                          .arg(admin.ident(m_role), admin.literal(m_rolePassword))));
}

void TestServerStorage::cleanup()
{
    Storage::setBackend(nullptr);
    m_folder.reset();
    Server::setAnswerTimeout(15000);
}

QString TestServerStorage::newDatabase()
{
    const QString name = QStringLiteral("t%1_%2_%3")
                             .arg(QCoreApplication::applicationPid())
                             .arg(++m_databases)
                             .arg(QString::fromLatin1(QTest::currentTestFunction()).left(30))
                             .toLower();
    return freshDatabase(m_server, name);
}

bool TestServerStorage::useBackend(const QString &which)
{
    m_folder = std::make_unique<TempProgramFolder>();
    if (which == QLatin1StringView("file")) {
        Storage::setBackend(nullptr);
        return m_folder->isValid();
    }
    m_conninfo = newDatabase();
    if (m_conninfo.isEmpty())
        return false;
    QString error;
    const auto backend = Server::connect(m_conninfo, &error);
    if (!backend)
        qWarning("%s", qPrintable(error));
    Storage::setBackend(backend);
    return backend != nullptr;
}

static void addBackends()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("server") << QStringLiteral("server");
}

void TestServerStorage::readAppendRewrite_data()
{
    addBackends();
}

void TestServerStorage::readAppendRewrite()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s);
    QCOMPARE(s->recordCount(), 0);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(s->append(product(QStringLiteral("A%1").arg(i))), qPrintable(s->errorString()));
    QCOMPARE(s->recordCount(), 3);
    Record r(ProductRecord::layout());
    QVERIFY(s->readAt(1, r));
    QCOMPARE(r.value(ProductRecord::Codice), QStringLiteral("A1"));
    QCOMPARE(r.value(ProductRecord::Note), QStringLiteral("nota di A1"));

    QVERIFY(s->writeAt(1, product(QStringLiteral("B1"), QStringLiteral("riscritta"))));
    QVERIFY(s->readAt(1, r));
    QCOMPARE(r.encode(), product(QStringLiteral("B1"), QStringLiteral("riscritta")).encode());
    // Writing at the count is an append at that position.
    QVERIFY(s->writeAt(3, product(QStringLiteral("A3"))));
    s.reset();

    // Another opening (another computer) sees the same records in the same places.
    auto again = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
    QVERIFY(again);
    QCOMPARE(codesOf(*again),
        QStringList({ QStringLiteral("A0"), QStringLiteral("B1"), QStringLiteral("A2"),
            QStringLiteral("A3") }));
    // An archive opened for reading only takes no write.
    QVERIFY(!again->append(product(QStringLiteral("X"))));
    QCOMPARE(again->failure(), Storage::Failure::Other);
    QCOMPARE(again->recordCount(), 4);
}

void TestServerStorage::writesPastTheEndRefused_data()
{
    addBackends();
}

void TestServerStorage::writesPastTheEndRefused()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    auto s = Storage::open(CustomerRecord::archive());
    QVERIFY(s);
    Record c(CustomerRecord::layout());
    c.setValue(CustomerRecord::Cognome, QStringLiteral("Rossi"));
    QVERIFY(s->append(c));
    QVERIFY(s->append(c));
    QVERIFY(!s->writeAt(3, c));
    QCOMPARE(s->failure(), Storage::Failure::Other);
    QVERIFY(!s->writeAt(-1, c));
    QCOMPARE(s->recordCount(), 2);
    Record r(CustomerRecord::layout());
    QVERIFY(!s->readAt(2, r));
    QVERIFY(!s->readAt(-1, r));
    QVERIFY(s->readAt(1, r));
    QCOMPARE(r.value(CustomerRecord::Cognome), QStringLiteral("Rossi"));
}

void TestServerStorage::conditionalRewrite_data()
{
    addBackends();
}

void TestServerStorage::conditionalRewrite()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    auto counter = Storage::open(ProductRecord::archive());
    auto office = Storage::open(ProductRecord::archive());
    QVERIFY(counter && office);
    QVERIFY(counter->append(product(QStringLiteral("A"))));
    Record asRead(ProductRecord::layout());
    QVERIFY(counter->readAt(0, asRead));
    // The office saves the same card after the counter opened it.
    QVERIFY(office->writeAt(0, product(QStringLiteral("A"), QStringLiteral("dall'ufficio"))));
    QVERIFY(
        !counter->writeAtIf(0, product(QStringLiteral("A"), QStringLiteral("dal banco")), asRead));
    QCOMPARE(counter->failure(), Storage::Failure::Conflict);
    Record now(ProductRecord::layout());
    QVERIFY(counter->readAt(0, now));
    QCOMPARE(now.value(ProductRecord::Note), QStringLiteral("dall'ufficio"));
    // Asked again with what is there now, the save goes through.
    QVERIFY(counter->writeAtIf(0, product(QStringLiteral("A"), QStringLiteral("dal banco")), now));
    QVERIFY(office->readAt(0, now));
    QCOMPARE(now.value(ProductRecord::Note), QStringLiteral("dal banco"));
    // A card that is not in the archive any more cannot be rewritten.
    QVERIFY(!counter->writeAtIf(1, product(QStringLiteral("B")), now));
    QCOMPARE(counter->failure(), Storage::Failure::Conflict);
    QCOMPARE(counter->recordCount(), 1);
}

void TestServerStorage::scanGivesTheAskedFields_data()
{
    addBackends();
}

void TestServerStorage::scanGivesTheAskedFields()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    {
        auto w = Storage::open(ProductRecord::archive());
        for (int i = 0; i < 2500; ++i)
            QVERIFY(w->append(product(QStringLiteral("P%1").arg(i))));
    }
    auto s = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
    const int fields[] = { ProductRecord::Codice, ProductRecord::Giacenza };
    qint64 expected = 0;
    bool inOrder = true;
    qint64 countDuringScan = -1;
    QStringList wrong;
    int withNote = 0;
    const bool ok = s->scan(fields, [&](qint64 index, QByteArrayView bytes) {
        inOrder = inOrder && index == expected++;
        const QString code = fieldOf(ProductRecord::layout(), bytes, ProductRecord::Codice);
        const QString stock = fieldOf(ProductRecord::layout(), bytes, ProductRecord::Giacenza);
        if (code != QStringLiteral("P%1").arg(index) || stock != QString::number(code.size() * 3))
            wrong << code;
        if (!fieldOf(ProductRecord::layout(), bytes, ProductRecord::Note).isEmpty())
            ++withNote;
        // The same session answers while its scan goes on.
        if (index == 1200)
            countDuringScan = s->recordCount();
        return true;
    });
    QVERIFY2(ok, qPrintable(s->errorString()));
    QVERIFY(inOrder);
    QCOMPARE(expected, 2500);
    QCOMPARE(wrong, QStringList());
    QCOMPARE(countDuringScan, 2500);
    // The files give whole records; the server sends only the columns asked for.
    QCOMPARE(withNote, backend == QLatin1StringView("file") ? 2500 : 0);
}

void TestServerStorage::scanStops_data()
{
    addBackends();
}

void TestServerStorage::scanStops()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    auto s = Storage::open(SupplierRecord::archive());
    Record sup(SupplierRecord::layout());
    for (int i = 0; i < 1500; ++i) {
        sup.setValue(SupplierRecord::Ditta, QStringLiteral("Ditta %1").arg(i));
        QVERIFY(s->append(sup));
    }
    QList<qint64> visited;
    QVERIFY(s->scan({}, [&](qint64 index, QByteArrayView bytes) {
        visited << index;
        return fieldOf(SupplierRecord::layout(), bytes, SupplierRecord::Ditta)
            != QStringLiteral("Ditta 2");
    }));
    QCOMPARE(visited, QList<qint64>({ 0, 1, 2 }));
    // The session goes on working after a stopped scan.
    sup.setValue(SupplierRecord::Ditta, QStringLiteral("Ultima"));
    QVERIFY2(s->append(sup), qPrintable(s->errorString()));
    Record r(SupplierRecord::layout());
    QVERIFY(s->readAt(1500, r));
    QCOMPARE(r.value(SupplierRecord::Ditta), QStringLiteral("Ultima"));
    int all = 0;
    QVERIFY(s->scan({}, [&](qint64, QByteArrayView) { return ++all > 0; }));
    QCOMPARE(all, 1501);
}

void TestServerStorage::yearlyRegisters_data()
{
    addBackends();
}

void TestServerStorage::yearlyRegisters()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    const struct
    {
        const char *file;
        int records;
    } registers[]
        = { { "Carico_2024.mrv", 2 }, { "Carico_2025.mrv", 1 }, { "Scarico_2024.mrv", 3 } };
    for (const auto &reg : registers) {
        auto s = Storage::open(MovementRecord::archiveNamed(QString::fromLatin1(reg.file)));
        QVERIFY(s);
        for (int i = 0; i < reg.records; ++i)
            QVERIFY(
                s->append(movement(QStringLiteral("%1-%2").arg(QLatin1StringView(reg.file)).arg(i),
                    QStringLiteral("01/02/2024"))));
    }
    for (const auto &reg : registers) {
        auto s = Storage::open(
            MovementRecord::archiveNamed(QString::fromLatin1(reg.file)), Storage::Access::ReadOnly);
        QVERIFY(s);
        QCOMPARE(s->recordCount(), reg.records);
        Record r(MovementRecord::layout());
        QVERIFY(s->readAt(reg.records - 1, r));
        QCOMPARE(r.value(MovementRecord::Codice),
            QStringLiteral("%1-%2").arg(QLatin1StringView(reg.file)).arg(reg.records - 1));
    }
    auto empty = Storage::open(MovementRecord::archiveNamed(QStringLiteral("Scarico_2023.mrv")),
        Storage::Access::ReadOnly);
    QVERIFY(empty);
    QCOMPARE(empty->recordCount(), 0);
}

void TestServerStorage::everyByteValueComesBack_data()
{
    addBackends();
}

void TestServerStorage::everyByteValueComesBack()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    Record r = product(QStringLiteral("BYTES"));
    r.setValue(ProductRecord::Note, everyByte(0, 127));
    r.setValue(ProductRecord::Descrizione, everyByte(128, 255));
    r.setValue(ProductRecord::Codice, everyByte(1, 28));
    const QByteArray written = r.encode();
    // Every byte value is in the record as it is written.
    const QByteArrayView note = QByteArrayView(written).sliced(
        ProductRecord::layout().offset(ProductRecord::Note) + 2, 128);
    for (int b = 0; b < 128; ++b)
        QCOMPARE(static_cast<unsigned char>(note[b]), b);
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s->append(product(QStringLiteral("prima"))));
    QVERIFY(s->append(r));
    QVERIFY(s->writeAt(0, r));
    Record back(ProductRecord::layout());
    for (int i = 0; i < 2; ++i) {
        QVERIFY(s->readAt(i, back));
        QCOMPARE(back.encode(), written);
    }
    QList<QByteArray> scanned;
    QVERIFY(s->scan({}, [&](qint64, QByteArrayView bytes) {
        scanned << bytes.toByteArray();
        return true;
    }));
    QCOMPARE(scanned, QList<QByteArray>({ written, written }));
}

void TestServerStorage::recordBytesWrittenWhole_data()
{
    addBackends();
}

void TestServerStorage::recordBytesWrittenWhole()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s->append(product(QStringLiteral("A"))));
    // Bytes an older program left past a field's text, and a length byte over the
    // capacity, are put back exactly.
    for (int variant = 0; variant < 2; ++variant) {
        const QByteArray odd = oddProduct(variant);
        QVERIFY(s->writeAt(0, odd));
        QByteArray back;
        QVERIFY(s->readAt(0, back));
        QCOMPARE(back, odd);
    }
    QVERIFY(s->writeAt(1, oddProduct(0)));
    QCOMPARE(s->recordCount(), 2);
    QVERIFY(!s->writeAt(0, QByteArray(10, 'x')));
    QByteArray back;
    QVERIFY(s->readAt(1, back));
    QCOMPARE(back, oddProduct(0));
}

void TestServerStorage::archiveNamesAndExists_data()
{
    addBackends();
}

void TestServerStorage::archiveNamesAndExists()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    for (const char *name : { "Carico_2024.mrv", "Carico_2025.mrv", "Scarico_2023.mrv" }) {
        auto s = Storage::open(MovementRecord::archiveNamed(QString::fromLatin1(name)));
        QVERIFY(s->append(movement(QStringLiteral("M"), QStringLiteral("01/01/2024"))));
    }
    {
        auto s = Storage::open(ProductRecord::archive());
        QVERIFY(s->append(product(QStringLiteral("A"))));
    }
    QCOMPARE(Storage::archiveNames({ QStringLiteral("Carico_????.mrv") }),
        QStringList({ QStringLiteral("Carico_2024.mrv"), QStringLiteral("Carico_2025.mrv") }));
    QCOMPARE(
        Storage::archiveNames({ QStringLiteral("Scarico_*.mrv"), QStringLiteral("Magazzino.mrv") }),
        QStringList({ QStringLiteral("Magazzino.mrv"), QStringLiteral("Scarico_2023.mrv") }));
    QVERIFY(Storage::exists(ProductRecord::archive()));
    QVERIFY(Storage::exists(MovementRecord::archiveNamed(QStringLiteral("Scarico_2023.mrv"))));
    QVERIFY(!Storage::exists(MovementRecord::archiveNamed(QStringLiteral("Scarico_2024.mrv"))));
    QVERIFY(!Storage::exists(CustomerRecord::archive()));
}

void TestServerStorage::workingCopyReplacesWholeOrNothing_data()
{
    addBackends();
}

void TestServerStorage::workingCopyReplacesWholeOrNothing()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    const QStringList before { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C") };
    {
        auto s = Storage::open(ProductRecord::archive());
        for (const QString &code : before)
            QVERIFY(s->append(product(code)));
    }
    const QByteArray block
        = product(QStringLiteral("D")).encode() + product(QStringLiteral("E")).encode();
    for (const bool commit : { false, true }) {
        QString error;
        auto copy = Storage::workingCopy(ProductRecord::archive(), &error);
        QVERIFY2(copy, qPrintable(error));
        QCOMPARE(copy->recordCount(), 3);
        QVERIFY2(copy->appendBlock(block), qPrintable(copy->errorString()));
        QVERIFY(copy->writeAt(0, product(QStringLiteral("Z"))));
        QCOMPARE(codesOf(*copy),
            QStringList({ QStringLiteral("Z"), QStringLiteral("B"), QStringLiteral("C"),
                QStringLiteral("D"), QStringLiteral("E") }));
        {
            // Meanwhile the archive is as it was for everybody else.
            auto reader = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
            QCOMPARE(codesOf(*reader), before);
        }
        if (commit)
            QVERIFY2(copy->commit(), qPrintable(copy->errorString()));
        copy.reset();
        auto reader = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
        QCOMPARE(codesOf(*reader),
            commit ? QStringList({ QStringLiteral("Z"), QStringLiteral("B"), QStringLiteral("C"),
                QStringLiteral("D"), QStringLiteral("E") })
                   : before);
    }
    // Appends after the replacement go on from its end.
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s->append(product(QStringLiteral("F"))));
    QCOMPARE(s->recordCount(), 6);
}

void TestServerStorage::copyArchivesWritesTheFiles_data()
{
    addBackends();
}

void TestServerStorage::copyArchivesWritesTheFiles()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    QByteArray products;
    QByteArray loads;
    {
        auto s = Storage::open(ProductRecord::archive());
        for (int i = 0; i < 3; ++i) {
            QVERIFY(s->append(product(QStringLiteral("P%1").arg(i))));
            products += product(QStringLiteral("P%1").arg(i)).encode();
        }
        QVERIFY(s->writeAt(1, oddProduct(0)));
        products.replace(ProductRecord::kRecordSize, ProductRecord::kRecordSize, oddProduct(0));
        auto l = Storage::open(MovementRecord::archiveNamed(QStringLiteral("Carico_2024.mrv")));
        QVERIFY(l->append(movement(QStringLiteral("M"), QStringLiteral("02/02/2024"))));
        loads = movement(QStringLiteral("M"), QStringLiteral("02/02/2024")).encode();
    }
    QTemporaryDir out;
    QStringList copied;
    QString error;
    QVERIFY2(Storage::copyArchives(out.path(), &copied, &error), qPrintable(error));
    copied.sort();
    QCOMPARE(copied,
        QStringList({ QStringLiteral("Carico_2024.mrv"), QStringLiteral("Magazzino.mrv") }));
    QCOMPARE(readFile(out.filePath(QStringLiteral("Magazzino.mrv"))), products);
    QCOMPARE(readFile(out.filePath(QStringLiteral("Carico_2024.mrv"))), loads);
    const QString one = out.filePath(QStringLiteral("uno.mrv"));
    QVERIFY(Storage::copyArchive(ProductRecord::archive(), one, &error));
    QCOMPARE(readFile(one), products);
}

void TestServerStorage::changeIsOneTransaction()
{
    QVERIFY(useBackend(QStringLiteral("server")));
    {
        auto s = Storage::open(ProductRecord::archive());
        QVERIFY(s->append(product(QStringLiteral("A"))));
    }
    const Archive loads = MovementRecord::archiveNamed(QStringLiteral("Carico_2024.mrv"));
    for (const bool keep : { false, true }) {
        QString error;
        const bool done = Storage::change(
            ProductRecord::archive(),
            [&](Storage::Session &held) {
                if (!held.writeAt(0, product(QStringLiteral("A"), QStringLiteral("caricato"))))
                    return false;
                auto movements = Storage::open(loads);
                return movements
                    && movements->append(
                        movement(QStringLiteral("A"), QStringLiteral("03/03/2024")))
                    && keep;
            },
            &error);
        QCOMPARE(done, keep);
        auto s = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
        Record r(ProductRecord::layout());
        QVERIFY(s->readAt(0, r));
        // Undone together when the work says no, stored together when it says yes.
        QCOMPARE(r.value(ProductRecord::Note),
            keep ? QStringLiteral("caricato") : QStringLiteral("nota di A"));
        auto m = Storage::open(loads, Storage::Access::ReadOnly);
        QCOMPARE(m->recordCount(), keep ? 1 : 0);
    }
}

void TestServerStorage::documentsAreKept_data()
{
    addBackends();
}

void TestServerStorage::documentsAreKept()
{
    QFETCH(QString, backend);
    QVERIFY(useBackend(backend));
    QByteArray content;
    for (int i = 0; i < 3000; ++i)
        content.append(char(i % 256));
    const QString name = QStringLiteral("fattura d'acquisto; n.1.pdf");
    QVERIFY(Storage::prepareDocuments());
    QVERIFY(!Storage::documentExists(name));
    QString error;
    // The server has no file to give for a document it does not hold (the folder names the
    // place where it would be).
    if (backend == QLatin1StringView("server"))
        QVERIFY(Storage::documentFile(name, &error).isEmpty());
    QVERIFY2(
        Storage::storeDocument(
            name, [&](QIODevice &out) { return out.write(content) == content.size(); }, &error),
        qPrintable(error));
    QVERIFY(Storage::documentExists(name));
    const QString path = Storage::documentFile(name, &error);
    QVERIFY2(!path.isEmpty(), qPrintable(error));
    QCOMPARE(readFile(path), content);
    // Stored again under the same name, the new content replaces the old.
    QVERIFY(Storage::storeDocument(
        name, [](QIODevice &out) { return out.write("nuovo") == 5; }, &error));
    QCOMPARE(readFile(Storage::documentFile(name, &error)), QByteArray("nuovo"));
    if (backend == QLatin1StringView("server")) {
        // Another computer sees the same document.
        Storage::setBackend(Server::connect(m_conninfo, &error));
        QVERIFY(Storage::documentExists(name));
    }
}

void TestServerStorage::olderSchemaIsUpgraded()
{
    const QString conninfo = newDatabase();
    QString error;
    QVERIFY2(Server::connect(conninfo, &error), qPrintable(error));
    // The tables as the first layout had them, with a record.
    Admin admin(conninfo);
    QVERIFY(admin.run(QStringLiteral("DROP TABLE documents")));
    QVERIFY(admin.run(QStringLiteral("UPDATE merventa_schema SET version = 1")));
    QVERIFY(admin.run(QStringLiteral("INSERT INTO archive_positions VALUES ('products', '', 1)")));
    QVERIFY(admin.run(QStringLiteral("INSERT INTO products (pos, codice) VALUES (0, 'VECCHIO')")));
    // Probing counts the records and changes nothing.
    const Server::Probe p = Server::probe(conninfo);
    QVERIFY2(p.ok, qPrintable(p.message));
    QCOMPARE(p.records, 1);
    QCOMPARE(
        admin.value(QStringLiteral("SELECT version FROM merventa_schema")), QStringLiteral("1"));
    const auto backend = Server::connect(conninfo, &error);
    QVERIFY2(backend, qPrintable(error));
    QCOMPARE(
        admin.value(QStringLiteral("SELECT version FROM merventa_schema")), QStringLiteral("2"));
    QCOMPARE(admin.value(QStringLiteral("SELECT to_regclass('documents') IS NOT NULL")),
        QStringLiteral("t"));
    Storage::setBackend(backend);
    auto s = Storage::open(ProductRecord::archive());
    QCOMPARE(codesOf(*s), QStringList({ QStringLiteral("VECCHIO") }));
}

void TestServerStorage::changeKeepsOtherComputersOut()
{
    QVERIFY(useBackend(QStringLiteral("server")));
    {
        auto s = Storage::open(ProductRecord::archive());
        QVERIFY(s->append(product(QStringLiteral("A"))));
    }
    // Another computer: a backend of its own on the same database.
    QString error;
    const auto other = Server::connect(m_conninfo, &error);
    QVERIFY(other);
    auto office
        = other->open(ProductRecord::archive(), Storage::Access::ReadWrite, &error, nullptr);
    QVERIFY(office);
    Record seen(ProductRecord::layout());
    bool officeAppended = true;
    bool officeRewrote = true;
    Storage::Failure appendFailure = Storage::Failure::None;
    QVERIFY(Storage::change(ProductRecord::archive(), [&](Storage::Session &held) {
        // Reading goes on; writing waits for the change, then says the archive is busy.
        if (!office->readAt(0, seen))
            return false;
        officeAppended = office->append(product(QStringLiteral("B")));
        appendFailure = office->failure();
        officeRewrote = office->writeAt(0, product(QStringLiteral("X")));
        return held.writeAt(0, product(QStringLiteral("A"), QStringLiteral("nel cambio")));
    }));
    QVERIFY(!officeAppended);
    QCOMPARE(appendFailure, Storage::Failure::Busy);
    QVERIFY(!officeRewrote);
    QCOMPARE(office->failure(), Storage::Failure::Busy);
    QCOMPARE(office->errorString(), archiveBusyText());
    // Once the change is over the office saves again.
    QVERIFY2(office->append(product(QStringLiteral("B"))), qPrintable(office->errorString()));
    QCOMPARE(codesOf(*office), QStringList({ QStringLiteral("A"), QStringLiteral("B") }));
    QVERIFY(office->readAt(0, seen));
    QCOMPARE(seen.value(ProductRecord::Note), QStringLiteral("nel cambio"));
}

void TestServerStorage::readOnlyRoleGetsTheAccessFailure()
{
    QVERIFY(useBackend(QStringLiteral("server")));
    {
        auto s = Storage::open(ProductRecord::archive());
        QVERIFY(s->append(product(QStringLiteral("A"))));
    }
    Storage::setBackend(nullptr);
    Admin admin(m_conninfo);
    const QString reader
        = QStringLiteral("lettore_%1_%2").arg(QCoreApplication::applicationPid()).arg(m_databases);
    QVERIFY(admin.run(
        QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'solo-lettura'").arg(admin.ident(reader))));
    QVERIFY(admin.run(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1")
                          .arg(admin.ident(reader))));
    const QString asReader = withValues(m_conninfo,
        { { QStringLiteral("user"), reader },
            { QStringLiteral("password"), QStringLiteral("solo-lettura") } });
    QString error;
    const auto backend = Server::connect(asReader, &error);
    QVERIFY2(backend, qPrintable(error));
    Storage::setBackend(backend);
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s);
    Record r(ProductRecord::layout());
    QVERIFY(s->readAt(0, r));
    QCOMPARE(r.value(ProductRecord::Codice), QStringLiteral("A"));
    int seen = 0;
    QVERIFY(s->scan({}, [&](qint64, QByteArrayView) { return ++seen > 0; }));
    QCOMPARE(seen, 1);

    QVERIFY(!s->append(product(QStringLiteral("B"))));
    QCOMPARE(s->failure(), Storage::Failure::Other);
    QVERIFY2(
        s->errorString().contains(QStringLiteral("solo leggere")), qPrintable(s->errorString()));
    QVERIFY(!s->writeAt(0, product(QStringLiteral("C"))));
    QCOMPARE(s->failure(), Storage::Failure::Other);
    QVERIFY(!s->writeAtIf(0, product(QStringLiteral("C")), r));
    QCOMPARE(s->failure(), Storage::Failure::Other);
    // A new year's register cannot be started either.
    auto year = Storage::open(MovementRecord::archiveNamed(QStringLiteral("Carico_2030.mrv")));
    QVERIFY(year);
    QVERIFY(!year->append(movement(QStringLiteral("A"), QStringLiteral("01/01/2030"))));
    QCOMPARE(year->failure(), Storage::Failure::Other);

    QCOMPARE(admin.column(QStringLiteral("SELECT encode(codice, 'escape') FROM products")),
        QStringList({ QStringLiteral("A") }));
    QCOMPARE(admin.value(QStringLiteral("SELECT count(*) FROM loads")), QStringLiteral("0"));
}

void TestServerStorage::connectionFaults_data()
{
    QTest::addColumn<QString>("conninfo");
    QTest::addColumn<QString>("expected");
    const QString server = testServer();
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString closedPort = QString::number(closed.serverPort());
    closed.close();
    const QString role = QStringLiteral("negozio_%1").arg(QCoreApplication::applicationPid());
    QTest::newRow("password sbagliata") << withValues(server,
        { { QStringLiteral("host"), QStringLiteral("127.0.0.1") }, { QStringLiteral("user"), role },
            { QStringLiteral("password"), QStringLiteral("Pa'ss;sbagliata") } })
                                        << QStringLiteral("password");
    QTest::newRow("database che non c'è") << withValues(
        server, { { QStringLiteral("dbname"), QStringLiteral("x'; DROP TABLE products; --") } })
                                          << QStringLiteral("non esiste");
    QTest::newRow("SSL richiesto") << withValues(server,
        { { QStringLiteral("host"), QStringLiteral("127.0.0.1") },
            { QStringLiteral("sslmode"), QStringLiteral("require") },
            { QStringLiteral("password"), QStringLiteral("Pa'ss;SSL") } })
                                   << QStringLiteral("SSL");
    QTest::newRow("nessun server") << withValues(server,
        { { QStringLiteral("host"), QStringLiteral("127.0.0.1") },
            { QStringLiteral("port"), closedPort } })
                                   << QStringLiteral("non è raggiungibile");
    QTest::newRow("stringa non valida")
        << QStringLiteral("host='senza fine") << QStringLiteral("non sono valide");
}

void TestServerStorage::connectionFaults()
{
    QFETCH(QString, conninfo);
    QFETCH(QString, expected);
    QString error;
    QVERIFY(!Server::connect(conninfo, &error));
    QVERIFY2(error.contains(expected), qPrintable(error));
    const QString password = valueOf(conninfo, "password");
    if (!password.isEmpty())
        QVERIFY(!error.contains(password));
    const Server::Probe p = Server::probe(conninfo);
    QVERIFY(!p.ok);
    QCOMPARE(p.message, error);
    QCOMPARE(p.records, -1);
}

void TestServerStorage::anotherProgramsTablesAreLeftAlone()
{
    const QString conninfo = newDatabase();
    QVERIFY(!conninfo.isEmpty());
    Admin admin(conninfo);
    QVERIFY(admin.run(QStringLiteral("CREATE TABLE products (id serial PRIMARY KEY, name text)")));
    QVERIFY(admin.run(QStringLiteral("INSERT INTO products (name) VALUES ('vite'), ('bullone')")));
    QString error;
    QVERIFY(!Server::connect(conninfo, &error));
    QVERIFY2(error.contains(QStringLiteral("altro programma")), qPrintable(error));
    QVERIFY(error.contains(QStringLiteral("products")));
    QVERIFY(!Server::probe(conninfo).ok);
    QVERIFY(!Server::transfer(conninfo, QDir::tempPath(), {}, &error));
    QCOMPARE(admin.column(QStringLiteral("SELECT name FROM products ORDER BY id")),
        QStringList({ QStringLiteral("vite"), QStringLiteral("bullone") }));
    QCOMPARE(admin.value(QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                        "WHERE table_schema = 'public'")),
        QStringLiteral("1"));
}

void TestServerStorage::newerSchemaIsRefused()
{
    const QString conninfo = newDatabase();
    QString error;
    QVERIFY2(Server::connect(conninfo, &error), qPrintable(error));
    const Server::Probe fresh = Server::probe(conninfo);
    QVERIFY(fresh.ok);
    QCOMPARE(fresh.records, 0);
    Admin admin(conninfo);
    QVERIFY(admin.run(QStringLiteral("UPDATE merventa_schema SET version = version + 1")));
    QVERIFY(!Server::connect(conninfo, &error));
    QVERIFY2(error.contains(QStringLiteral("più recente")), qPrintable(error));
    const Server::Probe p = Server::probe(conninfo);
    QVERIFY(!p.ok);
    QCOMPARE(p.message, error);
}

void TestServerStorage::quotesAndSemicolonsInNames()
{
    Admin admin(m_server);
    const QString db
        = QStringLiteral("nego'zio; \"centro\" %1").arg(QCoreApplication::applicationPid());
    QVERIFY(admin.run(
        QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(admin.ident(db), admin.ident(m_role))));
    const QString conninfo = withValues(m_server,
        { { QStringLiteral("dbname"), db }, { QStringLiteral("user"), m_role },
            { QStringLiteral("password"), m_rolePassword } });
    QString error;
    const auto backend = Server::connect(conninfo, &error);
    QVERIFY2(backend, qPrintable(error));
    Storage::setBackend(backend);
    {
        auto s = Storage::open(ProductRecord::archive());
        QVERIFY(s);
        QVERIFY(s->append(product(QStringLiteral("l'articolo; \"uno\""))));
        Record r(ProductRecord::layout());
        QVERIFY(s->readAt(0, r));
        QCOMPARE(r.value(ProductRecord::Codice), QStringLiteral("l'articolo; \"uno\""));
    }
    const Server::Probe p = Server::probe(conninfo);
    QVERIFY2(p.ok, qPrintable(p.message));
    QCOMPARE(p.records, 1);
    QVERIFY(!p.message.contains(m_rolePassword));
    // The tables are in that database, not in the one the cluster starts with.
    Admin there(withValues(m_server, { { QStringLiteral("dbname"), db } }));
    QCOMPARE(there.value(QStringLiteral("SELECT count(*) FROM products")), QStringLiteral("1"));
    QCOMPARE(
        admin.value(QStringLiteral("SELECT to_regclass('products') IS NULL")), QStringLiteral("t"));
}

void TestServerStorage::stallingServerGivesUpInTime()
{
    // Accepts connections (the system does, on the listening socket) and never answers.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    const QString conninfo = QStringLiteral("host=127.0.0.1 port=%1 user=negozio dbname=archivi "
                                            "password=segreta connect_timeout=30")
                                 .arg(silent.serverPort());
    QElapsedTimer since;
    since.start();
    QString error;
    QVERIFY(!Server::connect(conninfo, &error));
    const qint64 took = since.elapsed();
    QVERIFY2(error.contains(QStringLiteral("non ha risposto")), qPrintable(error));
    QVERIFY(!error.contains(QStringLiteral("segreta")));
    // The deadline of connecting is the behaviour under test: it holds even when the
    // connection string asks for a longer one.
    QVERIFY2(took < Server::connectTimeout() + 2000, qPrintable(QString::number(took)));
    QVERIFY(!Server::probe(conninfo).ok);
}

void TestServerStorage::lostConnectionFailsOnceThenReconnects()
{
    QVERIFY(useBackend(QStringLiteral("server")));
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s->append(product(QStringLiteral("A"))));
    Record r(ProductRecord::layout());
    QVERIFY(s->readAt(0, r));
    Admin admin(m_server);
    const QString db = valueOf(m_conninfo, "dbname");
    QVERIFY(!admin
                 .column(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                        "WHERE datname = %1")
                             .arg(admin.literal(db)))
                 .isEmpty());
    QVERIFY(!s->readAt(0, r));
    QCOMPARE(s->failure(), Storage::Failure::Other);
    QCOMPARE(s->errorString(), Server::lostText());
    // The next action connects again.
    QVERIFY2(s->readAt(0, r), qPrintable(s->errorString()));
    QVERIFY(s->append(product(QStringLiteral("B"))));
    QCOMPARE(codesOf(*s), QStringList({ QStringLiteral("A"), QStringLiteral("B") }));
}

// A cluster of the test's own (scripts/pgcluster), stopped and removed at the end: the shared
// one serves other tests at the same time, which a restart would disturb.
class OwnCluster
{
public:
    OwnCluster()
    {
        QProcess p;
        p.start(QStringLiteral(MERVENTA_PGCLUSTER), { QStringLiteral("start") });
        if (p.waitForFinished(120000) && p.exitCode() == 0)
            m_conninfo = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        m_dir = valueOf(m_conninfo, "host");
    }
    ~OwnCluster()
    {
        if (!m_dir.isEmpty())
            QProcess::execute(
                QStringLiteral(MERVENTA_PGCLUSTER), { QStringLiteral("stop"), m_dir });
    }
    OwnCluster(const OwnCluster &) = delete;
    OwnCluster &operator=(const OwnCluster &) = delete;
    QString conninfo() const { return m_conninfo; }
    // Stopped abruptly (pg_ctl -m immediate) and started again.
    bool restart() const
    {
        return QProcess::execute(QStringLiteral(MERVENTA_PGCLUSTER),
                   { QStringLiteral("restart"), m_dir, QStringLiteral("immediate") })
            == 0;
    }

private:
    QString m_conninfo;
    QString m_dir;
};

void TestServerStorage::restartedServerBetweenSaves()
{
    OwnCluster cluster;
    QVERIFY(!cluster.conninfo().isEmpty());
    const QString conninfo = freshDatabase(cluster.conninfo(), QStringLiteral("riavvio"));
    QVERIFY(!conninfo.isEmpty());
    {
        // A server that commits asynchronously and writes its log only every 10 s: a save
        // it reported done is lost when it stops abruptly, unless the program asks for
        // synchronous commits.
        Admin admin(cluster.conninfo());
        QVERIFY(admin.run(QStringLiteral("ALTER SYSTEM SET wal_writer_delay = '10s'")));
        QVERIFY(admin.run(QStringLiteral("ALTER DATABASE riavvio SET synchronous_commit = off")));
        QVERIFY(admin.run(QStringLiteral("SELECT pg_reload_conf()")));
    }
    QString error;
    const auto backend = Server::connect(conninfo, &error);
    QVERIFY2(backend, qPrintable(error));
    Storage::setBackend(backend);
    {
        auto s = Storage::open(ProductRecord::archive());
        QVERIFY(s->append(product(QStringLiteral("A"))));
        QVERIFY(cluster.restart());
        // The first save after the restart finds its connection gone: either it reports the
        // lost connection, or it was stored through a new one.
        if (!s->append(product(QStringLiteral("B")))) {
            QCOMPARE(s->failure(), Storage::Failure::Other);
            QCOMPARE(s->errorString(), Server::lostText());
            // Saved again, as the user would: stored once.
            QVERIFY2(s->append(product(QStringLiteral("B"))), qPrintable(s->errorString()));
        }
        QCOMPARE(codesOf(*s), QStringList({ QStringLiteral("A"), QStringLiteral("B") }));
        // The next actions work: a conditional rewrite and an append.
        Record asRead(ProductRecord::layout());
        QVERIFY(s->readAt(0, asRead));
        QVERIFY2(
            s->writeAtIf(0, product(QStringLiteral("A2")), asRead), qPrintable(s->errorString()));
        QVERIFY(s->append(product(QStringLiteral("C"))));
        QCOMPARE(codesOf(*s),
            QStringList({ QStringLiteral("A2"), QStringLiteral("B"), QStringLiteral("C") }));
    }
    Storage::setBackend(nullptr);
}

void TestServerStorage::saveWhoseAnswerStalls_data()
{
    QTest::addColumn<bool>("requestArrives");
    QTest::addColumn<bool>("rewrite");
    QTest::addColumn<bool>("stored");
    QTest::newRow("append, answer lost") << true << false << true;
    QTest::newRow("append, request lost") << false << false << false;
    QTest::newRow("rewrite, answer lost") << true << true << true;
    QTest::newRow("rewrite, request lost") << false << true << false;
}

void TestServerStorage::saveWhoseAnswerStalls()
{
    QFETCH(bool, requestArrives);
    QFETCH(bool, rewrite);
    QFETCH(bool, stored);
    Admin admin(m_server);
    const QString db
        = QStringLiteral("stallo_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_databases);
    QVERIFY(admin.run(
        QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(admin.ident(db), admin.ident(m_role))));
    StallingProxy proxy(quint16(valueOf(m_server, "port").toUInt()));
    QVERIFY(proxy.port() != 0);
    const QString conninfo = withValues(m_server,
        { { QStringLiteral("host"), QStringLiteral("127.0.0.1") },
            { QStringLiteral("port"), QString::number(proxy.port()) },
            { QStringLiteral("dbname"), db }, { QStringLiteral("user"), m_role },
            { QStringLiteral("password"), m_rolePassword } });
    QString error;
    const auto backend = Server::connect(conninfo, &error);
    QVERIFY2(backend, qPrintable(error));
    Storage::setBackend(backend);
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s);
    QVERIFY(s->append(product(QStringLiteral("A"))));
    Server::setAnswerTimeout(1500);
    if (requestArrives)
        proxy.stallAnswers();
    else
        proxy.stallBoth();
    const Record saved = product(QStringLiteral("B"), QStringLiteral("salvata durante lo stallo"));
    const bool ok = rewrite ? s->writeAt(0, saved) : s->append(saved);
    // Reported as done exactly when it was stored, and stored once.
    QCOMPARE(ok, stored);
    if (!ok) {
        QCOMPARE(s->failure(), Storage::Failure::Other);
        QCOMPARE(s->errorString(), Server::lostText());
    }
    const QStringList expected = !stored ? QStringList({ QStringLiteral("A") })
        : rewrite                        ? QStringList({ QStringLiteral("B") })
                  : QStringList({ QStringLiteral("A"), QStringLiteral("B") });
    QCOMPARE(codesOf(*s), expected);
    // The next save goes through a new connection.
    QVERIFY2(s->append(product(QStringLiteral("C"))), qPrintable(s->errorString()));
    QCOMPARE(codesOf(*s), expected + QStringList({ QStringLiteral("C") }));
}

void TestServerStorage::concurrentWriters()
{
    QVERIFY(useBackend(QStringLiteral("server")));
    const int writers = 4;
    const int saves = 150;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(MERVENTA_SERVER_WRITER),
            { m_conninfo, QString::number(w), QString::number(saves) });
        QVERIFY(p->waitForStarted());
        running.push_back(std::move(p));
    }
    // A fifth computer killed in the middle of its saves.
    QProcess killed;
    killed.start(QStringLiteral(MERVENTA_SERVER_WRITER),
        { withValues(
              m_conninfo, { { QStringLiteral("application_name"), QStringLiteral("ucciso") } }),
            QStringLiteral("9"), QStringLiteral("1000000") });
    QVERIFY(killed.waitForStarted());
    int appendedByAll = 0;
    for (auto &p : running) {
        QVERIFY(p->waitForFinished(240000));
        QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        const QStringList counts
            = QString::fromUtf8(p->readAllStandardOutput()).split(QLatin1Char(' '));
        QCOMPARE(counts.size(), 3);
        appendedByAll += counts[0].toInt();
    }
    killed.kill();
    QVERIFY(killed.waitForFinished());
    // A save the server had received when its program was killed is still done: the
    // records are counted once the server has let go of that connection.
    Admin admin(m_conninfo);
    QTRY_COMPARE_WITH_TIMEOUT(admin.value(QStringLiteral("SELECT count(*) FROM pg_stat_activity "
                                                         "WHERE application_name = 'ucciso'")),
        QStringLiteral("0"), 30000);
    QCOMPARE(appendedByAll, writers * (saves - saves / 3));
    auto s = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
    const qint64 stored = s->recordCount();
    QVERIFY(stored > appendedByAll);
    QSet<QString> codes;
    qint64 next = 0;
    bool gapFree = true;
    QStringList torn;
    const int fields[] = { ProductRecord::Codice, ProductRecord::Descrizione };
    QVERIFY(s->scan(fields, [&](qint64 index, QByteArrayView bytes) {
        gapFree = gapFree && index == next++;
        const QString code = fieldOf(ProductRecord::layout(), bytes, ProductRecord::Codice);
        codes.insert(code);
        // Every record whole: its description names the writer its code names.
        const QString writer = code.section(QLatin1Char('-'), 0, 0).mid(1);
        if (fieldOf(ProductRecord::layout(), bytes, ProductRecord::Descrizione)
            != QStringLiteral("scheda della postazione ") + writer)
            torn << code;
        return true;
    }));
    QVERIFY(gapFree);
    QCOMPARE(next, stored);
    QCOMPARE(torn, QStringList());
    // No card lost, none twice.
    QCOMPARE(codes.size(), stored);
    for (int w = 0; w < writers; ++w) {
        for (int n = 0; n < saves; n += 3) {
            QVERIFY(codes.contains(QStringLiteral("w%1-%2").arg(w).arg(n)));
            QVERIFY(codes.contains(QStringLiteral("w%1-%2").arg(w).arg(n + 1)));
        }
    }
    QCOMPARE(admin.value(QStringLiteral("SELECT count(DISTINCT pos) = count(*) AND max(pos) = "
                                        "count(*) - 1 FROM products")),
        QStringLiteral("t"));
    QCOMPARE(admin.value(QStringLiteral("SELECT records FROM archive_positions WHERE kind = "
                                        "'products'")),
        QString::number(stored));
}

void TestServerStorage::transferAndCopyBackRoundTrip()
{
    const QString conninfo = newDatabase();
    QTemporaryDir from;
    QTemporaryDir back;
    QByteArray products;
    products += product(QStringLiteral("NORMALE")).encode();
    Record bytes = product(QStringLiteral("BYTES"));
    bytes.setValue(ProductRecord::Note, everyByte(0, 127));
    bytes.setValue(ProductRecord::Descrizione, everyByte(128, 255));
    products += bytes.encode();
    products += oddProduct(0);
    products += oddProduct(1);
    QByteArray customers;
    Record c(CustomerRecord::layout());
    c.setValue(CustomerRecord::Cognome, QStringLiteral("Bianchi"));
    customers += c.encode();
    c.setValue(CustomerRecord::Cognome, QStringLiteral("Verdi"));
    customers += c.encode();
    QByteArray loads;
    for (int i = 0; i < 3; ++i)
        loads += movement(QStringLiteral("C%1").arg(i), QStringLiteral("03/04/2024")).encode();
    const QByteArray unloads = movement(QStringLiteral("S"), QStringLiteral("05/06/2023")).encode();
    writeFile(from.filePath(QStringLiteral("Magazzino.mrv")), products);
    writeFile(from.filePath(QStringLiteral("Clienti.mrv")), customers);
    writeFile(from.filePath(QStringLiteral("Fornitori.mrv")), QByteArray());
    // A last record cut short (a crash in an old append) is no record.
    writeFile(from.filePath(QStringLiteral("Carico_2024.mrv")), loads + QByteArray(100, 'z'));
    writeFile(from.filePath(QStringLiteral("Scarico_2023.mrv")), unloads);
    writeFile(from.filePath(QStringLiteral("Altro.mrv")), QByteArray(482, 'a'));

    qint64 lastDone = -1;
    qint64 lastTotal = -1;
    QString error;
    QVERIFY2(Server::transfer(
                 conninfo, from.path(),
                 [&](qint64 done, qint64 total) {
                     lastDone = done;
                     lastTotal = total;
                     return true;
                 },
                 &error),
        qPrintable(error));
    QCOMPARE(lastTotal, 10);
    QCOMPARE(lastDone, 10);
    const Server::Probe p = Server::probe(conninfo);
    QVERIFY(p.ok);
    QCOMPARE(p.records, 10);

    // The cards read through the server are those of the files.
    const auto backend = Server::connect(conninfo, &error);
    QVERIFY(backend);
    Storage::setBackend(backend);
    {
        auto s = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
        QCOMPARE(s->recordCount(), 4);
        Record r(ProductRecord::layout());
        QVERIFY(s->readAt(1, r));
        QCOMPARE(r.encode(), bytes.encode());
        QVERIFY(s->readAt(3, r));
        QCOMPARE(r.encode(), Record::fromBytes(ProductRecord::layout(), oddProduct(1)).encode());
    }

    QVERIFY2(Server::copyBack(conninfo, back.path(), &error), qPrintable(error));
    QCOMPARE(readFile(back.filePath(QStringLiteral("Magazzino.mrv"))), products);
    QCOMPARE(readFile(back.filePath(QStringLiteral("Clienti.mrv"))), customers);
    QCOMPARE(readFile(back.filePath(QStringLiteral("Fornitori.mrv"))), QByteArray());
    QCOMPARE(readFile(back.filePath(QStringLiteral("Carico_2024.mrv"))), loads);
    QCOMPARE(readFile(back.filePath(QStringLiteral("Scarico_2023.mrv"))), unloads);
    QCOMPARE(QDir(back.path()).entryList(QDir::Files).size(), 5);
}

void TestServerStorage::cancelledTransferChangesNothing()
{
    const QString conninfo = newDatabase();
    QTemporaryDir first;
    QTemporaryDir second;
    QTemporaryDir back;
    QByteArray few;
    for (int i = 0; i < 3; ++i)
        few += product(QStringLiteral("PRIMA%1").arg(i)).encode();
    writeFile(first.filePath(QStringLiteral("Magazzino.mrv")), few);
    const QByteArray loads = movement(QStringLiteral("C"), QStringLiteral("01/01/2022")).encode();
    writeFile(first.filePath(QStringLiteral("Carico_2022.mrv")), loads);
    QByteArray many;
    for (int i = 0; i < 1200; ++i)
        many += product(QStringLiteral("SECONDA%1").arg(i)).encode();
    writeFile(second.filePath(QStringLiteral("Magazzino.mrv")), many);
    QString error;
    QVERIFY2(Server::transfer(conninfo, first.path(), {}, &error), qPrintable(error));

    // Cancelled half way: the server keeps what it had.
    QVERIFY(!Server::transfer(
        conninfo, second.path(), [](qint64 done, qint64) { return done < 500; }, &error));
    QVERIFY2(error.contains(QStringLiteral("annullato")), qPrintable(error));
    QCOMPARE(Server::probe(conninfo).records, 4);
    QVERIFY(Server::copyBack(conninfo, back.path(), &error));
    QCOMPARE(readFile(back.filePath(QStringLiteral("Magazzino.mrv"))), few);
    QCOMPARE(readFile(back.filePath(QStringLiteral("Carico_2022.mrv"))), loads);

    // Done to the end, it replaces everything, the registers too.
    QVERIFY2(Server::transfer(conninfo, second.path(), {}, &error), qPrintable(error));
    QCOMPARE(Server::probe(conninfo).records, 1200);
    QTemporaryDir again;
    QVERIFY(Server::copyBack(conninfo, again.path(), &error));
    QCOMPARE(readFile(again.filePath(QStringLiteral("Magazzino.mrv"))), many);
    QCOMPARE(QDir(again.path()).entryList(QDir::Files),
        QStringList({ QStringLiteral("Magazzino.mrv") }));
    // Appends after a transfer go on from its last position.
    const auto backend = Server::connect(conninfo, &error);
    Storage::setBackend(backend);
    auto s = Storage::open(ProductRecord::archive());
    QVERIFY(s->append(product(QStringLiteral("DOPO"))));
    Record r(ProductRecord::layout());
    QVERIFY(s->readAt(1200, r));
    QCOMPARE(r.value(ProductRecord::Codice), QStringLiteral("DOPO"));
}

QTEST_GUILESS_MAIN(TestServerStorage)
#include "tst_serverstorage.moc"
