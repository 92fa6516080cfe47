// SPDX-License-Identifier: GPL-3.0-or-later
// The track check report over a tracks folder of 5,000 track folders: what opening the report
// window computes. It must open well under a second.

#include "bench_game.h"

#include "platform/qt_file_system.h"
#include "report/track_check.h"

#include <benchmark/benchmark.h>

namespace gk::bench {
namespace {

void BM_TrackCheckReport(benchmark::State& state) {
    const int folders = static_cast<int>(state.range(0));
    const BenchGame& game = sharedGame({folders, 64});
    TrackList all;
    all.reserve(static_cast<size_t>(folders));
    for (int n = 1; n <= folders; ++n)
        all.addRow(trackFolder(n), {});
    NullDialogs dialogs;
    QtFileSystem files;
    for (auto _ : state) {
        TrackCheck check(dialogs, files, all);
        const TrackReport report = check.check(game.dir());
        benchmark::DoNotOptimize(report.columns[2].size());
    }
    if (dialogs.shown != 0)
        state.SkipWithError("the report showed a message");
}

BENCHMARK(BM_TrackCheckReport)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace gk::bench

BENCHMARK_MAIN();
