// The list handlers on big lists: a search keystroke, moving every inactive row to the active
// list, deleting them again, sorting each list, one arrow click. Each runs on 4 096 and 32 767
// rows, so the growth from one size to the other shows whether a handler is linear (or n log n).
#include "bench_game.h"
#include "platform/qt_file_system.h"
#include "platform/shell.h"
#include "ui/main/form_model.h"

#include <benchmark/benchmark.h>

namespace gk::bench {
namespace {

// A form model whose lists were filled in memory: `active` active rows and `inactive` inactive
// ones, every row with its own seven entries.
struct Lists {
    NullDialogs dialogs;
    MemorySettings settings;
    QtFileSystem files;
    NullShell shell;
    FormModel model{{settings, dialogs, files, shell}};

    Lists(int active, int inactive) {
        Workspace& ws = model.workspace();
        for (int n = 1; n <= active + inactive; ++n) {
            TrackList& list = n <= active ? ws.ListTracks : ws.listNotActive;
            auto& entries = n <= active ? ws.arrActive : ws.arrInactive;
            list.addRow(trackFolder(n));
            entries.push_back(trackEvent(n));
        }
    }
    void selectAll(FormModel::Side side) {
        model.setRowsSelected(side, 0, model.list(side).count() - 1, true);
        model.setCurrentRow(side, 0);
    }
};

constexpr int kActive = 64;

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
        lists->selectAll(FormModel::Side::Inactive);
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
        auto lists = std::make_unique<Lists>(kActive, 0);
        Workspace& ws = lists->model.workspace();
        for (int n = static_cast<int>(state.range(0)); n >= 1; --n) {
            ws.listNotActive.addRow(trackFolder(n));
            ws.arrInactive.push_back(trackEvent(n));
        }
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

BENCHMARK(BM_SearchKeystroke)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveAllToActive)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAll)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortInactive)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortActive)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrowClick)->Arg(4096)->Arg(32767)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace gk::bench

BENCHMARK_MAIN();
