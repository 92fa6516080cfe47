// Launches with real processes: gridkeeper-cli starts a stand-in game through the WINE
// variable, or the cross-built gpl.exe through real Wine.
#include "support/harness.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

const QByteArray kTricky = "a;b \"q\" $(touch x)`";
const QByteArray kReal = seasonOf({"monza", kTricky});

class LaunchProcess : public ::testing::Test {
  protected:
    LaunchProcess() {
        game.addTracks({"monza", "spa", kTricky});
        game.write(u"seasons/67season.ini"_s, kReal);
        game.writeAllTracks({"monza", kTricky, "spa"});
        game.write(u"gpl.exe"_s, "MZ");
        env.insert(u"GRIDKEEPER_CONFIG_DIR"_s, game.root());
        env.insert(u"WINE"_s, QStringLiteral(GK_FAKE_GAME));
        env.insert(u"GK_GAME_RECORD"_s, record);
    }
    // "run" with the arguments; with `hold` the game runs until the stop file appears.
    void start(QProcess& p, const QStringList& args, bool hold = false) {
        if (hold)
            env.insert(u"GK_GAME_STOP"_s, record + u".stop"_s);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(GK_CLI_PATH),
                QStringList{u"--gpl-dir"_s, game.dir(), u"run"_s} + args);
    }
    std::pair<int, QByteArray> run(const QStringList& args) {
        QProcess p;
        start(p, args);
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), p.readAllStandardError()};
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
    QByteArray season() { return game.read(u"seasons/67season.ini"_s); }
    QByteArray parked() { return game.read(u"seasons/gridkeeper.tmp"_s); }

    GameFolder game{u"pfx/drive_c/Sierra/G PL"_s};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString record = game.root() + u"/record"_s;
};

// An active track: the arguments reach the game as text. Then an inactive one whose season
// cannot be parked.
TEST_F(LaunchProcess, ArgumentsAsTextAndFailuresPutTheSeasonBack) {
    auto [status, err] = run({QString::fromLatin1(kTricky), u"--car"_s, u"3"_s});
    EXPECT_EQ(status, 0) << err.constData();
    // Split by the Windows rules; the space in the game folder splits the unquoted path.
    EXPECT_EQ(recorded(u"arg"_s), (QStringList{game.dir() + u"/gpl.exe"_s, u"PL\\gpl.exe"_s,
                                               "-ko20:Personal Information:lastTrackSelection:a;b "
                                               u"q $(touch x)`"_s,
                                               u"-ko20:Personal Information:team:3"_s}));
    EXPECT_EQ(recorded(u"cwd"_s), QStringList{game.dir()});
    EXPECT_EQ(recorded(u"WINEPREFIX"_s), QStringList{game.root() + u"/pfx"_s});
    EXPECT_EQ(file(record + u".season"_s), kReal);
    EXPECT_FALSE(QFile::exists(game.dir() + u"/x"_s));

    // The real season cannot be parked: a run-time error, the season untouched.
    QDir(game.dir()).mkpath(u"seasons/gridkeeper.tmp"_s);
    std::tie(status, err) = run({u"spa"_s});
    EXPECT_EQ(status, 3) << err.constData();
    EXPECT_TRUE(err.contains("Error 75: Path/File access error")) << err.constData();
    EXPECT_EQ(season(), kReal);
}

// normal -> running (temporary season, real one parked) -> restored. While the game runs,
// every other writer is refused before anything changes: the command-line tool, a second
// window, a launch; a text editor's write is kept aside when the season is put back.
TEST_F(LaunchProcess, ALiveRunKeepsTheSeasonFromEveryOtherWriter) {
    QProcess first;
    start(first, {u"spa"_s}, true);
    ASSERT_TRUE(gameStarted());
    EXPECT_EQ(recorded(u"arg"_s).mid(2), QStringList{u"-ko20:Personal Information:team:-1"_s});
    const QByteArray temporary = file(record + u".season"_s);
    EXPECT_TRUE(temporary.startsWith("[Season]\r\nname=Temporary") &&
                temporary.contains("Directory=spa\r"));
    const QStringList names = {u"67season.ini"_s, u"gridkeeper.tmp"_s, u"67AllTracks.ini"_s,
                               u"67season_previous.bak"_s, u"67AllTracks_previous.bak"_s};
    const auto files = [&] {
        QByteArrayList bytes;
        for (const QString& name : names)
            bytes << file(game.path(u"seasons/"_s + name));
        return bytes;
    };
    const QByteArrayList during = files();
    EXPECT_EQ(during.mid(0, 2), (QByteArrayList{temporary, kReal}));

    // The command-line tool: writes refused, launches find the game running, the lists it shows
    // are the real season's.
    const auto refused = "GPL is running an inactive track: 67season.ini holds a temporary season";
    const auto running = "GPL is already running";
    // clang-format off
    const std::vector<std::tuple<QStringList, int, const char*>> commands = {
        {{u"activate"_s, u"spa"_s}, 1, refused},
        {{u"write"_s}, 1, refused},
        {{u"run"_s, u"monza"_s}, 0, running},
        {{u"run"_s, u"spa"_s}, 0, running},
    };
    // clang-format on
    for (const auto& [args, status, message] : commands) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(GK_CLI_PATH), QStringList{u"--gpl-dir"_s, game.dir()} + args);
        ASSERT_TRUE(p.waitForFinished(30000));
        const QByteArray err = p.readAllStandardError();
        EXPECT_EQ(p.exitCode(), status) << args.join(u' ').toStdString() << err.constData();
        EXPECT_TRUE(err.contains(message)) << err.constData();
        EXPECT_FALSE(err.contains("Crash Recovery")) << err.constData();
    }

    // A second window: no crash recovery but why its writes are refused; the real season.
    {
        Harness h;
        h.dialogs.expectMessage(
            {u"GPL is running an inactive track: your 67season.ini is parked as gridkeeper.tmp "
             "until the game ends, and a temporary season stands in its place.\r\n\r\nThe "
             "lists show your real season. Gridkeeper writes no season file until GPL has "
             "ended."_s,
             u"Gridkeeper"_s, Buttons::Ok, Icon::Information});
        ASSERT_TRUE(h.m().Form_Load(game.dir()));
        EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monza", kTricky}));
        h.dialogs.expectMessage(gkBox(
            u"GPL is running an inactive track: 67season.ini holds a temporary season until the "
            "game ends.\r\n\r\nNothing was written. Save again after GPL has ended."_s));
        h.m().cmdMakeIni_Click();
        // A track set opened meanwhile stays in the lists, unsaved.
        game.write(u"seasons/Only spa.67s"_s, seasonOf({"spa"}));
        h.dialogs.expectMessage(h.dialogs.shown().back());
        h.m().openTrackSet(u"Only spa"_s);
        EXPECT_EQ(h.ws().ListTracks.rows, Rows{"spa"});
        EXPECT_TRUE(h.ws().bolSeasonChanged);
    }
    EXPECT_EQ(files(), during);

    // A text editor saves 67season.ini; the game ends.
    game.write(u"seasons/67season.ini"_s, "edited");
    stopGame();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 1);
    EXPECT_TRUE(first.readAllStandardError().contains(
        "67season.ini was changed by another program while GPL ran the inactive track. That "
        "file is kept as " +
        game.dir().toUtf8() + "\\seasons\\67season_during_run.bak; your own season is back"));
    EXPECT_EQ(files(), (QByteArrayList{kReal, "(missing)"} + during.mid(2)));
    EXPECT_EQ(game.read(u"seasons/67season_during_run.bak"_s), "edited");
}

// The launcher is killed (SIGKILL) while the game of an inactive track runs.
TEST_F(LaunchProcess, LauncherKilledMidRun) {
    QProcess cli;
    start(cli, {u"spa"_s}, true);
    ASSERT_TRUE(gameStarted());
    cli.kill();
    ASSERT_TRUE(cli.waitForFinished(30000));
    stopGame();
    EXPECT_EQ(parked(), kReal);

    // Accepted at the next start of the window: the real season is back, byte for byte.
    Harness h;
    h.dialogs.allowAnyMessage(Answer::Yes);
    ASSERT_TRUE(h.m().Form_Load(game.dir()));
    ASSERT_EQ(h.dialogs.shown().at(0).title, u"Gridkeeper Crash Recovery"_s);
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(game.exists(u"seasons/gridkeeper.tmp"_s));
}

// The cross-built gpl.exe through real Wine, in a fresh prefix holding the game folder.
TEST_F(LaunchProcess, RealWine) {
    if (QString(QStringLiteral(GK_GPL_EXE)).isEmpty() ||
        QStandardPaths::findExecutable(u"wine"_s).isEmpty()) {
        if (qEnvironmentVariable("GRIDKEEPER_REQUIRE_WINE") == u"1"_s)
            FAIL() << "wine or x86_64-w64-mingw32-g++ is missing, and this run requires them";
        GTEST_SKIP() << "wine or x86_64-w64-mingw32-g++ is missing: real-Wine launch not tested";
    }
    env.remove(u"WINE"_s);
    env.insert(u"WINEPREFIX"_s, game.root() + u"/pfx"_s);
    env.insert(u"WINEDEBUG"_s, u"-all"_s);
    env.insert(u"WINEDLLOVERRIDES"_s, u"mscoree,mshtml="_s);
    env.insert(u"GK_GAME_RECORD"_s, u"Z:"_s + QString(record).replace(u'/', u'\\'));
    QProcess boot;
    boot.setProcessEnvironment(env);
    boot.start(u"wine"_s, {u"wineboot"_s, u"-i"_s});
    ASSERT_TRUE(boot.waitForFinished(300000) && boot.exitCode() == 0) << "wineboot failed";
    game.remove(u"gpl.exe"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(GK_GPL_EXE), game.path(u"gpl.exe"_s)));

    for (const QString& track : {u"monza"_s, u"spa"_s}) {
        SCOPED_TRACE(track.toStdString());
        QFile::remove(record);
        EXPECT_EQ(run({track, u"--car"_s, u"2"_s}).first, 0);
        const bool active = track == u"monza"_s;
        const QString team = u"-ko20:Personal Information:team:2"_s;
        EXPECT_EQ(recorded(u"arg"_s).mid(2), // after the program path, split at its space
                  (active
                       ? QStringList{u"-ko20:Personal Information:lastTrackSelection:monza"_s, team}
                       : QStringList{team}));
        EXPECT_EQ(recorded(u"cwd"_s), QStringList{u"C:\\Sierra\\G PL"_s});
        const QByteArray seen = file(record + u".season"_s);
        EXPECT_TRUE(active ? seen == kReal : seen.startsWith("[Season]\r\nname=Temporary"));
        EXPECT_EQ(season(), kReal);
        EXPECT_FALSE(game.exists(u"seasons/gridkeeper.tmp"_s));
    }
    boot.start(u"wineserver"_s, {u"-k"_s});
    boot.waitForFinished(30000);
}

} // namespace
} // namespace gk::test
