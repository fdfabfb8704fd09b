// The list screens and the export grid at scale: for 10,000 and 100,000 records (1,000,000
// products with MERVENTA_BENCH_MILLION=1 set: about 4.9 GB on disk) each screen created,
// its archive scanned, its lines sorted and the list painted once offscreen, beside a
// plain read of the same file in the same run; with the peak memory the opening added
// (VmHWM over the resident size before, the peak reset through /proc/self/clear_refs).
// The movement summary lists a yearly file of 10,000, 100,000 and 1,000,000 movements.
// Targets: on 100,000 records at most 100 ms, at most twice the plain read, +20 MiB; on
// 1,000,000 products at most 1 s and +150 MiB; the movement summary over 1,000,000
// movements at most 300 ms.
#include "BenchSupport.h"

#include "customers/DaRinnovare.h"
#include "export/ExpMagazzino.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "reports/Riepilogo.h"
#include "reports/RiepilogoCarico.h"
#include "reports/Sottoscorta.h"
#include "search/TrovaMagazzino.h"
#include "storage/ProgramFolder.h"
#include "storage/TextForms.h"
#include "suppliers/RicontattaFor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <malloc.h>

#include <functional>
#include <map>
#include <memory>

namespace {

const QDate kToday(BenchSupport::kYear, 6, 15);

// The largest size the customer and supplier lists are measured at.
constexpr std::int64_t kMaxPeopleCount = 100000;

// One program folder per size holding Magazzino.mrv, Clienti.mrv and Fornitori.mrv of
// that many records (products only beyond kMaxPeopleCount), written once per run.
QString programFolder(std::int64_t count)
{
    return BenchSupport::programFolder(
        count, [](const QString &folder, std::int64_t n, QString *error) {
            const auto seed = ArchiveGenerator::kSeed;
            if (!ArchiveGenerator::writeProducts(
                    folder + QStringLiteral("/Magazzino.mrv"), n, seed, error))
                return false;
            if (n > kMaxPeopleCount)
                return true;
            return ArchiveGenerator::writeCustomers(
                       folder + QStringLiteral("/Clienti.mrv"), n, kToday, seed, error)
                && ArchiveGenerator::writeSuppliers(
                    folder + QStringLiteral("/Fornitori.mrv"), n, seed, error);
        });
}

// A figure of /proc/self/status in KiB ("VmHWM", "VmRSS"); 0 where there is none.
double statusKiB(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toDouble();
    }
    return 0;
}

// Sets the peak resident size back to the present one, after handing the heap's free
// memory back to the system: otherwise the pages a previous opening freed are still
// resident, and an opening that reuses them seems to add nothing.
void resetPeak()
{
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void plainRead(benchmark::State &state, const QString &name)
{
    const QString path = programFolder(state.range(0)) + u'/' + name;
    BenchSupport::plainReadCase(state, path, QFile(path).size());
}

void PlainReadProducts(benchmark::State &state)
{
    plainRead(state, QStringLiteral("Magazzino.mrv"));
}
void PlainReadCustomers(benchmark::State &state)
{
    plainRead(state, QStringLiteral("Clienti.mrv"));
}
void PlainReadSuppliers(benchmark::State &state)
{
    plainRead(state, QStringLiteral("Fornitori.mrv"));
}

// A yearly load file of that many movements, on the codes of 100,000 products.
QString movementFile(std::int64_t count)
{
    return BenchSupport::Archives::instance().movements(
        MovementRecord::Kind::Load, count, kMaxPeopleCount);
}

void PlainReadMovements(benchmark::State &state)
{
    const QString path = movementFile(state.range(0));
    BenchSupport::plainReadCase(state, path, QFile(path).size());
}

// One opening of a list screen: open() creates it and makes it read, sort and show its
// list; the time runs until the first page is painted. The program folder is the one of
// the size measured unless folder names another.
void screenCase(benchmark::State &state, const std::function<std::unique_ptr<ListScreen>()> &open,
    const QString &folder = QString())
{
    ProgramFolder::setPath(folder.isEmpty() ? programFolder(state.range(0)) : folder);
    Clock::setFixed(QDateTime(kToday, QTime(9, 0)));
    qsizetype lines = 0;
    double peakAdded = 0;
    for (auto _ : state) {
        QApplication::processEvents();
        resetPeak();
        const double before = statusKiB("VmRSS");
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<ListScreen> screen = open();
        QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        peakAdded = std::max(peakAdded, statusKiB("VmHWM") - before);
        lines = screen->lines().size();
        if (lines == 0) {
            state.SkipWithError("the screen listed nothing");
            break;
        }
        screen->close();
    }
    Clock::reset();
    ProgramFolder::setPath(QString());
    state.counters["lines"] = double(lines);
    state.counters["peak_added_MiB"] = peakAdded / 1024.0;
}

template <typename Screen> std::unique_ptr<ListScreen> shown()
{
    auto screen = std::make_unique<Screen>();
    screen->show();
    return screen;
}

// The load summary of the whole year of every code, opened over a selection screen that
// holds what the summary reads from it (the file, the interval and the code typed).
void MovementSummaryScreen(benchmark::State &state)
{
    const QString path = movementFile(state.range(0));
    QWidget selection;
    auto label = [&selection](const char *name, const QString &text) {
        auto *l = new QLabel(text, &selection);
        l->setObjectName(QLatin1StringView(name));
    };
    label("lblFile", path);
    label("lblDataInizio", QStringLiteral("01/01/%1").arg(BenchSupport::kYear));
    label("lblDataFine", QStringLiteral("31/12/%1").arg(BenchSupport::kYear));
    (new QLineEdit(&selection))->setObjectName(QStringLiteral("txtTipologia"));
    screenCase(
        state,
        [&selection] {
            auto screen = std::make_unique<TfrmRiepilogoCarico>(&selection);
            screen->show();
            return std::unique_ptr<ListScreen>(std::move(screen));
        },
        QFileInfo(path).absolutePath());
}

void InventoryScreen(benchmark::State &state)
{
    screenCase(state, shown<TfrmRiepilogo>);
}
void UnderStockScreen(benchmark::State &state)
{
    screenCase(state, shown<TfrmSottoscorta>);
}
void DueListScreen(benchmark::State &state)
{
    screenCase(state, shown<TfrmDaRinnovare>);
}
void RecontactScreen(benchmark::State &state)
{
    screenCase(state, shown<TfrmRicontattaFor>);
}
// The product search with every box empty: every product is listed.
void ProductSearchScreen(benchmark::State &state)
{
    screenCase(state, [] {
        auto screen = std::make_unique<TfrmTrovaMagazzino>();
        screen->show();
        screen->btnCercaClick();
        return std::unique_ptr<ListScreen>(std::move(screen));
    });
}

// The product export with its grid: created, every product read into the grid and the
// first page painted.
void ExportGridScreen(benchmark::State &state)
{
    ProgramFolder::setPath(programFolder(state.range(0)));
    int rows = 0;
    double peakAdded = 0;
    for (auto _ : state) {
        QApplication::processEvents();
        resetPeak();
        const double before = statusKiB("VmRSS");
        QElapsedTimer timer;
        timer.start();
        auto screen = std::make_unique<TfrmExpMagazzino>();
        screen->show();
        QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        peakAdded = std::max(peakAdded, statusKiB("VmHWM") - before);
        const auto *grid = screen->findChild<QTableView *>(QStringLiteral("grdRecords"));
        rows = grid && grid->model() ? grid->model()->rowCount() : 0;
        if (rows != state.range(0)) {
            state.SkipWithError("the grid does not hold one row per product");
            break;
        }
        screen->close();
    }
    ProgramFolder::setPath(QString());
    state.counters["rows"] = double(rows);
    state.counters["peak_added_MiB"] = peakAdded / 1024.0;
}

void peopleSizes(benchmark::internal::Benchmark *b)
{
    b->Arg(10000)->Arg(kMaxPeopleCount);
    b->Unit(benchmark::kMillisecond);
}

void sizes(benchmark::internal::Benchmark *b)
{
    peopleSizes(b);
    if (qEnvironmentVariableIsSet("MERVENTA_BENCH_MILLION"))
        b->Arg(1000000);
}

// A yearly file of 1,000,000 movements is about 482 MB: always measured.
void movementSizes(benchmark::internal::Benchmark *b)
{
    b->Arg(10000)->Arg(100000)->Arg(1000000);
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(PlainReadProducts)->Apply(sizes)->UseRealTime();
BENCHMARK(PlainReadCustomers)->Apply(peopleSizes)->UseRealTime();
BENCHMARK(PlainReadSuppliers)->Apply(peopleSizes)->UseRealTime();
BENCHMARK(PlainReadMovements)->Apply(movementSizes)->UseRealTime();
BENCHMARK(MovementSummaryScreen)->Apply(movementSizes)->UseManualTime();
BENCHMARK(InventoryScreen)->Apply(sizes)->UseManualTime();
BENCHMARK(UnderStockScreen)->Apply(sizes)->UseManualTime();
BENCHMARK(ProductSearchScreen)->Apply(sizes)->UseManualTime();
BENCHMARK(ExportGridScreen)->Apply(sizes)->UseManualTime();
BENCHMARK(DueListScreen)->Apply(peopleSizes)->UseManualTime();
BENCHMARK(RecontactScreen)->Apply(peopleSizes)->UseManualTime();

int main(int argc, char **argv)
{
    const std::map<std::string, double> kProductTargets
        = { { "100000", 100 }, { "1000000", 1000 } };
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv,
        { { "InventoryScreen", "PlainReadProducts", 2.0, kProductTargets },
            { "UnderStockScreen", "PlainReadProducts", 2.0, kProductTargets },
            { "ProductSearchScreen", "PlainReadProducts", 2.0, kProductTargets },
            { "ExportGridScreen", "PlainReadProducts", 2.0, kProductTargets },
            { "DueListScreen", "PlainReadCustomers", 0, { { "100000", 100 } } },
            { "RecontactScreen", "PlainReadSuppliers", 0, { { "100000", 100 } } },
            { "MovementSummaryScreen", "PlainReadMovements", 0, { { "1000000", 300 } } } });
}
