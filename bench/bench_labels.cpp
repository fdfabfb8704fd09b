// The scan box and the labels over generated archives: finding a code among 100,000
// products (target: at most 50 ms), the scans after the first one and the first one (which
// reads every code of the archive), against a plain read of the same file; and the
// labels of 10,000 products laid out with their barcodes and written as a PDF (target: at
// most 5 s).
#include "BenchSupport.h"

#include "labels/CodeLookup.h"
#include "labels/LabelSheet.h"
#include "labels/ZintBarcode.h"
#include "records/ProductRecord.h"
#include "report/ReportRenderer.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

// The archive's folder as the program folder, and the archive in it.
Archive generated(std::int64_t count)
{
    const QFileInfo file(BenchSupport::Archives::instance().products(count));
    ProgramFolder::setPath(file.absolutePath());
    return { file.fileName(), &ProductRecord::layout() };
}

void PlainRead(benchmark::State &state)
{
    const Archive archive = generated(state.range(0));
    BenchSupport::plainReadCase(state, ProgramFolder::filePath(archive.fileName),
        state.range(0) * ProductRecord::kRecordSize);
}

void ScanLookup(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const Archive archive = generated(count);
    // The last product's code, typed in lower case.
    const QString code
        = ArchiveGenerator::productAt(count - 1).value(ProductRecord::Codice).trimmed().toLower();
    for (auto _ : state) {
        const CodeLookup::Result r = CodeLookup::find(archive, code);
        if (r.status != CodeLookup::Result::Status::Found) {
            state.SkipWithError("the code was not found");
            break;
        }
        benchmark::DoNotOptimize(r.position);
    }
}

// The first lookup in an archive, which reads every code of it: two copies of the archive
// are looked up in turn, so each lookup finds the codes of the other one kept.
void ScanLookupFirst(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const Archive archive = generated(count);
    const Archive copy { QStringLiteral("Copia_") + archive.fileName, archive.layout };
    if (!QFile::exists(ProgramFolder::filePath(copy.fileName)))
        QFile::copy(
            ProgramFolder::filePath(archive.fileName), ProgramFolder::filePath(copy.fileName));
    const QString code
        = ArchiveGenerator::productAt(count - 1).value(ProductRecord::Codice).trimmed().toLower();
    bool other = false;
    for (auto _ : state) {
        const CodeLookup::Result r = CodeLookup::find(other ? copy : archive, code);
        other = !other;
        if (r.status != CodeLookup::Result::Status::Found) {
            state.SkipWithError("the code was not found");
            break;
        }
        benchmark::DoNotOptimize(r.position);
    }
}

void LabelsPdf(benchmark::State &state)
{
    const Archive archive = generated(state.range(0));
    QList<Labels::Product> products;
    {
        RecordFile file;
        Record r(ProductRecord::layout());
        if (file.open(archive, RecordFile::Access::ReadOnly)) {
            while (file.readNext(r))
                products.append(Labels::productOf(r));
        }
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("Etichette.pdf"));
    Labels::Options options;
    options.format = 0;
    for (auto _ : state) {
        const Labels::Sheets sheets = Labels::build(products, options, ZintBarcode::encode);
        if (sheets.labels != products.size() || !Report::exportPdf(sheets.report, pdf)) {
            state.SkipWithError("the labels were not written");
            break;
        }
    }
    state.counters["labels"] = double(products.size());
}

} // namespace

BENCHMARK(PlainRead)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScanLookup)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ScanLookupFirst)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LabelsPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char **argv)
{
    // The PDF writer needs the fonts of a GUI application.
    QGuiApplication app(argc, argv);
    return BenchSupport::runBenchmarks(
        argc, argv, { { "ScanLookup", "PlainRead", 0 }, { "ScanLookupFirst", "PlainRead", 0 } });
}
