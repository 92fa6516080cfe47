#include "support/harness.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Rows = std::vector<QByteArray>;

InputBox saveAsBox(const Harness& h, const QString& current) {
    return {
        QStringLiteral("Enter Name of the Track Set\r\n(Track Set will be saved in %1\\seasons\\)")
            .arg(h.game.dir()),
        QStringLiteral("Save as"), current};
}

const MessageBox kFileExists{QStringLiteral("File already exists. Overwrite?"),
                             QStringLiteral("File exists"), Buttons::YesNoCancel,
                             Icon::Exclamation};

void loadSetsGame(Harness& h) {
    h.game.addTracks({"monza", "spa", "monaco", "brands"});
    h.game.writeSeason({"monza", "spa"});
    h.game.writeAllTracks({"monza", "spa", "monaco", "brands"});
    ASSERT_TRUE(h.load());
}

TEST(TrackSets, MenuOffersSetsSortedWithoutRegardToCase) {
    Harness h;
    h.game.writeSeason({"a"});
    for (const char* name :
         {"zolder.67s", "Alpha.67s", "beta.67s", "Upper.67S", "notes.txt", ".hidden.67s"})
        h.game.write(QStringLiteral("seasons/") + QString::fromLatin1(name), "x");
    h.game.write(QStringLiteral("seasons/folder.67s/inside.txt"), "x"); // a folder, not a set
    ASSERT_TRUE(h.load());
    // Standard.67s is the first-run copy of the season.
    EXPECT_EQ(h.m().offeredTrackSets(),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta"),
                           QStringLiteral("Standard"), QStringLiteral("zolder")}));
    EXPECT_TRUE(h.ctl().mnuTrackSet[1].visible);
    EXPECT_EQ(h.ctl().mnuTrackSet[0].caption, QStringLiteral("&Save as"));
}

TEST(TrackSets, AtMostTwentySetsAreOffered) {
    Harness h;
    h.game.writeSeason({"a"});
    h.game.writeAllTracks({"a"});
    for (int i = 0; i < 25; ++i)
        h.game.write(QStringLiteral("seasons/set%1.67s").arg(i, 2, 10, QLatin1Char('0')), "x");
    ASSERT_TRUE(h.load());
    const QStringList sets = h.m().offeredTrackSets();
    ASSERT_EQ(sets.size(), 20);
    EXPECT_EQ(sets.front(), QStringLiteral("set00"));
    EXPECT_EQ(sets.back(), QStringLiteral("set19"));
}

TEST(TrackSets, SaveAsWritesTheSetAndOffersIt) {
    Harness h;
    loadSetsGame(h);
    h.ws().strTrackSet = QStringLiteral("Old");
    h.ws().bolTrackSetChanged = true;
    h.dialogs.expectInput(saveAsBox(h, QStringLiteral("Old")), QStringLiteral("Fast Ones"));
    h.m().mnuTrackSet_Click(0);
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/Fast Ones.67s")),
              seasonBytes(h.ws().arrActive, "Track Set for Gridkeeper"));
    EXPECT_TRUE(h.m().offeredTrackSets().contains(QStringLiteral("Fast Ones")));
    EXPECT_EQ(h.ws().strTrackSet, QStringLiteral("Fast Ones"));
    EXPECT_FALSE(h.ws().bolTrackSetChanged);
    EXPECT_EQ(h.ctl().lblTrackSet.caption, QStringLiteral(" Track Set: Fast Ones "));
    EXPECT_TRUE(h.ctl().lblTrackSet.visible);
}

TEST(TrackSets, SaveAsOverExistingSetAsks) {
    Harness h;
    loadSetsGame(h);
    h.game.write(QStringLiteral("seasons/Mine.67s"), "old");
    // No: back to the input box with the name typed; Cancel there keeps the file.
    h.dialogs.expectInput(saveAsBox(h, QString()), QStringLiteral("Mine"));
    h.dialogs.expectMessage(kFileExists, Answer::No);
    h.dialogs.expectInput(saveAsBox(h, QStringLiteral("Mine")), QString());
    h.m().mnuTrackSet_Click(0);
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/Mine.67s")), "old");
    // Cancel in the question ends the operation; the typed name is the current set.
    h.dialogs.expectInput(saveAsBox(h, QString()), QStringLiteral("Mine"));
    h.dialogs.expectMessage(kFileExists, Answer::Cancel);
    h.m().mnuTrackSet_Click(0);
    EXPECT_EQ(h.game.read(QStringLiteral("seasons/Mine.67s")), "old");
    // Yes overwrites.
    h.dialogs.expectInput(saveAsBox(h, QStringLiteral("Mine")), QStringLiteral("Mine"));
    h.dialogs.expectMessage(kFileExists, Answer::Yes);
    h.m().mnuTrackSet_Click(0);
    EXPECT_TRUE(h.game.read(QStringLiteral("seasons/Mine.67s")).startsWith("[Season]"));
}

TEST(TrackSets, CancelKeepsTheCurrentSet) {
    Harness h;
    loadSetsGame(h);
    h.ws().strTrackSet = QStringLiteral("Kept");
    h.dialogs.expectInput(saveAsBox(h, QStringLiteral("Kept")), QString());
    h.m().mnuTrackSet_Click(0);
    EXPECT_EQ(h.ws().strTrackSet, QStringLiteral("Kept"));
}

TEST(TrackSets, NamesThatAreNoFileNamesAreRefusedBeforeWriting) {
    const QStringList bad = {
        QStringLiteral("  "),        QStringLiteral(".."),        QStringLiteral("../escape"),
        QStringLiteral("a\\b"),      QStringLiteral("CON"),       QStringLiteral("lpt1.txt"),
        QStringLiteral("what?"),     QStringLiteral("a<b>"),      QStringLiteral("pipe|"),
        QStringLiteral("star*"),     QStringLiteral("colon:"),    QStringLiteral("quote\""),
        QStringLiteral("trailing."), QStringLiteral("trailing "), QStringLiteral("CONIN$"),
        QStringLiteral("conout$.x"), QStringLiteral("COM\u00B9"), QStringLiteral("lpt\u00B3"),
        QString(121, QChar(0xE9))}; // 242 bytes in UTF-8
    for (const QString& name : bad) {
        Harness h;
        loadSetsGame(h);
        const QStringList before = h.game.seasonFiles();
        h.dialogs.allowAnyMessage(Answer::Ok);
        h.dialogs.expectInput(saveAsBox(h, QString()), name);
        h.dialogs.expectInput(saveAsBox(h, name), QString());
        h.m().mnuTrackSet_Click(0);
        // Refused with a message, then asked again; Cancel ends it.
        ASSERT_EQ(h.dialogs.shown().size(), 1u) << name.toStdString();
        const MessageBox& refusal = h.dialogs.shown()[0];
        EXPECT_EQ(refusal.title, QStringLiteral("Save as"));
        EXPECT_TRUE(refusal.text.startsWith(QLatin1Char('"') + name + QLatin1Char('"')))
            << refusal.text.toStdString();
        EXPECT_EQ(h.game.seasonFiles(), before) << name.toStdString();
        EXPECT_TRUE(h.ws().strTrackSet.isEmpty());
        EXPECT_FALSE(QFile::exists(h.game.dir() + QStringLiteral("/escape.67s")));
    }
    // Nor is a set opened by such a name, even when the file it leads to exists.
    for (const QString& name : {QStringLiteral("../outside/evil"),
                                QStringLiteral("..\\outside\\evil"), QStringLiteral("CONIN$")}) {
        Harness h;
        loadSetsGame(h);
        h.game.write(QStringLiteral("outside/evil.67s"), seasonOf({"monaco"}));
        const QByteArray season = h.game.read(QStringLiteral("seasons/67season.ini"));
        h.dialogs.allowAnyMessage(Answer::Ok);
        h.m().openTrackSet(name);
        ASSERT_EQ(h.dialogs.shown().size(), 1u);
        EXPECT_TRUE(h.dialogs.shown()[0].text.startsWith(QLatin1Char('"') + name +
                                                         QStringLiteral("\" can't be used")));
        EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monza", "spa"}));
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), season);
    }
}

TEST(TrackSets, OpenAsksBeforeDiscardingUnsavedWork) {
    struct Case {
        const char* name;
        bool setOpen, seasonChanged, setChanged;
        const char* question; // nullptr: no question
    };
    const std::vector<Case> cases = {
        {"nothing unsaved", true, false, false, nullptr},
        {"both unsaved", true, true, true,
         "Neither your 67season.ini nor your current track set are saved yet. Do you really want "
         "to open the new track set?"},
        {"season unsaved, no set", false, true, true,
         "Your 67season.ini isn't saved yet. Do you really want to open the new track set?"},
        {"set unsaved", true, false, true,
         "Your current track set isn't saved yet. Do you really want to open the new track set?"},
        {"set flag without an open set", false, false, true, nullptr},
    };
    for (const Case& c : cases) {
        for (Answer answer : {Answer::No, Answer::Yes}) {
            if (!c.question && answer == Answer::No)
                continue;
            Harness h;
            h.game.write(QStringLiteral("seasons/Pick.67s"), seasonOf({"monaco", "brands"}));
            loadSetsGame(h);
            h.ws().strTrackSet = c.setOpen ? QStringLiteral("Other") : QString();
            h.ws().bolSeasonChanged = c.seasonChanged;
            h.ws().bolTrackSetChanged = c.setChanged;
            if (c.question)
                h.dialogs.expectMessage({QString::fromLatin1(c.question),
                                         QStringLiteral("Gridkeeper"), Buttons::YesNo,
                                         Icon::Exclamation},
                                        answer);
            const int slot =
                2 + static_cast<int>(h.m().offeredTrackSets().indexOf(QStringLiteral("Pick")));
            h.m().mnuTrackSet_Click(static_cast<int16_t>(slot));
            if (answer == Answer::No) {
                EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monza", "spa"})) << c.name;
                EXPECT_EQ(h.ws().bolSeasonChanged, c.seasonChanged) << c.name;
                continue;
            }
            EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monaco", "brands"})) << c.name;
            EXPECT_EQ(h.ws().listNotActive.rows, (Rows{"monza", "spa"})) << c.name;
            EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")),
                      seasonBytes(h.ws().arrActive, "All Tracks In Custom Order"))
                << c.name;
            EXPECT_FALSE(h.ws().bolSeasonChanged);
            EXPECT_FALSE(h.ws().bolTrackSetChanged);
            EXPECT_EQ(h.ctl().lblTrackSet.caption, QStringLiteral(" Track Set: Pick "));
        }
    }
}

TEST(TrackSets, FailedOpensAreReportedAndTheSeasonStays) {
    struct Case {
        const char* name;
        QByteArray set; // empty: the file vanished after the menu was filled
        MessageBox message;
        Rows active;
    };
    QList<QByteArray> many;
    for (int i = 0; i < 65; ++i)
        many.append("t" + QByteArray::number(i));
    const std::vector<Case> cases = {
        {"vanished",
         {},
         {QStringLiteral("File not found"), QStringLiteral("Error 53"), Buttons::Ok,
          Icon::Critical},
         {}},
        {"malformed",
         seasonOf({"monaco"}) + "[Event2]\r\nname=x\r\n",
         {QStringLiteral("Input past end of file: Bad.67s ends inside event 2 (line 15)."),
          QStringLiteral("Error 62"), Buttons::Ok, Icon::Critical},
         {"monaco"}},
        {"65 tracks",
         seasonOf(many),
         {QStringLiteral("Can't create 67season.ini cause there are more than 64 tracks in the "
                         "'active tracks' list"),
          QStringLiteral("Gridkeeper"), Buttons::Ok, Icon::Exclamation},
         {}},
    };
    for (const Case& c : cases) {
        Harness h;
        h.game.write(QStringLiteral("seasons/Bad.67s"), c.set.isEmpty() ? QByteArray("x") : c.set);
        loadSetsGame(h);
        const QByteArray season = h.game.read(QStringLiteral("seasons/67season.ini"));
        if (c.set.isEmpty())
            h.game.remove(QStringLiteral("seasons/Bad.67s"));
        h.dialogs.expectMessage(c.message);
        const int slot =
            2 + static_cast<int>(h.m().offeredTrackSets().indexOf(QStringLiteral("Bad")));
        h.m().mnuTrackSet_Click(static_cast<int16_t>(slot));
        EXPECT_EQ(h.game.read(QStringLiteral("seasons/67season.ini")), season) << c.name;
        if (c.name == std::string("65 tracks"))
            EXPECT_EQ(h.ws().ListTracks.count(), 65);
        else
            EXPECT_EQ(h.ws().ListTracks.rows, c.active) << c.name;
        EXPECT_EQ(h.ws().strTrackSet, QStringLiteral("Bad")) << c.name;
        EXPECT_EQ(h.m().offeredTrackSets().contains(QStringLiteral("Bad")), !c.set.isEmpty())
            << c.name;
    }
}

} // namespace
} // namespace gk::test
