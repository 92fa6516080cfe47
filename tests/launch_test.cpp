#include "launch/command_line.h"
#include "platform/windows_args.h"
#include "support/harness.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

QString operator""_q(const char* text, size_t size) {
    return QString::fromLatin1(text, static_cast<qsizetype>(size));
}

QStringList strings(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts)
        out << QString::fromLatin1(t);
    return out;
}

TEST(Launch, CommandLine) {
    const struct {
        const char* dir;
        const char* track;
        int team;
        const char* expected;
    } cases[] = {
        {"C:\\Games\\GPL", "monza", 2,
         "C:\\Games\\GPL\\gpl.exe -ko\"20:Personal Information:lastTrackSelection:monza\" "
         "-ko\"20:Personal Information:team:2\""},
        {"C:\\Games\\GPL", "", -1,
         "C:\\Games\\GPL\\gpl.exe -ko\"20:Personal Information:team:-1\""},
        {"D:\\My Games\\GPL", "a b", 0,
         "D:\\My Games\\GPL\\gpl.exe -ko\"20:Personal Information:lastTrackSelection:a b\" "
         "-ko\"20:Personal Information:team:0\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gameCommandLine(QString::fromLatin1(c.dir), QString::fromLatin1(c.track), c.team),
                  QString::fromLatin1(c.expected));
}

TEST(Launch, WindowsArgumentSplit) {
    const struct {
        const char* line;
        std::initializer_list<const char*> args;
    } cases[] = {
        {"C:\\G\\gpl.exe -ko\"20:P I:team:2\"", {"C:\\G\\gpl.exe", "-ko20:P I:team:2"}},
        {"\"C:\\a b\\x.exe\"a  b\t", {"C:\\a b\\x.exe", "a", "b"}},
        {"x a\\\\\\\"b \\\\\\\\\"c d\" e\\f\\", {"x", "a\\\"b", "\\\\c d", "e\\f\\"}},
        {"x \"\" b \"\"\"\"\"\" \"a\"\"b\"", {"x", "", "b", "\"\"", "a\"b"}},
        {"x \"open end", {"x", "open end"}},
        {"x", {"x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitWindowsCommandLine(QString::fromLatin1(c.line)), strings(c.args)) << c.line;
    EXPECT_EQ(programCandidates(QStringLiteral("/a b/g.exe -ko")),
              strings({"/a", "/a b/g.exe", "/a b/g.exe -ko"}));
    EXPECT_EQ(winePrefixOf(QStringLiteral("/h/p x/drive_c/GPL")), QStringLiteral("/h/p x"));
    EXPECT_EQ(winePrefixOf(QStringLiteral("/h/GPL")), QString());
}

const QByteArray kReal = seasonOf({"monza", "* x"});

struct LaunchHarness : Harness {
    LaunchHarness() {
        game.addTracks({"monza", "spa"});
        game.write(QStringLiteral("seasons/67season.ini"), kReal);
        game.writeAllTracks({"monza", "spa"});
        game.write(QStringLiteral("gpl.exe"), "MZ");
        EXPECT_TRUE(load());
    }
    MessageBox box(const QString& text, const char* title, Icon icon, Buttons b = Buttons::Ok,
                   bool second = false) {
        QString t = text;
        t.replace(QLatin1String("DIR"), game.dir());
        return {t, QString::fromLatin1(title), b, icon, second};
    }
    void launch(const char* track) {
        ctl().txtRunTrack.text = track;
        m().cmdLaunchGPL_Click();
    }
};

TEST(Launch, ParameterBox) {
    LaunchHarness h;
    h.ctl().txtRunTrack.text = "monza";
    h.ctl().cboCarsIndex = -1;
    h.dialogs.expectMessage(h.box(
        QStringLiteral("With the options you choosed GPL will be started with the following "
                       "command line when you press the 'GPL' button:\r\n\r\nDIR\\gpl.exe "
                       "-ko\"20:Personal Information:lastTrackSelection:monza\" -ko\"20:Personal "
                       "Information:team:-1\""),
        "Parameter", Icon::Information));
    h.m().mnuHelp_Click(1);
}

// Every way a launch stops or goes on; afterwards the real season is in place unless the case
// says otherwise.
TEST(Launch, Departures) {
    const QString missingTrack = QStringLiteral(
        "The track \"%1\" was not found in your GPL\\tracks folder (missing track.ini).");
    const QString recovery = QStringLiteral(
        "The file DIR\\seasons\\gridkeeper.tmp already exists. It holds your real 67season.ini, "
        "parked by an earlier run of an inactive track that has not ended (GPL may still be "
        "running, or it crashed).\r\n\r\nThe track is not started, so that this file is not "
        "overwritten.\r\n\r\nShall gridkeeper.tmp be renamed to 67season.ini now?");
    const QString cmd = QStringLiteral("DIR\\gpl.exe -ko\"20:Personal Information:");
    const struct Case {
        const char* name;
        const char* track;
        std::function<void(LaunchHarness&)> setup;
        std::vector<std::tuple<QString, const char*, Icon, Buttons, bool, Answer>> boxes;
        QString started = {}; // command line of the game started, or ""
        QByteArray seasonAfter = kReal;
        bool parkedAfter = false;
    } cases[] = {
        {"active",
         "monza",
         {},
         {},
         cmd + "lastTrackSelection:monza\" -ko\"20:Personal Information:team:-1\""_q},
        {"no gpl.exe",
         "monza",
         [](auto& h) { h.game.remove(QStringLiteral("gpl.exe")); },
         {{QStringLiteral("The GPL.exe was not found in DIR"), "Can't find GPL.exe",
           Icon::Information, Buttons::Ok, false, Answer::Ok}}},
        {"running",
         "monza",
         [](auto& h) { h.processes.running = true; },
         {{QStringLiteral("GPL is already running"), "GPL already running", Icon::Information,
           Buttons::Ok, false, Answer::Ok}}},
        {"missing track, No",
         "monza",
         [](auto& h) { h.game.remove(QStringLiteral("tracks/monza/track.ini")); },
         {{missingTrack.arg("monza"_q).chopped(1) +
               QStringLiteral(". Do you want to run GPL anyway?"),
           "Missing Track", Icon::Exclamation, Buttons::YesNo, true, Answer::No}}},
        {"missing track, Yes",
         "monza",
         [](auto& h) { h.game.remove(QStringLiteral("tracks/monza/track.ini")); },
         {{missingTrack.arg("monza"_q).chopped(1) +
               QStringLiteral(". Do you want to run GPL anyway?"),
           "Missing Track", Icon::Exclamation, Buttons::YesNo, true, Answer::Yes}},
         cmd + "lastTrackSelection:monza\" -ko\"20:Personal Information:team:-1\""_q},
        {"unsaved, Cancel",
         "monza",
         [](auto& h) { h.ws().bolSeasonChanged = true; },
         {{QStringLiteral("You haven't saved your changes so far. Do you want to create the new "
                          "67season.ini now (recommended)?"),
           "Gridkeeper", Icon::Exclamation, Buttons::YesNoCancel, false, Answer::Cancel}}},
        {"inactive", "spa", {}, {}, cmd + "team:-1\""_q},
        {"in neither list",
         "Monza",
         {},
         {{QStringLiteral("Monza not found in inactive list."), "Gridkeeper", Icon::Exclamation,
           Buttons::Ok, false, Answer::Ok}}},
        {"inactive, missing track",
         "spa",
         [](auto& h) { h.game.remove(QStringLiteral("tracks/spa/track.ini")); },
         {{missingTrack.arg("spa"_q), "Missing Track", Icon::Exclamation, Buttons::Ok, false,
           Answer::Ok}}},
        {"inactive, no gpl.exe",
         "spa",
         [](auto& h) { h.game.remove(QStringLiteral("gpl.exe")); },
         {{QStringLiteral("GPL.exe not found in DIR"), "Gridkeeper", Icon::Exclamation, Buttons::Ok,
           false, Answer::Ok}}},
        {"inactive, running",
         "spa",
         [](auto& h) { h.processes.running = true; },
         {{QStringLiteral("GPL is already running"), "GPL already running", Icon::Information,
           Buttons::Ok, false, Answer::Ok}}},
        {"inactive, cannot start",
         "spa",
         [](auto& h) { h.processes.failStart = ErrorCode::FileNotFound; },
         {{QStringLiteral("Unable to find '") + cmd + "team:-1\"'"_q, "Gridkeeper", Icon::None,
           Buttons::Ok, false, Answer::Ok}}},
        {"inactive, seasons read-only",
         "spa",
         [](auto& h) {
             h.files.failPathContaining = QStringLiteral("gridkeeper.tmp");
             h.files.failure = ErrorCode::PermissionDenied;
         },
         {{QStringLiteral("Permission denied"), "Error 70", Icon::Critical, Buttons::Ok, false,
           Answer::Ok}}},
        {"parked file, declined",
         "spa",
         [](auto& h) { h.game.write(QStringLiteral("seasons/gridkeeper.tmp"), "parked"); },
         {{recovery, "Gridkeeper Crash Recovery", Icon::Exclamation, Buttons::YesNo, true,
           Answer::No}},
         {},
         kReal,
         true},
        {"parked file, recovered",
         "spa",
         [](auto& h) { h.game.write(QStringLiteral("seasons/gridkeeper.tmp"), "parked"); },
         {{recovery, "Gridkeeper Crash Recovery", Icon::Exclamation, Buttons::YesNo, true,
           Answer::Yes}},
         {},
         "parked"_q.toLatin1()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LaunchHarness h;
        if (c.setup)
            c.setup(h);
        for (const auto& [text, title, icon, buttons, second, answer] : c.boxes)
            h.dialogs.expectMessage(h.box(text, title, icon, buttons, second), answer);
        // Whatever a launch reports, it reports with the real season back in place.
        h.dialogs.onShow = [&](const MessageBox& box) {
            if (box.buttons == Buttons::Ok) {
                EXPECT_EQ(h.game.exists(QStringLiteral("seasons/gridkeeper.tmp")), c.parkedAfter);
            }
        };
        h.launch(c.track);
        h.dialogs.verify();
        QString started = c.started;
        started.replace(QLatin1String("DIR"), h.game.dir());
        EXPECT_EQ(h.processes.started,
                  c.started.isEmpty()
                      ? std::vector<QString>{}
                      : std::vector<QString>{started + QLatin1Char('|') + h.game.dir()});
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), c.seasonAfter);
        EXPECT_EQ(h.game.exists(QStringLiteral("seasons/gridkeeper.tmp")), c.parkedAfter);
        EXPECT_EQ(h.shell.busyDepth, 0);
    }
}

// The season folder while the game of an inactive track runs: the temporary season with the
// track's entries as edited, the real one parked.
TEST(Launch, InactiveRunSeasonFolder) {
    LaunchHarness h;
    h.ws().arrInactive[0].entry[5] = "numberOfLaps=3"; // an edit not yet saved
    bool ran = false;
    h.processes.duringGame = [&] {
        ran = true;
        QFile golden(QStringLiteral(GK_TEST_DATA "/launch/67season_temporary.ini"));
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), golden.readAll());
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/gridkeeper.tmp")), kReal);
        EXPECT_EQ(h.shell.busyDepth, 1);
    };
    h.launch("spa");
    EXPECT_TRUE(ran);
    EXPECT_EQ(h.game.seasonFiles(), strings({"67AllTracks.ini", "67season.ini"}));
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), kReal);
    EXPECT_EQ(h.shell.centred, 2); // once at start-up, once after the game
}

} // namespace
} // namespace gk::test
