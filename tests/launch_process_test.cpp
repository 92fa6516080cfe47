// Launches with real processes: gridkeeper-cli starts a stand-in game through the WINE
// variable, or the cross-built gpl.exe through real Wine.
#include "platform/windows_args.h"
#include "support/harness.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

QString operator""_q(const char* text, size_t size) {
    return QString::fromUtf8(text, static_cast<qsizetype>(size));
}

const QByteArray kTricky = "a;b \"q\" $(touch x)`";
const QByteArray kReal = seasonOf({"monza", kTricky});

struct CliResult {
    int status = -1;
    QByteArray err;
};

class LaunchProcess : public ::testing::Test {
  protected:
    explicit LaunchProcess(const QString& below = "pfx/drive_c/Sierra/G PL"_q) : game(below) {
        game.addTracks({"monza", "spa", kTricky});
        game.write("seasons/67season.ini"_q, kReal);
        game.writeAllTracks({"monza", kTricky, "spa"});
        game.write("gpl.exe"_q, "MZ");
        env.insert("GRIDKEEPER_CONFIG_DIR"_q, config.path());
        env.insert("WINE"_q, QStringLiteral(GK_FAKE_GAME));
        env.insert("GK_GAME_RECORD"_q, record);
    }
    // The game then runs until the stop file appears.
    void holdGame() { env.insert("GK_GAME_STOP"_q, stop); }
    void start(QProcess& p, const QStringList& args) {
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(GK_CLI_PATH),
                QStringList{"--gpl-dir"_q, game.dir(), "run"_q} + args);
    }
    CliResult run(const QStringList& args) {
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
    QByteArray file(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    QStringList recorded(const char* key) {
        QStringList out;
        for (const QString& line : QString::fromUtf8(file(record)).split(u'\n'))
            if (line.startsWith(QLatin1String(key) + QLatin1Char('=')))
                out << line.mid(static_cast<qsizetype>(std::strlen(key)) + 1);
        return out;
    }
    QByteArray season() { return game.read("seasons/67season.ini"_q); }
    bool parked() { return game.exists("seasons/gridkeeper.tmp"_q); }

    GameFolder game;
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString record = game.root() + "/record"_q;
    QString stop = game.root() + "/stop"_q;
};

TEST_F(LaunchProcess, ActiveTrackArgumentsAsText) {
    const CliResult r = run({QString::fromLatin1(kTricky), "--car"_q, "3"_q});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    // Split by the Windows rules; the space in the game folder splits the unquoted path.
    EXPECT_EQ(recorded("arg"), (QStringList{game.dir() + "/gpl.exe"_q, "PL\\gpl.exe"_q,
                                            "-ko20:Personal Information:lastTrackSelection:a;b q "
                                            "$(touch x)`"_q,
                                            "-ko20:Personal Information:team:3"_q}));
    EXPECT_EQ(recorded("cwd"), QStringList{game.dir()});
    EXPECT_EQ(recorded("WINEPREFIX"), QStringList{game.root() + "/pfx"_q});
    EXPECT_EQ(file(record + ".season"_q), kReal);
    EXPECT_FALSE(QFile::exists(game.dir() + "/x"_q));
}

// normal -> running (temporary season, real one parked) -> restored, with a second launch
// while the game runs.
TEST_F(LaunchProcess, InactiveRunWalksTheSeasonFolder) {
    holdGame();
    QProcess first;
    start(first, {"spa"_q});
    ASSERT_TRUE(gameStarted());
    EXPECT_EQ(recorded("arg").mid(2), QStringList{"-ko20:Personal Information:team:-1"_q});
    const QByteArray seen = file(record + ".season"_q);
    EXPECT_TRUE(seen.startsWith("[Season]\r\nname=Temporary 67season.ini with inactive track."));
    EXPECT_TRUE(seen.endsWith("[Event1]\r\nname=spa\r\nshortname=spa\r\ntrackDirectory=spa\r\n"
                              "month=6\r\nday=18\r\nnumberOfLaps=28\r\nstartingGrid=0\r\n\r\n"));
    EXPECT_EQ(season(), seen);
    EXPECT_EQ(game.read("seasons/gridkeeper.tmp"_q), kReal);

    // A second start finds the parked file (and, declining the recovery, the temporary season
    // whose one track is active): an inactive track is refused, an active one finds the game.
    CliResult second = run({"monza"_q});
    EXPECT_EQ(second.status, 1);
    EXPECT_TRUE(second.err.contains("gridkeeper.tmp already exists")) << second.err.constData();
    second = run({"spa"_q});
    EXPECT_TRUE(second.err.contains("GPL is already running")) << second.err.constData();
    EXPECT_EQ(game.read("seasons/gridkeeper.tmp"_q), kReal);

    QFile(stop).open(QIODevice::WriteOnly);
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().constData();
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(parked());
}

TEST_F(LaunchProcess, GameCrashOrNoWinePutsTheSeasonBack) {
    env.insert("GK_GAME_ABORT"_q, "1"_q);
    EXPECT_EQ(run({"spa"_q}).status, 0);
    EXPECT_TRUE(QFile::exists(record));
    env.insert("WINE"_q, game.root() + "/no-wine"_q);
    const CliResult r = run({"spa"_q});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Unable to find '")) << r.err.constData();
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(parked());
}

TEST_F(LaunchProcess, LauncherKilledMidRun) {
    holdGame();
    QProcess cli;
    start(cli, {"spa"_q});
    ASSERT_TRUE(gameStarted());
    cli.kill();
    ASSERT_TRUE(cli.waitForFinished(30000));
    QFile(stop).open(QIODevice::WriteOnly);
    const QByteArray temporary = season();

    // Recovery declined (the command line answers No): a new inactive run is refused.
    const CliResult refused = run({"monza"_q});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("gridkeeper.tmp already exists")) << refused.err.constData();
    EXPECT_EQ(season(), temporary);
    EXPECT_EQ(game.read("seasons/gridkeeper.tmp"_q), kReal);

    // Accepted at the next start: the real season is back, byte for byte.
    FakeSettings settings;
    FakeDialogs dialogs;
    QtFileSystem files;
    FakeShell shell;
    FakeProcesses processes;
    dialogs.allowAnyMessage(Answer::Yes);
    FormModel model({settings, dialogs, files, shell, &processes, &processes});
    ASSERT_TRUE(model.Form_Load(game.dir()));
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown()[0].title, "Gridkeeper Crash Recovery"_q);
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(parked());
}

// The cross-built gpl.exe through real Wine, in a fresh prefix holding the game folder.
TEST_F(LaunchProcess, RealWine) {
    if (QString(QStringLiteral(GK_GPL_EXE)).isEmpty() ||
        QStandardPaths::findExecutable("wine"_q).isEmpty()) {
        if (qEnvironmentVariable("GRIDKEEPER_REQUIRE_WINE") == "1"_q)
            FAIL() << "wine or x86_64-w64-mingw32-g++ is missing, and this run requires them";
        GTEST_SKIP() << "wine or x86_64-w64-mingw32-g++ is missing: real-Wine launch not tested";
    }
    env.remove("WINE"_q);
    env.insert("WINEPREFIX"_q, game.root() + "/pfx"_q);
    env.insert("WINEDEBUG"_q, "-all"_q);
    env.insert("WINEDLLOVERRIDES"_q, "mscoree,mshtml="_q);
    env.insert("GK_GAME_RECORD"_q, "Z:"_q + QString(record).replace(u'/', u'\\'));
    QProcess boot;
    boot.setProcessEnvironment(env);
    boot.start("wine"_q, {"wineboot"_q, "-i"_q});
    ASSERT_TRUE(boot.waitForFinished(300000) && boot.exitCode() == 0) << "wineboot failed";
    game.remove("gpl.exe"_q);
    ASSERT_TRUE(QFile::copy(QStringLiteral(GK_GPL_EXE), game.path("gpl.exe"_q)));

    for (const char* track : {"monza", "spa"}) {
        SCOPED_TRACE(track);
        QFile::remove(record);
        EXPECT_EQ(run({QString::fromLatin1(track), "--car"_q, "2"_q}).status, 0);
        const bool active = track == std::string("monza");
        const QString expected =
            game.dir() + "\\gpl.exe -ko\"20:Personal Information:"_q +
            (active ? "lastTrackSelection:monza\" -ko\"20:Personal Information:"_q : QString()) +
            "team:2\""_q;
        EXPECT_EQ(recorded("arg").mid(1), splitWindowsCommandLine(expected).mid(1));
        EXPECT_EQ(recorded("cwd"), QStringList{"C:\\Sierra\\G PL"_q});
        const QByteArray seen = file(record + ".season"_q);
        EXPECT_TRUE(active ? seen == kReal : seen.startsWith("[Season]\r\nname=Temporary"));
        EXPECT_EQ(season(), kReal);
        EXPECT_FALSE(parked());
    }
    boot.start("wineserver"_q, {"-k"_q});
    boot.waitForFinished(30000);
}

} // namespace
} // namespace gk::test
