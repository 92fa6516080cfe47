#include "support/harness.h"

#include <QFile>
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

// Every file operation of a write fails in turn. After each failure a complete season file
// and a complete all-tracks file exist (the old or the new one), and no backup is gone unless
// a newer copy of it exists.
TEST(Writer, AFailedWriteNeverLosesTheSeason) {
    for (int chkSort : {0, 1}) {
        const QByteArray oldSeason = golden("input_67season.ini");
        const QByteArray oldAll = golden("input_67AllTracks.ini");
        const QByteArray oldSeasonBak = "previous season";
        const QByteArray oldAllBak = "previous all tracks";
        const QByteArray newSeason =
            golden(chkSort ? "67season_alphabetical.ini" : "67season_list.ini");
        const QByteArray newAll = golden("67AllTracks.ini");
        int failures = 0;
        for (int failAt = 1;; ++failAt) {
            Harness h;
            loadWriterGame(h);
            h.game.write(QStringLiteral("seasons/67season_previous.bak"), oldSeasonBak);
            h.game.write(QStringLiteral("seasons/67AllTracks_previous.bak"), oldAllBak);
            h.ctl().chkSort = chkSort;
            h.ws().bolSeasonChanged = true;
            h.files.changes = 0;
            h.files.failAt = failAt;
            h.dialogs.allowAnyMessage(Answer::Ok);
            h.m().cmdMakeIni_Click();
            const QByteArray season = h.game.read(QStringLiteral("seasons/67season.ini"));
            const QByteArray all = h.game.read(QStringLiteral("seasons/67AllTracks.ini"));
            EXPECT_TRUE(season == oldSeason || season == newSeason) << failAt;
            EXPECT_TRUE(all == oldAll || all == newAll) << failAt;
            for (const QString& f : h.game.seasonFiles())
                EXPECT_FALSE(f.endsWith(QLatin1String(".new"))) << failAt;
            const QByteArray seasonBak =
                h.game.read(QStringLiteral("seasons/67season_previous.bak"));
            const QByteArray allBak =
                h.game.read(QStringLiteral("seasons/67AllTracks_previous.bak"));
            EXPECT_TRUE(seasonBak == oldSeasonBak || seasonBak == oldSeason ||
                        (seasonBak.isEmpty() && season == oldSeason))
                << failAt;
            EXPECT_TRUE(allBak == oldAllBak || allBak == oldAll ||
                        (allBak.isEmpty() && all == oldAll))
                << failAt;
            EXPECT_EQ(h.shell.busyDepth, 0);
            if (h.ws().bolSeasonChanged) {
                ++failures;
                ASSERT_EQ(h.dialogs.shown().size(), 1u);
                EXPECT_EQ(describe(h.dialogs.shown()[0]),
                          describe({QStringLiteral("Disk full"), QStringLiteral("Error 61"),
                                    Buttons::Ok, Icon::Critical}));
                continue;
            }
            // The operation that would have failed came after the last one: the write is done.
            EXPECT_EQ(season, newSeason);
            EXPECT_EQ(all, newAll);
            EXPECT_EQ(seasonBak, oldSeason);
            EXPECT_EQ(allBak, oldAll);
            break;
        }
        EXPECT_GE(failures, 8) << "every operation of the write was made to fail";
    }
}

} // namespace
} // namespace gk::test
