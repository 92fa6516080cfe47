#include "season/season_file.h"
#include "support/game_folder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <unistd.h>

namespace gk::test {
namespace {

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class Cli : public ::testing::Test {
  protected:
    void start(QProcess& p, const QStringList& args, bool withDir = true) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("GRIDKEEPER_CONFIG_DIR"), config.path());
        p.setProcessEnvironment(env);
        QStringList all = args;
        if (withDir)
            all = QStringList{QStringLiteral("--gpl-dir"), game.dir()} + args;
        p.start(QStringLiteral(GK_CLI_PATH), all);
    }
    CliRun run(const QStringList& args, bool withDir = true) {
        QProcess p;
        start(p, args, withDir);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
    CliRun version() { return run({QStringLiteral("--version")}, false); }
    GameFolder game;
    QTemporaryDir config;
};

TEST_F(Cli, ShowPrintsCaptionsAndExactRows) {
    game.addTracks({"monza"});
    game.writeSeason({"monza", QByteArray("n\xFC", 2)});
    game.writeAllTracks({"monza", QByteArray("n\xFC", 2), "zolder"});
    const CliRun r = run({QStringLiteral("show")});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.out,
              QByteArray("Active Tracks (2)\nmonza\n* n\xFC\nNon-Active Tracks (1)\n* zolder\n"));
    // The game folder is never stored by the command-line tool.
    EXPECT_FALSE(QFile::exists(config.path() + QStringLiteral("/Gridkeeper.ini")) &&
                 QFile(config.path() + QStringLiteral("/Gridkeeper.ini")).size() > 0 && [&] {
                     QFile f(config.path() + QStringLiteral("/Gridkeeper.ini"));
                     f.open(QIODevice::ReadOnly);
                     return f.readAll().contains("GPLDir");
                 }());
}

TEST_F(Cli, CheckPrintsTheThreeReportColumns) {
    game.addTracks({"monza", "Kyalami"});
    game.writeSeason({"monza", "spa"});
    game.writeAllTracks({"monza", "spa"});
    const CliRun r = run({QStringLiteral("check")});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("missing track files\nspa\nnot found in 67AllTracks.ini\nKyalami\n"
                                "unknown folders\n(none)\n"));
}

TEST_F(Cli, ExitStatusesAndMessages) {
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
        {"unknown option", {QStringLiteral("--frob"), QStringLiteral("show")}, 2, "Unknown option"},
        {"empty folder",
         {QStringLiteral("--gpl-dir"), QString(), QStringLiteral("show")},
         2,
         "--gpl-dir needs a folder"},
        {"help", {QStringLiteral("--help")}, 0, ""},
        {"too many", {QStringLiteral("show"), QStringLiteral("x")}, 2, "show takes no arguments"},
        {"write option", {QStringLiteral("write"), QStringLiteral("--sideways")}, 2, "Usage"},
        {"write", {QStringLiteral("write")}, 0, "Gridkeeper: 67season.ini created"},
        {"missing set", {QStringLiteral("open-set"), QStringLiteral("Nope")}, 1, "was not found"},
        {"malformed set",
         {QStringLiteral("open-set"), QStringLiteral("Broken")},
         3,
         "Error 62: Input past end of file"},
        {"bad set name",
         {QStringLiteral("save-set"), QStringLiteral("a/b")},
         1,
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

TEST_F(Cli, WriteOrderAndOpenSet) {
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

TEST_F(Cli, RefusesToWriteASeasonItCouldNotReadWhole) {
    game.write(QStringLiteral("seasons/67season.ini"), seasonOf({"a"}) + "[Event2]\r\nn\r\n");
    game.writeAllTracks({"a"});
    const QByteArray before = game.read(QStringLiteral("seasons/67season.ini"));
    const CliRun r = run({QStringLiteral("write")});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.contains("Error 62: Input past end of file")) << r.err.constData();
    EXPECT_EQ(game.read(QStringLiteral("seasons/67season.ini")), before);
}

TEST_F(Cli, ListCommandsWriteTheSeason) {
    game.addTracks({"a", "b", "c", "d"});
    game.writeSeason({"b", "a"});
    game.writeAllTracks({"b", "a", "c", "d", "c"});
    struct Step {
        QStringList args;
        int status;
        QByteArray shown;
    };
    const auto show = [](const char* active, const char* inactive, int na, int ni) {
        return QByteArray("Active Tracks (") + QByteArray::number(na) + ")\n" + active +
               "Non-Active Tracks (" + QByteArray::number(ni) + ")\n" + inactive;
    };
    const std::vector<Step> steps = {
        {{QStringLiteral("activate"), QStringLiteral("c")}, 0, show("b\na\nc\nc\n", "d\n", 4, 1)},
        {{QStringLiteral("up"), QStringLiteral("a")}, 0, show("a\nb\nc\nc\n", "d\n", 4, 1)},
        {{QStringLiteral("deactivate"), QStringLiteral("b"), QStringLiteral("c")},
         0,
         show("a\n", "d\nb\nc\nc\n", 1, 4)},
        {{QStringLiteral("sort"), QStringLiteral("inactive")},
         0,
         show("a\n", "b\nc\nc\nd\n", 1, 4)},
        {{QStringLiteral("delete"), QStringLiteral("c"), QStringLiteral("d")},
         0,
         show("a\n", "b\n", 1, 1)},
        {{QStringLiteral("delete"), QStringLiteral("zz")}, 1, show("a\n", "b\n", 1, 1)},
        {{QStringLiteral("activate"), QStringLiteral("a")}, 1, show("a\n", "b\n", 1, 1)},
        {{QStringLiteral("deactivate"), QStringLiteral("a")}, 1, show("a\n", "b\n", 1, 1)},
        {{QStringLiteral("sort"), QStringLiteral("sideways")}, 2, show("a\n", "b\n", 1, 1)},
    };
    for (const Step& step : steps) {
        const QByteArray before = game.read(QStringLiteral("seasons/67season.ini"));
        const CliRun r = run(step.args);
        EXPECT_EQ(r.status, step.status)
            << step.args.join(QLatin1Char(' ')).toStdString() << ": " << r.err.constData();
        EXPECT_EQ(run({QStringLiteral("show")}).out, step.shown)
            << step.args.join(QLatin1Char(' ')).toStdString();
        if (step.status != 0) {
            EXPECT_EQ(game.read(QStringLiteral("seasons/67season.ini")), before);
        }
    }
    EXPECT_TRUE(run({QStringLiteral("delete"), QStringLiteral("zz")})
                    .err.contains("Gridkeeper: The track \"zz\" is in neither list."));
}

// Three writers at once wait for each other: each succeeds, and the season files and backups
// are complete after every round.
TEST_F(Cli, ConcurrentWritersLeaveCompleteFiles) {
    game.writeSeason({"a", "b"});
    game.writeAllTracks({"a", "b", "c"});
    for (int round = 0; round < 3; ++round) {
        std::array<QProcess, 3> writers;
        for (size_t i = 0; i < writers.size(); ++i)
            start(writers[i], {QStringLiteral("write"), i == 0 ? QStringLiteral("--alphabetical")
                                                               : QStringLiteral("--list-order")});
        for (QProcess& p : writers) {
            EXPECT_TRUE(p.waitForFinished(30000));
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        }
        for (const auto& [file, events] :
             {std::pair{"seasons/67season.ini", 2}, std::pair{"seasons/67AllTracks.ini", 3},
              std::pair{"seasons/67season_previous.bak", 2},
              std::pair{"seasons/67AllTracks_previous.bak", 3}}) {
            int read = 0;
            scanEvents(game.read(QString::fromLatin1(file)), [&](auto&&, auto&&) { ++read; });
            EXPECT_EQ(read, events) << file << " round " << round;
        }
    }
}

// A row printed as the season file's bytes is taken back as such, and a game folder whose name
// is not UTF-8 is found, relative to the caller's working directory.
TEST_F(Cli, TakesBackTheBytesItPrints) {
    game.writeSeason({"monza", QByteArray("caf\xE9", 4)});
    game.writeAllTracks({"monza", QByteArray("caf\xE9", 4)});
    QTemporaryDir caller;
    for (const QByteArray& name : {QByteArray("/gpl\xE9"), QByteArray("/plain")})
        ASSERT_EQ(::symlink(QFile::encodeName(game.dir()).constData(),
                            (QFile::encodeName(caller.path()) + name).constData()),
                  0);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("GRIDKEEPER_CONFIG_DIR"), config.path());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(caller.path());
    p.start(QStringLiteral("bash"),
            {QStringLiteral("-c"),
             QStringLiteral("\"$0\" --gpl-dir \"$(printf 'gpl\\351')\" deactivate "
                            "\"$(printf '* caf\\351')\" && exec \"$0\" --gpl-dir plain show"),
             QStringLiteral(GK_CLI_PATH)});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    EXPECT_EQ(p.readAllStandardOutput(),
              "Active Tracks (1)\n* monza\nNon-Active Tracks (1)\n* caf\xE9\n");
    EXPECT_EQ(version().out, "gridkeeper-cli " GK_VERSION "\n");
}

TEST_F(Cli, InvalidGameFolderIsRefused) {
    const CliRun r =
        run({QStringLiteral("--gpl-dir"), QStringLiteral("/no/such/dir"), QStringLiteral("show")},
            false);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("GPL FOLDER...: GPL Dir not found")) << r.err.constData();
}

TEST_F(Cli, CommandLinePrintsWhatParameterShows) {
    game.writeSeason({"monza"});
    game.writeAllTracks({"monza"});
    const QByteArray exe = game.dir().toUtf8() + "\\gpl.exe -ko\"20:Personal Information:";
    CliRun r = run({QStringLiteral("command-line"), QStringLiteral("a b"), QStringLiteral("--car"),
                    QStringLiteral("3")});
    EXPECT_EQ(r.out, exe + "lastTrackSelection:a b\" -ko\"20:Personal Information:team:3\"\n");
    EXPECT_EQ(run({QStringLiteral("command-line")}).out, exe + "team:-1\"\n");
    EXPECT_EQ(
        run({QStringLiteral("command-line"), QStringLiteral("--car"), QStringLiteral("7")}).status,
        2);
}

} // namespace
} // namespace gk::test
