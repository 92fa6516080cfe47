// SPDX-License-Identifier: GPL-3.0-or-later
// The list commands and entry edits, and random command sequences against a reference model.
#include "support/harness.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Marks = std::vector<uint8_t>;
using Side = FormModel::Side;

TEST(EntryEditing, EditsReachOnlyTheCurrentTrack) {
    Harness h;
    h.game.write(u"seasons/Set.67s"_s, seasonOf({"monza", "Kyalami", "spa", "monaco"}));
    ASSERT_TRUE(h.loadSmallGame());
    h.m().openTrackSet(u"Set"_s);
    h.m().setCurrentRow(Side::Active, 0);
    EXPECT_FALSE(h.m().editEntry(0, u"name=X"_s)); // edit mode off
    h.ctl().chkEdit[0] = 1;
    EXPECT_TRUE(h.m().entryBoxEnabled(0));
    EXPECT_FALSE(h.m().entryBoxEnabled(7)); // the other side stays locked
    EXPECT_TRUE(h.m().editEntry(0, u"name=Gran Premio d\u2019Italia"_s));
    EXPECT_EQ(h.ws().ListTracks.rows[0].entries.entry[0], "name=Gran Premio d\x92Italia");
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    EXPECT_TRUE(h.ws().bolTrackSetChanged);
    EXPECT_EQ(h.ctl().lblTrackSet.caption, u" Track Set: Set "_s); // an edit leaves the label
    // A character outside the code page is refused; the entry keeps its bytes.
    // clang-format off
    h.dialogs.expectMessage(gkBox(u"The character \"\u9234\" cannot be written into the game's season files, which hold only the characters of the Windows-1252 code page. The entry keeps its previous text."_s));
    // clang-format on
    EXPECT_FALSE(h.m().editEntry(0, u"name=\u9234"_s));
    EXPECT_EQ(h.ws().ListTracks.rows[0].entries.entry[0], "name=Gran Premio d\x92Italia");
    // After a sort the side has no current row: its boxes take no edit.
    h.m().lblAmountLeft_Click();
    EXPECT_FALSE(h.m().editEntry(0, u"name=lost"_s));
}

// ---------------------------------------------------------------- against a reference model

struct RefSide {
    std::vector<int> ids;
    Marks marks;
    int current = -1;
};

struct Reference {
    std::array<RefSide, 2> sides;
    std::map<int, QByteArray> text;
    QByteArray runTrack; // the track to run, and the side it was taken from
    int runSide = -1;
    bool seasonChanged = false, setEdited = false; // by the last step

    // The current row shows in the boxes and is the track to run, without its missing mark.
    void setCurrent(int side, int row) {
        sides[side].current = row;
        const QByteArray& t = text[sides[side].ids[row]];
        runTrack = t.startsWith("* ") ? t.mid(2) : t;
        runSide = side;
    }
    void clearRunTrack(int side) {
        if (side < 0 || side == runSide)
            runTrack.clear(), runSide = -1;
    }
};

bool refCommand(Reference& ref, int index) {
    RefSide& from = ref.sides[index <= 1 ? 0 : 1];
    if (from.current < 0)
        return false;
    ref.seasonChanged = ref.setEdited = true;
    RefSide* to = index == 0 ? &ref.sides[1] : index == 3 ? &ref.sides[0] : nullptr;
    RefSide kept;
    for (size_t i = 0; i < from.ids.size(); ++i) {
        if (from.marks[i] && !to)
            continue;
        RefSide& into = from.marks[i] ? *to : kept;
        into.ids.push_back(from.ids[i]);
        into.marks.push_back(0);
    }
    kept.current = kept.ids.size() == from.ids.size() ? from.current : -1;
    if (kept.current < 0)
        ref.clearRunTrack(-1);
    from = kept;
    return true;
}

void refArrow(Reference& ref, int index) {
    const int side = index <= 1 ? 0 : 1;
    RefSide& s = ref.sides[side];
    ref.setEdited = side == 0;
    if (s.ids.size() < 2 || s.current < 0)
        return;
    ref.seasonChanged = true;
    const int q = s.current + (index % 2 == 0 ? -1 : 1);
    if (q < 0 || q >= static_cast<int>(s.ids.size()))
        return;
    std::swap(s.ids[s.current], s.ids[q]);
    s.marks[q] = 1;
    s.marks[s.current] = 0;
    ref.setCurrent(side, q);
}

void refSort(Reference& ref, int side) {
    RefSide& s = ref.sides[side];
    if (s.ids.size() < 2)
        return;
    ref.seasonChanged = true;
    ref.setEdited = side == 0;
    std::vector<std::pair<QByteArray, int>> keyed;
    for (size_t i = 0; i < s.ids.size(); ++i)
        keyed.push_back({(ref.text[s.ids[i]] + "," + QByteArray::number(i)).toLower(), s.ids[i]});
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < keyed.size(); ++i)
        s.ids[i] = keyed[i].second;
    std::fill(s.marks.begin(), s.marks.end(), uint8_t{0});
    s.current = -1;
    ref.clearRunTrack(side);
}

// The inactive side is searched first: the active side's find becomes the track to run.
void refSearch(Reference& ref, const QByteArray& t) {
    for (const int side : {1, 0}) {
        RefSide& s = ref.sides[side];
        int top = -1;
        for (size_t i = 0; i < s.ids.size(); ++i) {
            s.marks[i] = !t.isEmpty() && ref.text[s.ids[i]].toLower().startsWith(t.toLower());
            if (s.marks[i] && top < 0)
                top = static_cast<int>(i);
        }
        if (top >= 0)
            ref.setCurrent(side, top);
    }
}

// Clicks, the four list buttons, the arrows, the sorts and the search in random order: rows,
// entries, marks, current rows, the boxes, the track to run, the captions and the flags each
// step sets.
TEST(ListCommands, RandomSequencesMatchAReferenceModel) {
    QRandomGenerator rng(1967);
    const QList<QByteArray> names = {"monza",  "Monaco",  "spa",     "spa2",  "Zolder",  "brands",
                                     "oulton", "mosport", "kyalami", "rouen", "watglen", "Monza"};
    const auto sideOf = [](int k) { return k == 0 ? Side::Active : Side::Inactive; };
    for (int round = 0; round < 20; ++round) {
        Harness h;
        QList<QByteArray> season;
        for (int i = 0; i < 6; ++i)
            season.append(names[rng.bounded(names.size())]);
        h.game.write(u"seasons/Set.67s"_s, seasonOf(season));
        ASSERT_TRUE(h.load(names.mid(0, 8), season, names));
        h.m().openTrackSet(u"Set"_s);
        // Tag every row's entries with an id, so each track can be followed.
        Reference ref;
        int next = 0;
        for (int side = 0; side < 2; ++side) {
            for (TrackRow& row : h.m().list(sideOf(side)).rows) {
                row.entries.entry[6] = "id=" + QByteArray::number(next);
                ref.text[next] = row.text;
                ref.sides[side].ids.push_back(next++);
                ref.sides[side].marks.push_back(0);
            }
        }
        for (int step = 0; step < 60; ++step) {
            const int op = rng.bounded(5), side = rng.bounded(2), index = rng.bounded(4);
            RefSide& rs = ref.sides[side];
            const Side s = sideOf(side);
            // Each step starts with both flags down, so that the step shows which it raises. No
            // handler lowers them between steps: a save would be refused for an empty or a long
            // active list, and would write the files at every step.
            ref.seasonChanged = ref.setEdited = h.ws().bolSeasonChanged =
                h.ws().bolTrackSetChanged = false;
            if (op == 0 && !rs.ids.empty()) { // click or ctrl+click
                const int row = rng.bounded(static_cast<int>(rs.ids.size()));
                const bool ctrl = rng.bounded(2) == 1;
                if (!ctrl) {
                    std::fill(rs.marks.begin(), rs.marks.end(), uint8_t{0});
                    h.m().setRowsSelected(s, 0, static_cast<int>(rs.ids.size()) - 1, false);
                }
                rs.marks[row] = ctrl ? !rs.marks[row] : 1;
                ref.setCurrent(side, row);
                h.m().setRowsSelected(s, row, row, rs.marks[row] != 0);
                h.m().setCurrentRow(s, row);
            } else if (op == 1) {
                if (refCommand(ref, index) && !h.ctl().txtTrack.isEmpty())
                    refSearch(ref, h.ctl().txtTrack.toLatin1());
                h.m().cmdChangeButton_Click(static_cast<int16_t>(index));
            } else if (op == 2) {
                refArrow(ref, index);
                h.m().picArrow_Click(static_cast<int16_t>(index));
            } else if (op == 3) {
                refSort(ref, side);
                side == 0 ? h.m().lblAmountLeft_Click() : h.m().lblAmountRight_Click();
            } else if (op == 4) {
                QByteArray t; // empty, or the start of a row's text
                if (index != 0)
                    t = ref.text[rng.bounded(next)].left(1 + rng.bounded(3));
                refSearch(ref, t);
                h.m().setSearchText(QString::fromLatin1(t));
            }
            SCOPED_TRACE(testing::Message()
                         << "round " << round << " step " << step << " op " << op);
            ASSERT_EQ(h.ws().bolSeasonChanged, ref.seasonChanged);
            ASSERT_EQ(h.ws().bolTrackSetChanged, ref.setEdited);
            if (ref.setEdited) {
                ASSERT_EQ(h.ctl().lblTrackSet.caption, u" Track Set: Set (edited) "_s);
            }
            ASSERT_EQ(h.ctl().txtRunTrack.text, ref.runTrack);
            for (int k = 0; k < 2; ++k) {
                const RefSide& r = ref.sides[k];
                const TrackList& list = h.m().list(sideOf(k));
                ASSERT_EQ(list.rows.size(), r.ids.size());
                for (size_t i = 0; i < r.ids.size(); ++i) {
                    ASSERT_EQ(list.rows[i].entries.entry[6], "id=" + QByteArray::number(r.ids[i]));
                    ASSERT_EQ(list.rows[i].text, ref.text[r.ids[i]]);
                }
                ASSERT_EQ(selectedMarks(list), r.marks) << "side " << k;
                ASSERT_EQ(list.current, r.current) << "side " << k;
                // The boxes show the current row's entries, or nothing.
                ASSERT_EQ(h.ctl().txtEntry[k * 7 + 6].text,
                          r.current < 0 ? "" : "id=" + QByteArray::number(r.ids[r.current]))
                    << "side " << k;
            }
            ASSERT_EQ(h.ctl().lblAmountLeft.caption,
                      u"Active Tracks (%1)"_s.arg(ref.sides[0].ids.size()));
            ASSERT_EQ(h.ctl().lblAmountRight.caption,
                      u"Non-Active Tracks (%1)"_s.arg(ref.sides[1].ids.size()));
        }
    }
}

} // namespace
} // namespace gk::test
