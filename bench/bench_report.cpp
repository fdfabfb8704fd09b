// The list report as every list screen prints it: filling the template and laying it out
// into pages (1,000 to 100,000 lines), and the same followed by writing the PDF (1,000
// and 10,000 lines). The layout must grow linearly with the number of lines: compare the
// per-line times ("per_line", seconds) of the sizes and the fitted complexity.
#include "report/ListContent.h"
#include "report/PreparedReport.h"
#include "report/ReportRenderer.h"
#include "report/ReportTemplate.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Lines shaped like the inventory list's: padded columns, then a tail column.
QStringList inventoryLines(std::int64_t count)
{
    QStringList lines;
    lines.reserve(count);
    for (std::int64_t i = 0; i < count; ++i) {
        lines.append(QStringLiteral("ART%1  %2  %3  Giacenza: %4  Costo: %5  Valore: %6")
                         .arg(i, 8, 10, QLatin1Char('0'))
                         .arg(QStringLiteral("Pneumatici estivi").leftJustified(30))
                         .arg(QStringLiteral("Marca Modello %1").arg(i % 97).leftJustified(40))
                         .arg(i % 250)
                         .arg(QStringLiteral("12,50"))
                         .arg(QStringLiteral("%1,00").arg((i % 250) * 12)));
    }
    return lines;
}

const Report::ReportTemplate &listTemplate()
{
    static const Report::ReportTemplate t = [] {
        QString error;
        const auto loaded
            = Report::ReportTemplate::load(QString::fromLatin1(ListTemplate::kResource), &error);
        if (!loaded) {
            std::fprintf(stderr, "cannot load the list template: %s\n", qPrintable(error));
            std::exit(1);
        }
        return *loaded;
    }();
    return t;
}

const QStringList kExtra = { QStringLiteral("----------"), QStringLiteral("Totale: 0,00") };

void setPerLine(benchmark::State &state)
{
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(std::int64_t(state.iterations()) * state.range(0));
    state.counters["per_line"]
        = benchmark::Counter(double(state.iterations()) * double(state.range(0)),
            benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void PrepareList(benchmark::State &state)
{
    const QStringList lines = inventoryLines(state.range(0));
    for (auto _ : state) {
        Report::ReportTemplate list = listTemplate();
        ListTemplate::fill(list, QStringLiteral("Inventario merce - Tipologia: "), lines, kExtra);
        const Report::PreparedReport report = Report::prepare(list, QStringLiteral("01/01/2024"));
        benchmark::DoNotOptimize(report.pages.size());
    }
    setPerLine(state);
}
BENCHMARK(PrepareList)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void PrepareAndExportPdf(benchmark::State &state)
{
    const QStringList lines = inventoryLines(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Riepilogo.pdf"));
    int pages = 0;
    for (auto _ : state) {
        Report::ReportTemplate list = listTemplate();
        ListTemplate::fill(list, QStringLiteral("Inventario merce - Tipologia: "), lines, kExtra);
        const Report::PreparedReport report = Report::prepare(list, QStringLiteral("01/01/2024"));
        if (!Report::exportPdf(report, path)) {
            state.SkipWithError("the PDF could not be written");
            break;
        }
        pages = report.pageCount();
    }
    state.counters["pages"] = pages;
    setPerLine(state);
}
BENCHMARK(PrepareAndExportPdf)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

int main(int argc, char **argv)
{
    // Painting text needs the fonts of a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
