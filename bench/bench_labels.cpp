// The scan box and the labels over generated archives: finding a code among 100,000
// products (target: at most 50 ms), the scans after the first one and the first one (which
// reads every code of the archive), against a plain read of the same file; and the
// labels of 10,000 products laid out with their barcodes (LabelsLayout), and laid out and
// written as a PDF (LabelsPdf, target: at most 5 s).
#include "BenchSupport.h"

#include "labels/CodeLookup.h"
#include "labels/LabelSheet.h"
#include "labels/ZintBarcode.h"
#include "records/ProductRecord.h"
#include "report/ReportRenderer.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"
#include "storage/Storage.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QThread>

namespace {

// The archive's folder as the program folder, and the archive in it. The archive was just
// written: the storage layer tells whether it changed only once its last change is a
// moment old (RecordFile::kStampSettleMs), as an archive at a counter is between two scans.
Archive generated(std::int64_t count)
{
    const QFileInfo file(BenchSupport::Archives::instance().products(count));
    ProgramFolder::setPath(file.absolutePath());
    while (QFileInfo(file.filePath()).lastModified().msecsTo(QDateTime::currentDateTime())
        < RecordFile::kStampSettleMs + 100)
        QThread::msleep(100);
    return { file.fileName(), &ProductRecord::layout() };
}

QList<Labels::Product> productsOf(const Archive &archive)
{
    QList<Labels::Product> products;
    Storage::read(archive, [&](Storage::Session &records) {
        records.scan({}, [&](qint64, QByteArrayView bytes) {
            products.append(Labels::productOf(Record::fromBytes(ProductRecord::layout(), bytes)));
            return true;
        });
    });
    return products;
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

// The labels laid out, barcodes drawn, without writing them: the part of the work done
// before anything reaches a printer.
void LabelsLayout(benchmark::State &state)
{
    const QList<Labels::Product> products = productsOf(generated(state.range(0)));
    Labels::Options options;
    options.format = 0;
    for (auto _ : state) {
        const std::optional<Labels::Sheets> sheets = Labels::build(
            products, options, ZintBarcode::encode, [](qsizetype, qsizetype) { return true; });
        if (!sheets || sheets->labels != products.size()) {
            state.SkipWithError("the labels were not laid out");
            break;
        }
        benchmark::DoNotOptimize(sheets->report.pageCount());
    }
    state.counters["labels"] = double(products.size());
}

// As the labels screen writes Etichette.pdf: laid out, then painted page by page into a
// file that replaces the old one when complete, the progress told at every step.
void LabelsPdf(benchmark::State &state)
{
    const QList<Labels::Product> products = productsOf(generated(state.range(0)));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("Etichette.pdf"));
    Labels::Options options;
    options.format = 0;
    const auto going = [](auto, auto) { return true; };
    for (auto _ : state) {
        const std::optional<Labels::Sheets> sheets
            = Labels::build(products, options, ZintBarcode::encode, going);
        if (!sheets || sheets->labels != products.size()
            || !Report::writePdf(pdf, sheets->report.info, [&](QPdfWriter &writer) {
                   return Report::render(sheets->report, writer, 0, 0, going);
               })) {
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
BENCHMARK(LabelsLayout)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(LabelsPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char **argv)
{
    // The PDF writer needs the fonts of a GUI application.
    QGuiApplication app(argc, argv);
    return BenchSupport::runBenchmarks(
        argc, argv, { { "ScanLookup", "PlainRead", 0 }, { "ScanLookupFirst", "PlainRead", 0 } });
}
