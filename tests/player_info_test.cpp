#include "launch/player_info.h"
#include "season/track_lookup.h"
#include "support/harness.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

TEST(PlayerInfo, LineValues) {
    struct Case {
        QByteArray line;
        qsizetype s;
        QByteArray value;
        int error;
    };
    const std::vector<Case> cases = {
        {"lastplayer = Player One ; comment", 14, "Player One", 0},
        {"lastplayer = Player One    ;comment", 14, "Player One", 0},
        {"lastplayer = Player One", 14, "Player One", 0},    // no comment: to the end
        {"lastplayer = Player One   ", 14, "Player One", 0}, // trailing spaces removed
        {"lastplayer = ", 14, "", 0},
        {"lastplayer = x;", 14, "", 0},         // the character before ";" is dropped
        {"lasttrackselection =; x", 22, "", 5}, // ";" before the value
        {"team = 4 ; Ferrari", 8, "4", 0},
        {"team=4 ; Ferrari", 8, "", 5},
    };
    for (const Case& c : cases) {
        int error = 0;
        QByteArray value;
        try {
            value = lineValue(c.line, c.s);
        } catch (const RuntimeError& e) {
            error = e.number();
        }
        EXPECT_EQ(value, c.value) << c.line.constData();
        EXPECT_EQ(error, c.error) << c.line.constData();
    }
    EXPECT_TRUE(lineMatchesKey("   LastTrackSelection = x ; y", "lasttrackselection = "));
    EXPECT_TRUE(lineMatchesKey("teamcolor = 2", "team"));
    EXPECT_FALSE(lineMatchesKey("\tteam = 2", "team"));
}

TEST(TrackLookup, FindsTheFirstRowIgnoringCaseOnly) {
    TrackList list;
    for (const char* row : {"monaco", "* spa", "Monza", "monza"})
        list.addRow(row);
    EXPECT_EQ(fncTrackIndex("MONACO", list), 0);
    EXPECT_EQ(fncTrackIndex("monza", list), 2);
    EXPECT_EQ(fncTrackIndex("spa", list), -1);
    EXPECT_EQ(fncTrackIndex("* SPA", list), 1);
    EXPECT_EQ(fncTrackIndex("mon", list), -1);
    EXPECT_EQ(fncTrackIndex("monaco ", list), -1);
    EXPECT_EQ(fncTrackIndex("x", TrackList{}), -1);
}

struct PlayerCase {
    const char* name;
    QByteArray playerIni;
    QList<MessageBox> messages;
    QByteArray runTrack;
    int car;
    std::vector<uint8_t> activeMarks;
    std::vector<uint8_t> inactiveMarks;
};

MessageBox error(int n, const char* text) {
    return {QString::fromLatin1(text), QStringLiteral("Error %1").arg(n), Buttons::Ok,
            Icon::Critical};
}

TEST(PlayerInfo, PreselectsTheLastTrackAndTheTeamCar) {
    const std::vector<PlayerCase> cases = {
        {"track and team",
         "[x]\r\nlastTrackSelection = monza ; last\r\nteam = 4 ; Ferrari\r\n",
         {},
         "monza",
         4,
         {0, 1, 0},
         {0, 0}},
        {"inactive track, long name cut",
         "lasttrackselection = nurburgring ; x\r\n",
         {},
         "nurburgr",
         -1,
         {0, 0, 0},
         {1, 0}},
        {"indented key shifts the value",
         "   lasttrackselection = monza ; x\r\n",
         {},
         " = monza",
         -1,
         {0, 0, 0},
         {0, 0}},
        {"missing mark is not matched",
         "lasttrackselection = spa ; x\r\n",
         {},
         "spa",
         -1,
         {0, 0, 0},
         {0, 0}},
        {"team 9 is reported and reading goes on",
         "team = 9 ; x\r\nlasttrackselection = monza ; x\r\n",
         {error(380, "Invalid property value")},
         "monza",
         -1,
         {0, 1, 0},
         {0, 0}},
        {"team letter is reported",
         "team = F ; x\r\nteam = 2 ; x\r\n",
         {error(13, "Type mismatch")},
         "",
         2,
         {0, 0, 0},
         {0, 0}},
        {"semicolon too early ends the reading",
         "lasttrackselection = ;\r\nteam = 2 ; x\r\n",
         {error(5, "Invalid procedure call or argument")},
         "",
         -1,
         {0, 0, 0},
         {0, 0}},
    };
    for (const PlayerCase& c : cases) {
        Harness h;
        h.game.addTracks({"monaco", "monza", "nurburgr", "brands"});
        h.game.writeSeason({"monaco", "monza", "spa"});
        h.game.writeAllTracks({"nurburgr", "brands", "monza"});
        h.game.write(QStringLiteral("App.ini"), "[ Game ]\r\nlastplayer = Jim Clark ; who\r\n");
        h.game.write(QStringLiteral("Players/Jim Clark/player.ini"), c.playerIni);
        for (const MessageBox& m : c.messages)
            h.dialogs.expectMessage(m);
        ASSERT_TRUE(h.load()) << c.name;
        EXPECT_EQ(h.ctl().txtRunTrack.text, c.runTrack) << c.name;
        EXPECT_EQ(h.ctl().cboCarsIndex, c.car) << c.name;
        EXPECT_EQ(h.ws().ListTracks.selected, c.activeMarks) << c.name;
        EXPECT_EQ(h.ws().listNotActive.selected, c.inactiveMarks) << c.name;
        // The track found is the current row, and its entries are shown.
        const auto found = std::find(c.activeMarks.begin(), c.activeMarks.end(), 1);
        if (found != c.activeMarks.end()) {
            EXPECT_EQ(h.ws().ListTracks.current, found - c.activeMarks.begin()) << c.name;
            EXPECT_EQ(h.ctl().txtEntry[2].text, "trackDirectory=" + c.runTrack) << c.name;
        }
    }
}

TEST(PlayerInfo, MissingOrUnreadableFilesSelectNothing) {
    Harness h;
    h.game.writeSeason({"monza"});
    ASSERT_TRUE(h.load()); // no App.ini: no message
    EXPECT_TRUE(h.ctl().txtRunTrack.text.isEmpty());

    h.game.write(QStringLiteral("App.ini"), "lastplayer = P ; x\r\n");
    h.files.failPathContaining = QStringLiteral("App.ini");
    h.files.failure = ErrorCode::PermissionDenied;
    h.dialogs.expectMessage(error(70, "Permission denied"));
    h.m().subPlayerInfo();
}

} // namespace
} // namespace gk::test
