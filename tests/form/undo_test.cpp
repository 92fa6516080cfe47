// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the list changes: a random walk undone and redone, and the Edit menu.
#include "support/harness.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <tuple>

namespace gk::test {
namespace {

using Side = FormModel::Side;

// Everything a step may change, apart from the season flag (which follows the last write).
struct State {
    std::array<std::vector<TrackRow>, 3> rows;
    std::array<int, 2> current{};
    std::array<QByteArray, 14> boxes;
    QByteArray runTrack;
    QString left, right, setLabel, trackSet;
    bool setLabelShown = false, setChanged = false;
};

State stateOf(Harness& h) {
    State s{{h.ws().ListTracks.rows, h.ws().listNotActive.rows, h.ws().ListAllTracks.rows},
            {h.ws().ListTracks.current, h.ws().listNotActive.current},
            {},
            h.ctl().txtRunTrack.text,
            h.ctl().lblAmountLeft.caption,
            h.ctl().lblAmountRight.caption,
            h.ctl().lblTrackSet.caption,
            h.ws().strTrackSet,
            h.ctl().lblTrackSet.visible,
            h.ws().bolTrackSetChanged};
    for (size_t i = 0; i < 14; ++i)
        s.boxes[i] = h.ctl().txtEntry[i].text;
    return s;
}

void expectSame(const State& a, const State& b) {
    for (size_t k = 0; k < 3; ++k) {
        ASSERT_EQ(a.rows[k].size(), b.rows[k].size()) << "list " << k;
        for (size_t r = 0; r < a.rows[k].size(); ++r) {
            ASSERT_EQ(a.rows[k][r].text, b.rows[k][r].text) << "list " << k << " row " << r;
            ASSERT_EQ(a.rows[k][r].selected, b.rows[k][r].selected) << "list " << k << " row " << r;
            ASSERT_EQ(a.rows[k][r].entries, b.rows[k][r].entries) << "list " << k << " row " << r;
        }
    }
    ASSERT_EQ(a.current, b.current);
    ASSERT_EQ(a.boxes, b.boxes);
    ASSERT_EQ(a.runTrack, b.runTrack);
    ASSERT_EQ(a.left, b.left);
    ASSERT_EQ(a.right, b.right);
    ASSERT_EQ(a.setLabelShown, b.setLabelShown);
    if (a.setLabelShown) {
        ASSERT_EQ(a.setLabel, b.setLabel);
    }
    ASSERT_EQ(a.trackSet, b.trackSet);
    ASSERT_EQ(a.setChanged, b.setChanged);
}

// The question before a set replaces unsaved lists, when it is asked.
void expectDiscardQuestion(Harness& h) {
    const bool setOpen = !h.ws().strTrackSet.isEmpty();
    QString question;
    if (setOpen && h.ws().bolSeasonChanged && h.ws().bolTrackSetChanged)
        question = u"Neither your 67season.ini nor your current track set are saved yet."_s;
    else if (h.ws().bolSeasonChanged)
        question = u"Your 67season.ini isn't saved yet."_s;
    else if (setOpen && h.ws().bolTrackSetChanged)
        question = u"Your current track set isn't saved yet."_s;
    if (!question.isEmpty())
        h.dialogs.expectMessage({question + u" Do you really want to open the new track set?"_s,
                                 u"Gridkeeper"_s, Buttons::YesNo, Icon::Exclamation,
                                 QuestionId::DiscardUnsavedChanges},
                                Answer::Yes);
}

// Every kind of list change in a seeded random order, with clicks and searches between them;
// then every step undone, each time compared with the state just before the step, and redone,
// compared with the state just after it. The season counts as changed exactly when the history
// is not at the step last written.
TEST(Undo, RandomWalkUndoneAndRedoneStepByStep) {
    QRandomGenerator rng(1967);
    const QList<QByteArray> names = {"monza",  "Monaco",  "spa",     "spa2",  "Zolder",  "brands",
                                     "oulton", "mosport", "kyalami", "rouen", "watglen", " Monza "};
    Harness h;
    h.game.write(u"seasons/A.67s"_s, seasonOf({"spa", "rouen", "monza"}));
    h.game.write(u"seasons/B.67s"_s, seasonOf({"kyalami", "Zolder", "oulton", "spa2", "brands"}));
    ASSERT_TRUE(h.load(names.mid(0, 9), names.mid(0, 7), names));
    UndoHistory& history = h.m().history();
    std::vector<State> before(1), after(1); // by step, from 1
    std::vector<int> writtenAt;             // the clean step after each action
    int clean = 0;
    h.ctl().chkEdit = {1, 1};
    for (int action = 0; action < 400; ++action) {
        const int kind = rng.bounded(10), side = rng.bounded(2), index = rng.bounded(4);
        const Side s = side == 0 ? Side::Active : Side::Inactive;
        const int n = h.m().list(s).count();
        const int steps = history.index();
        const State pre = stateOf(h);
        switch (kind) {
        case 0: // a click or a ctrl+click
            if (n > 0) {
                const int row = rng.bounded(n);
                if (rng.bounded(2) == 0)
                    h.m().setRowsSelected(s, 0, n - 1, false);
                h.m().setRowsSelected(s, row, row, true);
                h.m().setCurrentRow(s, row);
            }
            break;
        case 1:
            h.m().cmdChangeButton_Click(static_cast<int16_t>(index));
            break;
        case 2:
            h.m().listKeyPressed(s, static_cast<ListKey>(index % 3));
            break;
        case 3:
            h.m().picArrow_Click(static_cast<int16_t>(index));
            break;
        case 4:
            side == 0 ? h.m().lblAmountLeft_Click() : h.m().lblAmountRight_Click();
            break;
        case 5: // typing: a few keystrokes into one entry
            for (int key = 0; key < 1 + index; ++key)
                h.m().editEntry(static_cast<int16_t>(side * 7 + 3),
                                u"numberOfLaps=%1"_s.arg(rng.bounded(100)));
            break;
        case 6:
            if (rng.bounded(4) == 0) {
                expectDiscardQuestion(h);
                h.m().openTrackSet(index % 2 == 0 ? u"A"_s : u"B"_s);
            }
            break;
        case 7:
        case 8:
            if (n > 0) {
                std::vector<int> rows;
                for (int k = 0; k <= index; ++k)
                    rows.push_back(rng.bounded(n));
                const Side to = rng.bounded(3) == 0 ? Side::Inactive : Side::Active;
                h.m().dropRows(s, rows, to, rng.bounded(h.m().list(to).count() + 1));
            }
            break;
        default:
            h.m().setSearchText(index == 0 ? QString() : QString::fromLatin1(names[index].left(2)));
            break;
        }
        h.dialogs.verify();
        const int now = history.index();
        if (now > steps) {
            ASSERT_EQ(now, steps + 1);
            before.push_back(pre);
            after.push_back(stateOf(h));
        } else if (kind == 5 && now > 0 && stateOf(h).boxes != pre.boxes) {
            after[static_cast<size_t>(now)] = stateOf(h); // typing merged into the last step
        }
        if (!h.ws().bolSeasonChanged)
            clean = now;
    }
    const int total = history.index();
    ASSERT_GT(total, 100);
    ASSERT_LT(total, UndoHistory::kMaxSteps);
    for (int i = total; i > 0; --i) {
        SCOPED_TRACE(testing::Message() << "undo of step " << i);
        h.m().mnuUndo_Click();
        ASSERT_EQ(history.index(), i - 1);
        ASSERT_NO_FATAL_FAILURE(expectSame(stateOf(h), before[static_cast<size_t>(i)]));
        ASSERT_EQ(h.ws().bolSeasonChanged, i - 1 != clean);
    }
    ASSERT_FALSE(h.m().undoEnabled());
    for (int i = 1; i <= total; ++i) {
        SCOPED_TRACE(testing::Message()
                     << "redo of step " << i << " " << history.redoText().toStdString());
        h.m().mnuRedo_Click();
        ASSERT_NO_FATAL_FAILURE(expectSame(stateOf(h), after[static_cast<size_t>(i)]));
        ASSERT_EQ(h.ws().bolSeasonChanged, i != clean);
    }
    ASSERT_FALSE(h.m().redoEnabled());
}

// The Edit menu names the step it undoes or redoes and is disabled when there is none; typing
// into one entry is one step; the season is unchanged exactly at the step last written.
TEST(Undo, TheEditMenuNamesTheStepAndFollowsTheLastWrite) {
    Harness h;
    ASSERT_TRUE(h.loadSmallGame());
    FormModel& m = h.m();
    const auto menu = [&] {
        return std::tuple{m.undoCaption(), m.undoEnabled(), m.redoCaption(), m.redoEnabled()};
    };
    EXPECT_EQ(menu(), std::tuple(u"&Undo"_s, false, u"&Redo"_s, false));
    h.selectAll(Side::Inactive);
    m.setRowsSelected(Side::Inactive, 1, 1, false);
    m.cmdChangeButton_Click(3); // "<"
    const QString move = u"Move 2 tracks to Active Tracks"_s;
    EXPECT_EQ(menu(), std::tuple(u"&Undo "_s + move, true, u"&Redo"_s, false));
    m.mnuUndo_Click();
    EXPECT_EQ(menu(), std::tuple(u"&Undo"_s, false, u"&Redo "_s + move, true));
    EXPECT_FALSE(h.ws().bolSeasonChanged); // back where it was read: closing does not ask
    m.mnuRedo_Click();
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    m.setRowsSelected(Side::Active, 1, 1, true);
    m.setCurrentRow(Side::Active, 1);
    m.listKeyPressed(Side::Active, ListKey::Delete);
    EXPECT_EQ(m.undoCaption(), u"&Undo Delete Kyalami"_s);
    h.ws().ListTracks.rows[2].text = " monaco "; // a sort trims it
    const Rows unsorted = texts(h.ws().ListTracks);
    m.lblAmountLeft_Click();
    EXPECT_EQ(m.undoCaption(), u"&Undo Sort Active Tracks"_s);
    // Three keystrokes, one step.
    ASSERT_TRUE(h.editEntry(Side::Active, 0, 5, u"numberOfLaps=1"_s));
    ASSERT_TRUE(m.editEntry(5, u"numberOfLaps=12"_s));
    ASSERT_TRUE(m.editEntry(5, u"numberOfLaps=123"_s));
    EXPECT_EQ(m.undoCaption(), u"&Undo Edit numberOfLaps of spa"_s);
    h.dialogs.expectMessage(kCreatedBox);
    m.cmdMakeIni_Click();
    EXPECT_FALSE(h.ws().bolSeasonChanged);
    m.mnuUndo_Click();
    EXPECT_EQ(h.ws().ListTracks.rows[0].entries.entry[5], "numberOfLaps=28");
    EXPECT_EQ(h.ctl().txtEntry[5].text, "numberOfLaps=28");
    EXPECT_TRUE(h.ws().bolSeasonChanged); // the files hold the edit
    EXPECT_EQ(m.undoCaption(), u"&Undo Sort Active Tracks"_s);
    m.mnuRedo_Click();
    EXPECT_FALSE(h.ws().bolSeasonChanged);
    // A step after undoing drops the steps that were undone.
    m.mnuUndo_Click();
    m.mnuUndo_Click();
    EXPECT_EQ(texts(h.ws().ListTracks), unsorted);
    m.lblAmountLeft_Click();
    EXPECT_EQ(menu(), std::tuple(u"&Undo Sort Active Tracks"_s, true, u"&Redo"_s, false));
    const Rows sorted = texts(h.ws().ListTracks); // trimmed
    m.mnuUndo_Click();
    m.mnuRedo_Click();
    EXPECT_EQ(texts(h.ws().ListTracks), sorted);
    EXPECT_TRUE(h.ws().bolSeasonChanged); // the written step is gone
}

// Drops that move nothing make no step: onto a list that would pass 32 767 rows (refused as
// "<" is), a reorder of the inactive list, rows that are not there, a block dropped where it is.
TEST(Undo, DropsThatMoveNothingMakeNoStep) {
    Harness h;
    ASSERT_TRUE(h.loadSmallGame());
    h.fillList(Side::Active, kMaxListRows - 1);
    h.dialogs.expectMessage(errorBox(6, u"Overflow"_s));
    EXPECT_FALSE(h.m().dropRows(Side::Inactive, {0, 1}, Side::Active, 0));
    h.dialogs.verify();
    EXPECT_FALSE(h.m().dropRows(Side::Inactive, {0}, Side::Inactive, 3));
    EXPECT_FALSE(h.m().dropRows(Side::Active, {1, kMaxListRows}, Side::Active, 0));
    EXPECT_FALSE(h.m().dropRows(Side::Active, {1, 2}, Side::Active, 2));
    EXPECT_EQ(h.ws().ListTracks.count(), kMaxListRows - 1);
    EXPECT_EQ(texts(h.ws().listNotActive), (Rows{"brands", "Zolder", "oulton"}));
    EXPECT_FALSE(h.m().undoEnabled());
    EXPECT_FALSE(h.ws().bolSeasonChanged);
}

// At most 200 steps are kept: the oldest go first.
TEST(Undo, KeepsTheLast200Steps) {
    Harness h;
    ASSERT_TRUE(h.loadSmallGame());
    for (int i = 0; i < UndoHistory::kMaxSteps + 5; ++i) {
        h.m().setCurrentRow(Side::Active, 0);
        h.m().picArrow_Click(1);
    }
    int undone = 0;
    while (h.m().undoEnabled() && undone <= UndoHistory::kMaxSteps) {
        h.m().mnuUndo_Click();
        ++undone;
    }
    EXPECT_EQ(undone, UndoHistory::kMaxSteps);
    EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"Kyalami", "monza", "* spa", "monaco"}));
    EXPECT_TRUE(h.ws().bolSeasonChanged);
}

} // namespace
} // namespace gk::test
