// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, closing, the player's track and car, the help line and menus.
#include "support/harness.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

// The directory is asked for until it holds driver.ini or the player cancels; the value is
// stored as it is then. "<game>" stands for the game folder, "<rel>" for it relative to the
// working directory at start.
TEST(Startup, TheDirectoryDialog) {
    struct Case {
        QString commandLine, stored;
        QStringList answers;
        QString dir, asked; // the folder at the end; the one the first question shows
        bool found = false; // the game folder is where the box looks, and is offered
    };
    const std::vector<Case> cases = {
        // clang-format off
        {u"C:\\Games\\GPL\\"_s, {}, {{}}, u"C:\\Games\\GPL"_s, u"C:\\Games\\GPL"_s}, // a trailing backslash is removed
        {{}, {}, {{}}, u"NOT SET"_s, u"NOT SET"_s},
        {u"<game>/driver.ini"_s, {}, {{}}, u"<game>/driver.ini"_s, u"<game>/driver.ini"_s}, // a file is no directory
        {{}, u"/nowhere"_s, {u"   "_s, u"<game>/"_s}, u"<game>/"_s, u"/nowhere"_s}, // kept as typed
        {u"/a"_s, {}, {u"/b"_s, u"/c"_s, {}}, u"/a"_s, u"/a"_s}, // cancel restores the stored value
        {u"<rel>"_s, {}, {}, u"<game>"_s, {}}, // taken from the caller's folder, kept absolute
        {{}, {}, {u"<game>"_s}, u"<game>"_s, u"<game>"_s, true}, // not set: the folder found is filled in
        {{}, u"/nowhere"_s, {{}}, u"/nowhere"_s, u"<game>"_s, true}, // cancel still keeps the stored value
        {u"/a"_s, {}, {u"/b"_s, {}}, u"/a"_s, u"<game>"_s, true}, // a wrong entry is shown again
        // clang-format on
    };
    // clang-format off
    const QString prompt = u"The GPL directory is not yet set or invalid.\rPlease enter your GPL directory.\re.g. C:\\Games\\Sierra\\GPL"_s;
    const Message notFound{u"GPL Dir not found or not set correctly, please restart the tool and enter the correct GPL path"_s, u"GPL FOLDER..."_s, Buttons::Ok, Icon::Critical, MessageKind::Failure};
    const Message invalid{u"This seems to be an invalid directory. Please enter the correct directory or click on Cancel to keep the previous value."_s, u"Invalid directory"_s, Buttons::Ok, Icon::Critical, MessageKind::Refusal};
    // clang-format on
    const QString below = u".wine/drive_c/Sierra/GPL"_s;
    const QString workingDir = QDir::currentPath();
    for (const Case& c : cases) {
        Harness h(below);
        h.game.writeSeason({"monza"});
        h.game.write(u"gpl.exe"_s, "MZ");
        if (c.found)
            h.places.home = h.game.root();
        const QFileInfo dir(h.game.dir());
        QDir::setCurrent(dir.path());
        const auto game = [&](QString s) {
            return s.replace(u"<game>"_s, h.game.dir()).replace(u"<rel>"_s, dir.fileName());
        };
        if (!c.stored.isEmpty())
            h.settings.set(u"GPLDir"_s, c.stored);
        QString shown = game(c.asked);
        for (const QString& answer : c.answers) {
            const QStringList offered = c.found ? QStringList{h.game.dir()} : QStringList{};
            h.dialogs.expectInput({prompt, u"Enter your GPL directory"_s, shown, offered, true},
                                  game(answer));
            if (answer.isEmpty())
                h.dialogs.expectMessage(notFound);
            else if (!answer.startsWith(u"<game>"_s))
                h.dialogs.expectMessage(invalid);
            shown = game(answer);
        }
        const bool loads = c.answers.isEmpty() || c.answers.back().startsWith(u"<game>"_s);
        EXPECT_EQ(h.m().Form_Load(game(c.commandLine)), loads) << c.dir.toStdString();
        EXPECT_EQ(h.m().ended(), !loads);
        EXPECT_EQ(h.ws().strGPLdir, game(c.dir));
        EXPECT_EQ(h.settings.value(u"GPLDir"_s), game(c.dir));
        EXPECT_EQ(h.ws().ListTracks.count(), loads ? 1 : 0);
        QDir::setCurrent(workingDir);
    }
}

TEST(Startup, MissingSeasonFileEndsTheProgramWithNothingWritten) {
    Harness h;
    h.game.write(u"seasons/gridkeeper.tmp"_s, "parked");
    h.dialogs.expectMessage({u"67season.ini was not found"_s, u"Critical error"_s, Buttons::Ok,
                             Icon::Critical, MessageKind::Failure});
    EXPECT_FALSE(h.load());
    EXPECT_EQ(h.game.seasonFiles(), QStringList{u"gridkeeper.tmp"_s});
}

TEST(Startup, RunTimeErrorsAreReportedAndStartupGoesOn) {
    Harness h;
    h.settings.set(u"alphabetical"_s, u"yes"_s);
    h.game.write(u"seasons/67season.ini"_s, seasonOf(QList<QByteArray>(kMaxListRows + 1, "t")));
    h.game.writeAllTracks({});
    h.dialogs.expectMessage(startupErrorBox(u"Type mismatch"_s));
    // clang-format off
    h.dialogs.expectMessage(startupErrorBox(u"Overflow: 67season.ini holds more events than a list can hold (32767); event 32768 of 67season.ini (line 294909) is one too many."_s));
    // clang-format on
    ASSERT_TRUE(h.load());
    EXPECT_EQ(texts(h.ws().ListTracks), Rows(kMaxListRows, "* t"));
    // The steps after the failed ones still ran.
    EXPECT_EQ(h.ctl().lblGPLdir.caption, u"GRIDKEEPER"_s);
    EXPECT_EQ(h.ctl().lblGPLdir.foreColor, kBlue);
    EXPECT_EQ(h.ctl().cboCars.join(u' '), u"Bra BRM Coo Eag Fer Lot Hon"_s);
}

TEST(Closing, AsksOnlyWithUnsavedSeasonChanges) {
    Harness h;
    h.game.write(u"seasons/Set.67s"_s, seasonOf({"a"}));
    ASSERT_TRUE(h.load({"a"}, {"a"}, {"a"}));
    // An edit saved into the season but not into the open track set: no question.
    h.m().openTrackSet(u"Set"_s);
    ASSERT_TRUE(h.editEntry(ListSide::Active, 0, 0, u"name=A"_s));
    h.dialogs.expectMessage(kCreatedBox);
    h.m().cmdMakeIni_Click();
    ASSERT_TRUE(h.ws().bolTrackSetChanged);
    bool cancel = false;
    h.m().Form_Unload(cancel);
    // Cancel keeps the window, No closes it unsaved, Yes saves; a failed save keeps the window.
    for (const auto& [answer, fail, staysOpen, saved] :
         {std::tuple{Answer::Cancel, false, true, false},
          std::tuple{Answer::No, false, false, false}, std::tuple{Answer::Yes, false, false, true},
          std::tuple{Answer::Yes, true, true, false}}) {
        cancel = false;
        ASSERT_TRUE(h.editEntry(ListSide::Active, 0, 0, u"name=A"_s)); // unsaved again
        h.game.remove(u"seasons/67season_previous.bak"_s);
        h.files.failPathContaining = fail ? u"seasons"_s : QString();
        h.files.failure = ErrorCode::PermissionDenied;
        h.dialogs.expectMessage(kClosingQuestion, answer);
        if (answer == Answer::Yes)
            h.dialogs.expectMessage(fail ? errorBox(70, u"Permission denied"_s) : kCreatedBox);
        h.m().Form_Unload(cancel);
        EXPECT_EQ(cancel, staysOpen);
        EXPECT_EQ(h.ws().bolSeasonChanged, !saved);
        EXPECT_EQ(h.game.exists(u"seasons/67season_previous.bak"_s), saved);
    }
}

// The last track of the last player is selected where it is found (cut to eight characters,
// the first row that equals it without regard to case) and the car of the team chosen; a bad
// value is reported.
TEST(PlayerInfo, PreselectsTheLastTrackAndTheTeamCar) {
    struct Case {
        QByteArray ini;
        int error; // 0: no message
        const char* message;
        QByteArray runTrack;
        int car, active, inactive; // the rows selected, or -1
        const char* player = "Jim Clark";
    };
    const std::vector<Case> cases = {
        // clang-format off
        {"[x]\r\nlastTrackSelection = monza   ; last\r\nteam = 4 ; Fer\r\n", 0, "", "monza", 4, 1, -1},
        {"lasttrackselection = nurburgring ; x\r\n", 0, "", "nurburgr", -1, -1, 0},
        {"   lasttrackselection = monza ; x\r\n", 0, "", " = monza", -1, -1, -1},
        {"lasttrackselection = spa ; x\r\n", 0, "", "spa", -1, -1, -1}, // the row is "* spa"
        {"team = 9 ; x\r\nlasttrackselection = MONACO\r\n", 380, "Invalid property value", "MONACO", -1, 0, -1},
        {"team = F ; x\r\nteam = 2 ; x\r\n", 13, "Type mismatch", "", 2, -1, -1},
        // "team" is the start of the line after its spaces; a prefix of a row is no row.
        {"\tteam = 2\r\nteamcolor = 5\r\nlasttrackselection = mon\r\n", 13, "Type mismatch", "mon", -1, -1, -1},
        // A ";" too early ends the reading.
        {"lasttrackselection = ;\r\nteam = 2\r\n", 5, "Invalid procedure call or argument", "", -1, -1, -1},
        // A player folder that is no single name is never made into a path, though the file it
        // leads to exists; nor is a track folder (its row is marked missing).
        {"", 0, "", "", -1, -1, -1, "..\\seasons"},
        // clang-format on
    };
    const auto marks = [](size_t n, int row) {
        std::vector<uint8_t> m(n, 0);
        if (row >= 0)
            m[row] = 1;
        return m;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini.constData());
        Harness h;
        h.game.write(u"App.ini"_s,
                     "[ Game ]\r\nlastplayer = " + QByteArray(c.player) + " ; who\r\n");
        h.game.write(u"Players/Jim Clark/player.ini"_s, c.ini);
        h.game.write(u"seasons/player.ini"_s, "lasttrackselection = monza\r\n");
        if (c.error)
            h.dialogs.expectMessage(errorBox(c.error, QString::fromLatin1(c.message)));
        ASSERT_TRUE(h.load({"monaco", "Monza", "monza", "nurburgr", "brands"},
                           {"monaco", "Monza", "monza", "spa", "../tracks/monza"},
                           {"nurburgr", "brands"}));
        EXPECT_EQ(h.ws().ListTracks.rows[4].text, "* ../tracks/monza");
        EXPECT_EQ(h.ctl().txtRunTrack.text, c.runTrack);
        EXPECT_EQ(h.ctl().cboCarsIndex, c.car);
        EXPECT_EQ(selectedMarks(h.ws().ListTracks), marks(5, c.active));
        EXPECT_EQ(selectedMarks(h.ws().listNotActive), marks(2, c.inactive));
        // The track found is the current row, and its entries are shown.
        EXPECT_EQ(h.ws().ListTracks.current, c.active);
        EXPECT_EQ(h.ctl().txtEntry[2].text,
                  c.active < 0 ? "" : "trackDirectory=" + h.ws().ListTracks.rows[c.active].text);
    }
}

// The help line's texts with a rule behind them (the texts themselves are constants): a control
// without help leaves the line as it was, the GPL directory's label tells whether driver.ini is
// there. The File menu's report and exit, and the mail link with the configured address.
TEST(FormModel, HelpLineMenusAndMail) {
    Harness h;
    h.game.writeSeason({"monza"});
    ASSERT_TRUE(h.load());
    FormModel& m = h.m();
    const QString& line = h.ctl().lblInfo.caption;
    m.cmdMakeIni_MouseMove();
    const QString before = line;
    m.cmdChangeButton_MouseMove(4);
    EXPECT_EQ(line, before);
    m.lblGPLdir_MouseMove();
    EXPECT_TRUE(line.startsWith(u"Move over a menu"_s)) << line.toStdString();
    h.game.remove(u"driver.ini"_s);
    m.lblGPLdir_MouseMove();
    EXPECT_TRUE(line.startsWith(u"Your GPL directory is set incorrectly."_s)) << line.toStdString();
    m.mnuFile_Click(6);
    EXPECT_TRUE(m.takeReportRequest());
    m.mnuFile_Click(11);
    EXPECT_TRUE(m.closeRequested());
    m.lblMyMail_Click();
    EXPECT_EQ(h.shell.opened,
              std::vector<QString>{u"mailto:" GK_SUPPORT_MAIL "?Subject=Gridkeeper"_s});
}

} // namespace
} // namespace gk::test
