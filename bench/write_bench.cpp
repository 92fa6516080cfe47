// SPDX-License-Identifier: GPL-3.0-or-later
// Writing both season files (FormModel::subCreateIniFiles) with 64 active tracks and tens of
// thousands of inactive ones, in list order and in alphabetical order, beside the least each
// must do: the same bytes written to two files through QSaveFile and renamed into place; for
// the alphabetical write, which shows the lists as the files hold them, those files also read
// back and each track folder's track.ini looked up once.

#include "bench_game.h"
#include "bench_report.h"

#include "form_model.h"
#include "game/game_paths.h"
#include "platform/qt_file_system.h"
#include "platform/runtime_error.h"
#include "platform/shell.h"
#include "season/season_file.h"
#include "season/season_guard.h"
#include "season/season_writer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace gk::bench {
namespace {

constexpr double kListOrderTarget = 1.5; // the list-order write against its floor
constexpr double kWriteTarget = 2.0;     // the alphabetical write against its floor

// The biggest season Gridkeeper writes: 64 active tracks among the 32 767 events of the
// all-tracks file, so 32 703 inactive ones (a bigger all-tracks file is refused, as it could not
// be read back whole).
constexpr int kInactiveAmong = 32767 - 64;
constexpr int kInactiveCounts[] = {kInactiveAmong};

GameShape shapeFor(int) {
    return GameShape{32767, 64, false};
}

struct Prepared {
    NullDialogs dialogs;
    MemorySettings settings;
    QtFileSystem files;
    NullShell shell;
    FormModel model{{settings, dialogs, files, shell}};
    std::string problem;
};

// A loaded model on a folder of its own per inactive count and order, kept for the whole run.
Prepared& prepared(int inactive, int chkSort) {
    static std::map<std::pair<int, int>, std::unique_ptr<Prepared>> all;
    auto& slot = all[{inactive, chkSort}];
    if (!slot) {
        slot = std::make_unique<Prepared>();
        const BenchGame& game =
            sharedGame(shapeFor(inactive), QStringLiteral("write-%1").arg(chkSort));
        if (!slot->model.Form_Load(game.dir()) || slot->dialogs.shown != 0)
            slot->problem = "loading failed: " + slot->dialogs.lastText.toStdString();
        else if (slot->model.workspace().listNotActive.count() != inactive ||
                 slot->model.workspace().ListTracks.count() != 64)
            slot->problem = "unexpected list sizes";
        slot->model.controls().chkSort = chkSort;
    }
    return *slot;
}

// Runs one write; empty when it went through without a message.
std::string writeOnce(Prepared& p) {
    try {
        p.model.subCreateIniFiles(true);
    } catch (const RuntimeError& e) {
        return "subCreateIniFiles failed: error " + std::to_string(e.number()) + " (" +
               e.description().toStdString() + ")";
    }
    if (p.dialogs.shown != 0)
        return "subCreateIniFiles showed a message: " + p.dialogs.lastText.toStdString();
    return {};
}

// A write removes the backups it replaced after it returns, on a thread of the file system; the
// next write waits for that removal before its first change, so writes back to back still pay
// for whatever of it the next write's own work before that change does not cover.
void BM_WriteListOrder(benchmark::State& state) {
    Prepared& p = prepared(static_cast<int>(state.range(0)), 0);
    if (!p.problem.empty()) {
        state.SkipWithError(p.problem.c_str());
        return;
    }
    for (auto _ : state) {
        const std::string problem = writeOnce(p);
        if (!problem.empty()) {
            p.problem = problem; // the model is not in a state to go on from
            state.SkipWithError(problem.c_str());
            break;
        }
    }
}

// Alphabetical order reloads both lists after writing. Besides the whole operation, each
// iteration times one more reload outside the measured time, so the write part is the whole
// less a reload.
void BM_WriteAlphabetical(benchmark::State& state) {
    Prepared& p = prepared(static_cast<int>(state.range(0)), 1);
    if (!p.problem.empty()) {
        state.SkipWithError(p.problem.c_str());
        return;
    }
    double wholeNs = 0;
    double reloadNs = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        std::string problem = writeOnce(p);
        wholeNs += static_cast<double>(timer.nsecsElapsed());
        state.PauseTiming();
        if (problem.empty()) {
            timer.start();
            try {
                p.model.subGet67season();
            } catch (const RuntimeError& e) {
                problem = "reloading failed: error " + std::to_string(e.number());
            }
            reloadNs += static_cast<double>(timer.nsecsElapsed());
        }
        state.ResumeTiming();
        if (!problem.empty()) {
            p.problem = problem; // the model is not in a state to go on from
            state.SkipWithError(problem.c_str());
            return;
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["reload_ms"] = reloadNs / n / 1e6;
    state.counters["write_part_ms"] = (wholeNs - reloadNs) / n / 1e6;
}

// The bytes of the two files as the list-order write makes them.
struct FloorFiles {
    QTemporaryDir dir;
    QByteArray season;
    QByteArray allTracks;

    using Target = std::pair<QString, const QByteArray*>;
    std::array<Target, 2> targets() const {
        const QString base = dir.path() + QLatin1Char('/');
        return {Target{base + QStringLiteral("67season.ini"), &season},
                Target{base + QStringLiteral("67AllTracks.ini"), &allTracks}};
    }
};

FloorFiles& floorFiles(int inactive) {
    static std::map<int, std::unique_ptr<FloorFiles>> all;
    auto& slot = all[inactive];
    if (!slot) {
        slot = std::make_unique<FloorFiles>();
        const Workspace& ws = prepared(inactive, 0).model.workspace();
        slot->season = seasonFileBytes(season_names::kCustomOrder, ws.ListTracks.rows);
        slot->allTracks = allTracksFileBytes(ws.ListTracks.rows, ws.listNotActive.rows);
    }
    return *slot;
}

// The floor's write: each file saved beside its target and renamed over it.
bool writeFloorFiles(const FloorFiles& floor) {
    for (const auto& [target, bytes] : floor.targets()) {
        const QString fresh = target + QStringLiteral(".new");
        QSaveFile file(fresh);
        if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() ||
            !file.commit() ||
            ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(target).constData()) !=
                0)
            return false;
    }
    return true;
}

void BM_WriteFloor(benchmark::State& state) {
    FloorFiles& f = floorFiles(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!writeFloorFiles(f)) {
            state.SkipWithError("writing the floor files failed");
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(f.season.size() + f.allTracks.size());
}

// The least an alphabetical write must do, which shows the lists as the files hold them: the
// floor's two files written, read back, and one look-up of a track.ini per track folder.
void BM_WriteReadBackFloor(benchmark::State& state) {
    const int inactive = static_cast<int>(state.range(0));
    FloorFiles& f = floorFiles(inactive);
    const std::vector<std::string>& trackInis =
        sharedGame(shapeFor(inactive), QStringLiteral("write-1")).trackIniPaths();
    for (auto _ : state) {
        if (!writeFloorFiles(f)) {
            state.SkipWithError("writing the floor files failed");
            return;
        }
        for (const auto& [target, bytes] : f.targets()) {
            QFile file(target);
            if (!file.open(QIODevice::ReadOnly) || file.readAll().size() != bytes->size()) {
                state.SkipWithError("reading the floor files back failed");
                return;
            }
        }
        int found = 0;
        for (const std::string& path : trackInis) {
            struct stat st;
            found += ::stat(path.c_str(), &st) == 0 ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
}

// Only making the bytes of both files (no file is touched), for the breakdown.
void BM_WriteBytesOnly(benchmark::State& state) {
    Prepared& p = prepared(static_cast<int>(state.range(0)), 0);
    const Workspace& ws = p.model.workspace();
    for (auto _ : state) {
        QByteArray season = seasonFileBytes(season_names::kCustomOrder, ws.ListTracks.rows);
        QByteArray allTracks = allTracksFileBytes(ws.ListTracks.rows, ws.listNotActive.rows);
        benchmark::DoNotOptimize(season.constData());
        benchmark::DoNotOptimize(allTracks.constData());
    }
}

// What a write adds for a second writer, on the biggest season just written: the season lock
// taken and released, the look for a live run of an inactive track, and the check that both
// files are still the versions written. With `rewritten`, both files were written again with
// the same bytes (new stamps): the check then compares the bytes.
void secondWriterGuard(benchmark::State& state, bool rewritten) {
    Prepared& p = prepared(static_cast<int>(state.range(0)), 0);
    const std::string problem = p.problem.empty() ? writeOnce(p) : p.problem;
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    const QString& dir = p.model.workspace().strGPLdir;
    SeasonVersion known = readSeasonVersion(p.files, dir);
    if (rewritten) {
        for (const QString& path : {paths::seasonIni(dir), paths::allTracksIni(dir)}) {
            const QByteArray bytes = p.files.readFile(path);
            p.files.writeFile(path, bytes);
        }
    }
    for (auto _ : state) {
        const std::shared_ptr<void> lock = lockSeason(p.files, dir);
        const bool live = parkedSeasonState(p.files, dir) == ParkedSeason::LiveRun;
        const bool same = seasonUnchanged(p.files, dir, known);
        if (live || !same) {
            state.SkipWithError("the check found a second writer where there is none");
            return;
        }
    }
}

void BM_SecondWriterGuard(benchmark::State& state) {
    secondWriterGuard(state, false);
}
void BM_SecondWriterGuardRewritten(benchmark::State& state) {
    secondWriterGuard(state, true);
}

void counts(benchmark::internal::Benchmark* b) {
    b->ArgName("inactive");
    for (const int n : kInactiveCounts)
        b->Arg(n);
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->DisplayAggregatesOnly(true);
}

BENCHMARK(BM_WriteListOrder)->Apply(counts);
BENCHMARK(BM_WriteAlphabetical)->Apply(counts);
BENCHMARK(BM_WriteFloor)->Apply(counts);
BENCHMARK(BM_WriteReadBackFloor)->Apply(counts);
BENCHMARK(BM_WriteBytesOnly)->Apply(counts);
BENCHMARK(BM_SecondWriterGuard)->Apply(counts);
BENCHMARK(BM_SecondWriterGuardRewritten)->Apply(counts);

double counter(const Measured* m, const char* name) {
    if (!m || m->failed)
        return -1;
    const auto it = m->counters.find(name);
    return it == m->counters.end() ? -1 : it->second;
}

void summary(const SummaryReporter& r) {
    std::printf("\nWrite summary (median real time per write of both files, 64 active tracks)\n");
    std::printf("  %-9s %-24s %12s %12s %12s %s\n", "inactive", "order", "write", "floor",
                "write/floor", "target (list 1.5x, alphabetical 2x)");
    for (const int n : kInactiveCounts) {
        const std::string args = "/inactive:" + std::to_string(n);
        const Measured* list = r.find("BM_WriteListOrder" + args);
        const Measured* alpha = r.find("BM_WriteAlphabetical" + args);
        const Measured* floor = r.find("BM_WriteFloor" + args);
        const Measured* readBack = r.find("BM_WriteReadBackFloor" + args);
        const Measured* bytes = r.find("BM_WriteBytesOnly" + args);
        std::printf("  %-9d %-24s %12s %12s %12s %s\n", n, "list", ms(list).c_str(),
                    ms(floor).c_str(), ratio(list, floor).c_str(),
                    verdict(list, floor, kListOrderTarget).c_str());
        std::printf("  %-9d %-24s %12s %12s %12s %s   (floor: write, read back, look-ups)\n", n,
                    "alphabetical (+reload)", ms(alpha).c_str(), ms(readBack).c_str(),
                    ratio(alpha, readBack).c_str(), verdict(alpha, readBack, kWriteTarget).c_str());
        const double writePart = counter(alpha, "write_part_ms");
        const double reload = counter(alpha, "reload_ms");
        if (writePart >= 0 && floor && !floor->failed) {
            std::printf("  %-9d %-24s %9.2f ms %12s %11.2fx %s   (reload alone %.2f ms)\n", n,
                        "alphabetical, write part", writePart, ms(floor).c_str(),
                        writePart / floor->realMs,
                        writePart / floor->realMs <= kWriteTarget ? "ok" : "MISSED", reload);
        }
        if (alpha && alpha->failed)
            std::printf("  %-9d alphabetical failed: %s\n", n, alpha->error.c_str());
        if (list && list->failed)
            std::printf("  %-9d list order failed: %s\n", n, list->error.c_str());
        std::printf("  %-9d %-24s %12s   (of the write, no file touched)\n", n,
                    "making the bytes only", ms(bytes).c_str());
        const Measured* guard = r.find("BM_SecondWriterGuard" + args);
        const Measured* rewritten = r.find("BM_SecondWriterGuardRewritten" + args);
        const auto fine = [](const Measured* m) {
            return m && !m->failed ? std::to_string(m->realMs * 1000).substr(0, 7) + " us"
                                   : std::string("error");
        };
        std::printf("  %-9d %-24s %12s   target <= 1 ms: %s (lock, live-run look, change check)\n",
                    n, "second-writer guard", fine(guard).c_str(),
                    guard && !guard->failed && guard->realMs <= 1.0 ? "ok" : "MISSED");
        std::printf("  %-9d %-24s %12s   (files rewritten with the same bytes: compared)\n", n,
                    "guard, bytes compared", fine(rewritten).c_str());
    }
}

} // namespace
} // namespace gk::bench

int main(int argc, char** argv) {
    return gk::bench::runBenchmarks(argc, argv, {"--benchmark_enable_random_interleaving=true"},
                                    gk::bench::summary);
}
