// The due list over generated customer archives: building and sorting its lines against a
// plain read of the same file in the same run (target: at most three times the plain
// read), and the whole due-list screen opened on 100,000 customers (build, sort and fill;
// target: under 150 ms of wall time).
#include "BenchSupport.h"

#include "customers/DaRinnovare.h"
#include "customers/DueList.h"
#include "records/CustomerRecord.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

// Instalments spread around this day: about a third of the customers are due on it.
const QDate kToday(BenchSupport::kYear, 6, 15);

// One program folder per archive size, with its Clienti.mrv written once per run.
QString customerFolder(std::int64_t count)
{
    return BenchSupport::programFolder(
        count, [](const QString &folder, std::int64_t n, QString *error) {
            return ArchiveGenerator::writeCustomers(
                folder + QStringLiteral("/Clienti.mrv"), n, kToday, ArchiveGenerator::kSeed, error);
        });
}

QString customerArchive(std::int64_t count)
{
    return customerFolder(count) + QStringLiteral("/Clienti.mrv");
}

void PlainReadCustomers(benchmark::State &state)
{
    BenchSupport::plainReadCase(
        state, customerArchive(state.range(0)), state.range(0) * CustomerRecord::kRecordSize);
}

// The due test on every customer, the lines of those due, sorted.
void DueLines(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = customerArchive(count);
    qsizetype lines = 0;
    for (auto _ : state) {
        RecordFile file;
        if (!file.openPath(path, CustomerRecord::layout())) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        const ListLines::Scan scan = DueList::lines(file, kToday);
        file.close();
        if (!scan.complete || scan.lines.isEmpty() || scan.lines.size() == count) {
            state.SkipWithError("the due list is not what the archive holds");
            break;
        }
        lines = scan.lines.size();
    }
    state.counters["lines"] = double(lines);
}

// The due-list screen as the card opens it: created, shown (which reads, sorts and fills
// the list) and painted once, over the program folder holding the archive.
void DueListScreen(benchmark::State &state)
{
    ProgramFolder::setPath(customerFolder(state.range(0)));
    Clock::setFixed(QDateTime(kToday, QTime(9, 0)));
    qsizetype lines = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        TfrmDaRinnovare screen;
        screen.show();
        QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        lines = screen.lines().size();
        if (lines == 0) {
            state.SkipWithError("the screen listed nobody");
            break;
        }
        screen.close();
    }
    Clock::reset();
    ProgramFolder::setPath(QString());
    state.counters["lines"] = double(lines);
}

} // namespace

BENCHMARK(PlainReadCustomers)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(DueLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DueListScreen)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv,
        { { "DueLines", "PlainReadCustomers", 3.0 },
            { "DueListScreen", "PlainReadCustomers", 0 } });
}
