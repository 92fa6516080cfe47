// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the season files (golden files, refusals, failures at every step) and the track sets.
#include "support/harness.h"

#include <QFile>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

QByteArray golden(const char* name) {
    QFile file(QStringLiteral(GK_TEST_DATA "/writer/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QString seasons(const char* name) {
    return u"seasons/"_s + QString::fromLatin1(name);
}

const QStringList kPair = {u"67AllTracks.ini"_s, u"67season.ini"_s};

// The writer's game folder: active monza, Kyalami, * spa, monaco; inactive brands, oulton.
void loadWriterGame(Harness& h) {
    h.game.addTracks({"monza", "Kyalami", "monaco", "brands", "oulton"});
    h.game.write(seasons("67season.ini"), golden("input_67season.ini"));
    h.game.write(seasons("67AllTracks.ini"), golden("input_67AllTracks.ini"));
    ASSERT_TRUE(h.load());
    ASSERT_EQ(texts(h.ws().listNotActive), (Rows{"brands", "oulton"}));
}

// In list order and in alphabetical order (the lists then read back from the files written);
// each write keeps the files it replaces as backups.
TEST(Writer, SeasonFilesMatchTheGoldenFilesAndKeepBackups) {
    for (const int chkSort : {0, 1}) {
        Harness h;
        loadWriterGame(h);
        h.ctl().chkSort = chkSort;
        h.ctl().txtRunTrack.text = "monza";
        h.m().lblAmountRight_Click(); // sorts the inactive rows, which are in order already
        h.dialogs.expectMessage(kCreatedBox);
        h.m().cmdMakeIni_Click();
        EXPECT_EQ(
            h.game.readSeasons(),
            (QByteArrayList{golden(chkSort ? "67season_alphabetical.ini" : "67season_list.ini"),
                            golden("67AllTracks.ini"), golden("input_67season.ini"),
                            golden("input_67AllTracks.ini")}));
        EXPECT_FALSE(h.ws().bolSeasonChanged);
        const Rows rows = chkSort ? Rows{"* spa", "Kyalami", "monaco", "monza"}
                                  : Rows{"monza", "Kyalami", "* spa", "monaco"};
        EXPECT_EQ(texts(h.ws().ListTracks), rows);
        EXPECT_EQ(h.ctl().txtRunTrack.text.isEmpty(), chkSort == 1);
        // Both new files are on the disk before the renames, and the renames before the write
        // reports success; nothing is left beside the files and their backups.
        qsizetype step = 0;
        for (const char* change : {"sync 67season.ini.new", "sync 67AllTracks.ini.new",
                                   "rename 67season.ini", "rename 67AllTracks.ini", "sync seasons"})
            EXPECT_GE(step = h.files.log.indexOf(QString::fromLatin1(change), step), 0) << change;
        const QStringList files = h.game.seasonFiles();
        EXPECT_EQ(files, (QStringList{u"67AllTracks.ini"_s, u"67AllTracks_previous.bak"_s,
                                      u"67season.ini"_s, u"67season_previous.bak"_s}));
        // A track set is written in the same order, and nothing else.
        ASSERT_TRUE(h.m().saveTrackSet(u"Set"_s));
        EXPECT_EQ(h.game.read(seasons("Set.67s")),
                  golden(chkSort ? "trackset_alphabetical.67s" : "trackset_list.67s"));
        EXPECT_EQ(h.game.seasonFiles(), files + QStringList{u"Set.67s"_s});
    }
}

// Extra lines after the seventh entry and every byte but CR and LF travel with their event
// through a load and a write, into both files, the inactive list and a track set. The active
// events: monza, whose name and one extra line hold every such byte (after a displayName=
// line), and spa; the inactive ones: a second race at monza ("; non-championship" after its
// entries) and brands.
TEST(Writer, EveryLineOfAnEventTravelsWithIt) {
    const QByteArray season = golden("every_line_67season.ini");
    const QByteArray all = golden("every_line_67AllTracks.ini");
    Harness h;
    h.game.addTracks({"monza", "spa", "brands"});
    h.game.write(seasons("67season.ini"), season);
    h.game.write(seasons("67AllTracks.ini"), all);
    ASSERT_TRUE(h.load());
    EXPECT_EQ(texts(h.ws().listNotActive), (Rows{"monza", "brands"}));
    h.m().subCreateIniFiles(true);
    EXPECT_EQ(h.game.readSeasons().mid(0, 2), (QByteArrayList{season, all}));
    ASSERT_TRUE(h.m().saveTrackSet(u"Set"_s));
    EXPECT_EQ(h.game.read(seasons("Set.67s")), golden("every_line_trackset.67s"));
}

// A write that cannot be read back, or cannot be done, is refused with a message and changes
// no file. Each case reaches its lists through the handlers (the rows "t" stand for a big
// game's tracks).
TEST(Writer, RefusalsChangeNothing) {
    using S = ListSide;
    const QString nothing = u"Nothing was written: the track "_s;
    const std::vector<std::tuple<const char*, std::function<void(Harness&)>, QString>> cases = {
        // clang-format off
        {"no active track", [](Harness& h) { h.selectAll(S::Active); h.m().cmdChangeButton_Click(1); },
         u"Can't create 67season.ini cause there are no tracks in the 'active tracks' list"_s},
        {"65 active tracks", [](Harness& h) { h.fillList(S::Inactive, 61); h.selectAll(S::Inactive); h.m().cmdChangeButton_Click(3); },
         u"Can't create 67season.ini cause there are more than 64 tracks in the 'active tracks' list"_s},
        {"more than a list can read back", [](Harness& h) { h.fillList(S::Inactive, kMaxListRows - 3); EXPECT_TRUE(h.editEntry(S::Active, 0, 0, u"name=Monza 1967"_s)); },
         u"Can't create 67AllTracks.ini cause the 'active tracks' and the 'non-active tracks' lists hold more than 32767 tracks together"_s},
        {"no track directory", [](Harness& h) { EXPECT_TRUE(h.editEntry(S::Active, 3, 2, u"track=monaco"_s)); },
         nothing + u"\"monaco\" (active tracks, row 4) has the track-directory line \"track=monaco\", which names no track folder: it must read trackDirectory= followed by the folder's name."_s},
        {"an event header", [](Harness& h) { EXPECT_TRUE(h.editEntry(S::Inactive, 1, 4, u" [event9]"_s)); },
         nothing + u"\"oulton\" (non-active tracks, row 2) has the entry 5 \" [event9]\", which would read as the start of a new event."_s},
        // A line break would split the entry into two lines of the file.
        {"a line feed", [](Harness& h) { EXPECT_TRUE(h.editEntry(S::Active, 0, 0, u"name=Monza\nGP"_s)); },
         nothing + u"\"monza\" (active tracks, row 1) holds a line break in its entry 1."_s},
        {"a carriage return", [](Harness& h) { EXPECT_TRUE(h.editEntry(S::Inactive, 1, 5, u"numberOfLaps=10\r"_s)); },
         nothing + u"\"oulton\" (non-active tracks, row 2) holds a line break in its entry 6."_s},
        // clang-format on
    };
    for (const auto& [name, change, message] : cases) {
        Harness h;
        loadWriterGame(h);
        change(h);
        ASSERT_TRUE(h.ws().bolSeasonChanged) << name;
        h.dialogs.expectMessage(gkBox(message));
        h.m().mnuFile_Click(1); // the File menu writes like the button
        EXPECT_TRUE(h.ws().bolSeasonChanged) << name;
        EXPECT_EQ(h.game.seasonFiles(), kPair) << name;
        EXPECT_EQ(h.game.season(), golden("input_67season.ini")) << name;
    }
    Harness h; // 64 tracks are written
    h.game.writeSeason(QList<QByteArray>(64, "t"));
    ASSERT_TRUE(h.load());
    h.m().subCreateIniFiles(true);
    EXPECT_TRUE(h.game.season().contains("numEvents=64\r\n"));
}

// After a load that stopped early the lists hold only what was read: the first write asks
// (No by default) and on Yes keeps copies of both files that no backup rotation deletes.
TEST(Writer, ASeasonReadInPartIsWrittenOnlyAfterAsking) {
    Harness h;
    h.game.writeAllTracks({"a", "b", "c"});
    h.game.write(seasons("67season.ini"), seasonOf({"a"}) + "[Event2]\r\nname=b\r\n");
    h.dialogs.expectMessage(
        startupErrorBox(u"Input past end of file: 67season.ini ends inside event 2 (line 15)."_s));
    ASSERT_TRUE(h.load());
    const QByteArrayList before = h.game.readSeasons();
    // clang-format off
    const Message question{u"67season.ini could be read only in part: Gridkeeper read 1 track of it before the error. Writing now replaces 67season.ini and 67AllTracks.ini with the lists as they are, and every track that was not read is lost from them.\r\n\r\nWrite anyway? Copies of both present files are kept first as 67season_kept.bak and 67AllTracks_kept.bak."_s,
                              u"Gridkeeper"_s, Buttons::YesNo, Icon::Exclamation, QuestionId::WritePartialSeason, true};
    // clang-format on
    h.dialogs.expectMessage(question, Answer::No);
    h.m().cmdMakeIni_Click();
    EXPECT_EQ(h.game.readSeasons(), before);
    EXPECT_FALSE(h.game.exists(seasons("67season_kept.bak")));
    h.dialogs.expectMessage(question, Answer::Yes);
    // Written once, the files hold the lists: no more question, and the copies stay.
    for (int i = 0; i < 3; ++i) {
        h.dialogs.expectMessage(kCreatedBox);
        h.m().cmdMakeIni_Click();
    }
    EXPECT_EQ(h.game.readSeasons({u"67season_kept.bak"_s, u"67AllTracks_kept.bak"_s}),
              before.mid(0, 2));
}

// Every file operation of a write fails in turn: a full disk, a permission denied (on a
// rename, a link, a removal ...), a failing sync of written data, or the program dying there.
// A write that reports failure leaves the season files and backups exactly as they were; one
// that reports success leaves the new pair and, as backups, the previous pair; a death leaves
// a complete season file and all-tracks file. At most 64 operations are tried.
TEST(Writer, AFailedWriteChangesNothing) {
    const QByteArrayList before = {golden("input_67season.ini"), golden("input_67AllTracks.ini"),
                                   "previous season", "previous all tracks"};
    const QByteArray newAll = golden("67AllTracks.ini");
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
            h.game.write(seasons("67season_previous.bak"), before[2]);
            h.game.write(seasons("67AllTracks_previous.bak"), before[3]);
            h.ctl().chkSort = chkSort;
            h.m().lblAmountRight_Click(); // unsaved changes: a sort that leaves the order
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
            const QByteArrayList files = h.game.readSeasons();
            failed.insert(h.files.failed.begin(), h.files.failed.end());
            if (died) {
                EXPECT_TRUE(files[0] == before[0] || files[0] == newSeason) << failAt;
                EXPECT_TRUE(files[1] == before[1] || files[1] == newAll) << failAt;
            } else if (h.ws().bolSeasonChanged) {
                EXPECT_EQ(files, before) << failAt;
                EXPECT_EQ(h.game.seasonFiles().size(), 4) << failAt;
                ASSERT_EQ(h.dialogs.shown().size(), 1u);
                EXPECT_EQ(h.dialogs.shown()[0].title, u"Error %1"_s.arg(static_cast<int>(failure)));
            } else {
                EXPECT_EQ(files, (QByteArrayList{newSeason, newAll, before[0], before[1]}))
                    << failAt;
                finished = h.files.changes < failAt; // no operation was left to fail
            }
            EXPECT_EQ(h.shell.busyDepth, 0);
        }
        EXPECT_TRUE(finished) << "the write ends within 64 file operations";
    }
    EXPECT_EQ(failed,
              (std::set<std::string>{"link", "mkdir", "remove", "rename", "sync", "write"}));
}

// ---------------------------------------------------------------- track sets

InputBox saveAsBox(const Harness& h, const QString& current) {
    const QString prompt =
        u"Enter Name of the Track Set\r\n(Track Set will be saved in %1/seasons/)"_s;
    return {prompt.arg(h.game.dir()), u"Save as"_s, current};
}

void loadSetsGame(Harness& h) {
    const QList<QByteArray> all = {"monza", "spa", "monaco", "brands"};
    ASSERT_TRUE(h.load(all, all.mid(0, 2), all));
}

// The menu then offers the set among the ordinary files ending in ".67s", sorted without regard
// to case, at most twenty.
TEST(TrackSets, SaveAsWritesTheSetAndOffersIt) {
    Harness h;
    for (const char* name : {"zolder.67s", "Alpha.67s", "beta.67s", "Upper.67S", "notes.txt",
                             ".hidden.67s", "folder.67s/inside.txt"})
        h.game.write(u"seasons/"_s + QString::fromLatin1(name), "x");
    for (int i = 0; i < 20; ++i)
        h.game.write(u"seasons/x%1.67s"_s.arg(i, 2, 10, QLatin1Char('0')), "x");
    h.game.write(u"seasons/Old.67s"_s, seasonOf({"monza", "spa"}));
    loadSetsGame(h);
    h.m().openTrackSet(u"Old"_s);
    ASSERT_TRUE(h.editEntry(ListSide::Active, 0, 0, u"name=Monza 1967"_s)); // the set is edited
    h.game.write(u"seasons/Mine.67s"_s, "old");
    const Message exists{u"File already exists. Overwrite?"_s, u"File exists"_s,
                         Buttons::YesNoCancel, Icon::Exclamation, QuestionId::OverwriteTrackSet};
    // Cancel keeps the set that was current.
    h.dialogs.expectInput(saveAsBox(h, u"Old"_s), {});
    h.m().mnuTrackSet_Click(0);
    EXPECT_EQ(h.ws().strTrackSet, u"Old"_s);
    // Over an existing set: No asks again with the name typed; Cancel there keeps the file.
    h.dialogs.expectInput(saveAsBox(h, u"Old"_s), u"Mine"_s);
    h.dialogs.expectMessage(exists, Answer::No);
    h.dialogs.expectInput(saveAsBox(h, u"Mine"_s), {});
    h.m().mnuTrackSet_Click(0);
    // Cancel in the question ends the operation; the typed name is the current set.
    h.dialogs.expectInput(saveAsBox(h, u"Old"_s), u"Mine"_s);
    h.dialogs.expectMessage(exists, Answer::Cancel);
    h.m().mnuTrackSet_Click(0);
    EXPECT_EQ(h.game.read(u"seasons/Mine.67s"_s), "old");
    EXPECT_EQ(h.ws().strTrackSet, u"Mine"_s);
    // Yes overwrites.
    h.dialogs.expectInput(saveAsBox(h, u"Mine"_s), u"Mine"_s);
    h.dialogs.expectMessage(exists, Answer::Yes);
    h.m().mnuTrackSet_Click(0);
    EXPECT_TRUE(
        h.game.read(u"seasons/Mine.67s"_s).startsWith("[Season]\r\nname=Track Set for Gridkeeper"));
    // A new name.
    h.dialogs.expectInput(saveAsBox(h, u"Mine"_s), u"Fast Ones"_s);
    h.m().mnuTrackSet_Click(0);
    EXPECT_TRUE(h.game.exists(u"seasons/Fast Ones.67s"_s));
    const QStringList sets = h.m().offeredTrackSets();
    EXPECT_EQ(sets.mid(0, 5),
              (QStringList{u"Alpha"_s, u"beta"_s, u"Fast Ones"_s, u"Mine"_s, u"Old"_s}));
    EXPECT_EQ(sets.size(), 20);
    EXPECT_EQ(sets.back(), u"x14"_s);
    EXPECT_FALSE(h.ws().bolTrackSetChanged);
    EXPECT_EQ(h.ctl().lblTrackSet.caption, u" Track Set: Fast Ones "_s);
}

TEST(TrackSets, NamesThatAreNoFileNamesAreRefusedBeforeWriting) {
    for (const QString& name :
         {u"  "_s, u".hidden"_s, u"../escape"_s, u"a\\b"_s, u"CON"_s, u"lpt1.txt"_s, u"what?"_s,
          u"a<b>"_s, u"pipe|"_s, u"star*"_s, u"colon:"_s, u"quote\""_s, u"trailing."_s,
          u"trailing "_s, u"CONIN$"_s, u"conout$.x"_s, u"COM\u00B9"_s, u"lpt\u00B3"_s,
          QString(121, QChar(0xE9))}) { // 242 bytes in UTF-8
        Harness h;
        loadSetsGame(h);
        const QStringList before = h.game.seasonFiles();
        h.dialogs.allowAnyMessage(Answer::Ok);
        h.dialogs.expectInput(saveAsBox(h, {}), name);
        h.dialogs.expectInput(saveAsBox(h, name), {}); // asked again; Cancel ends it
        h.m().mnuTrackSet_Click(0);
        ASSERT_EQ(h.dialogs.shown().size(), 1u) << name.toStdString();
        EXPECT_EQ(h.dialogs.shown()[0].title, u"Save as"_s);
        EXPECT_TRUE(h.dialogs.shown()[0].text.startsWith(u'"' + name + u'"'));
        EXPECT_EQ(h.game.seasonFiles(), before) << name.toStdString();
        EXPECT_FALSE(QFile::exists(h.game.dir() + u"/escape.67s"_s));
    }
    // Nor is a set opened by such a name, even when the file it leads to exists.
    Harness h;
    loadSetsGame(h);
    const QByteArray before = h.game.season();
    h.game.write(u"outside/evil.67s"_s, seasonOf({"monaco"}));
    h.dialogs.allowAnyMessage(Answer::Ok);
    h.m().openTrackSet(u"../outside/evil"_s);
    ASSERT_EQ(h.dialogs.shown().size(), 1u);
    EXPECT_TRUE(h.dialogs.shown()[0].text.startsWith(u"\"../outside/evil\" can't be used"_s));
    EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"monza", "spa"}));
    EXPECT_EQ(h.game.season(), before);
}

// Opening a set over unsaved changes asks first (which question for which changes is the undo
// walk's): No keeps the lists; Yes opens the set and writes its tracks as the season, in list
// order.
TEST(TrackSets, OpenAsksBeforeDiscardingUnsavedWork) {
    Harness h;
    h.game.write(u"seasons/Pick.67s"_s, seasonOf({"monaco", "brands"}));
    h.game.write(u"seasons/Set.67s"_s, seasonOf({"monza", "spa"})); // after Pick in the menu
    loadSetsGame(h);
    h.m().openTrackSet(u"Set"_s);
    ASSERT_TRUE(h.editEntry(ListSide::Active, 0, 0, u"name=Monza 1967"_s));
    // clang-format off
    const Message question{u"Neither your 67season.ini nor your current track set are saved yet. Do you really want to open the new track set?"_s,
                           u"Gridkeeper"_s, Buttons::YesNo, Icon::Exclamation, QuestionId::DiscardUnsavedChanges};
    // clang-format on
    h.dialogs.expectMessage(question, Answer::No);
    h.m().mnuTrackSet_Click(2); // Pick
    EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"monza", "spa"}));
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    h.dialogs.expectMessage(question, Answer::Yes);
    h.m().mnuTrackSet_Click(2);
    EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"monaco", "brands"}));
    EXPECT_EQ(texts(h.ws().listNotActive), (Rows{"monza", "spa"}));
    EXPECT_EQ(h.game.season(), golden("67season_from_trackset.ini"));
    EXPECT_FALSE(h.ws().bolSeasonChanged || h.ws().bolTrackSetChanged);
    EXPECT_EQ(h.ctl().lblTrackSet.caption, u" Track Set: Pick "_s);
}

} // namespace
} // namespace gk::test
