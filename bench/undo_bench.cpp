// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo on big lists: of a move of every row and of a sort, on 4 096 and 32 767 rows,
// and the memory the history holds after 200 such steps on 32 767 rows.
#include "bench_lists.h"
#include "bench_report.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>
#include <memory>

namespace gk::bench {
namespace {

using Side = FormModel::Side;
constexpr int kActive = 64;
constexpr double kFrameMs = 16;
constexpr double kRatioTarget = 10;
constexpr double kHistoryTargetMiB = 64;

// The step: 0 a move of every inactive row to the active list, 1 a sort of the inactive list.
std::unique_ptr<Lists> listsWithOneStep(int rows, int step) {
    auto lists = std::make_unique<Lists>(step == 0 ? kActive : 0, step == 0 ? rows - kActive : rows,
                                         step == 1);
    if (step == 0)
        lists->moveAll(Side::Inactive);
    else
        lists->model.lblAmountRight_Click();
    return lists;
}

void BM_Undo(benchmark::State& state) {
    auto lists =
        listsWithOneStep(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        lists->model.mnuUndo_Click();
        state.PauseTiming();
        lists->model.mnuRedo_Click();
        state.ResumeTiming();
    }
    if (!lists->model.undoEnabled())
        state.SkipWithError("no step to undo");
}

void BM_Redo(benchmark::State& state) {
    auto lists =
        listsWithOneStep(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        lists->model.mnuUndo_Click();
        state.ResumeTiming();
        lists->model.mnuRedo_Click();
    }
    if (!lists->model.undoEnabled())
        state.SkipWithError("no step to redo");
}

// The heap held by 200 steps: every row moved from one list to the other and back, with a sort
// of the full list every third step. The lists' own vectors are in the figure too (the rows
// change vectors), so it is an upper bound on the history alone.
void BM_HistoryMemory(benchmark::State& state) {
    for (auto _ : state) {
        Lists lists(kActive, kMaxListRows - kActive);
        const size_t before = mallinfo2().uordblks;
        Side full = Side::Inactive;
        for (int i = 0; i < 200; ++i) {
            if (i % 3 == 2) {
                full == Side::Active ? lists.model.lblAmountLeft_Click()
                                     : lists.model.lblAmountRight_Click();
            } else {
                lists.moveAll(full);
                full = full == Side::Active ? Side::Inactive : Side::Active;
            }
        }
        const size_t after = mallinfo2().uordblks;
        state.counters["MiB"] = static_cast<double>(after - before) / (1 << 20);
        state.counters["steps"] = lists.model.history().count();
    }
}

BENCHMARK(BM_Undo)->ArgsProduct({{4096, 32767}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redo)->ArgsProduct({{4096, 32767}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void summary(const SummaryReporter& r) {
    std::printf("\nUndo and redo (medians of real time; targets: under %.0f ms, 32767/4096 under "
                "%.0fx)\n",
                kFrameMs, kRatioTarget);
    std::printf("  %-6s %-12s %10s %10s %8s  %s\n", "", "step", "4096", "32767", "ratio", "");
    for (const char* what : {"BM_Undo", "BM_Redo"}) {
        for (int step = 0; step < 2; ++step) {
            const std::string tail = "/" + std::to_string(step);
            const Measured* small = r.find(std::string(what) + "/4096" + tail);
            const Measured* big = r.find(std::string(what) + "/32767" + tail);
            const bool fast = big && !big->failed && big->realMs < kFrameMs;
            std::printf(
                "  %-6s %-12s %10s %10s %8s  %s\n", what + 3, step == 0 ? "move all" : "sort",
                ms(small).c_str(), ms(big).c_str(), ratio(big, small).c_str(),
                (std::string(fast ? "ok" : "MISSED") + " / " + verdict(big, small, kRatioTarget))
                    .c_str());
        }
    }
    if (const Measured* memory = r.find("BM_HistoryMemory/iterations:1")) {
        const double mib = memory->counters.count("MiB") ? memory->counters.at("MiB") : -1;
        std::printf("  memory held by %.0f steps on %d rows: %.1f MiB (target under %.0f MiB) %s\n",
                    memory->counters.count("steps") ? memory->counters.at("steps") : 0.0,
                    kMaxListRows, mib, kHistoryTargetMiB,
                    mib >= 0 && mib < kHistoryTargetMiB ? "ok" : "MISSED");
    }
}

} // namespace
} // namespace gk::bench

int main(int argc, char** argv) {
    return gk::bench::runBenchmarks(argc, argv, {}, gk::bench::summary);
}
