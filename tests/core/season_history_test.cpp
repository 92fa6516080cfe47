// SPDX-License-Identifier: GPL-3.0-or-later
// The history of replaced season pairs: names, the limit, foreign names, faults.
#include "season/season_history.h"
#include "season/season_replace.h"
#include "support/fakes.h"
#include "support/game_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

// A clock that starts at 2026-12-06 14:03:22 and moves on by `step` seconds per reading.
struct SteppingClock {
    explicit SteppingClock(int step) {
        setHistoryClock([this, step] { return start.addSecs(readings++ * step).addMSecs(250); });
    }
    ~SteppingClock() { setHistoryClock(nullptr); }
    QDateTime start = QDateTime(QDate(2026, 12, 6), QTime(14, 3, 22));
    int readings = 0;
};

QStringList historyFiles(const GameFolder& game) {
    return QDir(game.path(u"seasons/history"_s)).entryList(QDir::Files, QDir::Name);
}

// Writes season n (and its all-tracks file) over the present pair.
void writeSeason(FileSystem& fs, const GameFolder& game, int n) {
    replaceSeasonFiles(fs, game.dir(), seasonOf({"s" + QByteArray::number(n)}),
                       seasonOf({"a" + QByteArray::number(n)}));
}

TEST(History, KeepsTheReplacedPairsAsLinksNamedByTimeUpToTwenty) {
    struct Case {
        int step;               // seconds between writes
        int writes;             // after the first, which replaces nothing
        QStringList firstFiles; // the history's first four files, when given
    };
    // clang-format off
    for (const Case& c : {
             Case{1, 2, {u"67AllTracks 2026-12-06 14-03-22.ini"_s, u"67AllTracks 2026-12-06 14-03-23.ini"_s, u"67season 2026-12-06 14-03-22.ini"_s, u"67season 2026-12-06 14-03-23.ini"_s}},
             Case{0, 3, {u"67AllTracks 2026-12-06 14-03-22 (2).ini"_s, u"67AllTracks 2026-12-06 14-03-22 (3).ini"_s, u"67AllTracks 2026-12-06 14-03-22.ini"_s, u"67season 2026-12-06 14-03-22 (2).ini"_s}},
             Case{1, 21, {}}, // the last write drops the oldest pair
         }) { // clang-format on
        GameFolder game;
        game.write(u"seasons/history/notes.txt"_s, "mine");
        game.write(u"seasons/history/67season 2020-01-01 00-00-00.bak"_s, "mine too");
        SteppingClock clock(c.step);
        QtFileSystem fs;
        for (int n = 0; n <= c.writes; ++n)
            writeSeason(fs, game, n);
        // Listing the history waits for the oldest pair's removal after the write.
        const std::vector<HistoryName> pairs = historyNames(fs, game.dir());
        const int kept = std::min(c.writes, 20);
        QStringList files = historyFiles(game);
        EXPECT_EQ(files.removeAll(u"notes.txt"_s) +
                      files.removeAll(u"67season 2020-01-01 00-00-00.bak"_s),
                  2);
        EXPECT_EQ(files.size(), 2 * kept);
        EXPECT_TRUE(c.firstFiles.isEmpty() || files.mid(0, 4) == c.firstFiles)
            << files.join(u'|').toStdString();
        // The newest pair is the one the last write replaced, as second names of the backups.
        ASSERT_EQ(pairs.size(), static_cast<std::size_t>(kept));
        EXPECT_EQ(game.read(u"seasons/67season_previous.bak"_s),
                  seasonOf({"s" + QByteArray::number(c.writes - 1)}));
        EXPECT_EQ(fs.fileStamp(pairs[0].seasonPath).id,
                  fs.fileStamp(game.dir() + u"\\seasons\\67season_previous.bak"_s).id);
        EXPECT_EQ(fs.readFile(pairs.back().allTracksPath),
                  seasonOf({"a" + QByteArray::number(c.writes - kept)}));
    }
}

// A failed write leaves the history as it was, whichever operation fails; a failure in keeping
// the history never costs the write. (A history folder that is a file is the form's test.)
TEST(History, FaultsNeverCostTheWriteAndAFailedWriteLeavesItAlone) {
    {
        // A folder that cannot be listed (as for a user without the right to read it).
        struct UnreadableHistory : QtFileSystem {
            std::vector<FolderEntry> listFolder(const QString& path) override {
                if (path.endsWith(u"\\history"_s))
                    throw RuntimeError(ErrorCode::PermissionDenied);
                return QtFileSystem::listFolder(path);
            }
        };
        GameFolder game;
        SteppingClock clock(1);
        UnreadableHistory fs;
        writeSeason(fs, game, 0);
        replaceSeasonFiles(fs, game.dir(), "x", "y");
        const SeasonVersion v = replaceSeasonFiles(fs, game.dir(), "x2", "y2");
        EXPECT_TRUE(v.historyProblem.endsWith(u"history: Permission denied"_s))
            << v.historyProblem.toStdString();
        EXPECT_EQ(game.season(), "x2");
    }
    std::set<std::string> failed;
    bool finished = false;
    for (int failAt = 1; failAt <= 64 && !finished; ++failAt) {
        GameFolder game;
        SteppingClock clock(1);
        FaultyFileSystem fs;
        writeSeason(fs, game, 0);
        writeSeason(fs, game, 1);
        const QStringList before = historyFiles(game);
        fs.changes = 0;
        fs.failAt = failAt;
        try {
            writeSeason(fs, game, 2);
            finished = fs.changes < failAt;
            EXPECT_EQ(game.season(), seasonOf({"s2"}));
            const QStringList after = historyFiles(game);
            EXPECT_TRUE(after == before || after.size() == 4) << failAt;
        } catch (const RuntimeError&) {
            EXPECT_EQ(historyFiles(game), before) << failAt;
        }
        failed.insert(fs.failed.begin(), fs.failed.end());
    }
    EXPECT_TRUE(finished);
    EXPECT_TRUE(failed.count("link") && failed.count("rename"));
}

} // namespace
} // namespace gk::test
