// SPDX-License-Identifier: GPL-3.0-or-later
// The list handlers on big lists: a search keystroke, moving every inactive row to the active
// list, deleting them again, sorting each list, one arrow click. Each runs on 4 096 and 32 767
// rows, so the growth from one size to the other shows whether a handler is linear (or n log n).
#include "bench_lists.h"

#include <benchmark/benchmark.h>

namespace gk::bench {
namespace {

// Gives a list the memory of n rows, touched once, as a list keeps it after it held that many
// rows: the handler that fills it then meets memory a session has already used, not fresh pages
// that the kernel maps on their first touch.
void reuseCapacity(Lists& lists, FormModel::Side side, size_t n) {
    TrackList& list = lists.model.list(side);
    const size_t had = list.rows.size();
    list.rows.resize(n);
    list.rows.resize(had);
}

constexpr int kActive = 64;

// Reads through a buffer larger than the last-level cache, so the handler that follows finds
// its lists in memory, not in the caches: the state a click meets after the user moved the
// mouse, rather than right after the same lists were built.
void evictCaches() {
    static std::vector<char> buffer(64 << 20, 1);
    long sum = 0;
    for (size_t i = 0; i < buffer.size(); i += 64)
        sum += buffer[i]++;
    benchmark::DoNotOptimize(sum);
}

bool cold(const benchmark::State& state) {
    return state.range(1) != 0;
}

void BM_SearchKeystroke(benchmark::State& state) {
    Lists lists(kActive, static_cast<int>(state.range(0)));
    // Alternate two texts so every keystroke selects anew; "track0" matches every row.
    const QString texts[] = {QStringLiteral("track0"), QStringLiteral("track01")};
    int i = 0;
    for (auto _ : state)
        lists.model.setSearchText(texts[i++ % 2]);
    state.counters["rows"] = static_cast<double>(state.range(0));
}

void BM_MoveAllToActive(benchmark::State& state) {
    // The active list can hold 32 767 rows in all, so the inactive side brings the rest.
    const int inactive = static_cast<int>(state.range(0)) - kActive;
    for (auto _ : state) {
        state.PauseTiming();
        auto lists = std::make_unique<Lists>(kActive, inactive);
        reuseCapacity(*lists, FormModel::Side::Active, static_cast<size_t>(kActive + inactive));
        lists->selectAll(FormModel::Side::Inactive);
        if (cold(state))
            evictCaches();
        state.ResumeTiming();
        lists->model.cmdChangeButton_Click(3);
        state.PauseTiming();
        if (lists->model.workspace().ListTracks.count() != kActive + inactive)
            state.SkipWithError("rows were not moved");
        lists.reset();
        state.ResumeTiming();
    }
}

void BM_DeleteAll(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto lists = std::make_unique<Lists>(kActive, static_cast<int>(state.range(0)));
        lists->selectAll(FormModel::Side::Inactive);
        if (cold(state))
            evictCaches();
        state.ResumeTiming();
        lists->model.cmdChangeButton_Click(2);
        state.PauseTiming();
        lists.reset();
        state.ResumeTiming();
    }
}

void BM_SortInactive(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        // Descending folder names: the sort has every row to move.
        auto lists = std::make_unique<Lists>(0, static_cast<int>(state.range(0)), true);
        if (cold(state))
            evictCaches();
        state.ResumeTiming();
        lists->model.lblAmountRight_Click();
        state.PauseTiming();
        lists.reset();
        state.ResumeTiming();
    }
}

void BM_SortActive(benchmark::State& state) {
    Lists lists(kActive, static_cast<int>(state.range(0)));
    for (auto _ : state)
        lists.model.lblAmountLeft_Click();
}

void BM_ArrowClick(benchmark::State& state) {
    Lists lists(kActive, static_cast<int>(state.range(0)));
    const int middle = static_cast<int>(state.range(0)) / 2;
    lists.model.setCurrentRow(FormModel::Side::Inactive, middle);
    int i = 0;
    for (auto _ : state)
        lists.model.picArrow_Click(static_cast<int16_t>(2 + (i++ % 2)));
}

// Second argument: 1 runs the handler with cold caches (see evictCaches).
BENCHMARK(BM_SearchKeystroke)->Args({4096, 0})->Args({32767, 0})->Unit(benchmark::kMillisecond);
// The handlers that change their lists get new lists for every run: a fixed number of runs
// keeps the set-up time (not measured) in bounds.
BENCHMARK(BM_MoveAllToActive)
    ->ArgsProduct({{4096, 32767}, {0, 1}})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAll)
    ->ArgsProduct({{4096, 32767}, {0, 1}})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortInactive)
    ->ArgsProduct({{4096, 32767}, {0, 1}})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortActive)->Args({4096, 0})->Args({32767, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrowClick)->Args({4096, 0})->Args({32767, 0})->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace gk::bench

BENCHMARK_MAIN();
