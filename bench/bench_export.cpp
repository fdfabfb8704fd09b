// The spreadsheet export of 100,000 products: filling the export grid from the archive,
// writing the .xls and writing the .xlsx, each against a plain read of the same archive
// in the same run (targets: the grid fill and the .xls at most five times the plain read;
// the .xlsx shown for information); and opening the whole export screen over the archive,
// grid on screen. The heap the filled grid keeps is a counter; the peak memory of each
// case is measured by running it alone (--benchmark_filter) under /usr/bin/time -v.
#include "BenchSupport.h"

#include "export/ExpMagazzino.h"
#include "export/ExportGrid.h"
#include "export/Exporters.h"
#include "export/SpreadsheetHtml.h"
#include "export/SpreadsheetXlsx.h"
#include "records/ProductRecord.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>

#include <malloc.h>

#include <map>
#include <memory>

namespace {

const Export::Exporter &products()
{
    return Export::exporter(ArchiveId::Products);
}

// The heap memory in use now, in bytes.
double heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

// A folder for the files the cases write (outside the archives' folder).
QTemporaryDir &outputFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/merventa-bench-export-XXXXXX"));
    return dir;
}

std::unique_ptr<ExportGrid> fillGrid(const QString &path)
{
    auto grid = std::make_unique<ExportGrid>(products());
    RecordFile file;
    if (file.openPath(path, ProductRecord::layout()))
        grid->fill(file);
    return grid;
}

// The grid of an archive, filled once for the writing cases.
const ExportGrid &gridOf(std::int64_t count)
{
    static std::map<std::int64_t, std::unique_ptr<ExportGrid>> cache;
    auto found = cache.find(count);
    if (found == cache.end())
        found = cache.emplace(count, fillGrid(BenchSupport::Archives::instance().products(count)))
                    .first;
    return *found->second;
}

void PlainReadProducts(benchmark::State &state)
{
    BenchSupport::plainReadCase(state, BenchSupport::Archives::instance().products(state.range(0)),
        state.range(0) * ProductRecord::kRecordSize);
}

void GridFill(benchmark::State &state)
{
    const QString path = BenchSupport::Archives::instance().products(state.range(0));
    double kept = 0;
    int rows = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        std::unique_ptr<ExportGrid> grid = fillGrid(path);
        kept = heapInUse() - before;
        rows = grid->filledRows();
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
    if (rows != state.range(0))
        state.SkipWithError("the grid did not take every product");
    state.counters["grid_MB"] = kept / (1024.0 * 1024.0);
}

void writeCase(benchmark::State &state, const QString &fileName,
    bool (*save)(const QString &, const ExportGrid &))
{
    const ExportGrid &grid = gridOf(state.range(0));
    const QString path = outputFolder().filePath(fileName);
    for (auto _ : state) {
        if (!save(path, grid)) {
            state.SkipWithError("the file could not be written");
            break;
        }
    }
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}

void WriteXls(benchmark::State &state)
{
    writeCase(state, QStringLiteral("Magazzino.xls"), &SpreadsheetHtml::save);
}

void WriteXlsx(benchmark::State &state)
{
    writeCase(state, QStringLiteral("Magazzino.xlsx"), &SpreadsheetXlsx::save);
}

// The product export screen as the product card opens it: created, shown, the grid filled
// and its first page painted.
void OpenScreen(benchmark::State &state)
{
    const QString archive = BenchSupport::Archives::instance().products(state.range(0));
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/merventa-bench-folder-XXXXXX"));
    QFile::link(archive, folder.filePath(QStringLiteral("Magazzino.mrv")));
    ProgramFolder::setPath(folder.path());
    int rows = 0;
    for (auto _ : state) {
        auto screen = std::make_unique<TfrmExpMagazzino>();
        screen->show();
        QApplication::processEvents();
        rows = screen->findChild<QTableView *>(QStringLiteral("grdRecords"))->model()->rowCount();
        state.PauseTiming();
        screen.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    ProgramFolder::setPath(QString());
    if (rows != state.range(0))
        state.SkipWithError("the screen did not show every product");
}

} // namespace

BENCHMARK(PlainReadProducts)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GridFill)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteXls)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteXlsx)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(OpenScreen)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv,
        { { "GridFill", "PlainReadProducts", 5.0 }, { "WriteXls", "PlainReadProducts", 5.0 },
            { "WriteXlsx", "PlainReadProducts", 0 }, { "OpenScreen", "PlainReadProducts", 0 } });
}
