#include "support/harness.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Rows = std::vector<QByteArray>;

MessageBox gplFolderMessage() {
    return {QStringLiteral("GPL Dir not found or not set correctly, please restart the tool and "
                           "enter the correct GPL path"),
            QStringLiteral("GPL FOLDER..."), Buttons::Ok, Icon::Critical};
}

InputBox directoryDialog(const QString& current) {
    return {QStringLiteral("The GPL directory is not yet set or invalid.\rPlease enter your GPL "
                           "directory.\re.g. C:\\Games\\Sierra\\GPL"),
            QStringLiteral("Enter your GPL directory"), current};
}

MessageBox invalidDirectory() {
    return {QStringLiteral("This seems to be an invalid directory. Please enter the correct "
                           "directory or click on Cancel to keep the previous value."),
            QStringLiteral("Invalid directory"), Buttons::Ok, Icon::Critical};
}

TEST(Startup, LoadsTheListsAndShowsTheDirectory) {
    Harness h;
    h.game.addTracks({"monza", "spa", "brands"});
    h.game.writeSeason({"monza", "spa", "kyalami"});
    h.game.writeAllTracks({"monza", "brands", "spa", "kyalami"});
    ASSERT_TRUE(h.load());
    EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monza", "spa", "* kyalami"}));
    EXPECT_EQ(h.ws().listNotActive.rows, (Rows{"brands"}));
    EXPECT_EQ(h.ws().ListAllTracks.rows, (Rows{"monza", "brands", "spa", "* kyalami"}));
    EXPECT_EQ(foldersOf(h.ws().arrInactive), (Rows{"brands"}));
    EXPECT_EQ(h.ctl().lblAmountLeft.caption, QStringLiteral("Active Tracks (3)"));
    EXPECT_EQ(h.ctl().lblAmountRight.caption, QStringLiteral("Non-Active Tracks (1)"));
    EXPECT_EQ(h.ctl().lblGPLdir.caption, QStringLiteral("GRIDKEEPER"));
    EXPECT_EQ(h.ctl().lblGPLdir.foreColor, kBlue);
    EXPECT_EQ(h.ctl().lblInfo.caption,
              QStringLiteral("Move over a menu to get some additional info"));
    EXPECT_EQ(h.settings.value(QStringLiteral("GPLDir")), h.game.dir());
    EXPECT_FALSE(h.ws().bolSeasonChanged);
    EXPECT_EQ(h.shell.centred, 1);
    EXPECT_EQ(h.ctl().cboCars,
              (QStringList{QStringLiteral("Bra"), QStringLiteral("BRM"), QStringLiteral("Coo"),
                           QStringLiteral("Eag"), QStringLiteral("Fer"), QStringLiteral("Lot"),
                           QStringLiteral("Hon")}));
}

TEST(Startup, TrailingBackslashIsRemovedAndStoredBeforeValidation) {
    Harness h;
    h.dialogs.expectInput(directoryDialog(QStringLiteral("C:\\Games\\GPL")), QString());
    h.dialogs.expectMessage(gplFolderMessage());
    EXPECT_FALSE(h.m().Form_Load(QStringLiteral("C:\\Games\\GPL\\")));
    EXPECT_TRUE(h.m().ended());
    EXPECT_EQ(h.settings.value(QStringLiteral("GPLDir")), QStringLiteral("C:\\Games\\GPL"));
}

TEST(Startup, NeverConfiguredStoresNotSetAndEndsOnCancel) {
    Harness h;
    h.dialogs.expectInput(directoryDialog(QStringLiteral("NOT SET")), QString());
    h.dialogs.expectMessage(gplFolderMessage());
    EXPECT_FALSE(h.m().Form_Load(QString()));
    EXPECT_EQ(h.settings.value(QStringLiteral("GPLDir")), QStringLiteral("NOT SET"));
    EXPECT_EQ(h.ws().ListTracks.count(), 0);
}

TEST(Startup, DirectoryDialogLoopsUntilAValidDirectory) {
    Harness h;
    h.game.writeSeason({"monza"});
    h.settings.set(QStringLiteral("GPLDir"), QStringLiteral("/nowhere"));
    h.dialogs.expectInput(directoryDialog(QStringLiteral("/nowhere")), QStringLiteral("   "));
    h.dialogs.expectMessage(invalidDirectory());
    h.dialogs.expectInput(directoryDialog(QStringLiteral("   ")), h.game.dir() + QLatin1Char('/'));
    ASSERT_TRUE(h.m().Form_Load(QString()));
    // The entry is kept as typed and stored; the next start drops the trailing separator only
    // when it is a backslash.
    EXPECT_EQ(h.ws().strGPLdir, h.game.dir() + QLatin1Char('/'));
    EXPECT_EQ(h.settings.value(QStringLiteral("GPLDir")), h.game.dir() + QLatin1Char('/'));
    EXPECT_EQ(h.ws().ListTracks.count(), 1);
}

TEST(Startup, CancelAfterInvalidEntriesRestoresTheStoredValue) {
    Harness h;
    h.dialogs.expectInput(directoryDialog(QStringLiteral("/a")), QStringLiteral("/b"));
    h.dialogs.expectMessage(invalidDirectory());
    h.dialogs.expectInput(directoryDialog(QStringLiteral("/b")), QStringLiteral("/c"));
    h.dialogs.expectMessage(invalidDirectory());
    h.dialogs.expectInput(directoryDialog(QStringLiteral("/c")), QString());
    h.dialogs.expectMessage(gplFolderMessage());
    EXPECT_FALSE(h.m().Form_Load(QStringLiteral("/a")));
    EXPECT_EQ(h.ws().strGPLdir, QStringLiteral("/a"));
}

TEST(Startup, DirectoryThatIsAFileIsInvalid) {
    Harness h;
    h.dialogs.expectInput(directoryDialog(h.game.path(QStringLiteral("driver.ini"))), QString());
    h.dialogs.expectMessage(gplFolderMessage());
    EXPECT_FALSE(h.m().Form_Load(h.game.path(QStringLiteral("driver.ini"))));
}

TEST(Startup, MissingSeasonFileEndsTheProgramWithNothingWritten) {
    Harness h;
    h.game.write(QStringLiteral("seasons/gridkeeper.tmp"), "parked");
    h.dialogs.expectMessage({QStringLiteral("67season.ini was not found"),
                             QStringLiteral("Critical error"), Buttons::Ok, Icon::Critical});
    EXPECT_FALSE(h.load());
    EXPECT_EQ(h.game.seasonFiles(), QStringList{QStringLiteral("gridkeeper.tmp")});
}

TEST(Startup, CrashRecoveryQuestion) {
    const QString text = QStringLiteral(
        "The file gridkeeper.tmp has been found in your GPL\\seasons folder.\r\n\r\nThis may "
        "indicate that your last GPL session crashed while \r\nrunning an track from the inactive "
        "list. If this is the case, the\r\nfile gridkeeper.tmp should be renamed to 67season.ini "
        "again.\r\n\r\nShall the file be renamed now?");
    for (Answer answer : {Answer::Yes, Answer::No}) {
        Harness h;
        h.game.addTracks({"monza", "spa", "monaco"});
        h.game.writeSeason({"monaco"});
        h.game.writeAllTracks({"monza", "spa", "monaco"});
        h.game.write(QStringLiteral("seasons/gridkeeper.tmp"), seasonOf({"monza", "spa"}));
        h.dialogs.expectMessage(
            {text, QStringLiteral("Gridkeeper Crash Recovery"), Buttons::YesNo, Icon::Exclamation},
            answer);
        ASSERT_TRUE(h.load());
        if (answer == Answer::Yes) {
            EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monza", "spa"}));
            EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/gridkeeper.tmp")));
            EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")),
                      seasonOf({"monza", "spa"}));
        } else {
            EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monaco"}));
            EXPECT_TRUE(h.game.exists(QStringLiteral("seasons/gridkeeper.tmp")));
        }
    }
}

TEST(Startup, RunTimeErrorsAreReportedAndStartupGoesOn) {
    struct Case {
        const char* name;
        QString alphabetical;
        QByteArray season;
        MessageBox message;
        Rows active;
    };
    const auto plain = [](const char* text) {
        return MessageBox{QString::fromLatin1(text), QStringLiteral("Gridkeeper"), Buttons::Ok,
                          Icon::None};
    };
    const std::vector<Case> cases = {
        {"alphabetical not a number",
         QStringLiteral("yes"),
         seasonOf({"a", "b"}),
         plain("Type mismatch"),
         {"* a", "* b"}},
        {"season ends inside an event",
         QStringLiteral("0"),
         seasonOf({"a"}) + "[Event2]\r\nname=b\r\n",
         plain("Input past end of file: 67season.ini ends inside event 2 (line 15)."),
         {"* a"}},
        {"short track directory line",
         QStringLiteral("1"),
         seasonOf({"a"}) + "[Event2]\r\nn\r\ns\r\ntrackDir=b\r\nm\r\nd\r\nl\r\ng\r\n",
         plain("Invalid procedure call or argument: the track-directory line of event 2 of "
               "67season.ini (line 15) gives no folder name: \"trackDir=b\"."),
         {"* a"}},
        {"one event more than a list holds", QStringLiteral("0"),
         seasonOf(QList<QByteArray>(kMaxListRows + 1, "t")),
         plain("Overflow: 67season.ini holds more events than a list can hold (32767); event "
               "32768 of 67season.ini (line 294909) is one too many."),
         Rows(kMaxListRows, "* t")},
    };
    for (const Case& c : cases) {
        Harness h;
        h.settings.set(QStringLiteral("alphabetical"), c.alphabetical);
        h.game.write(QStringLiteral("seasons/67season.ini"), c.season);
        h.game.writeAllTracks({});
        h.dialogs.expectMessage(c.message);
        ASSERT_TRUE(h.load()) << c.name;
        EXPECT_EQ(h.ws().ListTracks.rows, c.active) << c.name;
        // The steps after the failed one still ran.
        EXPECT_EQ(h.ctl().lblGPLdir.caption, QStringLiteral("GRIDKEEPER")) << c.name;
        EXPECT_EQ(h.ctl().cboCars.size(), 7) << c.name;
    }
}

TEST(Startup, StoredSortModeTicksTheBoxAndIsStoredAgain) {
    Harness h;
    h.game.writeSeason({"a"});
    h.settings.set(QStringLiteral("alphabetical"), QStringLiteral("1"));
    ASSERT_TRUE(h.load());
    EXPECT_EQ(h.ctl().chkSort, 1);
    EXPECT_EQ(h.settings.saves, 2); // GPLDir, then the box's click handler
}

TEST(Startup, UnreadableSeasonsFolderIsReported) {
    Harness h;
    h.game.writeSeason({"a"});
    h.files.failPathContaining = QStringLiteral("seasons");
    h.files.failure = ErrorCode::PermissionDenied;
    h.dialogs.expectMessage({QStringLiteral("Permission denied"), QStringLiteral("Gridkeeper"),
                             Buttons::Ok, Icon::None});
    h.dialogs.expectMessage({QStringLiteral("Permission denied"), QStringLiteral("Gridkeeper"),
                             Buttons::Ok, Icon::None});
    ASSERT_TRUE(h.load());
    EXPECT_EQ(h.ws().ListTracks.count(), 0);
}

TEST(Closing, AsksOnlyWithUnsavedSeasonChanges) {
    Harness h;
    h.game.writeSeason({"a"});
    ASSERT_TRUE(h.load());
    h.ws().bolTrackSetChanged = true;
    bool cancel = false;
    h.m().Form_Unload(cancel);
    EXPECT_FALSE(cancel);

    const MessageBox question{
        QStringLiteral("You haven't saved your changes so far. Do you want to "
                       "create the new 67season.ini now?"),
        QStringLiteral("Gridkeeper"), Buttons::YesNoCancel, Icon::Exclamation};
    h.ws().bolSeasonChanged = true;
    h.dialogs.expectMessage(question, Answer::Cancel);
    h.m().Form_Unload(cancel);
    EXPECT_TRUE(cancel);
    cancel = false;
    h.dialogs.expectMessage(question, Answer::No);
    h.m().Form_Unload(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    EXPECT_FALSE(h.game.exists(QStringLiteral("seasons/67season_previous.bak")));

    h.dialogs.expectMessage(question, Answer::Yes);
    h.dialogs.expectMessage({QStringLiteral("67season.ini created"), QStringLiteral("Gridkeeper"),
                             Buttons::Ok, Icon::Information});
    h.m().Form_Unload(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(h.ws().bolSeasonChanged);
    EXPECT_TRUE(h.game.exists(QStringLiteral("seasons/67season_previous.bak")));

    // A save that fails keeps the window open with the changes.
    h.ws().bolSeasonChanged = true;
    h.files.failPathContaining = QStringLiteral("seasons");
    h.files.failure = ErrorCode::PermissionDenied;
    h.dialogs.expectMessage(question, Answer::Yes);
    h.dialogs.expectMessage({QStringLiteral("Permission denied"), QStringLiteral("Error 70"),
                             Buttons::Ok, Icon::Critical});
    h.m().Form_Unload(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(h.ws().bolSeasonChanged);
}

} // namespace
} // namespace gk::test
