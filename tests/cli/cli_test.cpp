// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool run as a program over game folders, and its dialogs in its own process.
#include "cli_command.h"
#include "form_model.h"
#include "season/season_file.h"
#include "support/cli_rig.h"
#include "support/fakes.h"

#include <QDir>
#include <array>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gk::test {
namespace {

class Cli : public ::testing::Test, protected CliRig {
  protected:
    Cli() : CliRig(u"GPL"_s) {}
    // `args` is split at '|'.
    Result run(const char* args) {
        return CliRig::run(*args ? QString::fromUtf8(args).split(u'|') : QStringList());
    }
};

// One game folder through the commands: each step's exit status, its messages (none, where
// none are given) and output, and the lists "show" prints afterwards. A step that fails leaves
// the season as it was.
TEST_F(Cli, CommandsOnOneGameFolder) {
    game.addTracks({"a", "b", "c", "d"});
    game.writeSeason({"b", "a"});
    game.writeAllTracks({"b", "a", "c", "d", "c"});
    game.write(u"seasons/Broken.67s"_s, "[Event1]\r\nname=x\r\n");
    game.write(u"seasons/Only C.67s"_s, seasonOf({"c"}));
    game.write(u"tracks/c/track.ini"_s, "[ track ]\r\ntrack_name = Circuit C\r\n"
                                        "track_name_short=C\r\ntrack_length = 1.5 ; mi\r\n"
                                        "track_num_turns = 4\r\n");
    game.write(u"tracks/c/TRACK67.INI"_s, "");
    game.write(u"tracks/c/C.jpg"_s, "jpg");
    const QByteArray noDetails = "\nname=\nshort name=\nlength=\nturns=\nmods=\npicture=\n\n";
    // The game folder as the game sees it under Wine: Z: is "/".
    const QByteArray exe =
        "Z:" + game.dir().replace(u'/', u'\\').toUtf8() + "\\gpl.exe -ko\"20:Personal Information:";
    const struct {
        const char* args;
        int status;
        const char* err;        // contained in stderr; "": stderr is empty
        QByteArray out = {};    // the whole output, when given
        QByteArray shown = {};  // what "show" prints after the step, when given
        QByteArray season = {}; // 67season.ini as it is made before the step, when given
        const char* gone = {};  // a folder of the game removed before the step, when given
    } steps[] = {
        // clang-format off
        {"show", 0, "", "Active Tracks (2)\nb\na\nNon-Active Tracks (3)\nc\nd\nc\n"},
        {"--version", 0, "", "gridkeeper-cli " GK_VERSION "\n"},
        {"frobnicate", 2, "Usage: gridkeeper-cli"},
        {"", 2, "no command given"},
        {"--gpl-dir|/no/such/dir|show", 1, "GPL FOLDER...: GPL Dir not found"},
        {"command-line|--car|7", 2, "--car takes a car row from 0 to 6, or -1"},
        {"command-line|a b|--car|3", 0, "", exe + "lastTrackSelection:a b\" -ko\"20:Personal Information:team:3\"\n"},
        {"command-line", 0, "", exe + "team:-1\"\n"},
        {"activate|c", 0, "", {}, "Active Tracks (4)\nb\na\nc\nc\nNon-Active Tracks (1)\nd\n"},
        {"deactivate|a|c", 0, "", {}, "Active Tracks (1)\nb\nNon-Active Tracks (4)\nd\na\nc\nc\n"},
        {"sort|inactive", 0, "", {}, "Active Tracks (1)\nb\nNon-Active Tracks (4)\na\nc\nc\nd\n"},
        {"delete|c|d", 0, "", {}, "Active Tracks (1)\nb\nNon-Active Tracks (1)\na\n"},
        {"delete|zz", 1, "Gridkeeper: The track \"zz\" is in neither list."},
        {"activate|b", 1, "Gridkeeper: The track \"b\" is in neither list.", {}, "Active Tracks (1)\nb\nNon-Active Tracks (1)\na\n"},
        {"write|--alphabetical", 0, "Gridkeeper: 67season.ini created"},
        {"save-set|a/b", 1, "Save as: \"a/b\" can't be used"},
        {"save-set|Two", 0, ""},
        {"open-set|Broken", 3, "Error 62: Input past end of file"},
        {"sets", 0, "", "Broken\nOnly C\nTwo\n"},
        {"open-set|Only C", 0, "", {}, "Active Tracks (1)\nc\nNon-Active Tracks (2)\nb\na\n"},
        {"check", 0, "", "missing track files\n(none)\nnot found in 67AllTracks.ini\nd\nunknown folders\n(none)\n"},
        {"details|c|zz", 1, "details: no track folder \"zz\"", "folder=c\nname=Circuit C\nshort name=C\nlength=1.5\nturns=4\nmods=67\npicture=" + QFile::encodeName(game.path(u"tracks/c/C.jpg"_s)) + "\n\nfolder=zz" + noDetails},
        {"details|d", 0, "", "folder=d" + noDetails},
        // A row is taken back as the bytes "show" prints, though they are not UTF-8.
        {"deactivate|* caf\\xE9", 0, "", {}, "Active Tracks (1)\n* monza\nNon-Active Tracks (4)\nc\nb\na\n* caf\xE9\n", seasonOf({"monza", "caf\xE9"})},
        // A season that could not be read whole is not written back.
        {"write", 3, "Error 62: Input past end of file", {}, {}, seasonOf({"a"}) + "[Event2]\r\nn\r\n"},
        // A run-time error shown in a message box, as the report's box shows it.
        {"check", 3, "Error 76 (fncCheckTrackFolder): Path not found", {}, {}, seasonOf({"a"}), "tracks"},
        // clang-format on
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.args);
        if (!step.season.isEmpty())
            game.write(u"seasons/67season.ini"_s, step.season);
        if (step.gone) {
            ASSERT_TRUE(QDir(game.path(QString::fromLatin1(step.gone))).removeRecursively());
        }
        const QByteArray before = game.season();
        const Result r = run(step.args);
        EXPECT_EQ(r.status, step.status) << r.err.constData();
        EXPECT_TRUE(*step.err ? r.err.contains(step.err) : r.err.isEmpty()) << r.err.constData();
        // What a step does not give is not compared.
        EXPECT_TRUE(step.out.isEmpty() || r.out == step.out) << r.out.constData();
        if (!step.shown.isEmpty()) {
            EXPECT_EQ(run("show").out, step.shown);
        }
        EXPECT_TRUE(!step.status || game.season() == before) << game.season().constData();
    }
    // The game folder is never stored by the command-line tool.
    QFile settings(game.root() + u"/Gridkeeper.ini"_s);
    EXPECT_FALSE(settings.open(QIODevice::ReadOnly) && settings.readAll().contains("GPLDir"));
}

// The history and the restore: the list, a dry run that changes nothing, a restore that
// brings the earlier season back byte for byte, and the pairs that cannot be restored.
TEST_F(Cli, HistoryAndRestore) {
    game.addTracks({"a", "b", "c"});
    game.writeSeason({"b", "a"});
    game.writeAllTracks({"b", "a", "c"});
    const QByteArray original = game.season();
    const char* missing = "cannot be restored: 67season_previous.bak is missing";
    EXPECT_EQ(run("history").out, QByteArray("previous\t-\t") + missing + "\n");
    Result r = run("restore");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("67season_previous.bak is missing")) << r.err.constData();
    ASSERT_EQ(run("deactivate|a").status, 0);
    r = run("history");
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 3) << r.out.constData();
    EXPECT_TRUE(lines[0].startsWith("previous\t") && lines[0].endsWith("\t2 active\t3 in all"));
    EXPECT_TRUE(lines[1].endsWith("\t2 active\t3 in all")) << r.out.constData();
    const QByteArray written = game.season();
    r = run("restore|previous|--dry-run");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, lines[0] + "\nActive again: a\n");
    EXPECT_EQ(game.season(), written);
    EXPECT_EQ(run("restore").status, 0);
    EXPECT_EQ(game.season(), original);
    EXPECT_EQ(game.read(u"seasons/67season_previous.bak"_s), written);
    // The first write's history entry is the original too.
    const QByteArray name = lines[1].left(lines[1].indexOf('\t'));
    game.write(u"seasons/67season.ini"_s, seasonOf({"c"}));
    r = run(("restore|" + name).constData());
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(game.season(), original);
    // An unknown name is refused, with --dry-run too.
    r = run("restore|nothing|--dry-run");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("There is no earlier season named")) << r.err.constData();
    game.write(u"seasons/67AllTracks_previous.bak"_s, "[Event1]\r\nx\r\n");
    r = run("restore");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("67AllTracks_previous.bak")) << r.err.constData();
    EXPECT_EQ(game.season(), original);
}

// Writers at once take turns from their read to their write: every change survives, and the
// season files and backups are complete after every round.
TEST_F(Cli, ConcurrentWritersKeepEveryChange) {
    const QList<QByteArray> added = {"t0", "t1", "t2", "t3"};
    game.addTracks(added);
    for (int round = 0; round < 3; ++round) {
        game.writeSeason({"a"});
        game.writeAllTracks(QList<QByteArray>{"a"} + added);
        std::array<QProcess, 4> writers;
        for (size_t i = 0; i < writers.size(); ++i)
            start(writers[i], {u"activate"_s, QString::fromLatin1(added[static_cast<int>(i)])});
        for (QProcess& p : writers) {
            EXPECT_TRUE(p.waitForFinished(30000));
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        }
        // The season and all-tracks files, then their backups: the previous season lacks one.
        const QByteArrayList files = game.readSeasons();
        for (qsizetype f = 0; f < files.size(); ++f) {
            QList<QByteArray> read;
            scanEvents(files[f], [&](auto&&, QByteArray&& folder) { read.push_back(folder); });
            EXPECT_EQ(read.size(), f == 2 ? 4 : 5) << f << " round " << round;
            for (const QByteArray& track : added)
                EXPECT_TRUE(f == 2 || read.contains(track)) << f << " lost " << track.constData();
        }
    }
}

// A FIFO in place of a game file is no file: nothing waits for a writer that never comes.
TEST_F(Cli, AFifoIsNoFile) {
    game.writeSeason({"a"});
    game.writeAllTracks({"a"});
    game.write(u"App.ini"_s, "lastplayer = P\r\n");
    QDir(game.dir()).mkpath(u"Players/P"_s);
    for (const char* fifo : {"Players/P/player.ini", "seasons/fifo.67s"})
        ASSERT_EQ(
            ::mkfifo(QFile::encodeName(game.path(QString::fromLatin1(fifo))).constData(), 0644), 0);
    EXPECT_EQ(run("show").status, 0);
    const Result r = run("open-set|fifo");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("The track set \"fifo\" was not found")) << r.err.constData();
    game.remove(u"seasons/67season.ini"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(game.path(u"seasons/67season.ini"_s)).constData(), 0644),
              0);
    EXPECT_TRUE(run("show").err.contains("67season.ini was not found"));
}

// A full disk, out of blocks or of inodes, is "Disk full" wherever the write fails (here at
// the lock), and the season is untouched. The game folder lies on a small file system mounted
// in a namespace of its own (needs root; skipped elsewhere).
TEST_F(Cli, AFullDiskIsDiskFull) {
    game.writeSeason({"a"});
    game.writeAllTracks({"a", "b"});
    const char* const fillers[] = {
        // every inode taken (bounded by the file system's 64 inodes)
        "i=0; while [ $i -lt 100 ] && touch \"$1/f$i\" 2>/dev/null; do i=$((i+1)); done",
        // every block taken
        "dd if=/dev/zero of=\"$1/fill\" bs=4096 2>/dev/null; true",
    };
    for (const char* fill : fillers) {
        SCOPED_TRACE(fill);
        QProcess p;
        p.setProcessEnvironment(env);
        const QString script =
            u"mkdir -p \"$1\" && mount -t tmpfs -o size=256k,nr_inodes=64 tmpfs \"$1\" || exit 99\n"
            "cp -r \"$2\"/. \"$1\"/ && "_s +
            QString::fromLatin1(fill) +
            u"\n\"$3\" --gpl-dir \"$1\" write; s=$?\n"
            "cmp -s \"$1/seasons/67season.ini\" \"$2/seasons/67season.ini\" && echo same\n"
            "exit $s"_s;
        p.start(u"unshare"_s, {u"-m"_s, u"sh"_s, u"-c"_s, script, u"sh"_s, game.root() + u"/full"_s,
                               game.dir(), QStringLiteral(GK_CLI_PATH)});
        ASSERT_TRUE(p.waitForFinished(30000));
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() == 99 ||
            p.error() == QProcess::FailedToStart)
            GTEST_SKIP() << "no small file system could be mounted here";
        const QByteArray err = p.readAllStandardError();
        EXPECT_EQ(p.exitCode(), 3) << err.constData();
        EXPECT_TRUE(err.contains("Error 61: Disk full")) << err.constData();
        EXPECT_EQ(p.readAllStandardOutput(), "same\n");
    }
}

// Another program writes 67season.ini between the tool's read and its write: the question
// whether to write over that change is declined, nothing is written, and the exit status says
// that the command was not done.
TEST(CliDialogs, ADeclinedQuestionLeavesTheCommandUndone) {
    GameFolder game;
    game.writeSeason({"monza"});
    game.writeAllTracks({"monza"});
    FakeSettings settings;
    cli::CliDialogs dialogs;
    QtFileSystem files;
    FakeShell shell;
    FormModel model({settings, dialogs, files, shell});
    ASSERT_TRUE(model.Form_Load(game.dir()));
    ASSERT_EQ(dialogs.status, cli::Ok);
    game.write(u"seasons/67season.ini"_s, "edited");
    model.subCreateIniFiles(true);
    EXPECT_EQ(dialogs.status, cli::Refused);
    EXPECT_EQ(game.season(), "edited");
}

} // namespace
} // namespace gk::test
