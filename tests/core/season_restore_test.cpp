// SPDX-License-Identifier: GPL-3.0-or-later
// Earlier seasons: unusable pairs, the differences, restores and their faults.
#include "season/season_history.h"
#include "season/season_replace.h"
#include "season/season_restore.h"
#include "support/fakes.h"
#include "support/game_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

const QString kStamp = u"2026-12-06 14-03-22"_s;

void writeHistory(const GameFolder& game, const QByteArray& season, const QByteArray& all) {
    game.write(u"seasons/history/67season %1.ini"_s.arg(kStamp), season);
    game.write(u"seasons/history/67AllTracks %1.ini"_s.arg(kStamp), all);
}

TEST(Restore, PairsThatCannotBeRestoredSayWhy) {
    const QByteArray good = seasonOf({"a", "b"});
    struct Case {
        QByteArray season; // "-": missing, "/": a folder in its place
        QString problem;   // contained in the reason; "" when usable
    };
    for (const Case& c : {
             Case{good, {}},
             Case{"-", u"67season 2026-12-06 14-03-22.ini is missing"_s},
             Case{"/", u"67season 2026-12-06 14-03-22.ini is a folder"_s},
             Case{"[Event1]\r\ntrackname=x\r\n", u"67season 2026-12-06 14-03-22.ini"_s},
             Case{QByteArray("\xff\xfe[\0E\0", 6), u"UTF-16"_s},
         }) {
        GameFolder game;
        writeHistory(game, c.season, seasonOf({"a", "b", "c"}));
        if (c.season == "-" || c.season == "/")
            game.remove(u"seasons/history/67season %1.ini"_s.arg(kStamp));
        if (c.season == "/")
            QDir(game.path(u"seasons/history"_s)).mkdir(u"67season %1.ini"_s.arg(kStamp));
        QtFileSystem fs;
        const std::vector<RestorablePair> pairs = restorablePairs(fs, game.dir());
        ASSERT_EQ(pairs.size(), 2u);
        EXPECT_EQ(pairs[0].problem, u"67season_previous.bak is missing"_s);
        const RestorablePair& p = pairs[1];
        EXPECT_EQ(p.name, kStamp);
        if (c.problem.isEmpty()) {
            EXPECT_TRUE(p.usable()) << p.problem.toStdString();
            EXPECT_EQ(p.activeCount, 2);
            EXPECT_EQ(p.allTracksCount, 3);
        } else {
            EXPECT_TRUE(p.problem.contains(c.problem)) << p.problem.toStdString();
            EXPECT_THROW(restoreSeasonPair(fs, game.dir(), kStamp), RuntimeError);
            EXPECT_FALSE(game.exists(u"seasons/67season.ini"_s));
        }
    }
}

TEST(Restore, TheDifferencesFromThePresentSeason) {
    struct Case {
        QList<QByteArray> pair;
        QByteArrayList comeBack, go;
        bool orderChanged;
    };
    for (const Case& c : {
             Case{{"a", "b", "c"}, {}, {}, false},
             Case{{"c", "b", "a"}, {}, {}, true},
             Case{{"a", "B", "d"}, {"d"}, {"c"}, false},
             Case{{"b", "x", "a", "x"}, {"x"}, {"c"}, true},
             Case{{}, {}, {"a", "b", "c"}, false},
         }) {
        GameFolder game;
        game.writeSeason({"a", "b", "c"});
        writeHistory(game, seasonOf(c.pair), seasonOf({"z"}));
        QtFileSystem fs;
        const RestorablePair p = restorablePair(fs, game.dir(), kStamp);
        ASSERT_TRUE(p.usable()) << p.problem.toStdString();
        EXPECT_EQ(p.comeBack, c.comeBack) << c.pair.join(',').toStdString();
        EXPECT_EQ(p.go, c.go) << c.pair.join(',').toStdString();
        EXPECT_EQ(p.orderChanged, c.orderChanged) << c.pair.join(',').toStdString();
    }
    GameFolder game;
    QtFileSystem fs;
    EXPECT_EQ(restorablePair(fs, game.dir(), u"2020-01-01 00-00-00"_s).problem,
              u"There is no earlier season named \"2020-01-01 00-00-00\"."_s);
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
