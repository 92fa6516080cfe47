// SPDX-License-Identifier: GPL-3.0-or-later
// The history of the season: what keeping the replaced pair adds to a write of 64 + 32 703
// events (second names, no copies, with the oldest pair dropped), and the data of the restore
// window over twenty pairs of 32 767 events each (and over twenty-one, the backups included).

#include "bench_game.h"

#include "game/game_paths.h"
#include "platform/qt_file_system.h"
#include "season/season_history.h"
#include "season/season_restore.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

namespace gk::bench {
namespace {

// A clock one second further at every reading, so every pair gets a name of its own.
void steppingClock() {
    static QDateTime next(QDate(2026, 12, 6), QTime(14, 0, 0));
    setHistoryClock([] { return next = next.addSecs(1); });
}

// The present pair as the backups, and a full history of twenty pairs.
void prepare(const BenchGame& game, const QString& season, const QString& allTracks) {
    QtFileSystem fs;
    const QString dir = game.dir();
    QFile::remove(fs.nativePath(paths::seasonBackup(dir)));
    QFile::remove(fs.nativePath(paths::allTracksBackup(dir)));
    QFile::copy(season, fs.nativePath(paths::seasonBackup(dir)));
    QFile::copy(allTracks, fs.nativePath(paths::allTracksBackup(dir)));
    steppingClock();
    QStringList dropped;
    for (int i = 0; i < kHistoryPairs; ++i)
        keepReplacedPair(fs, dir, dropped);
    fs.removeLater(dropped, {});
}

void BM_HistoryOfAWrite(benchmark::State& state) {
    const BenchGame& game = sharedGame({32767, 64}, QStringLiteral("history"));
    prepare(game, game.seasonFile(), game.allTracksFile());
    QtFileSystem fs;
    for (auto _ : state) {
        QStringList dropped;
        const QString problem = keepReplacedPair(fs, game.dir(), dropped);
        // The write hands the oldest pair to the removal of its old backups, which runs after
        // it returns: not timed, but waited for before the next write.
        state.PauseTiming();
        fs.removeLater(dropped, {});
        fs.removeLater({}, {});
        state.ResumeTiming();
        if (!problem.isEmpty())
            state.SkipWithError(problem.toStdString().c_str());
    }
    if (historyNames(fs, game.dir()).size() != kHistoryPairs)
        state.SkipWithError("the history does not hold twenty pairs");
    setHistoryClock(nullptr);
}

// Every pair's all-tracks file holds 32 767 events, its season file as many as the argument
// (64: the biggest season written; 32 767: every track active).
void BM_RestoreWindowData(benchmark::State& state) {
    const int season = static_cast<int>(state.range(0));
    const BenchGame& game = sharedGame({32767, season}, QStringLiteral("restore"));
    prepare(game, game.seasonFile(), game.allTracksFile());
    QtFileSystem fs;
    for (auto _ : state) {
        const std::vector<RestorablePair> pairs = restorablePairs(fs, game.dir());
        if (pairs.size() != kHistoryPairs + 1 || !pairs.back().usable())
            state.SkipWithError("not twenty-one usable pairs");
        benchmark::DoNotOptimize(pairs.back().activeCount);
    }
    setHistoryClock(nullptr);
}

BENCHMARK(BM_HistoryOfAWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RestoreWindowData)
    ->ArgName("season")
    ->Arg(64)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace gk::bench

BENCHMARK_MAIN();
