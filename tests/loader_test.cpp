#include "platform/qt_file_system.h"
#include "season/loader.h"
#include "support/harness.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Rows = std::vector<QByteArray>;

TEST(Loader, SplitsActiveAndInactiveByExactRowText) {
    struct Case {
        const char* name;
        QList<QByteArray> installed, season, allTracks;
        Rows active, inactive;
    };
    const std::vector<Case> cases = {
        {"track only in the season", {"a", "b"}, {"a", "b"}, {"a"}, {"a", "b"}, {}},
        {"duplicate inactive rows stay twice",
         {"a", "b"},
         {"a"},
         {"b", "a", "b"},
         {"a"},
         {"b", "b"}},
        {"one active event hides one of two",
         {"a", "b"},
         {"b"},
         {"b", "a", "b"},
         {"b"},
         {"a", "b"}},
        {"two races at one circuit, one active",
         {"monza"},
         {"monza"},
         {"monza", "monza", "spa"},
         {"monza"},
         {"monza", "* spa"}},
        {"the split is case-sensitive",
         {"monza", "Monza"},
         {"monza"},
         {"Monza", "monza"},
         {"monza"},
         {"Monza"}},
        {"missing mark matches itself",
         {"spa"},
         {"monaco", "spa"},
         {"monaco", "spa", "x"},
         {"* monaco", "spa"},
         {"* x"}},
        {"empty season", {"a"}, {}, {"a"}, {}, {"a"}},
    };
    for (const Case& c : cases) {
        Harness h;
        h.game.addTracks(c.installed);
        h.game.writeSeason(c.season);
        h.game.writeAllTracks(c.allTracks);
        ASSERT_TRUE(h.load()) << c.name;
        EXPECT_EQ(h.ws().ListTracks.rows, c.active) << c.name;
        EXPECT_EQ(h.ws().listNotActive.rows, c.inactive) << c.name;
        EXPECT_EQ(h.ws().arrActive.size(), c.active.size()) << c.name;
        // Each inactive row carries the entries of its own all-tracks event.
        for (size_t r = 0; r < c.inactive.size(); ++r) {
            QByteArray folder = c.inactive[r];
            if (folder.startsWith("* "))
                folder = folder.mid(2);
            EXPECT_EQ(h.ws().arrInactive[r].entry[2], "trackDirectory=" + folder) << c.name;
        }
    }
}

TEST(Loader, FirstRunCopiesTheSeasonByteForByte) {
    const QByteArray original = "[Season]\r\nname=Odd \xA7\r\n" + seasonOf({"a"}).mid(10);
    for (bool standardExists : {false, true}) {
        Harness h;
        h.game.write(QStringLiteral("seasons/67season.ini"), original);
        if (standardExists)
            h.game.write(QStringLiteral("seasons/Standard.67s"), "mine");
        ASSERT_TRUE(h.load());
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks.ini")), original);
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/Standard.67s")),
                  standardExists ? QByteArray("mine") : original);
        EXPECT_EQ(h.ws().listNotActive.count(), 0);
    }
}

TEST(Loader, AllTracksFileIsMatchedWithoutRegardToCase) {
    Harness h;
    h.game.writeSeason({"a"});
    h.game.write(QStringLiteral("seasons/67alltracks.ini"), seasonOf({"a", "b"}));
    ASSERT_TRUE(h.load());
    EXPECT_EQ(h.ws().listNotActive.rows, (Rows{"* b"}));
    EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/67AllTracks.ini")));
}

// The hashed split gives the one-for-one matching done pair by pair, on random lists with
// repeats: same event first, then same row text; whatever is left over is inactive.
TEST(Loader, InactiveListMatchesActiveEventsOneForOne) {
    QRandomGenerator rng(67);
    for (int round = 0; round < 200; ++round) {
        TrackList all, active;
        std::vector<EventEntries> allEntries, activeEntries;
        const auto randomEvent = [&](TrackList& list, std::vector<EventEntries>& entries) {
            const QByteArray row = QByteArray::number(rng.bounded(8));
            list.addRow(rng.bounded(3) == 0 ? "* " + row : row);
            entries.push_back(makeEvent(row, QByteArray::number(rng.bounded(2))));
        };
        for (int i = 0, n = static_cast<int>(rng.bounded(30)); i < n; ++i)
            randomEvent(all, allEntries);
        for (int i = 0, m = static_cast<int>(rng.bounded(12)); i < m; ++i)
            randomEvent(active, activeEntries);
        TrackList inactive;
        std::vector<EventEntries> inactiveEntries;
        buildInactiveList(all, allEntries, active, activeEntries, inactive, inactiveEntries);

        std::vector<bool> allUsed(all.rows.size()), activeUsed(active.rows.size());
        for (bool sameEntries : {true, false})
            for (size_t r = 0; r < all.rows.size(); ++r)
                for (size_t a = 0; a < active.rows.size() && !allUsed[r]; ++a)
                    if (!activeUsed[a] && active.rows[a] == all.rows[r] &&
                        (!sameEntries || activeEntries[a].entry == allEntries[r].entry))
                        allUsed[r] = activeUsed[a] = true;
        Rows expectRows;
        std::vector<EventEntries> expectEntries;
        for (size_t r = 0; r < all.rows.size(); ++r)
            if (!allUsed[r]) {
                expectRows.push_back(all.rows[r]);
                expectEntries.push_back(allEntries[r]);
            }
        ASSERT_EQ(inactive.rows, expectRows);
        ASSERT_EQ(inactiveEntries, expectEntries);
    }
}

TEST(FileSystem, GamePathsAreFoundWithoutRegardToCase) {
    GameFolder game;
    game.write(QStringLiteral("Wine/67alltracks.ini"), "x");
    QtFileSystem fs;
    const QString dir = game.dir();
    EXPECT_TRUE(fs.fileExists(dir + QStringLiteral("\\wine\\67AllTracks.ini")));
    EXPECT_EQ(fs.readFile(dir + QStringLiteral("\\WINE\\67ALLTRACKS.INI")), "x");
    EXPECT_FALSE(fs.fileExists(dir + QStringLiteral("\\wine")));
    EXPECT_FALSE(fs.fileExists(dir + QStringLiteral("\\wine\\nothing.ini")));
    // A new file reuses the folder's existing spelling instead of creating a twin.
    fs.writeFile(dir + QStringLiteral("\\wine\\new.67s"), "y");
    EXPECT_EQ(game.read(QStringLiteral("Wine/new.67s")), "y");
    fs.writeFile(dir + QStringLiteral("\\wine\\67AllTracks.ini"), "z");
    EXPECT_EQ(game.read(QStringLiteral("Wine/67alltracks.ini")), "z");
    EXPECT_FALSE(game.exists(QStringLiteral("wine")));
}

TEST(FileSystem, FailuresCarryTheirErrorNumbers) {
    GameFolder game;
    QtFileSystem fs;
    const auto number = [](auto&& op) {
        try {
            op();
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    const QString dir = game.dir();
    EXPECT_EQ(number([&] { fs.readFile(dir + QStringLiteral("\\none.ini")); }), 53);
    EXPECT_EQ(number([&] { fs.readFile(dir + QStringLiteral("\\seasons")); }), 75);
    EXPECT_EQ(number([&] { fs.removeFile(dir + QStringLiteral("\\none.ini")); }), 53);
    EXPECT_EQ(number([&] { fs.writeFile(dir + QStringLiteral("\\no\\such\\f.ini"), "x"); }), 76);
    EXPECT_EQ(number([&] { fs.listFolder(dir + QStringLiteral("\\none")); }), 76);
}

} // namespace
} // namespace gk::test
