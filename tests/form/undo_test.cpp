// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of the list changes: a random walk undone and redone, and the Edit menu.
#include "support/harness.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <tuple>

namespace gk::test {
namespace {

using Side = FormModel::Side;

// Everything a step may change, apart from the season flag (which follows the last write), one
// line each: the lists' current rows and rows (mark, text, entries), the boxes, the track to
// run, the captions (the set's only while shown), the open set and its flag. A mismatch shows
// as a diff of lines.
std::string stateOf(Harness& h) {
    QByteArray s;
    for (const TrackList* list :
         {&h.ws().ListTracks, &h.ws().listNotActive, &h.ws().ListAllTracks}) {
        s += "current " + QByteArray::number(list->current) + '\n';
        for (const TrackRow& row : list->rows) {
            s += (row.selected ? "+ " : "  ") + row.text;
            for (const QByteArray& line : row.entries.entry)
                s += " | " + line;
            for (const QByteArray& line : row.entries.extra)
                s += " | " + line;
            s += '\n';
        }
    }
    for (const TextBoxState& box : h.ctl().txtEntry)
        s += box.text + '\n';
    const LabelState& set = h.ctl().lblTrackSet;
    for (const QString& line :
         {h.ctl().lblAmountLeft.caption, h.ctl().lblAmountRight.caption,
          set.visible ? set.caption : u"(no set label)"_s, h.ws().strTrackSet})
        s += line.toUtf8() + '\n';
    return (s + h.ctl().txtRunTrack.text + (h.ws().bolTrackSetChanged ? "\nset changed" : ""))
        .toStdString();
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
    std::vector<std::string> before(1), after(1); // by step, from 1
    std::vector<int> writtenAt;                   // the clean step after each action
    int clean = 0;
    h.ctl().chkEdit = {1, 1};
    for (int action = 0; action < 400; ++action) {
        const int kind = rng.bounded(10), side = rng.bounded(2), index = rng.bounded(4);
        const Side s = side == 0 ? Side::Active : Side::Inactive;
        const int n = h.m().list(s).count();
        const int steps = history.index();
        const std::string pre = stateOf(h);
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
        } else if (kind == 5 && now > 0 && stateOf(h) != pre) {
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
        ASSERT_EQ(stateOf(h), before[static_cast<size_t>(i)]);
        ASSERT_EQ(h.ws().bolSeasonChanged, i - 1 != clean);
    }
    ASSERT_FALSE(h.m().undoEnabled());
    for (int i = 1; i <= total; ++i) {
        SCOPED_TRACE(testing::Message()
                     << "redo of step " << i << " " << history.redoText().toStdString());
        h.m().mnuRedo_Click();
        ASSERT_EQ(stateOf(h), after[static_cast<size_t>(i)]);
        ASSERT_EQ(h.ws().bolSeasonChanged, i != clean);
    }
    ASSERT_FALSE(h.m().redoEnabled());
}

// The Edit menu names the step it undoes or redoes and is disabled when there is none; a step
// after undoing drops the steps that were undone, the one last written too. (What each undo and
// redo restores, typing merged into one step and the season flag around a write are the random
// walk's.)
TEST(Undo, TheEditMenuNamesTheStep) {
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
    m.mnuRedo_Click();
    m.setRowsSelected(Side::Active, 1, 1, true);
    m.setCurrentRow(Side::Active, 1);
    m.listKeyPressed(Side::Active, ListKey::Delete);
    EXPECT_EQ(m.undoCaption(), u"&Undo Delete Kyalami"_s);
    m.lblAmountLeft_Click();
    EXPECT_EQ(m.undoCaption(), u"&Undo Sort Active Tracks"_s);
    ASSERT_TRUE(h.editEntry(Side::Active, 0, 5, u"numberOfLaps=1"_s));
    EXPECT_EQ(m.undoCaption(), u"&Undo Edit numberOfLaps of spa"_s);
    h.dialogs.expectMessage(kCreatedBox);
    m.cmdMakeIni_Click();
    m.mnuUndo_Click();
    m.mnuUndo_Click();
    m.lblAmountLeft_Click();
    EXPECT_EQ(menu(), std::tuple(u"&Undo Sort Active Tracks"_s, true, u"&Redo"_s, false));
    m.mnuUndo_Click();
    m.mnuRedo_Click();
    EXPECT_TRUE(h.ws().bolSeasonChanged); // the written step is gone
}

// Commands that move nothing make no step: a move by "<" or a drop onto a list that would pass
// 32 767 rows (refused whole: no track ends up copied but not removed), a reorder of the
// inactive list, rows that are not there, a block dropped where it is.
TEST(Undo, CommandsThatMoveNothingMakeNoStep) {
    Harness h;
    ASSERT_TRUE(h.loadSmallGame());
    h.fillList(Side::Active, kMaxListRows - 1);
    h.dialogs.expectMessage(errorBox(6, u"Overflow"_s));
    EXPECT_FALSE(h.m().dropRows(Side::Inactive, {0, 1}, Side::Active, 0));
    h.dialogs.verify();
    EXPECT_FALSE(h.m().dropRows(Side::Inactive, {0}, Side::Inactive, 3));
    EXPECT_FALSE(h.m().dropRows(Side::Active, {1, kMaxListRows}, Side::Active, 0));
    EXPECT_FALSE(h.m().dropRows(Side::Active, {1, 2}, Side::Active, 2));
    EXPECT_FALSE(h.ws().bolSeasonChanged);
    h.m().setRowsSelected(Side::Inactive, 0, 1, true);
    h.m().setCurrentRow(Side::Inactive, 0);
    h.dialogs.expectMessage(errorBox(6, u"Overflow"_s));
    h.m().cmdChangeButton_Click(3);
    EXPECT_EQ(h.ws().ListTracks.count(), kMaxListRows - 1);
    EXPECT_EQ(texts(h.ws().listNotActive), (Rows{"brands", "Zolder", "oulton"}));
    EXPECT_FALSE(h.m().undoEnabled());
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
    for (; h.m().undoEnabled() && undone <= UndoHistory::kMaxSteps; ++undone)
        h.m().mnuUndo_Click();
    EXPECT_EQ(undone, UndoHistory::kMaxSteps);
    EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"Kyalami", "monza", "* spa", "monaco"}));
    EXPECT_TRUE(h.ws().bolSeasonChanged);
}

} // namespace
} // namespace gk::test
