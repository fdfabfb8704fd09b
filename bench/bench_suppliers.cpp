// The list of the suppliers to recontact over a generated archive of 100,000 suppliers:
// reading every record, picking the marked ones and building and sorting their lines,
// against a plain read of the same file in the same run (target: at most three times the
// plain read).
#include "BenchSupport.h"

#include "records/SupplierRecord.h"
#include "storage/RecordFile.h"
#include "suppliers/RecontactList.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

// The supplier archives of this run, written once into a temporary folder on first use.
QString supplierArchive(std::int64_t count)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/merventa-bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("Fornitori_%1.mrv").arg(count));
    if (!QFile::exists(path)) {
        QString error;
        if (!ArchiveGenerator::writeSuppliers(path, count, ArchiveGenerator::kSeed, &error)) {
            std::fprintf(stderr, "cannot write a generated archive: %s\n", qPrintable(error));
            std::exit(1);
        }
    }
    return path;
}

void PlainReadSuppliers(benchmark::State &state)
{
    BenchSupport::plainReadCase(
        state, supplierArchive(state.range(0)), state.range(0) * SupplierRecord::kRecordSize);
}

// The recontact list as its screen fills it: open, read every record, keep the marked
// suppliers' lines, sort them.
void RecontactLines(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = supplierArchive(count);
    qsizetype lines = 0;
    for (auto _ : state) {
        RecordFile file;
        if (!file.openPath(path, SupplierRecord::layout())) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        const ListLines::Scan scan = RecontactList::lines(file);
        file.close();
        // The generator marks about one supplier in seven.
        if (!scan.complete || scan.lines.isEmpty() || scan.lines.size() > count / 4) {
            state.SkipWithError("the recontact list is not what the archive holds");
            break;
        }
        lines = scan.lines.size();
    }
    state.counters["lines"] = double(lines);
}

} // namespace

BENCHMARK(PlainReadSuppliers)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RecontactLines)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return BenchSupport::runBenchmarks(
        argc, argv, { { "RecontactLines", "PlainReadSuppliers", 3.0 } });
}
