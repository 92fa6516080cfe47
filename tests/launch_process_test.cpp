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

// normal -> running (temporary season, real one parked) -> restored, with further launches
// while the game runs.
TEST_F(LaunchProcess, InactiveRunWalksTheSeasonFolder) {
    QProcess first;
    start(first, {u"spa"_s}, true);
    ASSERT_TRUE(gameStarted());
    EXPECT_EQ(recorded(u"arg"_s).mid(2), QStringList{u"-ko20:Personal Information:team:-1"_s});
    const QByteArray seen = file(record + u".season"_s);
    EXPECT_TRUE(seen.startsWith("[Season]\r\nname=Temporary") && seen.contains("Directory=spa\r"));
    EXPECT_EQ(season(), seen);
    EXPECT_EQ(parked(), kReal);

    // A second start finds the parked file (and, declining the recovery, the temporary season
    // whose one track is active): an inactive track is refused, an active one finds the game.
    auto [status, err] = run({u"monza"_s});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.contains("gridkeeper.tmp already exists")) << err.constData();
    std::tie(status, err) = run({u"spa"_s});
    EXPECT_TRUE(err.contains("GPL is already running")) << err.constData();
    EXPECT_EQ(parked(), kReal);

    stopGame();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().constData();
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(game.exists(u"seasons/gridkeeper.tmp"_s));
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
