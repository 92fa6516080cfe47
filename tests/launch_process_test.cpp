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

QString operator""_q(const char* text, size_t size) {
    return QString::fromUtf8(text, static_cast<qsizetype>(size));
}

const QByteArray kTricky = "a;b \"q\" $(touch x)`";
const QByteArray kReal = seasonOf({"monza", kTricky});

class LaunchProcess : public ::testing::Test {
  protected:
    LaunchProcess() {
        game.addTracks({"monza", "spa", kTricky});
        game.write("seasons/67season.ini"_q, kReal);
        game.writeAllTracks({"monza", kTricky, "spa"});
        game.write("gpl.exe"_q, "MZ");
        env.insert("GRIDKEEPER_CONFIG_DIR"_q, game.root());
        env.insert("WINE"_q, QStringLiteral(GK_FAKE_GAME));
        env.insert("GK_GAME_RECORD"_q, record);
    }
    // "run" with the arguments; with `hold` the game runs until the stop file appears.
    void start(QProcess& p, const QStringList& args, bool hold = false) {
        if (hold)
            env.insert("GK_GAME_STOP"_q, record + ".stop"_q);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(GK_CLI_PATH),
                QStringList{"--gpl-dir"_q, game.dir(), "run"_q} + args);
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
    void stopGame() { QFile(record + ".stop"_q).open(QIODevice::WriteOnly); }
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
    QByteArray season() { return game.read("seasons/67season.ini"_q); }
    QByteArray parked() { return game.read("seasons/gridkeeper.tmp"_q); }

    GameFolder game{"pfx/drive_c/Sierra/G PL"_q};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString record = game.root() + "/record"_q;
};

// An active track: the arguments reach the game as text. Then an inactive one that finds no
// Wine (the real season is back), and one whose season cannot be parked.
TEST_F(LaunchProcess, ArgumentsAsTextAndFailuresPutTheSeasonBack) {
    auto [status, err] = run({QString::fromLatin1(kTricky), "--car"_q, "3"_q});
    EXPECT_EQ(status, 0) << err.constData();
    // Split by the Windows rules; the space in the game folder splits the unquoted path.
    EXPECT_EQ(recorded("arg"_q), (QStringList{game.dir() + "/gpl.exe"_q, "PL\\gpl.exe"_q,
                                              "-ko20:Personal Information:lastTrackSelection:a;b "
                                              "q $(touch x)`"_q,
                                              "-ko20:Personal Information:team:3"_q}));
    EXPECT_EQ(recorded("cwd"_q), QStringList{game.dir()});
    EXPECT_EQ(recorded("WINEPREFIX"_q), QStringList{game.root() + "/pfx"_q});
    EXPECT_EQ(file(record + ".season"_q), kReal);
    EXPECT_FALSE(QFile::exists(game.dir() + "/x"_q));

    env.insert("WINE"_q, game.root() + "/no-wine"_q);
    std::tie(status, err) = run({"spa"_q});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.contains("Unable to find '")) << err.constData();
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(game.exists("seasons/gridkeeper.tmp"_q));
    // The real season cannot be parked: a run-time error, the season untouched.
    QDir(game.dir()).mkpath("seasons/gridkeeper.tmp"_q);
    std::tie(status, err) = run({"spa"_q});
    EXPECT_EQ(status, 3) << err.constData();
    EXPECT_TRUE(err.contains("Error 75: Path/File access error")) << err.constData();
}

// normal -> running (temporary season, real one parked) -> restored, with further launches
// while the game runs.
TEST_F(LaunchProcess, InactiveRunWalksTheSeasonFolder) {
    QProcess first;
    start(first, {"spa"_q}, true);
    ASSERT_TRUE(gameStarted());
    EXPECT_EQ(recorded("arg"_q).mid(2), QStringList{"-ko20:Personal Information:team:-1"_q});
    const QByteArray seen = file(record + ".season"_q);
    EXPECT_TRUE(seen.startsWith("[Season]\r\nname=Temporary") && seen.contains("Directory=spa\r"));
    EXPECT_EQ(season(), seen);
    EXPECT_EQ(parked(), kReal);

    // A second start finds the parked file (and, declining the recovery, the temporary season
    // whose one track is active): an inactive track is refused, an active one finds the game.
    auto [status, err] = run({"monza"_q});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(err.contains("gridkeeper.tmp already exists")) << err.constData();
    std::tie(status, err) = run({"spa"_q});
    EXPECT_TRUE(err.contains("GPL is already running")) << err.constData();
    EXPECT_EQ(parked(), kReal);

    stopGame();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().constData();
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(game.exists("seasons/gridkeeper.tmp"_q));
}

// The launcher is killed (SIGKILL) while the game of an inactive track runs.
TEST_F(LaunchProcess, LauncherKilledMidRun) {
    QProcess cli;
    start(cli, {"spa"_q}, true);
    ASSERT_TRUE(gameStarted());
    cli.kill();
    ASSERT_TRUE(cli.waitForFinished(30000));
    stopGame();
    EXPECT_EQ(parked(), kReal);

    // Accepted at the next start of the window: the real season is back, byte for byte.
    Harness h;
    h.dialogs.allowAnyMessage(Answer::Yes);
    ASSERT_TRUE(h.m().Form_Load(game.dir()));
    ASSERT_EQ(h.dialogs.shown().at(0).title, "Gridkeeper Crash Recovery"_q);
    EXPECT_EQ(season(), kReal);
    EXPECT_FALSE(game.exists("seasons/gridkeeper.tmp"_q));
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

    for (const QString& track : {"monza"_q, "spa"_q}) {
        SCOPED_TRACE(track.toStdString());
        QFile::remove(record);
        EXPECT_EQ(run({track, "--car"_q, "2"_q}).first, 0);
        const bool active = track == "monza"_q;
        const QString team = "-ko20:Personal Information:team:2"_q;
        EXPECT_EQ(recorded("arg"_q).mid(2), // after the program path, split at its space
                  (active
                       ? QStringList{"-ko20:Personal Information:lastTrackSelection:monza"_q, team}
                       : QStringList{team}));
        EXPECT_EQ(recorded("cwd"_q), QStringList{"C:\\Sierra\\G PL"_q});
        const QByteArray seen = file(record + ".season"_q);
        EXPECT_TRUE(active ? seen == kReal : seen.startsWith("[Season]\r\nname=Temporary"));
        EXPECT_EQ(season(), kReal);
        EXPECT_FALSE(game.exists("seasons/gridkeeper.tmp"_q));
    }
    boot.start("wineserver"_q, {"-k"_q});
    boot.waitForFinished(30000);
}

} // namespace
} // namespace gk::test
