// The charts over generated archives: a yearly file of 1,000,000 loads charted month by
// month (target: 500 ms) and by most unloaded code, and the value by type of 100,000
// products (target: 200 ms), each beside a plain read of the same file in the same run.
// The files are opened through the storage layer, as the charts screen opens them.
#include "BenchSupport.h"

#include "charts/ChartFigures.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "storage/Storage.h"

namespace {

constexpr std::int64_t kProducts = 100000;

QString movementArchive(std::int64_t count)
{
    return BenchSupport::Archives::instance().movements(
        MovementRecord::Kind::Load, count, kProducts);
}

std::unique_ptr<Storage::Session> openArchive(
    benchmark::State &state, const QString &path, const RecordLayout &layout)
{
    std::unique_ptr<Storage::Session> file
        = Storage::openFile(path, layout, Storage::Access::ReadOnly);
    if (!file)
        state.SkipWithError("cannot open the archive");
    return file;
}

void PlainReadMovements(benchmark::State &state)
{
    BenchSupport::plainReadCase(
        state, movementArchive(state.range(0)), state.range(0) * MovementRecord::kRecordSize);
}

// The monthly figures and their table, as the screen gets them for one file.
void MonthlyMovements(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = movementArchive(count);
    for (auto _ : state) {
        const auto file = openArchive(state, path, MovementRecord::layout());
        if (!file)
            break;
        const auto figures = ChartFigures::monthlyMovements(*file, BenchSupport::kYear);
        qint64 movements = 0;
        for (const auto &month : figures.months)
            movements += month.movements;
        if (!figures.complete || movements != count) {
            state.SkipWithError("the chart did not count every movement of the year");
            break;
        }
        const auto table = ChartFigures::movementsTable(figures, {}, BenchSupport::kYear);
        benchmark::DoNotOptimize(table.series.size());
    }
}

// The ten codes with the most pieces, over the same file.
void TopUnloaded(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = movementArchive(count);
    for (auto _ : state) {
        const auto file = openArchive(state, path, MovementRecord::layout());
        if (!file)
            break;
        const auto top = ChartFigures::topUnloaded(*file, BenchSupport::kYear);
        if (!top.complete || top.movements != count || top.products.size() != 10) {
            state.SkipWithError("the ten codes of every movement of the year were not found");
            break;
        }
    }
}

void PlainReadProducts(benchmark::State &state)
{
    BenchSupport::plainReadCase(state, BenchSupport::Archives::instance().products(state.range(0)),
        state.range(0) * ProductRecord::kRecordSize);
}

void ValueByType(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = BenchSupport::Archives::instance().products(count);
    for (auto _ : state) {
        const auto file = openArchive(state, path, ProductRecord::layout());
        if (!file)
            break;
        const auto value = ChartFigures::valueByType(*file);
        if (!value.complete || value.types.isEmpty()) {
            state.SkipWithError("the inventory was not read to its end");
            break;
        }
        const auto table = ChartFigures::valueTable(value);
        benchmark::DoNotOptimize(table.labels.size());
    }
}

} // namespace

BENCHMARK(PlainReadMovements)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MonthlyMovements)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TopUnloaded)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainReadProducts)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ValueByType)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchSupport::runBenchmarks(argc, argv,
        { { "MonthlyMovements", "PlainReadMovements", 0 },
            { "TopUnloaded", "PlainReadMovements", 0 },
            { "ValueByType", "PlainReadProducts", 0 } });
}
