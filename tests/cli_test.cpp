#include "support/game_folder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class Cli : public ::testing::Test {
protected:
    CliRun run(const QStringList& args, bool withDir = true)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("GRIDKEEPER_CONFIG_DIR"), config.path());
        p.setProcessEnvironment(env);
        QStringList all = args;
        if (withDir)
            all = QStringList{QStringLiteral("--gpl-dir"), game.dir()} + args;
        p.start(QStringLiteral(GK_CLI_PATH), all);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
    GameFolder game;
    QTemporaryDir config;
};

TEST_F(Cli, ShowPrintsCaptionsAndExactRows)
{
    game.addTracks({"monza"});
    game.writeSeason({"monza", QByteArray("n\xFC", 2)});
    game.writeAllTracks({"monza", QByteArray("n\xFC", 2), "zolder"});
    const CliRun r = run({QStringLiteral("show")});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("Active Tracks (2)\nmonza\n* n\xFC\nNon-Active Tracks (1)\n* zolder\n"));
    // The game folder is never stored by the command-line tool.
    EXPECT_FALSE(QFile::exists(config.path() + QStringLiteral("/Gridkeeper.ini")) &&
                 QFile(config.path() + QStringLiteral("/Gridkeeper.ini")).size() > 0 &&
                 [&] {
                     QFile f(config.path() + QStringLiteral("/Gridkeeper.ini"));
                     f.open(QIODevice::ReadOnly);
                     return f.readAll().contains("GPLDir");
                 }());
}

TEST_F(Cli, ExitStatusesAndMessages)
{
    struct Case {
        const char* name;
        QStringList args;
        int status;
        QByteArray errContains;
    };
    game.writeSeason({"a", "b"});
    game.writeAllTracks({"a", "b", "c"});
    game.write(QStringLiteral("seasons/Broken.67s"), "[Event1]\r\nname=x\r\n");
    const std::vector<Case> cases = {
        {"usage", {QStringLiteral("frobnicate")}, 2, "Usage: gridkeeper-cli"},
        {"no command", {}, 2, "no command given"},
        {"write option", {QStringLiteral("write"), QStringLiteral("--sideways")}, 2, "Usage"},
        {"write", {QStringLiteral("write")}, 0, "Gridkeeper: 67season.ini created"},
        {"missing set", {QStringLiteral("open-set"), QStringLiteral("Nope")}, 1, "was not found"},
        {"malformed set", {QStringLiteral("open-set"), QStringLiteral("Broken")}, 3,
         "Error 62: Input past end of file"},
        {"bad set name", {QStringLiteral("save-set"), QStringLiteral("a/b")}, 1,
         "Save as: \"a/b\" can't be used"},
        {"save set", {QStringLiteral("save-set"), QStringLiteral("Two")}, 0, ""},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.constData();
        EXPECT_TRUE(r.err.contains(c.errContains)) << c.name << ": " << r.err.constData();
    }
    EXPECT_TRUE(game.exists(QStringLiteral("seasons/Two.67s")));
    const CliRun sets = run({QStringLiteral("sets")});
    EXPECT_EQ(sets.out, "Broken\nTwo\n");
}

TEST_F(Cli, WriteOrderAndOpenSet)
{
    game.writeSeason({"b", "a"});
    game.writeAllTracks({"b", "a", "c"});
    EXPECT_EQ(run({QStringLiteral("write"), QStringLiteral("--alphabetical")}).status, 0);
    EXPECT_TRUE(game.read(QStringLiteral("seasons/67season.ini"))
                    .contains("name=All Tracks In Alphabetical Order (active tracks first)"));
    EXPECT_EQ(run({QStringLiteral("show")}).out,
              "Active Tracks (2)\n* a\n* b\nNon-Active Tracks (1)\n* c\n");
    game.write(QStringLiteral("seasons/Only C.67s"), seasonOf({"c"}));
    const CliRun open = run({QStringLiteral("open-set"), QStringLiteral("Only C")});
    EXPECT_EQ(open.status, 0) << open.err.constData();
    EXPECT_EQ(run({QStringLiteral("show")}).out,
              "Active Tracks (1)\n* c\nNon-Active Tracks (2)\n* b\n* a\n");
}

TEST_F(Cli, RefusesToWriteASeasonItCouldNotReadWhole)
{
    game.write(QStringLiteral("seasons/67season.ini"), seasonOf({"a"}) + "[Event2]\r\nn\r\n");
    game.writeAllTracks({"a"});
    const QByteArray before = game.read(QStringLiteral("seasons/67season.ini"));
    const CliRun r = run({QStringLiteral("write")});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.contains("Error 62: Input past end of file")) << r.err.constData();
    EXPECT_EQ(game.read(QStringLiteral("seasons/67season.ini")), before);
}

TEST_F(Cli, InvalidGameFolderIsRefused)
{
    const CliRun r = run({QStringLiteral("--gpl-dir"), QStringLiteral("/no/such/dir"), QStringLiteral("show")},
                      false);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("GPL FOLDER...: GPL Dir not found")) << r.err.constData();
}

} // namespace
} // namespace gk::test
