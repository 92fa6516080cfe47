// SPDX-License-Identifier: GPL-3.0-or-later
// Track details in the form model: read in the background, a row's tooltip, search by full name.
#include "support/gated_files.h"
#include "support/harness.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace gk::test {
namespace {

// A form model on fakes whose track details are read through GatedFiles.
struct DetailsRig {
    ~DetailsRig() { detailsFiles.open(); }
    GatedFiles detailsFiles;
    Harness h{&detailsFiles};

    // Active: watglen, ring67b, monza; inactive: kyalami, mosport, * spa, glen67.
    void install() {
        const std::pair<const char*, const char*> tracks[] = {
            {"watglen", "[ track ]\r\ntrack_name = Watkins Glen Int'l\r\ntrack_name_short = "
                        "Watkins Glen\r\ntrack_length = 2.35m\r\ntrack_num_turns = 11\r\n"},
            {"ring67b", "[track]\ntrack_name=N\xFCrburgring 1967\n"},
            {"monza", "[ track ]\r\ntrack_name = Autodromo Nazionale Monza\r\n"},
            {"kyalami", "[ track ]\r\ntrack_name = Kyalami Grand Prix Circuit\r\n"},
            {"mosport", "[ track ]\r\ntrack_name = Mosport Park 1967\r\n"},
            {"glen67", "[ track ]\r\ntrack_name = Glen Helen Grand Prix\r\n"},
        };
        for (const auto& [folder, ini] : tracks)
            h.game.write(u"tracks/"_s + QLatin1String(folder) + u"/track.ini"_s, ini);
        h.game.write(u"tracks/watglen/track55.ini"_s, "");
        h.game.write(u"tracks/watglen/TRACKGT.INI"_s, "");
        h.game.write(u"tracks/watglen/watglen.jpg"_s, "jpg");
        h.game.write(u"tracks/spa/readme.txt"_s, "no track.ini");
        h.game.writeSeason({"watglen", "ring67b", "monza"});
        h.game.writeAllTracks(
            {"watglen", "ring67b", "monza", "kyalami", "mosport", "spa", "glen67"});
    }
    std::optional<TrackToolTip> tip(int row) { return h.model.trackToolTip(ListSide::Active, row); }
};

// Neither the load nor a tooltip nor a search waits for the details: while their reading is
// held up they show nothing, and once it is done they show what was read (what a tooltip shows,
// and that a row with nothing readable has none, is the window's test; the search's the next).
// An edited track.ini is read again when the pointer rests on its row a while later.
TEST(TrackDetails, ReadInTheBackgroundWithoutHoldingUpTheWindow) {
    DetailsRig rig;
    rig.install();
    ASSERT_TRUE(rig.h.model.Form_Load(rig.h.game.dir()));
    ASSERT_TRUE(rig.detailsFiles.reached());
    EXPECT_EQ(texts(rig.h.model.workspace().listNotActive),
              (Rows{"kyalami", "mosport", "* spa", "glen67"}));
    EXPECT_EQ(rig.tip(0), std::nullopt);
    rig.h.model.setSearchText(u"Nür"_s);
    EXPECT_EQ(selectedMarks(rig.h.model.list(ListSide::Active)), (std::vector<uint8_t>{0, 0, 0}));

    rig.detailsFiles.open();
    ASSERT_TRUE(rig.h.model.trackDetails().waitForIdle(30000));
    EXPECT_EQ(rig.tip(0)->name, u"Watkins Glen Int'l"_s);
    rig.h.game.write(u"tracks/watglen/track.ini"_s, "[ track ]\r\ntrack_name = The Glen\r\n");
    std::this_thread::sleep_for(
        std::chrono::milliseconds(TrackDetailsLoader::kHoverRecheckMs + 100));
    EXPECT_EQ(rig.tip(0)->name, u"Watkins Glen Int'l"_s);
    ASSERT_TRUE(rig.h.model.trackDetails().waitForIdle(30000));
    EXPECT_EQ(rig.tip(0)->name, u"The Glen"_s);
    rig.h.model.setSearchText(u"Watkins"_s);
    EXPECT_EQ(selectedMarks(rig.h.model.list(ListSide::Active)), (std::vector<uint8_t>{0, 0, 0}));
}

// A folder read anew out of turn while the lists are read (the pointer rested on its row) may
// change a name gathered before: the names gathered then never reach the window, which gathers
// them itself from what was read last.
TEST(TrackDetails, ANameReadAnewWhileTheListsAreReadIsNotLost) {
    DetailsRig rig;
    rig.detailsFiles.only = u"mosport"_s; // the reading waits at the inactive list's second row
    rig.install();
    ASSERT_TRUE(rig.h.model.Form_Load(rig.h.game.dir()));
    ASSERT_TRUE(rig.detailsFiles.reached());
    rig.h.game.write(u"tracks/watglen/track.ini"_s, "[ track ]\r\ntrack_name = The Glen\r\n");
    std::this_thread::sleep_for(
        std::chrono::milliseconds(TrackDetailsLoader::kHoverRecheckMs + 100));
    rig.tip(0); // watglen is read again next, after mosport
    rig.detailsFiles.open();
    ASSERT_TRUE(rig.h.model.trackDetails().waitForIdle(30000));
    rig.h.model.setSearchText(u"The Glen"_s);
    EXPECT_EQ(selectedMarks(rig.h.model.list(ListSide::Active)), (std::vector<uint8_t>{1, 0, 0}));
}

// The search by folder name is what it was wherever it finds a row; only text that begins no
// folder name of either list is looked for at the start of the words of the full names.
TEST(TrackDetails, SearchFallsBackToTheWordsOfFullNames) {
    DetailsRig rig;
    rig.detailsFiles.open();
    rig.install();
    ASSERT_TRUE(rig.h.model.Form_Load(rig.h.game.dir()));
    ASSERT_TRUE(rig.h.model.trackDetails().waitForIdle(30000));
    const struct {
        const char* typed;
        std::vector<uint8_t> active;   // watglen, ring67b, monza
        std::vector<uint8_t> inactive; // kyalami, mosport, * spa, glen67
        const char* runTrack;          // the selected-track box afterwards
    } rows[] = {
        {"Nür", {0, 1, 0}, {0, 0, 0, 0}, "ring67b"},
        {"int", {1, 0, 0}, {0, 0, 0, 0}, "watglen"},
        {"1967", {0, 1, 0}, {0, 1, 0, 0}, "ring67b"},
        {"grand prix c", {0, 0, 0}, {1, 0, 0, 0}, "kyalami"},
        {"grand", {0, 0, 0}, {1, 0, 0, 1}, "kyalami"},
        // A folder begins with the text: the full names are not looked at.
        {"glen", {0, 0, 0}, {0, 0, 0, 1}, "glen67"},
        {"mo", {0, 0, 1}, {0, 1, 0, 0}, "monza"},
        // Inside a word, or nothing typed, or a character the game's files cannot hold.
        {"urg", {0, 0, 0}, {0, 0, 0, 0}, ""},
        {"", {0, 0, 0}, {0, 0, 0, 0}, ""},
        {"\u0141", {0, 0, 0}, {0, 0, 0, 0}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        rig.h.model.controls().txtRunTrack.text.clear();
        rig.h.model.setSearchText(QString::fromUtf8(row.typed));
        EXPECT_EQ(selectedMarks(rig.h.model.list(ListSide::Active)), row.active);
        EXPECT_EQ(selectedMarks(rig.h.model.list(ListSide::Inactive)), row.inactive);
        EXPECT_EQ(rig.h.model.controls().txtRunTrack.text, row.runTrack);
    }
    // Rows that moved keep their own full names: the sort turns the active list around.
    rig.h.model.lblAmountLeft_Click(); // monza, ring67b, watglen
    rig.h.model.setSearchText(u"int"_s);
    EXPECT_EQ(selectedMarks(rig.h.model.list(ListSide::Active)), (std::vector<uint8_t>{0, 0, 1}));
}

} // namespace
} // namespace gk::test
