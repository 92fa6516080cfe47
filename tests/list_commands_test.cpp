#include "support/harness.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Rows = std::vector<QByteArray>;
using Side = FormModel::Side;

// A small game: active monza, Kyalami, * spa, monaco; inactive brands, Zolder, oulton.
void loadGame(Harness& h) {
    h.game.addTracks({"monza", "Kyalami", "monaco", "brands", "Zolder", "oulton"});
    h.game.writeSeason({"monza", "Kyalami", "spa", "monaco"});
    h.game.writeAllTracks({"monza", "Kyalami", "spa", "monaco", "brands", "Zolder", "oulton"});
    ASSERT_TRUE(h.load());
}

void click(Harness& h, Side side, int row) {
    h.m().setRowsSelected(side, 0, h.m().list(side).count() - 1, false);
    h.m().setRowsSelected(side, row, row, true);
    h.m().setCurrentRow(side, row);
}

TEST(Selection, ClickShowsEntriesOnItsOwnSideOnly) {
    Harness h;
    loadGame(h);
    click(h, Side::Inactive, 1);
    click(h, Side::Active, 2);
    EXPECT_EQ(h.ctl().txtRunTrack.text, "spa"); // the missing mark is dropped
    EXPECT_EQ(h.ctl().txtEntry[2].text, "trackDirectory=spa");
    EXPECT_EQ(h.ctl().txtEntry[9].text, "trackDirectory=Zolder");
    EXPECT_FALSE(h.ws().bolSeasonChanged);
}

TEST(Search, SelectsRowsBeginningWithTheText) {
    struct Case {
        QString text;
        std::vector<uint8_t> active, inactive;
        QByteArray runTrack;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("mon"), {1, 0, 0, 1}, {0, 0, 0}, "monza"},
        {QStringLiteral("MONA"), {0, 0, 0, 1}, {0, 0, 0}, "monaco"},
        {QStringLiteral("* s"), {0, 0, 1, 0}, {0, 0, 0}, "spa"},
        {QStringLiteral("s"), {0, 0, 0, 0}, {0, 0, 0}, ""},
        {QStringLiteral("z"), {0, 0, 0, 0}, {0, 1, 0}, "Zolder"},
        {QStringLiteral("monza and more"), {0, 0, 0, 0}, {0, 0, 0}, ""},
        {QStringLiteral("\u9234"), {0, 0, 0, 0}, {0, 0, 0}, ""},
        {QString(), {0, 0, 0, 0}, {0, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        Harness h;
        loadGame(h);
        h.m().setSearchText(c.text);
        EXPECT_EQ(h.ws().ListTracks.selected, c.active) << c.text.toStdString();
        EXPECT_EQ(h.ws().listNotActive.selected, c.inactive) << c.text.toStdString();
        EXPECT_EQ(h.ctl().txtRunTrack.text, c.runTrack) << c.text.toStdString();
        EXPECT_FALSE(h.ws().bolSeasonChanged);
    }
}

TEST(Search, EmptyTextClearsMarksAndNothingElse) {
    Harness h;
    loadGame(h);
    h.m().setSearchText(QStringLiteral("mon"));
    h.m().setSearchText(QString());
    EXPECT_EQ(h.ws().ListTracks.selected, (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(h.ws().ListTracks.current, 0);
    EXPECT_EQ(h.ctl().txtRunTrack.text, "monza");
}

TEST(EntryEditing, EditsReachOnlyTheCurrentTrack) {
    Harness h;
    loadGame(h);
    h.ws().strTrackSet = QStringLiteral("Set");
    // Edit mode off: nothing is taken.
    click(h, Side::Active, 0);
    EXPECT_FALSE(h.m().editEntry(0, QStringLiteral("name=X")));
    h.ctl().chkEdit[0] = 1;
    h.m().chkEdit_Click(0);
    EXPECT_TRUE(h.m().entryBoxEnabled(0));
    EXPECT_FALSE(h.m().entryBoxEnabled(7)); // the other side stays locked
    EXPECT_TRUE(h.m().editEntry(0, QStringLiteral("name=Gran Premio d\u2019Italia")));
    EXPECT_EQ(h.ws().arrActive[0].entry[0], "name=Gran Premio d\x92Italia");
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    EXPECT_TRUE(h.ws().bolTrackSetChanged);
    EXPECT_FALSE(h.ctl().lblTrackSet.visible); // an edit does not refresh the label

    // A character outside the code page is refused; the entry keeps its bytes.
    h.dialogs.expectMessage({QStringLiteral("The character \"\u9234\" cannot be written into the "
                                            "game's season files, which hold only the characters "
                                            "of the Windows-1252 code page. The entry keeps its "
                                            "previous text."),
                             QStringLiteral("Gridkeeper"), Buttons::Ok, Icon::Exclamation});
    EXPECT_FALSE(h.m().editEntry(0, QStringLiteral("name=\u9234")));
    EXPECT_EQ(h.ws().arrActive[0].entry[0], "name=Gran Premio d\x92Italia");

    // After a sort the side has no current row: its boxes take no edit.
    h.m().lblAmountLeft_Click();
    EXPECT_FALSE(h.m().entryBoxEnabled(0));
    EXPECT_FALSE(h.m().editEntry(0, QStringLiteral("name=lost")));
    for (const EventEntries& e : h.ws().arrActive)
        EXPECT_NE(e.entry[0], "name=lost");
}

TEST(ListCommands, MoveAndDeleteKeepEntriesWithTheirRows) {
    struct Case {
        const char* name;
        int16_t index;
        Side side;
        std::vector<int> select;
        Rows active, inactive;
    };
    const std::vector<Case> cases = {
        {"> two rows",
         0,
         Side::Active,
         {3, 0},
         {"Kyalami", "* spa"},
         {"brands", "Zolder", "oulton", "monza", "monaco"}},
        {"< one row",
         3,
         Side::Inactive,
         {1},
         {"monza", "Kyalami", "* spa", "monaco", "Zolder"},
         {"brands", "oulton"}},
        {"delete active",
         1,
         Side::Active,
         {1, 2},
         {"monza", "monaco"},
         {"brands", "Zolder", "oulton"}},
        {"delete inactive",
         2,
         Side::Inactive,
         {0, 1, 2},
         {"monza", "Kyalami", "* spa", "monaco"},
         {}},
    };
    for (const Case& c : cases) {
        Harness h;
        loadGame(h);
        h.ws().strTrackSet = QStringLiteral("Set");
        for (int r : c.select)
            h.m().setRowsSelected(c.side, r, r, true);
        h.m().setCurrentRow(c.side, c.select.front());
        h.m().cmdChangeButton_Click(c.index);
        EXPECT_EQ(h.ws().ListTracks.rows, c.active) << c.name;
        EXPECT_EQ(h.ws().listNotActive.rows, c.inactive) << c.name;
        for (const Rows* rows : {&c.active, &c.inactive}) {
            const auto& entries = rows == &c.active ? h.ws().arrActive : h.ws().arrInactive;
            ASSERT_EQ(entries.size(), rows->size()) << c.name;
            for (size_t i = 0; i < rows->size(); ++i)
                EXPECT_EQ("trackDirectory=" + QByteArray((*rows)[i]).replace("* ", ""),
                          entries[i].entry[2])
                    << c.name;
        }
        EXPECT_TRUE(h.ws().bolSeasonChanged) << c.name;
        EXPECT_EQ(h.ctl().lblTrackSet.caption, QStringLiteral(" Track Set: Set (edited) "))
            << c.name;
        EXPECT_EQ(h.ctl().lblAmountLeft.caption,
                  QStringLiteral("Active Tracks (%1)").arg(c.active.size()));
        EXPECT_EQ(h.ctl().lblAmountRight.caption,
                  QStringLiteral("Non-Active Tracks (%1)").arg(c.inactive.size()));
        EXPECT_TRUE(h.ctl().txtRunTrack.text.isEmpty()) << c.name;
        EXPECT_EQ(h.m().list(c.side).current, -1) << c.name;
        const int first = c.side == Side::Active ? 0 : 7;
        for (int i = first; i < first + 7; ++i)
            EXPECT_TRUE(h.ctl().txtEntry[static_cast<size_t>(i)].text.isEmpty()) << c.name;
    }
}

TEST(ListCommands, WithoutACurrentRowNothingHappens) {
    Harness h;
    loadGame(h);
    h.ws().strTrackSet = QStringLiteral("Set");
    h.m().subShowTrackSet();
    for (int16_t i = 0; i < 4; ++i)
        h.m().cmdChangeButton_Click(i);
    EXPECT_FALSE(h.ws().bolSeasonChanged);
    EXPECT_EQ(h.ctl().lblTrackSet.caption, QStringLiteral(" Track Set: Set "));

    // A current row without selected rows moves nothing but marks the season changed.
    click(h, Side::Active, 1);
    h.m().setRowsSelected(Side::Active, 1, 1, false);
    h.m().cmdChangeButton_Click(0);
    EXPECT_EQ(h.ws().ListTracks.count(), 4);
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    EXPECT_TRUE(h.ws().bolTrackSetChanged);
}

TEST(ListCommands, AMoveThatWouldOverfillTheListIsRefusedWhole) {
    Harness h;
    loadGame(h);
    TrackList& inactive = h.ws().listNotActive;
    while (inactive.count() < kMaxListRows) {
        inactive.addRow("t" + QByteArray::number(inactive.count()));
        h.ws().arrInactive.push_back(makeEvent(inactive.rows.back()));
    }
    h.m().setRowsSelected(Side::Inactive, 0, kMaxListRows - 1, true);
    h.m().setCurrentRow(Side::Inactive, 0);
    h.dialogs.expectMessage(
        {QStringLiteral("Overflow"), QStringLiteral("Error 6"), Buttons::Ok, Icon::Critical});
    h.m().cmdChangeButton_Click(3);
    EXPECT_EQ(h.ws().ListTracks.count(), 4);
    EXPECT_EQ(h.ws().listNotActive.count(), kMaxListRows);
    EXPECT_EQ(h.ctl().lblAmountRight.caption, QStringLiteral("Non-Active Tracks (32767)"));
}

TEST(ListCommands, AFailureIsReportedAndTheClosingStepStillRuns) {
    Harness h;
    loadGame(h);
    h.m().setSearchText(QStringLiteral("b")); // brands selected and current
    h.ws().arrInactive.pop_back();            // an entry table one row short
    h.ws().ListTracks.addRow("extra");        // a count the caption does not show yet
    h.ws().arrActive.push_back(makeEvent("extra"));
    h.dialogs.expectMessage({QStringLiteral("Subscript out of range"), QStringLiteral("Error 9"),
                             Buttons::Ok, Icon::Critical});
    h.m().cmdChangeButton_Click(3);
    EXPECT_EQ(h.ctl().lblAmountLeft.caption, QStringLiteral("Active Tracks (5)"));
    EXPECT_FALSE(h.ws().bolFillingEntries);
    EXPECT_TRUE(h.ws().bolSeasonChanged);
    EXPECT_EQ(h.ws().listNotActive.selected, (std::vector<uint8_t>{1, 0, 0})); // search ran again
}

TEST(ListCommands, SearchRunsAgainAfterACommand) {
    Harness h;
    loadGame(h);
    h.m().setSearchText(QStringLiteral("b"));
    h.m().cmdChangeButton_Click(3); // brands to the active list
    EXPECT_EQ(h.ws().ListTracks.rows.back(), "brands");
    EXPECT_EQ(h.ws().ListTracks.selected.back(), 1);
    EXPECT_EQ(h.ctl().txtRunTrack.text, "brands");
}

TEST(Arrows, MoveTheCurrentRowAndSetFlags) {
    struct Case {
        const char* name;
        int16_t arrow;
        int current; // -1: none
        Rows active;
        int newCurrent;
        bool seasonChanged;
        bool setEdited;
    };
    const std::vector<Case> cases = {
        {"up", 0, 2, {"monza", "* spa", "Kyalami", "monaco"}, 1, true, true},
        {"down", 1, 0, {"Kyalami", "monza", "* spa", "monaco"}, 1, true, true},
        {"up at the top", 0, 0, {"monza", "Kyalami", "* spa", "monaco"}, 0, true, true},
        {"down at the bottom", 1, 3, {"monza", "Kyalami", "* spa", "monaco"}, 3, true, true},
        {"no current row", 0, -1, {"monza", "Kyalami", "* spa", "monaco"}, -1, false, true},
        {"inactive arrow", 2, -1, {"monza", "Kyalami", "* spa", "monaco"}, -1, false, false},
    };
    for (const Case& c : cases) {
        Harness h;
        loadGame(h);
        h.ws().strTrackSet = QStringLiteral("Set");
        if (c.current >= 0) {
            h.m().setRowsSelected(Side::Active, 0, 3, true);
            h.m().setCurrentRow(Side::Active, c.current);
        }
        h.m().picArrow_Click(c.arrow);
        EXPECT_EQ(h.ws().ListTracks.rows, c.active) << c.name;
        EXPECT_EQ(h.ws().ListTracks.current, c.newCurrent) << c.name;
        EXPECT_EQ(h.ws().bolSeasonChanged, c.seasonChanged) << c.name;
        EXPECT_EQ(h.ws().bolTrackSetChanged, c.setEdited) << c.name;
    }
    // After a move the moved row is selected and the row it left is not.
    Harness h;
    loadGame(h);
    h.m().setRowsSelected(Side::Active, 0, 3, true);
    h.m().setCurrentRow(Side::Active, 2);
    h.m().picArrow_Click(1);
    EXPECT_EQ(h.ws().ListTracks.selected, (std::vector<uint8_t>{1, 1, 0, 1}));
    EXPECT_EQ(h.ctl().txtRunTrack.text, "spa");
    EXPECT_EQ(h.ctl().txtEntry[2].text, "trackDirectory=spa");
}

TEST(Sorting, OrdersByTheSortKeyAndCarriesEntries) {
    struct Case {
        const char* name;
        QList<QByteArray> rows;
        Rows sorted;
    };
    const std::vector<Case> cases = {
        {"case is ignored", {"Zolder", "monza", "brands"}, {"brands", "monza", "Zolder"}},
        {"marked rows first", {"monza", "spa", "aintree"}, {"* aintree", "* monza", "* spa"}},
        {"prefix first", {"spa67", "spa", "spa2"}, {"spa", "spa2", "spa67"}},
        {"a comma in a name", {"b,1", "a", "b"}, {"a", "b,1", "b"}},
        {"punctuation, digits, letters",
         {"Zolder", "a1", "~x", "monza66", "a_b", "spa b", "monza_66", "spa"},
         {"~x", "a_b", "a1", "monza_66", "monza66", "spa", "spa b", "Zolder"}},
    };
    for (const Case& c : cases) {
        Harness h;
        if (c.name != std::string("marked rows first"))
            h.game.addTracks(c.rows);
        h.game.writeSeason(c.rows);
        h.game.writeAllTracks(c.rows);
        ASSERT_TRUE(h.load());
        h.m().lblAmountLeft_Click();
        EXPECT_EQ(h.ws().ListTracks.rows, c.sorted) << c.name;
        for (size_t i = 0; i < c.sorted.size(); ++i)
            EXPECT_EQ("trackDirectory=" + QByteArray(c.sorted[i]).replace("* ", ""),
                      h.ws().arrActive[i].entry[2])
                << c.name;
        EXPECT_TRUE(h.ws().bolSeasonChanged);
    }
}

TEST(Sorting, FlagsAndWhatIsCleared) {
    for (const bool otherClickedLast : {false, true})
        for (Side side : {Side::Active, Side::Inactive}) {
            Harness h;
            loadGame(h);
            h.ws().strTrackSet = QStringLiteral("Set");
            h.m().subShowTrackSet();
            const Side other = side == Side::Active ? Side::Inactive : Side::Active;
            click(h, side, 1);
            if (otherClickedLast)
                click(h, other, 0);
            if (side == Side::Active)
                h.m().lblAmountLeft_Click();
            else
                h.m().lblAmountRight_Click();
            EXPECT_TRUE(h.ws().bolSeasonChanged);
            EXPECT_EQ(h.ws().bolTrackSetChanged, side == Side::Active);
            EXPECT_EQ(h.ctl().lblTrackSet.caption, side == Side::Active
                                                       ? QStringLiteral(" Track Set: Set (edited) ")
                                                       : QStringLiteral(" Track Set: Set "));
            EXPECT_EQ(h.m().list(side).current, -1);
            // The selected track stays when it came from the other list.
            EXPECT_EQ(h.ctl().txtRunTrack.text, otherClickedLast ? h.m().list(other).rows[0] : "");
            EXPECT_TRUE(h.ctl().txtEntry[side == Side::Active ? 0 : 7].text.isEmpty());
            EXPECT_EQ(h.ctl().txtEntry[side == Side::Active ? 7 : 0].text.isEmpty(),
                      !otherClickedLast);
        }
    // One row: nothing at all.
    Harness h;
    h.game.writeSeason({"a"});
    h.game.writeAllTracks({"a"});
    ASSERT_TRUE(h.load());
    h.m().lblAmountLeft_Click();
    EXPECT_FALSE(h.ws().bolSeasonChanged);
}

TEST(Sorting, CheckBoxStoresTheSortMode) {
    Harness h;
    loadGame(h);
    for (int value : {1, 0}) {
        h.ctl().chkSort = value;
        h.m().chkSort_Click();
        EXPECT_EQ(h.settings.value(QStringLiteral("alphabetical")), QString::number(value));
    }
    EXPECT_EQ(h.ws().ListTracks.rows, (Rows{"monza", "Kyalami", "* spa", "monaco"}));
}

// ---------------------------------------------------------------- against a reference model

struct RefSide {
    std::vector<int> ids;
    std::vector<uint8_t> marks;
    int current = -1;
};

struct Reference {
    std::array<RefSide, 2> sides;
    std::map<int, QByteArray> text;
};

QByteArray lower(QByteArray s) {
    return s.toLower();
}

bool refCommand(Reference& ref, int index) {
    RefSide& from = ref.sides[index <= 1 ? 0 : 1];
    if (from.current < 0)
        return false;
    RefSide* to = index == 0 ? &ref.sides[1] : index == 3 ? &ref.sides[0] : nullptr;
    RefSide kept;
    for (size_t i = 0; i < from.ids.size(); ++i) {
        if (from.marks[i]) {
            if (to) {
                to->ids.push_back(from.ids[i]);
                to->marks.push_back(0);
            }
        } else {
            kept.ids.push_back(from.ids[i]);
            kept.marks.push_back(0);
        }
    }
    kept.current = kept.ids.size() == from.ids.size() ? from.current : -1;
    from = kept;
    return true;
}

void refArrow(Reference& ref, int index) {
    RefSide& s = ref.sides[index <= 1 ? 0 : 1];
    if (s.ids.size() < 2 || s.current < 0)
        return;
    const int q = s.current + (index % 2 == 0 ? -1 : 1);
    if (q < 0 || q >= static_cast<int>(s.ids.size()))
        return;
    std::swap(s.ids[static_cast<size_t>(s.current)], s.ids[static_cast<size_t>(q)]);
    s.marks[static_cast<size_t>(q)] = 1;
    s.marks[static_cast<size_t>(s.current)] = 0;
    s.current = q;
}

void refSort(Reference& ref, int side) {
    RefSide& s = ref.sides[static_cast<size_t>(side)];
    if (s.ids.size() < 2)
        return;
    std::vector<std::pair<QByteArray, int>> keyed;
    for (size_t i = 0; i < s.ids.size(); ++i)
        keyed.push_back(
            {lower(ref.text[s.ids[i]] + "," + QByteArray::number(static_cast<int>(i))), s.ids[i]});
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < keyed.size(); ++i)
        s.ids[i] = keyed[i].second;
    std::fill(s.marks.begin(), s.marks.end(), uint8_t{0});
    s.current = -1;
}

void refSearch(Reference& ref, const QByteArray& t) {
    for (RefSide& s : ref.sides) {
        int top = -1;
        for (size_t i = 0; i < s.ids.size(); ++i) {
            const bool match = !t.isEmpty() && lower(ref.text[s.ids[i]]).startsWith(lower(t));
            s.marks[i] = match;
            if (match && top < 0)
                top = static_cast<int>(i);
        }
        if (top >= 0)
            s.current = top;
    }
}

TEST(ListCommands, RandomSequencesMatchAReferenceModel) {
    QRandomGenerator rng(1967);
    const QList<QByteArray> names = {"monza",  "Monaco",  "spa",     "spa2",  "Zolder",  "brands",
                                     "oulton", "mosport", "kyalami", "rouen", "watglen", "Monza"};
    for (int round = 0; round < 20; ++round) {
        Harness h;
        QList<QByteArray> season, all;
        for (int i = 0; i < 6; ++i)
            season.append(names[static_cast<qsizetype>(rng.bounded(names.size()))]);
        h.game.addTracks(names.mid(0, 8));
        h.game.writeSeason(season);
        h.game.writeAllTracks(names);
        ASSERT_TRUE(h.load());
        // Tag every row's entries with an id, so each track can be followed.
        Reference ref;
        int next = 0;
        for (int side = 0; side < 2; ++side) {
            TrackList& list = h.m().list(side == 0 ? Side::Active : Side::Inactive);
            auto& entries = side == 0 ? h.ws().arrActive : h.ws().arrInactive;
            for (size_t i = 0; i < list.rows.size(); ++i) {
                entries[i].entry[6] = "id=" + QByteArray::number(next);
                ref.text[next] = list.rows[i];
                ref.sides[static_cast<size_t>(side)].ids.push_back(next++);
                ref.sides[static_cast<size_t>(side)].marks.push_back(0);
            }
        }
        for (int step = 0; step < 60; ++step) {
            const int op = static_cast<int>(rng.bounded(6));
            const int side = static_cast<int>(rng.bounded(2));
            const Side s = side == 0 ? Side::Active : Side::Inactive;
            RefSide& rs = ref.sides[static_cast<size_t>(side)];
            if (op == 0 && !rs.ids.empty()) { // click or ctrl+click
                const int row = static_cast<int>(rng.bounded(static_cast<int>(rs.ids.size())));
                const bool ctrl = rng.bounded(2) == 1;
                if (!ctrl)
                    std::fill(rs.marks.begin(), rs.marks.end(), uint8_t{0});
                rs.marks[static_cast<size_t>(row)] = ctrl ? !rs.marks[static_cast<size_t>(row)] : 1;
                rs.current = row;
                if (!ctrl)
                    h.m().setRowsSelected(s, 0, static_cast<int>(rs.ids.size()) - 1, false);
                h.m().setRowsSelected(s, row, row, rs.marks[static_cast<size_t>(row)] != 0);
                h.m().setCurrentRow(s, row);
            } else if (op == 1) {
                const int index = static_cast<int>(rng.bounded(4));
                const bool ran = refCommand(ref, index);
                h.m().cmdChangeButton_Click(static_cast<int16_t>(index));
                if (ran && !h.ctl().txtTrack.isEmpty())
                    refSearch(ref, h.ctl().txtTrack.toLatin1());
            } else if (op == 2) {
                const int index = static_cast<int>(rng.bounded(4));
                refArrow(ref, index);
                h.m().picArrow_Click(static_cast<int16_t>(index));
            } else if (op == 3) {
                refSort(ref, side);
                if (side == 0)
                    h.m().lblAmountLeft_Click();
                else
                    h.m().lblAmountRight_Click();
            } else if (op == 4) {
                const QByteArray t =
                    rng.bounded(4) == 0
                        ? QByteArray()
                        : names[static_cast<qsizetype>(rng.bounded(names.size()))].left(
                              1 + static_cast<int>(rng.bounded(3)));
                refSearch(ref, t);
                h.m().setSearchText(QString::fromLatin1(t));
            } else {
                continue;
            }
            for (int k = 0; k < 2; ++k) {
                const RefSide& r = ref.sides[static_cast<size_t>(k)];
                const TrackList& list = h.m().list(k == 0 ? Side::Active : Side::Inactive);
                const auto& entries = k == 0 ? h.ws().arrActive : h.ws().arrInactive;
                ASSERT_EQ(list.rows.size(), r.ids.size()) << "round " << round << " step " << step;
                ASSERT_EQ(entries.size(), r.ids.size());
                for (size_t i = 0; i < r.ids.size(); ++i) {
                    ASSERT_EQ(entries[i].entry[6], "id=" + QByteArray::number(r.ids[i]))
                        << "round " << round << " step " << step << " op " << op;
                    ASSERT_EQ(list.rows[i], ref.text[r.ids[i]]);
                }
                ASSERT_EQ(list.selected, r.marks)
                    << "round " << round << " step " << step << " op " << op << " side " << k
                    << " search " << h.ctl().txtTrack.toStdString() << " rows " << [&] {
                           QByteArray joined;
                           for (const auto& row : list.rows)
                               joined += row + "|";
                           return joined.toStdString();
                       }();
                ASSERT_EQ(list.current, r.current)
                    << "round " << round << " step " << step << " op " << op;
            }
        }
    }
}

} // namespace
} // namespace gk::test
