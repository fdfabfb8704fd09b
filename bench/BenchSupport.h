#pragma once
// Shared by the benchmark programs: generated archives kept for the whole run, and a
// main that runs every case with repetitions in shuffled order and prints, after the
// usual table, each case's median time as a ratio of its baseline's median.
#include "ArchiveGenerator.h"

#include "records/MovementRecord.h"
#include "records/ProductRecord.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace BenchSupport {

inline constexpr int kYear = 2024;

// Archives written once per run into a temporary folder, on first use. A benchmark asks
// for them before its timing loop; the file just written is in the page cache, so every
// case reads it from memory, the baseline included.
class Archives
{
public:
    static Archives &instance()
    {
        static Archives archives;
        return archives;
    }

    QString products(std::int64_t count)
    {
        const QString path = m_dir.filePath(QStringLiteral("Magazzino_%1.mrv").arg(count));
        if (!QFile::exists(path))
            write(ArchiveGenerator::writeProducts(path, count, ArchiveGenerator::kSeed, &m_error));
        return path;
    }

    // A whole year of movements of one kind on the codes of an archive of productCount.
    QString movements(MovementRecord::Kind kind, std::int64_t count, std::int64_t productCount)
    {
        const QString name = kind == MovementRecord::Kind::Load ? QStringLiteral("Carico")
                                                                : QStringLiteral("Scarico");
        const QString path = m_dir.filePath(
            QStringLiteral("%1_%2_%3_%4.mrv").arg(name).arg(kYear).arg(count).arg(productCount));
        if (!QFile::exists(path))
            write(ArchiveGenerator::writeMovements(
                path, kind, kYear, count, productCount, ArchiveGenerator::kSeed, &m_error));
        return path;
    }

private:
    void write(bool ok)
    {
        if (!ok) {
            std::fprintf(stderr, "cannot write a generated archive: %s\n", qPrintable(m_error));
            std::exit(1);
        }
    }

    QTemporaryDir m_dir { QDir::tempPath() + QStringLiteral("/merventa-bench-XXXXXX") };
    QString m_error;
};

// A program folder per archive size, made once per run: write(folder, error) puts the
// archives of count records into it the first time the size is asked for.
inline QString programFolder(std::int64_t count,
    const std::function<bool(const QString &folder, std::int64_t count, QString *error)> &write)
{
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/merventa-bench-XXXXXX"));
    static std::map<std::int64_t, QString> folders;
    auto found = folders.find(count);
    if (found != folders.end())
        return found->second;
    const QString folder = root.filePath(QString::number(count));
    QDir().mkpath(folder);
    QString error;
    if (!write(folder, count, &error)) {
        std::fprintf(stderr, "cannot write the archives: %s\n", qPrintable(error));
        std::exit(1);
    }
    return folders.emplace(count, folder).first->second;
}

// Reads the whole file in blocks of 1 MiB with QFile: the cost of getting the bytes from
// the page cache, against which the record scans are measured. Returns the bytes read.
inline std::int64_t plainRead(const QString &path, QByteArray &buffer)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    std::int64_t total = 0;
    qint64 n = 0;
    while ((n = file.read(buffer.data(), buffer.size())) > 0)
        total += n;
    return total;
}

// The baseline case of a benchmark program: the plain read of a file that must hold
// exactly bytes.
inline void plainReadCase(benchmark::State &state, const QString &path, std::int64_t bytes)
{
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (auto _ : state) {
        if (plainRead(path, buffer) != bytes) {
            state.SkipWithError("the plain read did not read the whole file");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bytes);
}

// A case measured against a baseline with the same arguments ("ScanRaw" against
// "PlainRead": ScanRaw/100000 against PlainRead/100000), with the ratio it should keep
// (0: shown for information, no target), and the most wall time a case may take by its
// arguments ("100000": 100 ms), where there is such a target.
struct Comparison
{
    std::string caseName;
    std::string baselineName;
    double targetRatio;
    std::map<std::string, double> wallTargetMs {};
};

// The console table as usual, then the ratios of the medians (or of the only run, without
// repetitions).
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(std::vector<Comparison> comparisons)
        : m_comparisons(std::move(comparisons))
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (run.error_occurred || !(median || single))
                continue;
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_medians[run.run_name.function_name][run.run_name.args]
                = { run.GetAdjustedRealTime() * toMs, run.GetAdjustedCPUTime() * toMs };
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The ratio that decides is the one of the wall times; the ratio of the CPU times is
    // shown beside it because on a busy machine the wall time also counts the waits.
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::FILE *out = stdout;
        std::fprintf(out, "\nMedians against the baseline read of the same file (ms)\n");
        std::fprintf(out, "%-26s %-26s %9s %9s %7s %9s %9s %7s %7s %16s\n", "case", "baseline",
            "wall", "base wall", "ratio", "cpu", "base cpu", "ratio", "target", "wall target");
        for (const Comparison &c : m_comparisons) {
            const auto cases = m_medians.find(c.caseName);
            const auto bases = m_medians.find(c.baselineName);
            if (cases == m_medians.end() || bases == m_medians.end())
                continue;
            for (const auto &[args, t] : cases->second) {
                const auto found = bases->second.find(args);
                if (found == bases->second.end() || found->second.wall <= 0)
                    continue;
                const Times &b = found->second;
                const double ratio = t.wall / b.wall;
                const std::string name = c.caseName + "/" + args;
                const std::string baseName = c.baselineName + "/" + args;
                std::fprintf(out, "%-26s %-26s %9.2f %9.2f %6.2fx %9.2f %9.2f %6.2fx", name.c_str(),
                    baseName.c_str(), t.wall, b.wall, ratio, t.cpu, b.cpu,
                    b.cpu > 0 ? t.cpu / b.cpu : 0.0);
                if (c.targetRatio <= 0)
                    std::fprintf(out, " %7s", "-");
                else
                    std::fprintf(out, " %6.1fx %s", c.targetRatio,
                        ratio <= c.targetRatio ? "met" : "MISSED");
                const auto limit = c.wallTargetMs.find(args);
                if (limit != c.wallTargetMs.end())
                    std::fprintf(out, " %7.0f ms %s", limit->second,
                        t.wall <= limit->second ? "met" : "MISSED");
                std::fprintf(out, "\n");
            }
        }
        std::fflush(out);
    }

private:
    struct Times
    {
        double wall = 0;
        double cpu = 0;
    };
    std::vector<Comparison> m_comparisons;
    // function name -> arguments -> median times
    std::map<std::string, std::map<std::string, Times>> m_medians;
};

// Runs the registered benchmarks. Unless the command line says otherwise, each case runs
// five times in shuffled order with the other cases (so a case and its baseline alternate
// on the same cached file) and only the aggregates are shown.
inline int runBenchmarks(int argc, char **argv, std::vector<Comparison> comparisons)
{
    std::vector<std::string> defaults = { "--benchmark_repetitions=5",
        "--benchmark_report_aggregates_only=true", "--benchmark_enable_random_interleaving=true" };
    std::vector<char *> args(argv, argv + argc);
    for (std::string &d : defaults) {
        const std::string flag = d.substr(0, d.find('='));
        bool given = false;
        for (int i = 1; i < argc; ++i)
            given = given || std::strncmp(argv[i], flag.c_str(), flag.size()) == 0;
        if (!given)
            args.insert(args.begin() + 1, d.data());
    }
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    RatioReporter reporter(std::move(comparisons));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchSupport
