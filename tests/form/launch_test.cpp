// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game from the form: the command line, the departures, the inactive run's
// season folder.
#include "support/harness.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

const QByteArray kReal = seasonOf({"monza", "* x"});

struct LaunchHarness : Harness {
    LaunchHarness() {
        game.write(u"gpl.exe"_s, "MZ");
        processes.gameSide = u"C:\\GPL"_s; // the game folder in the game's command line
        EXPECT_TRUE(load({"monza", "spa"}, {"monza", "* x"}, {"monza", "spa"})); // kReal
    }
    QString withDir(const char* text) {
        return QString::fromLatin1(text).replace(QLatin1String("DIR"), game.dir());
    }
};

// Every way a launch stops or goes on; whatever it reports, it reports with the real season
// back in place (unless the case leaves it parked).
TEST(Launch, Departures) {
    using H = LaunchHarness;
    // clang-format off
    const auto noExe = [](H& h) { h.game.remove(u"gpl.exe"_s); };
    const auto running = [](H& h) { h.processes.running = true; };
    const auto noTrackIni = [](H& h) { h.game.remove(u"tracks/monza/track.ini"_s); h.game.remove(u"tracks/spa/track.ini"_s); };
    const auto parked = [](H& h) { h.game.write(u"seasons/gridkeeper.tmp"_s, "parked"); };
    const char* const recovery = "The file DIR/seasons/gridkeeper.tmp already exists. It holds your real 67season.ini, parked by an earlier run of an inactive track that has not ended (GPL may still be running, or it crashed).\r\n\r\nThe track is not started, so that this file is not overwritten.\r\n\r\nShall gridkeeper.tmp be renamed to 67season.ini now?";
    const char* const missing = "The track \"monza\" was not found in your GPL\\tracks folder (missing track.ini). Do you want to run GPL anyway?";
    const char* const withTrack = "C:\\GPL\\gpl.exe -ko\"20:Personal Information:lastTrackSelection:monza\" -ko\"20:Personal Information:team:-1\"";
    // clang-format on
    const struct Case {
        const char *name, *track;
        std::function<void(H&)> setup;
        const char *text, *title; // the one box shown, if any
        Icon icon;
        std::variant<MessageKind, QuestionId> meaning;
        Buttons buttons;
        Answer answer;
        const char* started; // command line of the game started, if any
        QByteArray seasonAfter = kReal;
        bool parkedAfter = false;
    } cases[] = {
        // clang-format off
        {"no gpl.exe", "monza", noExe, "The GPL.exe was not found in DIR", "Can't find GPL.exe", Icon::Information, MessageKind::Failure, Buttons::Ok, Answer::Ok, nullptr},
        {"missing track, Yes", "monza", noTrackIni, missing, "Missing Track", Icon::Exclamation, QuestionId::MissingTrack, Buttons::YesNo, Answer::Yes, withTrack},
        {"unsaved, Cancel", "monza", [](H& h) { EXPECT_TRUE(h.editEntry(ListSide::Active, 0, 5, u"numberOfLaps=3"_s)); }, "You haven't saved your changes so far. Do you want to create the new 67season.ini now (recommended)?", "Gridkeeper", Icon::Exclamation, QuestionId::SaveBeforeLaunch, Buttons::YesNoCancel, Answer::Cancel, nullptr},
        {"in neither list", "Monza", {}, "Monza not found in inactive list.", "Gridkeeper", Icon::Exclamation, MessageKind::Refusal, Buttons::Ok, Answer::Ok, nullptr},
        {"inactive, missing track", "spa", noTrackIni, "The track \"spa\" was not found in your GPL\\tracks folder (missing track.ini).", "Missing Track", Icon::Exclamation, MessageKind::Failure, Buttons::Ok, Answer::Ok, nullptr},
        {"inactive, no gpl.exe", "spa", noExe, "GPL.exe not found in DIR", "Gridkeeper", Icon::Exclamation, MessageKind::Failure, Buttons::Ok, Answer::Ok, nullptr},
        {"inactive, running", "spa", running, "GPL is already running", "GPL already running", Icon::Information, MessageKind::Refusal, Buttons::Ok, Answer::Ok, nullptr},
        {"inactive, cannot start", "spa", [](H& h) { h.processes.failStart = ErrorCode::FileNotFound; }, "Unable to find 'C:\\GPL\\gpl.exe -ko\"20:Personal Information:team:-1\"'", "Gridkeeper", Icon::None, MessageKind::Failure, Buttons::Ok, Answer::Ok, nullptr},
        {"parked file, declined", "spa", parked, recovery, "Gridkeeper Crash Recovery", Icon::Exclamation, QuestionId::CrashRecovery, Buttons::YesNo, Answer::No, nullptr, kReal, true},
        {"parked file, recovered", "spa", parked, recovery, "Gridkeeper Crash Recovery", Icon::Exclamation, QuestionId::CrashRecovery, Buttons::YesNo, Answer::Yes, nullptr, "parked"},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        H h;
        if (c.setup)
            c.setup(h);
        if (c.text)
            h.dialogs.expectMessage({h.withDir(c.text), QString::fromLatin1(c.title), c.buttons,
                                     c.icon, c.meaning, c.buttons == Buttons::YesNo},
                                    c.answer);
        h.dialogs.onShow = [&](const Message& box) { // a report comes after the season is back
            EXPECT_TRUE(box.buttons != Buttons::Ok ||
                        h.game.exists(u"seasons/gridkeeper.tmp"_s) == c.parkedAfter);
        };
        h.ctl().txtRunTrack.text = c.track;
        h.m().cmdLaunchGPL_Click();
        EXPECT_EQ(h.processes.started, c.started
                                           ? std::vector{h.withDir(c.started) + u'|' + h.game.dir()}
                                           : std::vector<QString>{});
        EXPECT_EQ(h.game.season(), c.seasonAfter);
        EXPECT_EQ(h.game.exists(u"seasons/gridkeeper.tmp"_s), c.parkedAfter);
        EXPECT_EQ(h.shell.busyDepth, 0);
    }
}

// The season folder while the game of an inactive track runs: the temporary season with the
// track's entries as edited, the real one parked.
TEST(Launch, InactiveRunSeasonFolder) {
    LaunchHarness h;
    ASSERT_TRUE(h.editEntry(ListSide::Inactive, 0, 5, u"numberOfLaps=3"_s));
    // The edit is not saved: the run takes the entries as they are in the list.
    // clang-format off
    h.dialogs.expectMessage({u"You haven't saved your changes so far. Do you want to create the new 67season.ini now (recommended)?"_s,
                             u"Gridkeeper"_s, Buttons::YesNoCancel, Icon::Exclamation, QuestionId::SaveBeforeLaunch}, Answer::No);
    // clang-format on
    bool ran = false;
    h.processes.duringGame = [&] {
        ran = true;
        QFile golden(QStringLiteral(GK_TEST_DATA "/launch/67season_temporary.ini"));
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
        EXPECT_EQ(h.game.season(), golden.readAll());
        EXPECT_EQ(h.game.read(u"seasons/gridkeeper.tmp"_s), kReal);
        EXPECT_EQ(h.shell.busyDepth, 1);
        // The same window meanwhile: its save is refused, and the season folder's changes
        // are its own run's, not another program's.
        h.dialogs.expectMessage(kRunRefusal);
        h.m().cmdMakeIni_Click();
        const QString help = h.ctl().lblInfo.caption;
        h.m().seasonFilesChanged();
        EXPECT_EQ(h.ctl().lblInfo.caption, help);
        EXPECT_EQ(h.game.seasonFiles(),
                  (QStringList{u"67AllTracks.ini"_s, u"67season.ini"_s, u"gridkeeper.tmp"_s,
                               u"gridkeeper_run.lock"_s}));
    };
    h.ctl().txtRunTrack.text = "spa";
    h.m().cmdLaunchGPL_Click();
    EXPECT_TRUE(ran);
    EXPECT_EQ(h.game.seasonFiles(), (QStringList{u"67AllTracks.ini"_s, u"67season.ini"_s}));
    EXPECT_EQ(h.game.season(), kReal);
    EXPECT_EQ(h.shell.centred, 2); // once at start-up, once after the game
}

} // namespace
} // namespace gk::test
