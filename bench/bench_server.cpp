// The archives on a PostgreSQL server on loopback: a card move (reading one record), the
// inventory's scan of 100,000 products (its columns only, and whole records), and the
// transfer of a folder of 100,000 products to the server. The same reads on the program
// folder's files are the baselines.
//
// The server is the one MERVENTA_TEST_SERVER names, or a throwaway cluster this program
// starts with scripts/pgcluster and removes at the end.
#include "ArchiveGenerator.h"

#include "records/ProductRecord.h"
#include "server/ServerBackend.h"
#include "storage/RecordFile.h"
#include "storage/Storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kProducts = 100000;

struct Fixture
{
    QTemporaryDir folder { QDir::tempPath() + QStringLiteral("/merventa-bench-XXXXXX") };
    QString clusterDir;
    QString server; // the cluster's superuser connection string
    QString conninfo; // the benchmark's own database
    std::shared_ptr<Storage::Backend> backend;
    bool ready = false;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

QString productsPath()
{
    return fixture().folder.filePath(QStringLiteral("Magazzino.mrv"));
}

bool setUp()
{
    Fixture &f = fixture();
    QString error;
    if (!ArchiveGenerator::writeProducts(
            productsPath(), kProducts, ArchiveGenerator::kSeed, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    f.server = QString::fromUtf8(qgetenv("MERVENTA_TEST_SERVER"));
    if (f.server.isEmpty()) {
        f.clusterDir = QDir::tempPath()
            + QStringLiteral("/merventa-pg-bench-%1").arg(QCoreApplication::applicationPid());
        QProcess start;
        start.start(QStringLiteral(MERVENTA_PGCLUSTER), { QStringLiteral("start"), f.clusterDir });
        if (!start.waitForFinished(120000) || start.exitCode() != 0) {
            std::fprintf(stderr, "%s\n", start.readAllStandardError().constData());
            return false;
        }
        f.server = QString::fromUtf8(start.readAllStandardOutput()).trimmed();
    }
    PGconn *admin = PQconnectdb(f.server.toUtf8().constData());
    const QByteArray db
        = "merventa_bench_" + QByteArray::number(QCoreApplication::applicationPid());
    PQclear(PQexec(admin, ("DROP DATABASE IF EXISTS " + db).constData()));
    PGresult *created = PQexec(admin, ("CREATE DATABASE " + db).constData());
    const bool ok = PQresultStatus(created) == PGRES_COMMAND_OK;
    PQclear(created);
    PQfinish(admin);
    if (!ok)
        return false;
    f.conninfo = f.server + QStringLiteral(" dbname=") + QString::fromLatin1(db);
    if (!Server::transfer(f.conninfo, f.folder.path(), {}, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    f.backend = Server::connect(f.conninfo, &error);
    f.ready = f.backend != nullptr;
    return f.ready;
}

void tearDown()
{
    Fixture &f = fixture();
    f.backend.reset();
    Storage::setBackend(nullptr);
    if (!f.clusterDir.isEmpty()) {
        QProcess::execute(
            QStringLiteral(MERVENTA_PGCLUSTER), { QStringLiteral("stop"), f.clusterDir });
    } else if (!f.server.isEmpty()) {
        PGconn *admin = PQconnectdb(f.server.toUtf8().constData());
        const QByteArray db
            = "merventa_bench_" + QByteArray::number(QCoreApplication::applicationPid());
        PQclear(PQexec(admin, ("DROP DATABASE IF EXISTS " + db + " WITH (FORCE)").constData()));
        PQfinish(admin);
    }
}

const int kInventoryFields[] = { ProductRecord::Codice, ProductRecord::Tipologia,
    ProductRecord::Marca, ProductRecord::Modello, ProductRecord::Descrizione, ProductRecord::Costo,
    ProductRecord::Prezzo, ProductRecord::PercIva, ProductRecord::Giacenza,
    ProductRecord::Sottoscorta };

// A card move: the next card read from an archive the card keeps open.
void CardMove(benchmark::State &state, bool server)
{
    std::unique_ptr<Storage::Session> session;
    RecordFile file;
    if (server) {
        Storage::setBackend(fixture().backend);
        session = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
    } else {
        file.openPath(productsPath(), ProductRecord::layout(), Storage::Access::ReadOnly);
    }
    Storage::Session &archive = server ? *session : static_cast<Storage::Session &>(file);
    Record card(ProductRecord::layout());
    qint64 index = 0;
    for (auto _ : state) {
        index = (index + 7919) % kProducts;
        if (!archive.readAt(index, card))
            state.SkipWithError("lettura fallita");
        benchmark::DoNotOptimize(card);
    }
    Storage::setBackend(nullptr);
}

// The same move with the archive opened for it (a card that opens the archive per move).
void CardMoveWithOpen(benchmark::State &state)
{
    Storage::setBackend(fixture().backend);
    Record card(ProductRecord::layout());
    qint64 index = 0;
    for (auto _ : state) {
        index = (index + 7919) % kProducts;
        auto session = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
        if (!session || session->recordCount() != kProducts || !session->readAt(index, card))
            state.SkipWithError("lettura fallita");
    }
    Storage::setBackend(nullptr);
}

void Scan(benchmark::State &state, bool server, bool inventoryColumns)
{
    std::span<const int> fields;
    if (inventoryColumns)
        fields = kInventoryFields;
    for (auto _ : state) {
        std::unique_ptr<Storage::Session> session;
        RecordFile file;
        if (server) {
            Storage::setBackend(fixture().backend);
            session = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly);
        } else {
            file.openPath(productsPath(), ProductRecord::layout(), Storage::Access::ReadOnly);
        }
        Storage::Session &archive = server ? *session : static_cast<Storage::Session &>(file);
        qint64 stock = 0;
        qint64 seen = 0;
        archive.scan(fields, [&](qint64, QByteArrayView bytes) {
            stock += fieldOf(ProductRecord::layout(), bytes, ProductRecord::Giacenza).toLongLong();
            ++seen;
            return true;
        });
        if (seen != kProducts)
            state.SkipWithError("scansione incompleta");
        benchmark::DoNotOptimize(stock);
    }
    Storage::setBackend(nullptr);
}

void Transfer(benchmark::State &state)
{
    for (auto _ : state) {
        QString error;
        if (!Server::transfer(fixture().conninfo, fixture().folder.path(), {}, &error))
            state.SkipWithError(qPrintable(error));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!setUp()) {
        std::fprintf(stderr, "server di prova non disponibile\n");
        tearDown();
        return 1;
    }
    benchmark::RegisterBenchmark("CardMove/file", CardMove, false)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("CardMove/server", CardMove, true)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("CardMoveWithOpen/server", CardMoveWithOpen)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ScanInventory/file", Scan, false, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ScanInventory/server", Scan, true, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ScanWhole/server", Scan, true, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Transfer100000/server", Transfer)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(2);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tearDown();
    return 0;
}
