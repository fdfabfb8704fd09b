// Ways of reading a product archive for the inventory's lines, each building every line
// (the inventory's columns, every product) beside a plain read of the same file in the
// same run: the record file's scan as it is (blocks of 256 KiB handed as views), the same
// reading in larger blocks, a read-only memory map of the whole file, and the lines built
// by two threads over the two halves of the archive, merged in order. 10,000 and 100,000
// products; 1,000,000 with MERVENTA_BENCH_MILLION=1 (about 4.9 GB on disk).
#include "BenchSupport.h"

#include "lists/ListLines.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/RecordFile.h"

#include <QFile>

#include <thread>

namespace {

QString productArchive(std::int64_t count)
{
    return BenchSupport::Archives::instance().products(count);
}

const ListLines::LineBuilder &inventoryBuilder()
{
    static const ListLines::LineBuilder build
        = ListLines::lineBuilder(StockLists::inventoryColumns(), ProductRecord::layout());
    return build;
}

void finish(benchmark::State &state, qsizetype lines)
{
    state.counters["lines"] = double(lines);
    state.SetBytesProcessed(
        std::int64_t(state.iterations()) * state.range(0) * ProductRecord::kRecordSize);
}

void PlainRead(benchmark::State &state)
{
    const QString path = productArchive(state.range(0));
    BenchSupport::plainReadCase(state, path, QFile(path).size());
}

// The record file's scan: what the lists do today.
void FileScan(benchmark::State &state)
{
    const QString path = productArchive(state.range(0));
    const ListLines::Fields fields = inventoryBuilder().fields();
    qsizetype lines = 0;
    for (auto _ : state) {
        RecordFile file;
        if (!file.openPath(path, ProductRecord::layout(), RecordFile::Access::ReadOnly)) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        ListLines::PackedLines out;
        out.reserve(file.recordCount());
        file.scan(fields, [&out](qint64, QByteArrayView bytes) {
            inventoryBuilder().appendTo(out, bytes);
            return true;
        });
        lines = out.size();
    }
    finish(state, lines);
}

// The same reading in blocks of range(1) KiB (whole records) read with QFile.
void Blocks(benchmark::State &state)
{
    const QString path = productArchive(state.range(0));
    const qint64 size = ProductRecord::kRecordSize;
    const qint64 perBlock = std::max<qint64>(1, state.range(1) * 1024 / size);
    QByteArray block(perBlock * size, Qt::Uninitialized);
    qsizetype lines = 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        ListLines::PackedLines out;
        out.reserve(file.size() / size);
        qint64 n = 0;
        while ((n = file.read(block.data(), block.size())) >= size) {
            for (qint64 at = 0; at + size <= n; at += size)
                inventoryBuilder().appendTo(out, QByteArrayView(block).sliced(at, size));
        }
        lines = out.size();
    }
    finish(state, lines);
}

// A read-only map of the whole file, the records read where they lie.
void Mapped(benchmark::State &state)
{
    const QString path = productArchive(state.range(0));
    const qint64 size = ProductRecord::kRecordSize;
    qsizetype lines = 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        const qint64 count = file.size() / size;
        const uchar *map = file.map(0, count * size);
        if (!map) {
            state.SkipWithError("cannot map the archive");
            break;
        }
        ListLines::PackedLines out;
        out.reserve(count);
        const auto *bytes = reinterpret_cast<const char *>(map);
        for (qint64 i = 0; i < count; ++i)
            inventoryBuilder().appendTo(out, QByteArrayView(bytes + i * size, size));
        file.unmap(const_cast<uchar *>(map));
        lines = out.size();
    }
    finish(state, lines);
}

// Two threads, each with its own record file, over the two halves; the second half's
// lines then go after the first's.
void TwoThreads(benchmark::State &state)
{
    const QString path = productArchive(state.range(0));
    qsizetype lines = 0;
    for (auto _ : state) {
        ListLines::PackedLines halves[2];
        bool ok[2] = { false, false };
        const qint64 count = QFile(path).size() / ProductRecord::kRecordSize;
        auto half = [&](int h) {
            RecordFile file;
            if (!file.openPath(path, ProductRecord::layout(), RecordFile::Access::ReadOnly))
                return;
            const qint64 first = h == 0 ? 0 : count / 2;
            const qint64 last = h == 0 ? count / 2 : count;
            halves[h].reserve(last - first);
            file.seek(first);
            for (qint64 i = first; i < last; ++i) {
                const QByteArrayView bytes = file.nextRecord();
                if (bytes.isEmpty())
                    return;
                inventoryBuilder().appendTo(halves[h], bytes);
            }
            ok[h] = true;
        };
        std::thread second(half, 1);
        half(0);
        second.join();
        if (!ok[0] || !ok[1]) {
            state.SkipWithError("a half could not be read");
            break;
        }
        for (qsizetype i = 0; i < halves[1].size(); ++i) {
            const QByteArrayView line = halves[1].bytesAt(i);
            std::copy(line.begin(), line.end(), halves[0].appendLine(line.size()));
        }
        lines = halves[0].size();
    }
    finish(state, lines);
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(10000)->Arg(100000);
    if (qEnvironmentVariableIsSet("MERVENTA_BENCH_MILLION"))
        b->Arg(1000000);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void blockSizes(benchmark::internal::Benchmark *b)
{
    for (const std::int64_t kib : { 256, 1024, 4096 }) {
        b->Args({ 100000, kib });
        if (qEnvironmentVariableIsSet("MERVENTA_BENCH_MILLION"))
            b->Args({ 1000000, kib });
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(PlainRead)->Apply(sizes);
BENCHMARK(FileScan)->Apply(sizes);
BENCHMARK(Blocks)->Apply(blockSizes);
BENCHMARK(Mapped)->Apply(sizes);
BENCHMARK(TwoThreads)->Apply(sizes);

int main(int argc, char **argv)
{
    return BenchSupport::runBenchmarks(argc, argv,
        { { "FileScan", "PlainRead", 0 }, { "Mapped", "PlainRead", 0 },
            { "TwoThreads", "PlainRead", 0 } });
}
