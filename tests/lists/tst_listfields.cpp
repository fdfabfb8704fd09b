#include "customers/DueList.h"
#include "export/ExportGrid.h"
#include "export/Exporters.h"
#include "lists/ListLines.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "reports/StockLists.h"
#include "search/ArchiveSearch.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/Session.h"
#include "suppliers/RecontactList.h"

#include "common/TempProgramFolder.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <vector>

using namespace Qt::StringLiterals;

// Every list, search and export grid asks the archive for the fields it uses and for no
// other: read through an archive that leaves every field not asked for empty (as a server
// backend may), it gives the same lines, order, figures and reopened records as from the
// whole records; and leaving empty any one of the fields it asks for changes what it
// gives, so none is asked for without need.
class TestListFields : public QObject
{
    Q_OBJECT
private slots:
    void onlyTheFieldsAskedFor_data();
    void onlyTheFieldsAskedFor();
};

namespace {

// A record file whose scans hand the visitor every field not asked for emptied (length
// byte and text zeroed); blankedToo is emptied even when asked for. Records read one at a
// time (a reopened record) come whole.
class BlankingSession final : public Storage::Session
{
public:
    BlankingSession(RecordFile &file, const RecordLayout &layout, int blankedToo)
        : m_file(file)
        , m_layout(layout)
        , m_blankedToo(blankedToo)
    {
    }

    // Every field any scan asked for; whether a scan asked for all of them (no field named).
    const std::set<int> &asked() const { return m_asked; }
    bool askedAll() const { return m_askedAll; }

    qint64 recordCount() const override { return m_file.recordCount(); }
    bool readAt(qint64 index, Record &record) override { return m_file.readAt(index, record); }
    bool readAt(qint64 index, QByteArray &bytes) override { return m_file.readAt(index, bytes); }
    bool writeAt(qint64, const QByteArray &) override { return false; }
    bool scan(std::span<const int> fields, const Visit &visit) override
    {
        if (fields.empty())
            m_askedAll = true;
        std::vector<bool> kept(std::size_t(m_layout.fieldCount()), fields.empty());
        for (const int field : fields) {
            m_asked.insert(field);
            kept[std::size_t(field)] = true;
        }
        if (m_blankedToo >= 0)
            kept[std::size_t(m_blankedToo)] = false;
        QByteArray copy;
        return m_file.scan(fields, [&](qint64 index, QByteArrayView bytes) {
            copy = bytes.toByteArray();
            for (int f = 0; f < m_layout.fieldCount(); ++f) {
                if (!kept[std::size_t(f)])
                    std::memset(copy.data() + m_layout.offset(f), 0,
                        std::size_t(m_layout.field(f).capacity) + 1);
            }
            return visit(index, copy);
        });
    }
    bool writeAt(qint64, const Record &) override { return false; }
    bool writeAtIf(qint64, const Record &, const Record &) override { return false; }
    bool append(const Record &) override { return false; }
    Storage::Failure failure() const override { return m_file.failure(); }
    QString errorString() const override { return m_file.errorString(); }

private:
    RecordFile &m_file;
    const RecordLayout &m_layout;
    int m_blankedToo;
    std::set<int> m_asked;
    bool m_askedAll = false;
};

// Everything a reading gives, as texts: its lines in order, its figures, and the record
// each line reopens (position and every field).
using Outcome = QStringList;
using Reading = std::function<Outcome(Storage::Session &)>;

void addFlag(Outcome &out, const char *name, bool value)
{
    out << QString::fromLatin1(name) + (value ? u" yes"_s : u" no"_s);
}

// The lines of a scan, then the record each line reopens.
Outcome linesAndReopened(Storage::Session &archive, const RecordLayout &layout,
    const ListLines::PackedLines &lines, const ListLines::Columns &columns)
{
    Outcome out = lines.toStringList();
    const ListLines::LineBuilder build = ListLines::lineBuilder(columns, layout);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto found = ListLines::reopenByLine(archive, layout, lines.at(i), build);
        if (!found) {
            out << u"not reopened"_s;
            continue;
        }
        out << u"reopened %1:"_s.arg(found->position);
        for (int f = 0; f < layout.fieldCount(); ++f)
            out << found->record.value(f);
    }
    return out;
}

// A record of the layout with every field filled with a text of its own (the field's
// number and the record's), then the values given.
QByteArray record(const RecordLayout &layout, int n, const QList<std::pair<int, QString>> &values)
{
    Record r(layout);
    for (int f = 0; f < layout.fieldCount(); ++f)
        r.setValue(f, u"f%1r%2 x"_s.arg(f).arg(n).left(layout.field(f).capacity));
    for (const auto &[field, value] : values)
        r.setValue(field, value);
    return r.encode();
}

QByteArray products()
{
    namespace P = ProductRecord;
    const RecordLayout &l = P::layout();
    QByteArray out;
    // Codes, brands and types in mixed case and order; stocks above and below the minimum.
    const QStringList codes = { u"b7"_s, u"A3"_s, u"c1"_s, u"a2"_s, u"B9"_s, u"Z0"_s };
    const QStringList types
        = { u"Gomme"_s, u"cerchi"_s, u"GOMME estive"_s, QString(), u"Gomme"_s, u"catene"_s };
    for (int i = 0; i < codes.size(); ++i) {
        out += record(l, i,
            { { P::Codice, codes[i] }, { P::Tipologia, types[i] },
                { P::Marca, u"Marca %1"_s.arg(5 - i) }, { P::Modello, u"Mod %1"_s.arg(i % 3) },
                { P::Costo, u"%1,5"_s.arg(10 + i) }, { P::Valore, u"%1,25"_s.arg(100 + 7 * i) },
                { P::Giacenza, QString::number(i % 4) }, { P::Sottoscorta, QString::number(2) } });
    }
    return out;
}

QByteArray movements()
{
    namespace M = MovementRecord;
    const RecordLayout &l = M::layout();
    QByteArray out;
    const QStringList dates = { u"03/02/2024"_s, u"15/01/2024"_s, u"28/02/2024"_s, u"01/03/2024"_s,
        u"10/02/2024"_s, u"31/01/2024"_s };
    const QStringList codes = { u"PN-1"_s, u"pn-2"_s, u"CR-1"_s, u"PN-3"_s, QString(), u"pn-1"_s };
    for (int i = 0; i < dates.size(); ++i) {
        out += record(l, i,
            { { M::Data, dates[i] }, { M::Codice, codes[i] }, { M::Importo, u"%1,9"_s.arg(i) },
                { M::Quantita, QString::number(i + 1) } });
    }
    return out;
}

const QDate kToday(2024, 6, 15);

QByteArray customers()
{
    namespace C = CustomerRecord;
    const RecordLayout &l = C::layout();
    QByteArray out;
    // Due within the notice, due past, not yet due.
    const QStringList dues
        = { u"20/06/2024"_s, u"01/05/2024"_s, u"30/09/2024"_s, u"18/06/2024"_s, u"16/06/2024"_s };
    const QStringList notices = { u"10"_s, u"0"_s, u"5"_s, u"3"_s, u"1"_s };
    for (int i = 0; i < dues.size(); ++i) {
        out += record(l, i,
            { { C::Cognome, u"Rossi %1"_s.arg(4 - i) }, { C::Nome, u"N%1"_s.arg(i) },
                { C::Scadenza, dues[i] }, { C::Preavviso, notices[i] },
                { C::Rata, u"%1,00"_s.arg(50 + i) } });
    }
    return out;
}

QByteArray suppliers()
{
    namespace S = SupplierRecord;
    const RecordLayout &l = S::layout();
    QByteArray out;
    const QStringList recontact = { u"Sì"_s, u"No"_s, u"Sì"_s, QString(), u"Sì"_s };
    for (int i = 0; i < recontact.size(); ++i) {
        out += record(
            l, i, { { S::Ditta, u"Ditta %1"_s.arg(3 - i % 3) }, { S::Ricontatta, recontact[i] } });
    }
    return out;
}

Outcome searchOutcome(Storage::Session &archive, ArchiveId kind, const QStringList &typed)
{
    const ArchiveSearch::Config &config = ArchiveSearch::config(kind);
    const ListLines::Scan scan = ArchiveSearch::search(archive, config, typed);
    Outcome out = linesAndReopened(archive, *config.archive->layout, scan.lines, config.columns);
    addFlag(out, "complete", scan.complete);
    return out;
}

Outcome gridOutcome(Storage::Session &archive, ArchiveId kind)
{
    ExportGrid grid(Export::exporter(kind));
    grid.fill(archive);
    Outcome out;
    out << u"filled %1 of %2"_s.arg(grid.filledRows()).arg(grid.rowCount());
    for (int row = 0; row < grid.filledRows(); ++row) {
        for (int column = 0; column < grid.columnCount(); ++column)
            out << grid.text(row, column);
    }
    return out;
}

struct Case
{
    const char *name;
    const RecordLayout &layout;
    QByteArray archive;
    Reading read;
};

const std::vector<Case> &cases()
{
    using namespace StockLists;
    const QDate start(2024, 1, 20);
    const QDate end(2024, 2, 29);
    auto inventory = [](const QString &filter) {
        return [filter](Storage::Session &archive) {
            const Inventory inv = inventoryLines(archive, filter);
            Outcome out
                = linesAndReopened(archive, ProductRecord::layout(), inv.lines, inventoryColumns());
            out << QString::number(inv.total, 'g', 17) << inv.shownFilter;
            addFlag(out, "complete", inv.complete);
            return out;
        };
    };
    auto summary = [start, end](MovementRecord::Kind kind, const QString &filter) {
        return [=](Storage::Session &archive) {
            const Movements mov = movementLines(archive, kind, filter, start, end);
            Outcome out = linesAndReopened(
                archive, MovementRecord::layout(), mov.lines, movementColumns(kind));
            out << mov.shownFilter;
            addFlag(out, "complete", mov.complete);
            return out;
        };
    };
    auto search = [](ArchiveId kind, const QStringList &typed) {
        return [=](Storage::Session &archive) { return searchOutcome(archive, kind, typed); };
    };
    auto grid = [](ArchiveId kind) {
        return [=](Storage::Session &archive) { return gridOutcome(archive, kind); };
    };
    const RecordLayout &p = ProductRecord::layout();
    const RecordLayout &m = MovementRecord::layout();
    const RecordLayout &c = CustomerRecord::layout();
    const RecordLayout &s = SupplierRecord::layout();
    using K = MovementRecord::Kind;
    static const std::vector<Case> all = {
        { "inventory, every type", p, products(), inventory(QString()) },
        { "inventory, one type", p, products(), inventory(u"gomme"_s) },
        { "under-stock list", p, products(),
            [](Storage::Session &archive) {
                const ListLines::Scan scan = underStockLines(archive);
                Outcome out = linesAndReopened(
                    archive, ProductRecord::layout(), scan.lines, underStockColumns());
                addFlag(out, "complete", scan.complete);
                return out;
            } },
        { "load summary, every code", m, movements(), summary(K::Load, QString()) },
        { "unload summary, one code", m, movements(), summary(K::Unload, u"PN"_s) },
        { "due list", c, customers(),
            [](Storage::Session &archive) {
                const ListLines::Scan scan = DueList::lines(archive, kToday);
                Outcome out = linesAndReopened(
                    archive, CustomerRecord::layout(), scan.lines, DueList::columns());
                addFlag(out, "complete", scan.complete);
                return out;
            } },
        { "recontact list", s, suppliers(),
            [](Storage::Session &archive) {
                const ListLines::Scan scan = RecontactList::lines(archive);
                Outcome out = linesAndReopened(
                    archive, SupplierRecord::layout(), scan.lines, RecontactList::columns());
                addFlag(out, "complete", scan.complete);
                return out;
            } },
        { "product search, every box empty", p, products(),
            search(ArchiveId::Products, QStringList(10)) },
        { "product search, three boxes", p, products(),
            search(ArchiveId::Products,
                { QString(), u"e"_s, u"MARCA"_s, QString(), u"r"_s, QString(), QString(), QString(),
                    QString(), QString() }) },
        { "customer search, every box empty", c, customers(),
            search(ArchiveId::Customers, QStringList(10)) },
        { "customer search, two boxes", c, customers(),
            search(ArchiveId::Customers,
                { u"ross"_s, QString(), QString(), u"x"_s, QString(), QString(), QString(),
                    QString(), QString(), QString() }) },
        { "supplier search, every box empty", s, suppliers(),
            search(ArchiveId::Suppliers, QStringList(10)) },
        { "supplier search, two boxes", s, suppliers(),
            search(ArchiveId::Suppliers,
                { u"DITTA"_s, QString(), QString(), QString(), QString(), QString(), QString(),
                    QString(), QString(), u"r"_s }) },
        { "product export grid", p, products(), grid(ArchiveId::Products) },
        { "customer export grid", c, customers(), grid(ArchiveId::Customers) },
        { "supplier export grid", s, suppliers(), grid(ArchiveId::Suppliers) },
        { "load export grid", m, movements(), grid(ArchiveId::Loads) },
        { "unload export grid", m, movements(), grid(ArchiveId::Unloads) },
    };
    return all;
}

} // namespace

void TestListFields::onlyTheFieldsAskedFor_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < cases().size(); ++i)
        QTest::newRow(cases()[i].name) << int(i);
}

void TestListFields::onlyTheFieldsAskedFor()
{
    QFETCH(int, index);
    const Case &c = cases()[std::size_t(index)];
    TempProgramFolder folder;
    const QString path = folder.filePath(u"Prova.mrv"_s);
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(c.archive), c.archive.size());
    }
    RecordFile file;
    QVERIFY(file.openPath(path, c.layout, RecordFile::Access::ReadOnly));

    const Outcome whole = c.read(file);
    // The readings list something, or the comparisons below would prove little.
    QVERIFY(whole.size() > 3);

    BlankingSession onlyAsked(file, c.layout, -1);
    QCOMPARE(c.read(onlyAsked), whole);
    // Every scan named its fields (asking for all of them would make the above hold anyway).
    QVERIFY(!onlyAsked.askedAll());
    QVERIFY(!onlyAsked.asked().empty());

    for (const int field : onlyAsked.asked()) {
        BlankingSession without(file, c.layout, field);
        if (c.read(without) == whole)
            QFAIL(qPrintable(u"asked for %1 without using it"_s.arg(c.layout.fieldName(field))));
    }
}

QTEST_APPLESS_MAIN(TestListFields)
#include "tst_listfields.moc"
