#include "season/season_writer.h"
#include "support/harness.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Rows = std::vector<QByteArray>;

QByteArray golden(const char* name) {
    QFile file(QStringLiteral(GK_TEST_DATA "/writer/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

const MessageBox kCreated{QStringLiteral("67season.ini created"), QStringLiteral("Gridkeeper"),
                          Buttons::Ok, Icon::Information};

// The writer's game folder: active monza, Kyalami, * spa, monaco; inactive brands, oulton.
void loadWriterGame(Harness& h) {
    h.game.addTracks({"monza", "Kyalami", "monaco", "brands", "oulton"});
    h.game.write(QStringLiteral("seasons/67season.ini"), golden("input_67season.ini"));
    h.game.write(QStringLiteral("seasons/67AllTracks.ini"), golden("input_67AllTracks.ini"));
    ASSERT_TRUE(h.load());
    ASSERT_EQ(h.ws().ListTracks.rows, (Rows{"monza", "Kyalami", "* spa", "monaco"}));
    ASSERT_EQ(h.ws().listNotActive.rows, (Rows{"brands", "oulton"}));
}

TEST(Writer, ListOrderMatchesTheGoldenFilesAndKeepsBackups) {
    Harness h;
    loadWriterGame(h);
    h.ws().bolSeasonChanged = true;
    h.dialogs.expectMessage(kCreated);
    h.m().cmdMakeIni_Click();
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), golden("67season_list.ini"));
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks.ini")), golden("67AllTracks.ini"));
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season_previous.bak")),
              golden("input_67season.ini"));
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks_previous.bak")),
              golden("input_67AllTracks.ini"));
    EXPECT_FALSE(h.ws().bolSeasonChanged);
    EXPECT_EQ(h.shell.busyDepth, 0);
    EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monza", "Kyalami", "* spa", "monaco"}));
    EXPECT_EQ(
        h.game.seasonFiles(),
        (QStringList{QStringLiteral("67AllTracks.ini"), QStringLiteral("67AllTracks_previous.bak"),
                     QStringLiteral("67season.ini"), QStringLiteral("67season_previous.bak")}));

    // A second write: the backups now hold what the first one wrote.
    h.dialogs.expectMessage(kCreated);
    h.m().cmdMakeIni_Click();
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season_previous.bak")),
              golden("67season_list.ini"));
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks_previous.bak")),
              golden("67AllTracks.ini"));
}

TEST(Writer, AlphabeticalOrderMatchesTheGoldenFilesAndReloads) {
    Harness h;
    loadWriterGame(h);
    h.ctl().chkSort = 1;
    h.ctl().txtRunTrack.text = "monza";
    h.m().subCreateIniFiles(true); // mute: no message
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")),
              golden("67season_alphabetical.ini"));
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks.ini")), golden("67AllTracks.ini"));
    EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"* spa", "Kyalami", "monaco", "monza"}));
    EXPECT_EQ(h.ws().listNotActive.rows, (Rows{"brands", "oulton"}));
    EXPECT_EQ(foldersOf(h.ws().arrActive), (Rows{"spa", "Kyalami", "monaco", "monza"}));
    EXPECT_TRUE(h.ctl().txtRunTrack.text.isEmpty());
}

TEST(Writer, TrackSetsMatchTheGoldenFiles) {
    struct Case {
        const char* name;
        int chkSort;
        bool empty;
        const char* golden;
    };
    for (const Case& c : {Case{"list", 0, false, "trackset_list.67s"},
                          Case{"alphabetical", 1, false, "trackset_alphabetical.67s"},
                          Case{"empty", 0, true, "trackset_empty.67s"}}) {
        Harness h;
        loadWriterGame(h);
        h.ctl().chkSort = c.chkSort;
        if (c.empty) {
            h.ws().ListTracks.clear();
            h.ws().arrActive.clear();
        }
        ASSERT_TRUE(h.m().saveTrackSet(QStringLiteral("Set")));
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/Set.67s")), golden(c.golden)) << c.name;
        // Only the set is written.
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")),
                  golden("input_67season.ini"));
        EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/67season_previous.bak")));
    }
}

// Extra lines after the seventh entry and every byte but CR and LF travel with their event
// through a load and a write, into both files, the inactive list and a track set.
TEST(Writer, EveryLineOfAnEventTravelsWithIt) {
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            everyByte.append(static_cast<char>(b));
    std::vector<EventEntries> active = {makeEvent("monza", everyByte), makeEvent("spa")};
    active[0].extra = {"displayName=Gran Premio d'Italia", everyByte};
    // A second race at monza, inactive.
    std::vector<EventEntries> inactive = {makeEvent("monza", "Coppa"), makeEvent("brands")};
    inactive[0].extra = {"; non-championship"};
    const QByteArray season = seasonBytes(active, "All Tracks In Custom Order");
    const QByteArray all = allTracksFileBytes(active, inactive);
    ASSERT_TRUE(all.contains("startingGrid=0\r\n; non-championship\r\n\r\n[Event2]"));
    Harness h;
    h.game.addTracks({"monza", "spa", "brands"});
    h.game.write(QStringLiteral("seasons/67season.ini"), season);
    h.game.write(QStringLiteral("seasons/67AllTracks.ini"), all);
    ASSERT_TRUE(h.load());
    EXPECT_EQ(h.ws().listNotActive.rows, (Rows{"monza", "brands"}));
    h.m().subCreateIniFiles(true);
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), season);
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks.ini")), all);
    ASSERT_TRUE(h.m().saveTrackSet(QStringLiteral("Set")));
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/Set.67s")),
              seasonBytes(active, "Track Set for Gridkeeper"));
}

TEST(Writer, RefusesAnEmptyOrOverfullActiveList) {
    for (int rows : {0, 65}) {
        Harness h;
        QList<QByteArray> folders;
        for (int i = 0; i < rows; ++i)
            folders.append("t" + QByteArray::number(i));
        h.game.writeSeason(folders);
        ASSERT_TRUE(h.load());
        const QByteArray before = h.game.read(QStringLiteral("seasons/67season.ini"));
        h.ws().bolSeasonChanged = true;
        h.dialogs.expectMessage(
            {rows == 0 ? QStringLiteral("Can't create 67season.ini cause there are no tracks in "
                                        "the 'active tracks' list")
                       : QStringLiteral("Can't create 67season.ini cause there are more than 64 "
                                        "tracks in the 'active tracks' list"),
             QStringLiteral("Gridkeeper"), Buttons::Ok, Icon::Exclamation});
        h.m().subCreateIniFiles(true); // the limits are shown even when muted
        EXPECT_TRUE(h.ws().bolSeasonChanged);
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), before);
        EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/67season_previous.bak")));
    }
    Harness h;
    QList<QByteArray> folders;
    for (int i = 0; i < 64; ++i)
        folders.append("t" + QByteArray::number(i));
    h.game.writeSeason(folders);
    ASSERT_TRUE(h.load());
    h.m().subCreateIniFiles(true);
    EXPECT_TRUE(h.game.read(QStringLiteral("seasons/67season.ini")).contains("numEvents=64\r\n"));
}

// After an alphabetical write the lists are those the loader reads back from the new files.
TEST(Writer, AlphabeticalWriteShowsWhatTheFilesHold) {
    Harness h;
    h.game.addTracks({"b", "c", "Zed", "new"});
    h.game.writeSeason({"c", "Zed", "b", "gone", "c"});
    h.game.writeAllTracks({"b", "x", "b", "gone", "y"});
    ASSERT_TRUE(h.load());
    // An edited track directory gives the row a new text.
    h.ws().arrActive[2].entry[2] = "trackDirectory=new";
    // An inactive track edited into an active one is no longer inactive after the write.
    h.ws().arrInactive[0].entry[2] = "  trackDirectory=Zed ";
    // A track installed and one removed since the load.
    h.game.addTracks({"gone"});
    h.game.remove(QStringLiteral("tracks/c/track.ini"));
    h.ctl().chkSort = 1;
    h.m().subCreateIniFiles(true);

    Harness fresh;
    fresh.game.addTracks({"b", "Zed", "new", "gone"});
    for (const char* file : {"seasons/67season.ini", "seasons/67AllTracks.ini"})
        fresh.game.write(QString::fromLatin1(file), h.game.read(QString::fromLatin1(file)));
    ASSERT_TRUE(fresh.load());
    EXPECT_EQ(h.ws().ListTracks.rows, fresh.ws().ListTracks.rows);
    EXPECT_EQ(h.ws().listNotActive.rows, fresh.ws().listNotActive.rows);
    EXPECT_EQ(h.ws().ListAllTracks.rows, fresh.ws().ListAllTracks.rows);
    EXPECT_EQ(h.ws().arrActive, fresh.ws().arrActive);
    EXPECT_EQ(h.ws().arrInactive, fresh.ws().arrInactive);
    EXPECT_EQ(h.ws().arrAllTracks, fresh.ws().arrAllTracks);
    EXPECT_EQ(h.ctl().lblAmountLeft.caption, fresh.ctl().lblAmountLeft.caption);
    EXPECT_EQ(h.ctl().lblAmountRight.caption, fresh.ctl().lblAmountRight.caption);
    // Sorted by the texts the rows had; the edited row shows its new folder afterwards.
    EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"gone", "new", "* c", "* c", "Zed"}));
}

TEST(Writer, RefusesAnAllTracksFileTooBigToReadBack) {
    Harness h;
    h.game.writeSeason({"a"});
    h.game.writeAllTracks({"a"});
    ASSERT_TRUE(h.load());
    while (h.ws().listNotActive.count() < kMaxListRows) {
        h.ws().listNotActive.addRow("t");
        h.ws().arrInactive.push_back(makeEvent("t"));
    }
    const QByteArray before = h.game.read(QStringLiteral("seasons/67AllTracks.ini"));
    h.dialogs.expectMessage(
        {QStringLiteral("Can't create 67AllTracks.ini cause the 'active tracks' "
                        "and the 'non-active tracks' lists hold more than "
                        "32767 tracks together"),
         QStringLiteral("Gridkeeper"), Buttons::Ok, Icon::Exclamation});
    h.m().subCreateIniFiles(true);
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks.ini")), before);
    EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/67season_previous.bak")));
}

TEST(Writer, AReadOnlySeasonsFolderIsReportedAndNothingChanges) {
    Harness h;
    loadWriterGame(h);
    h.ws().bolSeasonChanged = true;
    h.files.failPathContaining = QStringLiteral("seasons");
    h.files.failure = ErrorCode::PermissionDenied;
    h.dialogs.expectMessage({QStringLiteral("Permission denied"), QStringLiteral("Error 70"),
                             Buttons::Ok, Icon::Critical});
    h.m().mnuFile_Click(1); // the File menu reports like the button
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), golden("input_67season.ini"));
    EXPECT_EQ(h.game.seasonFiles(),
              (QStringList{QStringLiteral("67AllTracks.ini"), QStringLiteral("67season.ini")}));
}

TEST(Writer, FirstWriteWithoutAllTracksFileMakesOneBackup) {
    Harness h;
    h.game.writeSeason({"a", "b"});
    ASSERT_TRUE(h.load());
    h.game.remove(QStringLiteral("seasons/67AllTracks.ini"));
    h.m().subCreateIniFiles(true);
    EXPECT_TRUE(h.game.exists(QStringLiteral("seasons/67season_previous.bak")));
    EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/67AllTracks_previous.bak")));
    EXPECT_TRUE(h.game.exists(QStringLiteral("seasons/67AllTracks.ini")));
}

// After a load that stopped early the lists hold only what was read: the first write asks
// (No by default) and on Yes keeps copies of both files that no backup rotation deletes.
TEST(Writer, ASeasonReadInPartIsWrittenOnlyAfterAsking) {
    const QByteArray broken = seasonOf({"a"}) + "[Event2]\r\nname=b\r\n";
    for (const bool brokenSet : {false, true}) {
        Harness h;
        h.game.writeAllTracks({"a", "b", "c"});
        h.game.write(QStringLiteral("seasons/67season.ini"),
                     brokenSet ? seasonOf({"a", "b"}) : broken);
        h.game.write(QStringLiteral("seasons/Broken.67s"), broken);
        const QString file =
            brokenSet ? QStringLiteral("Broken.67s") : QStringLiteral("67season.ini");
        const QString where = file + QStringLiteral(" ends inside event 2 (line 15).");
        if (brokenSet) {
            ASSERT_TRUE(h.load());
            h.dialogs.expectMessage({QStringLiteral("Input past end of file: ") + where,
                                     QStringLiteral("Error 62"), Buttons::Ok, Icon::Critical});
            h.m().mnuTrackSet_Click(2); // Broken
        } else {
            h.dialogs.expectMessage({QStringLiteral("Input past end of file: ") + where,
                                     QStringLiteral("Gridkeeper"), Buttons::Ok, Icon::None});
            ASSERT_TRUE(h.load());
        }
        const QByteArray season = h.game.read(QStringLiteral("seasons/67season.ini"));
        const QByteArray all = h.game.read(QStringLiteral("seasons/67AllTracks.ini"));
        MessageBox question{
            file + QStringLiteral(" could be read only in part: Gridkeeper read 1 track of it "
                                  "before the error. Writing now replaces 67season.ini and "
                                  "67AllTracks.ini with the lists as they are, and every track "
                                  "that was not read is lost from them.\r\n\r\nWrite anyway? "
                                  "Copies of both present files are kept first as "
                                  "67season_kept.bak and 67AllTracks_kept.bak."),
            QStringLiteral("Gridkeeper"), Buttons::YesNo, Icon::Exclamation, true};
        h.dialogs.expectMessage(question, Answer::No);
        h.m().cmdMakeIni_Click();
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks.ini")), all);
        EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/67season_kept.bak")));
        h.dialogs.expectMessage(question, Answer::Yes);
        h.dialogs.expectMessage(kCreated);
        h.m().cmdMakeIni_Click();
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season_kept.bak")), season);
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks_kept.bak")), all);
        // Written once, the files hold the lists: no more question, and the copies stay.
        h.dialogs.expectMessage(kCreated);
        h.m().cmdMakeIni_Click();
        h.dialogs.expectMessage(kCreated);
        h.m().cmdMakeIni_Click();
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67AllTracks_kept.bak")), all);
    }
}

// A line the loader could not read back is never written: the message names the track and
// its line, and the season files and the track set stay as they were.
TEST(Writer, RefusesWhatCouldNotBeReadBack) {
    struct Case {
        bool active;
        int row, entry;
        QByteArray line;
        QString message;
    };
    const QString prefix = QStringLiteral("Nothing was written: the track ");
    const std::vector<Case> cases = {
        {true, 3, 2, "track=monaco",
         prefix + QStringLiteral("\"monaco\" (active tracks, row 4) has the track-directory line "
                                 "\"track=monaco\", which names no track folder: it must read "
                                 "trackDirectory= followed by the folder's name.")},
        {true, 0, 0, "name=Monza\r\n[Event2]",
         prefix + QStringLiteral("\"monza\" (active tracks, row 1) holds a line break in its "
                                 "entry 1.")},
        {false, 1, 4, " [event9]",
         prefix + QStringLiteral("\"oulton\" (non-active tracks, row 2) has the entry 5 "
                                 "\" [event9]\", which would read as the start of a new event.")},
    };
    for (const Case& c : cases) {
        Harness h;
        loadWriterGame(h);
        (c.active ? h.ws().arrActive : h.ws().arrInactive)[static_cast<size_t>(c.row)]
            .entry[static_cast<size_t>(c.entry)] = c.line;
        const MessageBox refusal{c.message, QStringLiteral("Gridkeeper"), Buttons::Ok,
                                 Icon::Exclamation};
        h.dialogs.expectMessage(refusal);
        h.m().cmdMakeIni_Click();
        if (c.active) {
            h.dialogs.expectMessage(refusal);
            EXPECT_FALSE(h.m().saveTrackSet(QStringLiteral("Set")));
        }
        EXPECT_EQ(h.game.seasonFiles(),
                  (QStringList{QStringLiteral("67AllTracks.ini"), QStringLiteral("67season.ini")}));
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")),
                  golden("input_67season.ini"));
    }
}

// A season file that is a symbolic link is written through to its target; its backup is a
// copy of the content, not another link to the live file.
TEST(Writer, ASeasonFileThatIsALinkIsWrittenThrough) {
    Harness h;
    loadWriterGame(h);
    for (const char* name : {"67season.ini", "67AllTracks.ini"}) {
        const QString file = QStringLiteral("seasons/") + QString::fromLatin1(name);
        const QString real = QStringLiteral("real/") + QString::fromLatin1(name);
        h.game.write(real, h.game.read(file));
        h.game.remove(file);
        ASSERT_TRUE(QFile::link(h.game.path(real), h.game.path(file)));
    }
    h.m().subCreateIniFiles(true);
    EXPECT_TRUE(QFileInfo(h.game.path(QStringLiteral("seasons/67season.ini"))).isSymbolicLink());
    EXPECT_EQ(h.game.read(QStringLiteral("real/67season.ini")), golden("67season_list.ini"));
    EXPECT_EQ(h.game.read(QStringLiteral("real/67AllTracks.ini")), golden("67AllTracks.ini"));
    for (const char* backup : {"seasons/67season_previous.bak", "seasons/67AllTracks_previous.bak"})
        EXPECT_FALSE(QFileInfo(h.game.path(QString::fromLatin1(backup))).isSymbolicLink());
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season_previous.bak")),
              golden("input_67season.ini"));
    EXPECT_EQ(h.game.seasonFiles().size(), 4);
}

// Every file operation of a write fails in turn: a full disk, a permission denied (on a
// rename, a link, a removal ...), a failing sync of written data, or the program dying there.
// A write that reports failure leaves the season files and backups exactly as they were; one
// that reports success leaves the new pair and, as backups, the previous pair; a death leaves
// a complete season file and all-tracks file.
TEST(Writer, AFailedWriteChangesNothing) {
    const QByteArray oldSeason = golden("input_67season.ini");
    const QByteArray oldAll = golden("input_67AllTracks.ini");
    const std::vector<QByteArray> before = {oldSeason, oldAll, "previous season",
                                            "previous all tracks"};
    const QStringList names = {QStringLiteral("67season.ini"), QStringLiteral("67AllTracks.ini"),
                               QStringLiteral("67season_previous.bak"),
                               QStringLiteral("67AllTracks_previous.bak")};
    std::set<std::string> failed;
    for (const auto& [failure, crash] :
         {std::pair{ErrorCode::DiskFull, false}, std::pair{ErrorCode::PermissionDenied, false},
          std::pair{ErrorCode::DiskFull, true}}) {
        bool finished = false;
        for (int failAt = 1; failAt <= 64 && !finished; ++failAt) {
            const int chkSort = failAt % 2; // both writers share the replacement
            const QByteArray newSeason =
                golden(chkSort ? "67season_alphabetical.ini" : "67season_list.ini");
            Harness h;
            loadWriterGame(h);
            h.game.write(QStringLiteral("seasons/67season_previous.bak"), before[2]);
            h.game.write(QStringLiteral("seasons/67AllTracks_previous.bak"), before[3]);
            h.ctl().chkSort = chkSort;
            h.ws().bolSeasonChanged = true;
            h.files.changes = 0;
            h.files.failAt = failAt;
            h.files.failure = failure;
            h.files.crash = crash;
            h.dialogs.allowAnyMessage(Answer::Ok);
            bool died = false;
            try {
                h.m().cmdMakeIni_Click();
            } catch (const FaultyFileSystem::Crash&) {
                died = true;
            }
            std::vector<QByteArray> files;
            for (const QString& name : names)
                files.push_back(h.game.read(QStringLiteral("seasons/") + name));
            failed.insert(h.files.failed.begin(), h.files.failed.end());
            if (died) {
                EXPECT_TRUE(files[0] == oldSeason || files[0] == newSeason) << failAt;
                EXPECT_TRUE(files[1] == oldAll || files[1] == golden("67AllTracks.ini")) << failAt;
            } else if (h.ws().bolSeasonChanged) {
                EXPECT_EQ(files, before) << failAt;
                EXPECT_EQ(h.game.seasonFiles().size(), 4) << failAt;
                ASSERT_EQ(h.dialogs.shown().size(), 1u);
                EXPECT_EQ(h.dialogs.shown()[0].title,
                          QStringLiteral("Error %1").arg(static_cast<int>(failure)));
            } else {
                EXPECT_EQ(files, (std::vector<QByteArray>{newSeason, golden("67AllTracks.ini"),
                                                          oldSeason, oldAll}))
                    << failAt;
                // The operation that would have failed came after the last one.
                finished = h.files.changes < failAt;
            }
            EXPECT_EQ(h.shell.busyDepth, 0);
        }
        EXPECT_TRUE(finished) << "the write ends within 64 file operations";
    }
    EXPECT_EQ(failed, (std::set<std::string>{"link", "remove", "rename", "sync", "write"}));
}

} // namespace
} // namespace gk::test
