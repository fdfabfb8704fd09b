// Reading a whole product archive record by record through RecordFile, against a plain
// read of the same file in 1 MiB blocks: the record scan should cost at most twice the
// plain read.
#include "BenchSupport.h"

#include "records/ProductRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QByteArray>

namespace {

constexpr std::int64_t kBlock = 1024 * 1024;

void setThroughput(benchmark::State &state, std::int64_t records)
{
    state.SetBytesProcessed(
        std::int64_t(state.iterations()) * records * ProductRecord::kRecordSize);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * records);
}

void PlainRead(benchmark::State &state)
{
    const std::int64_t records = state.range(0);
    const QString path = BenchSupport::Archives::instance().products(records);
    QByteArray buffer(kBlock, Qt::Uninitialized);
    for (auto _ : state) {
        const std::int64_t bytes = BenchSupport::plainRead(path, buffer);
        if (bytes != records * ProductRecord::kRecordSize) {
            state.SkipWithError("the plain read did not read the whole file");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    setThroughput(state, records);
}

// The scan every list, search and export makes: open, readNext until atEnd, close.
void ScanRaw(benchmark::State &state)
{
    const std::int64_t records = state.range(0);
    const QString path = BenchSupport::Archives::instance().products(records);
    QByteArray bytes;
    for (auto _ : state) {
        RecordFile file;
        if (!file.openPath(path, ProductRecord::layout())) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        std::int64_t read = 0;
        while (!file.atEnd() && file.readNext(bytes)) {
            benchmark::DoNotOptimize(bytes.constData());
            ++read;
        }
        file.close();
        if (read != records) {
            state.SkipWithError("the scan did not read every record");
            break;
        }
    }
    setThroughput(state, records);
}

// The same scan counting the records once instead of asking atEnd() before each record
// (atEnd() asks the file system for the file size every time).
void ScanRawCounted(benchmark::State &state)
{
    const std::int64_t records = state.range(0);
    const QString path = BenchSupport::Archives::instance().products(records);
    QByteArray bytes;
    for (auto _ : state) {
        RecordFile file;
        if (!file.openPath(path, ProductRecord::layout())) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        const qint64 count = file.recordCount();
        std::int64_t read = 0;
        while (read < count && file.readNext(bytes)) {
            benchmark::DoNotOptimize(bytes.constData());
            ++read;
        }
        file.close();
        if (read != records) {
            state.SkipWithError("the scan did not read every record");
            break;
        }
    }
    setThroughput(state, records);
}

// The same scan decoding all 32 fields of every record into a Record.
void ScanDecoded(benchmark::State &state)
{
    const std::int64_t records = state.range(0);
    const QString path = BenchSupport::Archives::instance().products(records);
    Record record(ProductRecord::layout());
    for (auto _ : state) {
        RecordFile file;
        if (!file.openPath(path, ProductRecord::layout())) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        std::int64_t read = 0;
        while (!file.atEnd() && file.readNext(record)) {
            benchmark::DoNotOptimize(record.value(ProductRecord::Codice).constData());
            ++read;
        }
        file.close();
        if (read != records) {
            state.SkipWithError("the scan did not read every record");
            break;
        }
    }
    setThroughput(state, records);
}

} // namespace

BENCHMARK(PlainRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScanRaw)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScanRawCounted)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScanDecoded)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchSupport::runBenchmarks(argc, argv,
        { { "ScanRaw", "PlainRead", 2.0 }, { "ScanRawCounted", "PlainRead", 0.0 },
            { "ScanDecoded", "PlainRead", 0.0 } });
}
