// SPDX-License-Identifier: GPL-3.0-or-later
// Launches with real processes: gridkeeper-cli starts a stand-in game through the WINE
// variable, or the cross-built gpl.exe through real Wine.
#include "support/cli_rig.h"
#include "support/harness.h"

#include <QtCore>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace gk::test {
namespace {

const QByteArray kTricky = "a;b \"q\" $(touch x)`";
const QByteArray kCafe = "caf\xE9";
const QByteArray kReal = seasonOf({"monza", kTricky, kCafe});

// A game folder in a Wine prefix, gridkeeper-cli on it with a stand-in game set as WINE, and
// other processes that end with it.
struct Rig : CliRig {
    Rig() : CliRig(u"pfx/drive_c/Sierra/G PL"_s) {
        game.addTracks({"monza", "spa", kTricky, kCafe});
        game.write(u"seasons/67season.ini"_s, kReal);
        game.writeAllTracks({"monza", kTricky, kCafe, "spa"});
        game.write(u"gpl.exe"_s, "MZ");
        QFile(prefix() + u"/system.reg"_s).open(QIODevice::WriteOnly);
        env.insert(u"WINE"_s, QStringLiteral(GK_FAKE_GAME));
        env.insert(u"GK_GAME_RECORD"_s, record);
    }
    ~Rig() {
        for (auto& p : others) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    QString prefix() const { return game.root() + u"/pfx"_s; }
    // With `hold` the game runs until the stop file appears.
    void start(QProcess& p, const QStringList& args, bool hold = false) {
        if (hold)
            env.insert(u"GK_GAME_STOP"_s, record + u".stop"_s);
        CliRig::start(p, args);
    }
    // Starts `program` (as `name`, when given) with WINEPREFIX `winePrefix`, and waits (at most
    // 5 s) until it runs. A stand-in game runs 30 s.
    void startOther(const QString& program, const QStringList& args, const QString& winePrefix,
                    const QString& name = {}) {
        auto& p = *others.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(u"WINEPREFIX"_s, winePrefix);
        e.insert(u"GK_GAME_SECONDS"_s, u"30"_s);
        p.setProcessEnvironment(e);
        p.setProgram(u"bash"_s);
        p.setArguments(QStringList{u"-c"_s, u"exec -a \"$0\" \"$@\""_s,
                                   name.isEmpty() ? program : name, program} +
                       args);
        p.start();
        ASSERT_TRUE(p.waitForStarted(5000));
        const QString exe = u"/proc/%1/exe"_s.arg(p.processId());
        const QString target = QFileInfo(program).canonicalFilePath();
        for (int i = 0; i < 500 && QFileInfo(exe).canonicalFilePath() != target; ++i)
            QThread::msleep(10);
    }
    // Waits (at most 10 s) until the game has written its record.
    bool gameStarted() {
        for (int i = 0; i < 400 && !QFile::exists(record); ++i)
            QThread::msleep(25);
        return QFile::exists(record);
    }
    void stopGame() { QFile(record + u".stop"_s).open(QIODevice::WriteOnly); }
    QByteArray file(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    QStringList recorded(const QString& key) {
        return QString::fromUtf8(file(record))
            .split(u'\n')
            .filter(QRegularExpression(u'^' + key + u'='))
            .replaceInStrings(QRegularExpression(u'^' + key + u'='), QString());
    }

    QString record = game.root() + u"/record"_s;
    std::vector<std::unique_ptr<QProcess>> others;
};

class LaunchProcess : public ::testing::Test, protected Rig {};

// Starting the game where a fault would lie in a process: the environment Wine gets, what
// counts as a running game, Wine that cannot load the game, a folder Wine cannot be given, and
// the exit status. Arguments, variables and records are split at '|'; <ROOT>, <DIR> and <KO>
// stand for the rig's folders and the option's text.
TEST(LaunchProcessTable, StartingTheGame) {
    using R = Rig;
    const QString sleep = QStandardPaths::findExecutable(u"sleep"_s);
    // clang-format off
    // A copy of `sleep` named as Wine's loader, running under the name <DIR>/gpl.exe.
    const auto wineLoader = [sleep](R& r, const QString& winePrefix) {
        QDir().mkpath(r.game.root() + u"/bin"_s);
        ASSERT_TRUE(QFile::copy(sleep, r.game.root() + u"/bin/wine64"_s));
        r.startOther(r.game.root() + u"/bin/wine64"_s, {u"30"_s}, winePrefix, r.game.path(u"gpl.exe"_s));
    };
    const auto noPrefix = [](R& r) { QFile::remove(r.prefix() + u"/system.reg"_s); };
    const auto noTrackIni = [](R& r) { r.game.remove(u"tracks/monza/track.ini"_s); };
    const auto decoys = [&](R& r) {
        r.startOther(QStandardPaths::findExecutable(u"tail"_s), {r.game.path(u"gpl.exe"_s), u"-f"_s}, r.prefix());
        r.startOther(sleep, {u"30"_s}, r.prefix(), r.game.path(u"gpl.exe"_s));
        wineLoader(r, r.game.root() + u"/other"_s);
    };
    const auto nonUtf8Folder = [](R& r) {
        const QByteArray from = QFile::encodeName(r.game.root() + u"/pfx/drive_c/Sierra"_s);
        r.rawDir = from.chopped(1) + "\xE9/G PL";
        ASSERT_EQ(::rename(from.constData(), r.rawDir.chopped(5).constData()), 0);
    };
    const auto nonUtf8Link = [](R& r) { // named relative to the tool's working directory
        r.rawDir = "gpl\xE9";
        r.workingDir = r.game.root();
        ASSERT_EQ(::symlink(QFile::encodeName(r.game.dir()).constData(), (QFile::encodeName(r.game.root()) + "/gpl\xE9").constData()), 0);
    };
    // clang-format on
    const struct Case {
        const char *name, *args, *env; // env: "NAME=value" set for the tool
        std::function<void(R&)> setup;
        int status;
        const char* err;          // contained in stderr; "": stderr is empty
        const char* records = ""; // "key=value": the values the game recorded; none: it did not run
    } cases[] = {
        // clang-format off
        {"LC_ALL=C", "run|a;b \"q\" $(touch x)`|--car|3", "LC_ALL=C|LANG=C.UTF-8", {}, 0, "", "arg=<DIR>/gpl.exe|arg=PL\\gpl.exe|arg=<KO>lastTrackSelection:a;b q $(touch x)`|arg=<KO>team:3|cwd=<DIR>|WINEPREFIX=<ROOT>/pfx|codeset=UTF-8|numeric=C"},
        {"a drive_c that is no Wine prefix", "run|monza", "WINEPREFIX=<ROOT>/mine", noPrefix, 0, "", "arg=<DIR>/gpl.exe|arg=PL\\gpl.exe|arg=<KO>lastTrackSelection:monza|arg=<KO>team:-1|WINEPREFIX=<ROOT>/mine"},
        {"gpl.exe in a pager, another program, Wine of another prefix", "run|monza", "", decoys, 0, "", "cwd=<DIR>"},
        {"Wine running gpl.exe in the prefix", "run|monza", "", [&](R& r) { wineLoader(r, r.prefix()); }, 1, "GPL already running: GPL is already running"},
        {"the program WINE names running gpl.exe", "run|monza", "", [](R& r) { r.startOther(QStringLiteral(GK_FAKE_GAME), {r.game.path(u"gpl.exe"_s)}, r.prefix()); }, 1, "GPL already running: GPL is already running"},
        {"no Wine", "run|monza", "WINE=/none", {}, 1, "Gridkeeper: Unable to find 'C:\\Sierra\\G PL\\gpl.exe -ko\"20:Personal Information:lastTrackSelection:monza\" -ko\"20:Personal Information:team:-1\"'"},
        {"Wine cannot load the game", "run|spa", "GK_GAME_STDERR=wine32 is missing\nwine: cannot find L\"C:\\\\gpl.exe\"|GK_GAME_EXIT=53", {}, 1, "Gridkeeper: Wine could not start GPL:  wine: cannot find L\"C:\\\\gpl.exe\""},
        {"the game fails by itself", "run|monza", "GK_GAME_STDERR=err: crashed|GK_GAME_EXIT=3", {}, 0, "err: crashed"},
        {"Wine speaks, the game runs", "run|monza", "GK_GAME_STDERR=wine: configuration updated|GK_GAME_EXIT=0", {}, 0, "wine: configuration updated"},
        {"the season cannot be parked", "run|spa", "", [](R& r) { QDir(r.game.dir()).mkpath(u"seasons/gridkeeper.tmp"_s); }, 3, "Error 75: Path/File access error"},
        {"a game folder whose name is not UTF-8", "run|monza", "", nonUtf8Folder, 1, "Wine cannot start GPL from such a folder"},
        {"a missing track, declined", "run|monza", "", noTrackIni, 1, "Missing Track: The track \"monza\" was not found in your GPL\\tracks folder (missing track.ini). Do you want to run GPL anyway?\n"},
        {"a missing track, --yes", "run|monza|--yes", "", noTrackIni, 0, "Do you want to run GPL anyway? (yes)\n", "arg=<DIR>/gpl.exe|arg=PL\\gpl.exe|arg=<KO>lastTrackSelection:monza|arg=<KO>team:-1"},
        {"a relative link to it whose name is not UTF-8", "run|monza", "", nonUtf8Link, 0, "", "cwd=<DIR>|WINEPREFIX=<ROOT>/pfx"},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        R r;
        const auto fill = [&](const char* text) {
            return QString::fromUtf8(text)
                .replace(u"<ROOT>"_s, r.game.root())
                .replace(u"<DIR>"_s, r.game.dir())
                .replace(u"<KO>"_s, u"-ko20:Personal Information:"_s);
        };
        for (const QString& var : fill(c.env).split(u'|', Qt::SkipEmptyParts))
            r.env.insert(var.section(u'=', 0, 0), var.section(u'=', 1));
        if (c.setup)
            c.setup(r);
        const R::Result result = r.run(QString::fromUtf8(c.args).split(u'|'));
        EXPECT_EQ(result.status, c.status) << result.err.constData();
        EXPECT_TRUE(*c.err ? QString::fromUtf8(result.err).contains(fill(c.err))
                           : result.err.isEmpty())
            << result.err.constData();
        EXPECT_EQ(QFile::exists(r.record), *c.records != 0);
        QMap<QString, QStringList> expected;
        for (const QString& line : fill(c.records).split(u'|', Qt::SkipEmptyParts))
            expected[line.section(u'=', 0, 0)] << line.section(u'=', 1);
        for (auto [key, values] : expected.asKeyValueRange())
            EXPECT_EQ(r.recorded(key).join(u'|').toStdString(), values.join(u'|').toStdString());
        if (QFileInfo::exists(r.game.dir())) {
            EXPECT_EQ(r.game.season(), kReal);
            EXPECT_FALSE(r.game.exists(u"x"_s));
        }
    }
}

// normal -> running (temporary season, real one parked) -> restored. While the game runs,
// every other writer is refused before anything changes: the command-line tool, a second
// window, a launch; a text editor's write is kept aside when the season is put back.
TEST_F(LaunchProcess, ALiveRunKeepsTheSeasonFromEveryOtherWriter) {
    QProcess first;
    start(first, {u"run"_s, u"spa"_s}, true);
    ASSERT_TRUE(gameStarted());
    EXPECT_EQ(recorded(u"arg"_s).mid(2), QStringList{u"-ko20:Personal Information:team:-1"_s});
    const QByteArray temporary = file(record + u".season"_s);
    EXPECT_TRUE(temporary.startsWith("[Season]\r\nname=Temporary") &&
                temporary.contains("Directory=spa\r"));
    const auto files = [&] {
        return game.readSeasons({u"67season.ini"_s, u"gridkeeper.tmp"_s, u"67AllTracks.ini"_s,
                                 u"67season_previous.bak"_s, u"67AllTracks_previous.bak"_s});
    };
    const QByteArrayList during = files();
    EXPECT_EQ(during.mid(0, 2), (QByteArrayList{temporary, kReal}));

    // The command-line tool: writes refused, launches find the game running, the lists it shows
    // are the real season's.
    const auto refused = "GPL is running an inactive track: 67season.ini holds a temporary season";
    const auto running = "GPL is already running";
    const std::pair<QStringList, const char*> commands[] = {{{u"activate"_s, u"spa"_s}, refused},
                                                            {{u"write"_s}, refused},
                                                            {{u"run"_s, u"monza"_s}, running},
                                                            {{u"run"_s, u"spa"_s}, running}};
    for (const auto& [args, message] : commands) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 1) << args.join(u' ').toStdString() << r.err.constData();
        EXPECT_TRUE(r.err.contains(message)) << r.err.constData();
        EXPECT_FALSE(r.err.contains("Crash Recovery")) << r.err.constData();
    }

    // A second window: no crash recovery but why its writes are refused; the real season.
    {
        Harness h;
        // clang-format off
        h.dialogs.expectMessage({u"GPL is running an inactive track: your 67season.ini is parked as gridkeeper.tmp until the game ends, and a temporary season stands in its place.\r\n\r\nThe lists show your real season. Gridkeeper writes no season file until GPL has ended."_s,
                                 u"Gridkeeper"_s, Buttons::Ok, Icon::Information, MessageKind::Information});
        // clang-format on
        ASSERT_TRUE(h.m().Form_Load(game.dir()));
        EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"monza", kTricky, kCafe}));
        h.dialogs.expectMessage(kRunRefusal);
        h.m().cmdMakeIni_Click();
        // A track set opened meanwhile stays in the lists, unsaved.
        game.write(u"seasons/Only spa.67s"_s, seasonOf({"spa"}));
        h.dialogs.expectMessage(h.dialogs.shown().back());
        h.m().openTrackSet(u"Only spa"_s);
        EXPECT_EQ(texts(h.ws().ListTracks), Rows{"spa"});
        EXPECT_TRUE(h.ws().bolSeasonChanged);
    }
    EXPECT_EQ(files(), during);

    // A text editor saves 67season.ini; the game ends.
    game.write(u"seasons/67season.ini"_s, "edited");
    stopGame();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 1);
    // clang-format off
    EXPECT_TRUE(first.readAllStandardError().contains("67season.ini was changed by another program while GPL ran the inactive track. That file is kept as " +
                                                      game.dir().toUtf8() + "/seasons/67season_during_run.bak; your own season is back"));
    // clang-format on
    EXPECT_EQ(files(), (QByteArrayList{kReal, "-"} + during.mid(2)));
    EXPECT_EQ(game.read(u"seasons/67season_during_run.bak"_s), "edited");
}

// The launcher is killed (SIGKILL) while the game of an inactive track runs.
TEST_F(LaunchProcess, LauncherKilledMidRun) {
    QProcess cli;
    start(cli, {u"run"_s, u"spa"_s}, true);
    ASSERT_TRUE(gameStarted());
    cli.kill();
    ASSERT_TRUE(cli.waitForFinished(30000));
    stopGame();
    EXPECT_EQ(game.read(u"seasons/gridkeeper.tmp"_s), kReal);

    // The next start of the window asks. Declined, the lists show the season in place and the
    // parked one stays; accepted, the real season is back, byte for byte.
    // clang-format off
    const Message question{u"The file gridkeeper.tmp has been found in your GPL\\seasons folder.\r\n\r\nThis may indicate that your last GPL session crashed while \r\nrunning an track from the inactive list. If this is the case, the\r\nfile gridkeeper.tmp should be renamed to 67season.ini again.\r\n\r\nShall the file be renamed now?"_s,
                              u"Gridkeeper Crash Recovery"_s, Buttons::YesNo, Icon::Exclamation, QuestionId::CrashRecovery};
    // clang-format on
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        Harness h;
        h.dialogs.expectMessage(question, answer);
        ASSERT_TRUE(h.m().Form_Load(game.dir()));
        const bool declined = answer == Answer::No;
        EXPECT_EQ(texts(h.ws().ListTracks),
                  (declined ? Rows{"spa"} : Rows{"monza", kTricky, kCafe}));
        EXPECT_EQ(game.readSeasons({u"gridkeeper.tmp"_s}),
                  (QByteArrayList{declined ? kReal : "-"}));
    }
    EXPECT_EQ(game.season(), kReal);
}

// The cross-built gpl.exe through real Wine, in a fresh prefix holding the game folder, with a
// locale whose character set cannot hold the track's name.
TEST_F(LaunchProcess, RealWine) {
    if (QString(QStringLiteral(GK_GPL_EXE)).isEmpty() ||
        QStandardPaths::findExecutable(u"wine"_s).isEmpty()) {
        if (qEnvironmentVariable("GRIDKEEPER_REQUIRE_WINE") == u"1"_s)
            FAIL() << "wine or x86_64-w64-mingw32-g++ is missing, and this run requires them";
        GTEST_SKIP() << "wine or x86_64-w64-mingw32-g++ is missing: real-Wine launch not tested";
    }
    QFile::remove(prefix() + u"/system.reg"_s); // Wine makes its own
    env.remove(u"WINE"_s);
    env.insert(u"WINEPREFIX"_s, prefix());
    env.insert(u"WINEDEBUG"_s, u"-all"_s);
    env.insert(u"WINEDLLOVERRIDES"_s, u"mscoree,mshtml="_s);
    env.insert(u"LC_ALL"_s, u"C"_s);
    env.insert(u"GK_GAME_RECORD"_s, u"Z:"_s + QString(record).replace(u'/', u'\\'));
    QProcess boot;
    boot.setProcessEnvironment(env);
    boot.start(u"wine"_s, {u"wineboot"_s, u"-i"_s});
    ASSERT_TRUE(boot.waitForFinished(300000) && boot.exitCode() == 0) << "wineboot failed";
    game.remove(u"gpl.exe"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(GK_GPL_EXE), game.path(u"gpl.exe"_s)));

    for (const QString& track : {u"caf\u00e9"_s, u"spa"_s}) {
        SCOPED_TRACE(track.toStdString());
        QFile::remove(record);
        EXPECT_EQ(run({u"run"_s, track, u"--car"_s, u"2"_s}).status, 0);
        const bool active = track != u"spa"_s;
        const QString team = u"-ko20:Personal Information:team:2"_s;
        const QString track1 = u"-ko20:Personal Information:lastTrackSelection:"_s + track;
        EXPECT_EQ(recorded(u"arg"_s).mid(2).join(u'|').toStdString(), // after the split exe
                  (active ? track1 + u'|' + team : team).toStdString());
        EXPECT_EQ(recorded(u"cwd"_s), QStringList{u"C:\\Sierra\\G PL"_s});
        const QByteArray seen = file(record + u".season"_s);
        EXPECT_TRUE(active ? seen == kReal : seen.startsWith("[Season]\r\nname=Temporary"));
        EXPECT_EQ(game.season(), kReal);
        EXPECT_FALSE(game.exists(u"seasons/gridkeeper.tmp"_s));
    }
    boot.start(u"wineserver"_s, {u"-k"_s});
    boot.waitForFinished(30000);
}

} // namespace
} // namespace gk::test
