// Start-up of the whole program against a bare Qt Widgets program (one main window, a
// dozen controls), each started as a process of its own until its first window is on the
// screen: the wall time from the start of the process to its end (it ends at once when the
// window shows, through MERVENTA_STARTUP_PROBE) and its peak resident memory.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct Outcome
{
    double seconds = 0;
    double peakMiB = 0;
    double cpuSeconds = 0; // of the started process, user and system
    bool ok = false;
};

// Starts program with the probe on (and offscreen unless a platform is set), waits for it
// and takes its own peak memory from wait4.
Outcome runOnce(const char *program)
{
    std::vector<std::string> env;
    bool platform = false;
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "MERVENTA_STARTUP_PROBE=", 23) == 0)
            continue;
        platform = platform || std::strncmp(*e, "QT_QPA_PLATFORM=", 16) == 0;
        env.emplace_back(*e);
    }
    env.emplace_back("MERVENTA_STARTUP_PROBE=1");
    if (!platform)
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char *> envp;
    for (std::string &s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char *argv[] = { const_cast<char *>(program), nullptr };

    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, &actions, nullptr, argv, envp.data()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return outcome;
    }
    int status = 0;
    rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) { }
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    outcome.seconds = std::chrono::duration<double>(end - start).count();
    outcome.peakMiB = double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    outcome.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    outcome.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

void startProcess(benchmark::State &state, const char *program)
{
    double peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        const Outcome outcome = runOnce(program);
        if (!outcome.ok) {
            state.SkipWithError("the program did not show its first window and end");
            return;
        }
        state.SetIterationTime(outcome.seconds);
        peak = std::max(peak, outcome.peakMiB);
        cpu += outcome.cpuSeconds;
    }
    state.counters["peak_MiB"] = peak;
    state.counters["process_cpu_ms"] = 1e3 * cpu / double(state.iterations());
}

void StartBareQt(benchmark::State &state)
{
    startProcess(state, MERVENTA_BARE_PROGRAM);
}

void StartMerventa(benchmark::State &state)
{
    startProcess(state, MERVENTA_PROGRAM);
}

} // namespace

BENCHMARK(StartBareQt)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StartMerventa)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    return BenchSupport::runBenchmarks(argc, argv, { { "StartMerventa", "StartBareQt", 1.3 } });
}
