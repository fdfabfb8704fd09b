// Importing 100,000 products into an empty archive: from a CSV file and from an .xlsx file
// (the export's own, written once per run from a generated archive), each a whole import
// (reading, conversion as the card stores values, duplicate keys, the copy into Backup/,
// the write and the replacement of the archive). Figures against a plain read of the
// archive the import writes; the peak resident memory of each case is a counter (run a
// case alone with --benchmark_filter for its own figure: the file is streamed, so it stays
// far below the size of the file or of the archive).
#include "BenchSupport.h"

#include "export/ExportGrid.h"
#include "export/Exporters.h"
#include "export/SpreadsheetXlsx.h"
#include "import/ImportFields.h"
#include "import/ImportRun.h"
#include "import/SpreadsheetFile.h"
#include "records/ProductRecord.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <map>
#include <memory>

namespace {

QTemporaryDir &outputFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/merventa-bench-import-XXXXXX"));
    return dir;
}

// The CSV and .xlsx files of an archive of count products, written once.
QString fileOf(std::int64_t count, bool xlsx)
{
    static std::map<std::pair<std::int64_t, bool>, QString> files;
    const auto key = std::pair { count, xlsx };
    if (const auto found = files.find(key); found != files.end())
        return found->second;
    const Export::Exporter &exporter = Export::exporter(ArchiveId::Products);
    ExportGrid grid(exporter);
    {
        RecordFile archive;
        if (archive.openPath(BenchSupport::Archives::instance().products(count),
                ProductRecord::layout(), RecordFile::Access::ReadOnly))
            grid.fill(archive);
    }
    const QString csv = outputFolder().filePath(QStringLiteral("prodotti_%1.csv").arg(count));
    const QString book = outputFolder().filePath(QStringLiteral("prodotti_%1.xlsx").arg(count));
    QFile out(csv);
    if (out.open(QIODevice::WriteOnly)) {
        QStringList headers;
        for (const Export::Column &column : exporter.columns)
            headers.append(column.fileHeader.toString());
        out.write(ImportRun::csvLine(headers).toUtf8());
        for (int row = 0; row < grid.rowCount(); ++row) {
            QStringList texts;
            for (int c = 0; c < grid.columnCount(); ++c)
                texts.append(grid.text(row, c));
            out.write(ImportRun::csvLine(texts).toUtf8());
        }
    }
    out.close();
    SpreadsheetXlsx::save(book, grid);
    files[{ count, false }] = csv;
    files[{ count, true }] = book;
    return files[key];
}

double peakResidentMb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void importCase(benchmark::State &state, bool xlsx)
{
    const QString path = fileOf(state.range(0), xlsx);
    qint64 added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/merventa-bench-folder-XXXXXX"));
        ProgramFolder::setPath(folder.path());
        state.ResumeTiming();
        QString error;
        std::unique_ptr<SpreadsheetFile> file = SpreadsheetFile::open(path, error);
        if (!file) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        ImportRun::Options options;
        options.target = ImportFields::Target::Products;
        SheetRows::Row header;
        file->readRows(
            0,
            [&](qint64, const SheetRows::Row &row) {
                header = row;
                return false;
            },
            error);
        QStringList headers;
        for (const SheetRows::Cell &cell : header)
            headers.append(cell.display());
        options.mapping = ImportFields::matchHeaders(options.target, headers);
        SpreadsheetFile *source = file.get();
        const ImportRun::Outcome outcome
            = ImportRun::run(options, [source](const SheetRows::RowSink &sink, QString &why) {
                  return source->readRows(0, sink, why);
              });
        added = outcome.added;
        state.PauseTiming();
        ProgramFolder::setPath(QString());
        state.ResumeTiming();
        if (outcome.result != ImportRun::Outcome::Result::Done || added != state.range(0)) {
            state.SkipWithError("the import did not add every product");
            break;
        }
    }
    state.counters["records"] = double(added);
    state.counters["peak_rss_MB"] = peakResidentMb();
}

void PlainReadProducts(benchmark::State &state)
{
    BenchSupport::plainReadCase(state, BenchSupport::Archives::instance().products(state.range(0)),
        state.range(0) * ProductRecord::kRecordSize);
}

void ImportCsv(benchmark::State &state)
{
    importCase(state, false);
}

void ImportXlsx(benchmark::State &state)
{
    importCase(state, true);
}

} // namespace

BENCHMARK(PlainReadProducts)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportCsv)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(ImportXlsx)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv,
        { { "ImportCsv", "PlainReadProducts", 0 }, { "ImportXlsx", "PlainReadProducts", 0 } });
}
