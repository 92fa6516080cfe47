// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a game folder (FormModel::Form_Load) beside the least any load must do: read the two
// season files and open every track.ini once. The peak memory of a whole load is measured in a
// fresh process of this program, so nothing that ran before counts.

#include "bench_game.h"
#include "bench_report.h"

#include "form_model.h"
#include "platform/qt_file_system.h"
#include "platform/shell.h"

#include <QElapsedTimer>
#include <QFile>

#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace gk::bench {
namespace {

constexpr int kSizes[] = {64, 4096, 32767};
constexpr int kPeakSize = 32767;
constexpr double kPeakTargetMiB = 64;
constexpr double kLoadTarget = 2.0;

// Everything a load needs, as the program wires it, with a null user interface; the track
// details read in the background only when asked.
struct LoadRun {
    explicit LoadRun(bool details = false)
        : model({settings, dialogs, files, shell, nullptr, nullptr, nullptr, false, nullptr,
                 details ? &detailsFiles : nullptr}) {}
    NullDialogs dialogs;
    MemorySettings settings;
    QtFileSystem files;
    NullShell shell;
    QtFileSystem detailsFiles;
    FormModel model;
};

// Checks that the load did what a load of this folder must do; empty when it did.
std::string loadProblem(const LoadRun& run, bool loaded, const GameShape& shape) {
    if (!loaded)
        return "Form_Load ended the program: " + run.dialogs.lastText.toStdString();
    if (run.dialogs.shown != 0)
        return "Form_Load showed a message: " + run.dialogs.lastText.toStdString();
    const Workspace& ws = run.model.workspace();
    const int inactive = shape.allTracks - (shape.seasonOutsideAllTracks ? 0 : shape.season);
    if (ws.ListTracks.count() != shape.season || ws.listNotActive.count() != inactive)
        return "unexpected list sizes " + std::to_string(ws.ListTracks.count()) + " / " +
               std::to_string(ws.listNotActive.count());
    return {};
}

void BM_Load(benchmark::State& state) {
    const GameShape shape{static_cast<int>(state.range(0))};
    const BenchGame& game = sharedGame(shape);
    std::string problem;
    for (auto _ : state) {
        auto run = std::make_unique<LoadRun>();
        const bool loaded = run->model.Form_Load(game.dir());
        benchmark::DoNotOptimize(loaded);
        // Checking and freeing the lists is no part of loading.
        state.PauseTiming();
        problem = loadProblem(*run, loaded, shape);
        run.reset();
        state.ResumeTiming();
        if (!problem.empty()) {
            state.SkipWithError(problem.c_str());
            break;
        }
    }
    state.counters["track_ini"] = static_cast<double>(game.trackIniPaths().size());
}

// The least a load must do: read both season files whole and open every track.ini once.
// Empty when it went through.
std::string floorOnce(const BenchGame& game) {
    for (const QString& path : {game.seasonFile(), game.allTracksFile()}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return "cannot open " + path.toStdString();
        const QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.constData());
    }
    for (const std::string& path : game.trackIniPaths()) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return "cannot open " + path;
        ::close(fd);
    }
    return {};
}

void BM_LoadFloor(benchmark::State& state) {
    const BenchGame& game = sharedGame({static_cast<int>(state.range(0))});
    for (auto _ : state) {
        const std::string problem = floorOnce(game);
        if (!problem.empty()) {
            state.SkipWithError(problem.c_str());
            break;
        }
    }
    state.counters["track_ini"] = static_cast<double>(game.trackIniPaths().size());
}

// A load and the floor in turns within each iteration, so that the machine's drift touches both
// alike; the time is the load's, the counters give the floor and the ratio of the sums.
void BM_LoadPaired(benchmark::State& state) {
    const GameShape shape{static_cast<int>(state.range(0))};
    const BenchGame& game = sharedGame(shape);
    double loadNs = 0;
    double floorNs = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        auto run = std::make_unique<LoadRun>();
        const bool loaded = run->model.Form_Load(game.dir());
        const auto load = static_cast<double>(timer.nsecsElapsed());
        std::string problem = loadProblem(*run, loaded, shape);
        run.reset();
        timer.start();
        if (problem.empty())
            problem = floorOnce(game);
        const auto floor = static_cast<double>(timer.nsecsElapsed());
        if (!problem.empty()) {
            state.SkipWithError(problem.c_str());
            return;
        }
        state.SetIterationTime(load / 1e9);
        loadNs += load;
        floorNs += floor;
    }
    state.counters["floor_ms"] = floorNs / static_cast<double>(state.iterations()) / 1e6;
    state.counters["load/floor"] = loadNs / floorNs;
}

// A load as the program makes it, the track details then read in the background, beside the
// same load without them, in turns within each iteration (the order changes every time); the
// time is the one with the details, the counter the ratio of the sums. The reading stops when
// the model goes, before the next load.
void BM_LoadWithDetailsPaired(benchmark::State& state) {
    const GameShape shape{static_cast<int>(state.range(0))};
    const BenchGame& game = sharedGame(shape);
    std::array<double, 2> ns{};
    QElapsedTimer timer;
    bool withFirst = false;
    for (auto _ : state) {
        withFirst = !withFirst;
        double withDetails = 0;
        for (const bool details : {withFirst, !withFirst}) {
            auto run = std::make_unique<LoadRun>(details);
            timer.start();
            const bool loaded = run->model.Form_Load(game.dir());
            const auto load = static_cast<double>(timer.nsecsElapsed());
            const std::string problem = loadProblem(*run, loaded, shape);
            if (!problem.empty()) {
                state.SkipWithError(problem.c_str());
                return;
            }
            ns[details ? 1 : 0] += load;
            if (details)
                withDetails = load;
        }
        state.SetIterationTime(withDetails / 1e9);
    }
    state.counters["without_ms"] = ns[0] / static_cast<double>(state.iterations()) / 1e6;
    state.counters["with/without"] = ns[1] / ns[0];
}

// ---- peak memory, in a fresh process

constexpr char kPeakChildFlag[] = "--peak-child";

// The child: loads the folder once and writes "baselineKiB peakKiB seconds problem" to stdout.
int peakChild(const char* dir, int allTracks) {
    const long baseline = peakRssKiB();
    QElapsedTimer timer;
    timer.start();
    LoadRun run;
    const bool loaded = run.model.Form_Load(QString::fromLocal8Bit(dir));
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const long peak = peakRssKiB();
    std::string problem = loadProblem(run, loaded, GameShape{allTracks});
    for (char& c : problem)
        if (c == '\n')
            c = ' ';
    std::printf("%ld %ld %.9f %s\n", baseline, peak, seconds, problem.c_str());
    return problem.empty() ? 0 : 1;
}

struct PeakResult {
    long baselineKiB = 0;
    long peakKiB = 0;
    double seconds = 0;
    std::string problem;
};

PeakResult runPeakChild(const QString& dir, int allTracks) {
    PeakResult result;
    const std::optional<ChildRun> printed =
        runSelf({"gridkeeper_load_bench", kPeakChildFlag, QFile::encodeName(dir).toStdString(),
                 std::to_string(allTracks)});
    if (!printed) {
        result.problem = "could not run the measuring process";
        return result;
    }
    const std::string& out = printed->out;
    char problem[400] = {};
    const int fields = std::sscanf(out.c_str(), "%ld %ld %lf %399[^\n]", &result.baselineKiB,
                                   &result.peakKiB, &result.seconds, problem);
    if (fields < 3)
        result.problem = "the measuring process reported nothing (exit status " +
                         std::to_string(printed->exitCode) + ")";
    else if (fields == 4)
        result.problem = problem;
    return result;
}

void BM_LoadPeakMemory(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const BenchGame& game = sharedGame({n});
    PeakResult result;
    for (auto _ : state) {
        result = runPeakChild(game.dir(), n);
        state.SetIterationTime(result.seconds);
    }
    if (!result.problem.empty()) {
        state.SkipWithError(result.problem.c_str());
        return;
    }
    state.counters["peak_MiB"] = static_cast<double>(result.peakKiB) / 1024.0;
    state.counters["before_load_MiB"] = static_cast<double>(result.baselineKiB) / 1024.0;
    state.counters["load_added_MiB"] =
        static_cast<double>(result.peakKiB - result.baselineKiB) / 1024.0;
}

void sizes(benchmark::internal::Benchmark* b) {
    b->ArgName("events");
    for (const int n : kSizes)
        b->Arg(n);
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
}

BENCHMARK(BM_Load)->Apply(sizes)->UseRealTime();
BENCHMARK(BM_LoadFloor)->Apply(sizes)->UseRealTime();
BENCHMARK(BM_LoadPaired)->Apply(sizes)->UseManualTime();
BENCHMARK(BM_LoadWithDetailsPaired)
    ->ArgName("events")
    ->Arg(kPeakSize)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true)
    ->UseManualTime();
BENCHMARK(BM_LoadPeakMemory)
    ->ArgName("events")
    ->Arg(kPeakSize)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(1);

void summary(const SummaryReporter& r) {
    std::printf("\nLoad summary (medians of real time per load)\n");
    std::printf("  %-8s %12s %12s %11s %14s  %s\n", "events", "Form_Load", "floor", "load/floor",
                "paired ratio", "target <= 2x at 32767 (paired ratio)");
    for (const int n : kSizes) {
        const std::string args = "/events:" + std::to_string(n);
        const Measured* load = r.find("BM_Load" + args);
        const Measured* floor = r.find("BM_LoadFloor" + args);
        const Measured* paired = r.find("BM_LoadPaired" + args);
        std::string pairedRatio = "-";
        std::string target;
        if (paired && !paired->failed && paired->counters.count("load/floor")) {
            const double q = paired->counters.at("load/floor");
            char text[32];
            std::snprintf(text, sizeof text, "%.2fx", q);
            pairedRatio = text;
            if (n == kPeakSize)
                target = q <= kLoadTarget ? "ok" : "MISSED";
        }
        std::printf("  %-8d %12s %12s %11s %14s  %s\n", n, ms(load).c_str(), ms(floor).c_str(),
                    ratio(load, floor).c_str(), pairedRatio.c_str(), target.c_str());
        if (load && load->failed)
            std::printf("    Form_Load failed: %s\n", load->error.c_str());
    }
    std::printf("  (paired: load and floor in turns within each iteration, ratio of their sums)\n");
    const Measured* details =
        r.find("BM_LoadWithDetailsPaired/events:" + std::to_string(kPeakSize));
    if (details && !details->failed && details->counters.count("with/without")) {
        const double q = details->counters.at("with/without");
        std::printf("  load of %d events with the track details then read in the background: %s, "
                    "%.3fx the same load without them (paired; target within 5 %%: %s)\n",
                    kPeakSize, ms(details).c_str(), q, q <= 1.05 ? "ok" : "MISSED");
    }
    const Measured* peak = r.find("BM_LoadPeakMemory/events:" + std::to_string(kPeakSize));
    if (!peak)
        return;
    if (peak->failed) {
        std::printf("  peak memory: failed: %s\n", peak->error.c_str());
        return;
    }
    const double mib = peak->counters.count("peak_MiB") ? peak->counters.at("peak_MiB") : 0;
    std::printf("  peak memory of one load of %d events in a fresh process: %.1f MiB "
                "(%.1f MiB before the load, the load added %.1f MiB; load took %.2f ms) -> "
                "target < %.0f MiB: %s\n",
                kPeakSize, mib, peak->counters.at("before_load_MiB"),
                peak->counters.at("load_added_MiB"), peak->realMs, kPeakTargetMiB,
                mib < kPeakTargetMiB ? "ok" : "MISSED");
}

} // namespace
} // namespace gk::bench

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], gk::bench::kPeakChildFlag) == 0)
        return gk::bench::peakChild(argv[2], std::atoi(argv[3]));
    // The folders are made before any timing starts.
    for (const int n : gk::bench::kSizes) {
        const gk::bench::BenchGame& game = gk::bench::sharedGame({n});
        std::fprintf(stderr, "Made a game folder of %d events in %.1f s: %s\n", n,
                     game.generationSeconds(), qUtf8Printable(game.dir()));
    }
    return gk::bench::runBenchmarks(argc, argv, {"--benchmark_enable_random_interleaving=true"},
                                    gk::bench::summary);
}
