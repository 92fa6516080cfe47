// SPDX-License-Identifier: GPL-3.0-or-later
// Earlier seasons: unusable pairs, the differences, restores and their faults.
#include "season/season_history.h"
#include "season/season_replace.h"
#include "season/season_restore.h"
#include "support/fakes.h"
#include "support/game_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace gk::test {
namespace {

const QString kStamp = u"2026-12-06 14-03-22"_s;

void writeHistory(const GameFolder& game, const QByteArray& season, const QByteArray& all) {
    game.write(u"seasons/history/67season %1.ini"_s.arg(kStamp), season);
    game.write(u"seasons/history/67AllTracks %1.ini"_s.arg(kStamp), all);
}

// Each pair against the present season a, b, c: what comes back, what goes, whether the order
// changes; a pair that cannot be restored says why, and a restore of it changes nothing.
TEST(Restore, TheDifferencesFromThePresentSeasonOrWhyNot) {
    struct Case {
        QByteArray season; // of the pair; "-": missing, "/": a folder, "|": a FIFO in its place
        QString problem;   // contained in the reason; "" when usable
        int active = 0;
        QByteArrayList comeBack = {}, go = {};
        bool orderChanged = false;
    };
    const QString name = u"67season %1.ini"_s.arg(kStamp);
    for (const Case& c : {
             // clang-format off
             Case{seasonOf({"a", "b", "c"}), {}, 3},
             Case{seasonOf({"c", "b", "a"}), {}, 3, {}, {}, true},
             Case{seasonOf({"a", "B", "d"}), {}, 3, {"d"}, {"c"}},
             Case{seasonOf({"b", "x", "a", "x"}), {}, 4, {"x"}, {"c"}, true},
             Case{seasonOf({}), {}, 0, {}, {"a", "b", "c"}},
             Case{"-", name + u" is missing"_s},
             Case{"/", name + u" is a folder"_s},
             Case{"|", name + u": Path/File access error"_s},
             Case{"[Event1]\r\ntrackname=x\r\n", name},
             Case{QByteArray("\xff\xfe[\0E\0", 6), u"UTF-16"_s},
             // clang-format on
         }) {
        SCOPED_TRACE(c.season.toStdString());
        GameFolder game;
        game.writeSeason({"a", "b", "c"});
        const QByteArray present = game.season();
        writeHistory(game, c.season, seasonOf({"a", "b", "c"}));
        if (c.season == "-" || c.season == "/" || c.season == "|")
            game.remove(u"seasons/history/"_s + name);
        if (c.season == "/")
            QDir(game.path(u"seasons/history"_s)).mkdir(name);
        if (c.season == "|") {
            const QByteArray fifo = QFile::encodeName(game.path(u"seasons/history/"_s + name));
            ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
        }
        QtFileSystem fs;
        const std::vector<RestorablePair> pairs = restorablePairs(fs, game.dir());
        ASSERT_EQ(pairs.size(), 2u);
        EXPECT_EQ(pairs[0].problem, u"67season_previous.bak is missing"_s);
        const RestorablePair& p = pairs[1];
        EXPECT_EQ(p.name, kStamp);
        if (c.problem.isEmpty()) {
            ASSERT_TRUE(p.usable()) << p.problem.toStdString();
            EXPECT_EQ(p.activeCount, c.active);
            EXPECT_EQ(p.allTracksCount, 3);
            EXPECT_EQ(p.comeBack, c.comeBack);
            EXPECT_EQ(p.go, c.go);
            EXPECT_EQ(p.orderChanged, c.orderChanged);
        } else {
            EXPECT_TRUE(p.problem.contains(c.problem)) << p.problem.toStdString();
            EXPECT_THROW(restoreSeasonPair(fs, game.dir(), kStamp), RuntimeError);
            EXPECT_EQ(game.season(), present);
        }
    }
}

// Write A, write B, restore A, restore the restore: each step's files byte for byte, and a
// restore from the history by name.
TEST(Restore, RoundTripByteForByte) {
    GameFolder game;
    QtFileSystem fs;
    setHistoryClock([] { return QDateTime(QDate(2026, 12, 6), QTime(14, 3, 22)); });
    const QByteArray a = seasonOf({"a"}) + "tail \xe9", aAll = seasonOf({"a", "z"});
    const QByteArray b = seasonOf({"b"}), bAll = seasonOf({"b", "z"});
    game.writeSeason({"first"});
    game.writeAllTracks({"first"});
    replaceSeasonFiles(fs, game.dir(), a, aAll);
    replaceSeasonFiles(fs, game.dir(), b, bAll);
    restoreSeasonPair(fs, game.dir(), previousPairName());
    EXPECT_EQ(game.readSeasons(), (QByteArrayList{a, aAll, b, bAll}));
    restoreSeasonPair(fs, game.dir(), previousPairName());
    EXPECT_EQ(game.readSeasons(), (QByteArrayList{b, bAll, a, aAll}));
    // The history: first, A, B, A, newest first.
    std::vector<HistoryName> names = historyNames(fs, game.dir());
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(fs.readFile(names[0].seasonPath), a);
    EXPECT_EQ(fs.readFile(names[3].allTracksPath), seasonOf({"first"}));
    restoreSeasonPair(fs, game.dir(), names[3].name);
    EXPECT_EQ(game.readSeasons(),
              (QByteArrayList{seasonOf({"first"}), seasonOf({"first"}), b, bAll}));
    setHistoryClock(nullptr);
}

// Every file operation of a restore fails in turn: a failed restore leaves the four files and
// the history as they were.
TEST(Restore, AFailedRestoreChangesNothing) {
    bool finished = false;
    std::set<std::string> failed;
    for (int failAt = 1; failAt <= 64 && !finished; ++failAt) {
        GameFolder game;
        FaultyFileSystem fs;
        game.writeSeason({"a"});
        game.writeAllTracks({"a", "z"});
        replaceSeasonFiles(fs, game.dir(), seasonOf({"b"}), seasonOf({"b", "z"}));
        const QByteArrayList before = game.readSeasons();
        const QStringList history = QDir(game.path(u"seasons/history"_s)).entryList(QDir::Files);
        fs.changes = 0;
        fs.failAt = failAt;
        try {
            restoreSeasonPair(fs, game.dir(), previousPairName());
            finished = fs.changes < failAt;
            EXPECT_EQ(game.readSeasons()[0], before[2]) << failAt;
        } catch (const RuntimeError&) {
            EXPECT_EQ(game.readSeasons(), before) << failAt;
            EXPECT_EQ(QDir(game.path(u"seasons/history"_s)).entryList(QDir::Files), history);
        }
        failed.insert(fs.failed.begin(), fs.failed.end());
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(failed, (std::set<std::string>{"link", "remove", "rename", "sync", "write"}));
}

} // namespace
} // namespace gk::test
