// SPDX-License-Identifier: GPL-3.0-or-later
// A second writer while the window is open: another program's change is never overwritten
// without a question, and is read in when nothing is unsaved.
#include "game/game_paths.h"
#include "support/harness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cstdio>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

// clang-format off
const Message kQuestion{u"67season.ini or 67AllTracks.ini was changed by another program after Gridkeeper read it.\r\n\r\nYes: write the lists shown here over that change.\r\nNo: read the lists again from the files; your changes here are lost.\r\nCancel: write nothing now."_s,
                           u"Gridkeeper"_s, Buttons::YesNoCancel, Icon::Exclamation, QuestionId::OverwriteOutsideChange, false, true};
// clang-format on

// The small game with brands moved to the active list and not saved.
void changeUnsaved(Harness& h) {
    h.m().setRowsSelected(ListSide::Inactive, 0, 0, true);
    h.m().setCurrentRow(ListSide::Inactive, 0);
    h.m().cmdChangeButton_Click(3);
    ASSERT_TRUE(h.ws().bolSeasonChanged);
}

const QByteArray kEdited = seasonOf({"monza", "oulton"});
const Rows kShown = {"monza", "Kyalami", "* spa", "monaco", "brands"};

// What a write does after a second writer changed the season files, by the answer to its
// question. A change that lands after the checks, right before the write takes the lock, is
// caught under the lock: another program's change is asked about, another Gridkeeper's inactive
// run refuses the write. Nothing changes on disk unless the answer is to overwrite.
TEST(SeasonWatch, AnotherWritersChangeBeforeAWrite) {
    QtFileSystem other; // another process
    std::shared_ptr<void> runLock;
    const auto program = [](Harness& h) { h.game.write(u"seasons/67season.ini"_s, kEdited); };
    const auto inactiveRun = [&](Harness& h) {
        runLock = other.tryLockFile(paths::runLock(h.game.dir()));
        other.renameFile(paths::seasonIni(h.game.dir()), paths::parkedSeason(h.game.dir()));
        h.game.write(u"seasons/67season.ini"_s, "temporary");
    };
    const struct {
        const char* name;
        std::function<void(Harness&)> land;
        bool late;                    // lands right before the lock, after the checks
        std::optional<Answer> answer; // none: no unsaved change, the change is read in at once
        Rows active;                  // the lists' active rows afterwards
        bool closing, overwritten;    // overwritten: the window's lists are on disk
        Message box = kQuestion;
    } cases[] = {
        // clang-format off
        {"nothing unsaved", program, false, std::nullopt, {"monza", "oulton"}, false, false},
        {"Cancel, on closing", program, false, Answer::Cancel, kShown, true, false},
        {"No: reload", program, false, Answer::No, {"monza", "oulton"}, false, false},
        {"Yes: overwrite", program, false, Answer::Yes, kShown, false, true},
        {"another program, late", [](Harness& h) { h.game.write(u"seasons/67AllTracks.ini"_s, kEdited); }, true, Answer::Cancel, kShown, false, false},
        {"an inactive run, late", inactiveRun, true, Answer::Cancel, kShown, false, false, kRunRefusal},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        ASSERT_TRUE(h.loadSmallGame());
        if (c.answer)
            changeUnsaved(h);
        QByteArrayList landed;
        const auto land = [&] {
            c.land(h);
            landed = h.game.readSeasons();
        };
        if (c.late) {
            h.files.beforeLock = land;
        } else {
            land();
            h.m().seasonFilesChanged(); // the file watch's report
            EXPECT_TRUE(h.ctl().lblInfo.caption.startsWith(
                u"67season.ini or 67AllTracks.ini was changed by another program"_s));
            EXPECT_EQ(h.ctl().lblInfo.caption.endsWith(u"the lists were read again."_s), !c.answer);
        }
        if (c.answer) {
            EXPECT_EQ(texts(h.ws().ListTracks), kShown); // nothing read while changes are unsaved
            if (c.closing) // its question first; Cancel then keeps the window open
                h.dialogs.expectMessage(kClosingQuestion, Answer::Yes);
            h.dialogs.expectMessage(c.box, *c.answer);
            if (c.overwritten)
                h.dialogs.expectMessage(kCreatedBox);
            bool cancel = false;
            if (c.closing)
                h.m().Form_Unload(cancel);
            else
                h.m().cmdMakeIni_Click();
            EXPECT_EQ(cancel, c.closing);
        }
        EXPECT_EQ(texts(h.ws().ListTracks), c.active);
        EXPECT_EQ(h.ws().bolSeasonChanged, c.closing || c.late);
        if (c.overwritten) {
            EXPECT_EQ(h.game.read(u"seasons/67season_previous.bak"_s), kEdited);
            EXPECT_TRUE(h.game.season().contains("Directory=brands\r"));
        } else {
            EXPECT_EQ(h.game.readSeasons(), landed);
        }
        runLock.reset();
    }
}

// The real file watch: another program's safe write (a rename over the file) reaches the
// window's model through the event loop, and the lists are read again.
TEST(SeasonWatch, RealWatchReadsAChangeIn) {
    int argc = 1;
    char name[] = "season_watch_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    Harness h(true);
    ASSERT_TRUE(h.load({"monza", "spa"}, {"monza"}, {"monza", "spa"}));
    int reports = 0;
    h.model.onChangedOnDisk = [&] {
        ++reports;
        h.model.seasonFilesChanged();
    };
    // A safe write (a rename over the file), then a write in place into the file it brought.
    for (const QList<QByteArray>& active : {QList<QByteArray>{"spa"}, {"spa", "monza"}}) {
        const int before = reports;
        const bool inPlace = active.size() == 2;
        h.game.write(inPlace ? u"seasons/67season.ini"_s : u"seasons/67season.new"_s,
                     seasonOf(active));
        if (!inPlace) {
            ASSERT_EQ(
                std::rename(QFile::encodeName(h.game.path(u"seasons/67season.new"_s)).constData(),
                            QFile::encodeName(h.game.path(u"seasons/67season.ini"_s)).constData()),
                0);
        }
        const QDeadlineTimer deadline(10000);
        while (reports == before && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        EXPECT_EQ(texts(h.ws().ListTracks), Rows(active.begin(), active.end()));
    }
}

} // namespace
} // namespace gk::test
