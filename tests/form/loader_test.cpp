// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the season and all-tracks files into the lists, and the track check over game folders.
#include "game/settings_keys.h"
#include "report/track_check.h"
#include "season/season_file.h"
#include "support/harness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gk::test {
namespace {

// An all-tracks event is inactive unless an active event of the same row text (case counts)
// takes it, one for one: first one with the same entries, then one of the same text in file
// order (an event edited in the season, the other race at a circuit). A folder without
// track.ini shows a mark. Events are written "folder" or "folder:name" (its name entry); an
// inactive row is given by its text, and ":name" when that is not its folder's name.
TEST(Loader, SplitsActiveAndInactiveOneForOne) {
    struct Case {
        QList<QByteArray> installed, season, allTracks;
        Rows active, inactive;
    };
    const std::vector<Case> cases = {
        {{"a", "b"}, {"a", "b"}, {"a"}, {"a", "b"}, {}},
        {{"a", "b"}, {"a"}, {"b", "a", "b"}, {"a"}, {"b", "b"}},
        {{"a", "b"}, {"b"}, {"b", "a", "b"}, {"b"}, {"a", "b"}},
        {{"monza"}, {"monza"}, {"monza", "monza", "spa"}, {"monza"}, {"monza", "* spa"}},
        {{"monza", "Monza"}, {"monza"}, {"Monza", "monza"}, {"monza"}, {"Monza"}},
        {{"spa"}, {"monaco", "spa"}, {"monaco", "spa", "x"}, {"* monaco", "spa"}, {"* x"}},
        {{"a"}, {}, {"a"}, {}, {"a"}},
        {{"a"}, {"a:Edited"}, {"a", "b"}, {"a"}, {"* b"}},
        {{"a"}, {"a:Edited"}, {"a:GP", "a:Coppa"}, {"a"}, {"a:Coppa"}},
        {{"a"}, {"a:Coppa"}, {"a:GP", "a:Coppa"}, {"a"}, {"a:GP"}},
        {{"a"}, {"a:Coppa", "a:Edited"}, {"a:GP", "a:Coppa", "a:Third"}, {"a", "a"}, {"a:Third"}},
        {{"a", "b"}, {"b:Edited", "a"}, {"a:Other", "b", "a"}, {"b", "a"}, {"a:Other"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        Harness h;
        ASSERT_TRUE(h.load(c.installed, c.season, c.allTracks));
        EXPECT_EQ(texts(h.ws().ListTracks), c.active);
        // Each inactive row carries the entries of its own all-tracks event.
        Rows inactive;
        for (const TrackRow& row : h.ws().listNotActive.rows) {
            const QByteArray name = row.entries.entry[0].mid(5);
            inactive.push_back(name == withoutMissingMark(row.text) ? row.text
                                                                    : row.text + ':' + name);
        }
        EXPECT_EQ(inactive, c.inactive);
    }
}

TEST(Loader, FirstRunCopiesTheSeasonByteForByte) {
    const QByteArray original = "[Season]\r\nname=Odd \xA7\r\n" + seasonOf({"a"}).mid(10);
    for (bool standardExists : {false, true}) {
        Harness h;
        h.game.write(u"seasons/67season.ini"_s, original);
        if (standardExists)
            h.game.write(u"seasons/Standard.67s"_s, "mine");
        ASSERT_TRUE(h.load());
        EXPECT_EQ(h.game.readSeasons({u"67AllTracks.ini"_s, u"Standard.67s"_s}),
                  (QByteArrayList{original, standardExists ? "mine" : original}));
    }
}

// A column's names in sorted order: folders come in the order the system lists them.
QString sorted(const QString& column) {
    QStringList names = column.split(u"\r\n"_s);
    names.sort();
    return names.join(QLatin1Char('|'));
}

TEST(TrackCheck, ColumnsAndFaultsOverGameFolders) {
    const QString none = u"(none)"_s;
    const struct {
        const char* name;
        std::function<void(Harness&)> arrange;
        std::vector<Message> boxes;     // "%1": the game folder
        std::array<QString, 3> columns; // 1 and 2 as sorted() gives them
        bool titled = true;
    } cases[] = {
        // clang-format off
        {"mixed folder", [](Harness& s) {
             s.game.addTracks({"monza", "Zolder"});
             for (const QString& file : {u"Spa/Track.ini"_s, u"Kyalami/TRACK.INI"_s, u"N\u00fcrburg/track.ini"_s,
                                         u"odd/track.ini/inner.txt"_s /* a folder */, u"loose.txt"_s /* in no column */})
                 s.game.write(u"tracks/"_s + file, "x");
             s.game.write(u"seasons/67AllTracks.ini"_s, seasonOf({"monza", "gone", QByteArray("r\xE9ims", 5), "SPA"})
                 .replace("trackDirectory=SPA", "  TRACKDIRECTORY=SPA") + "trackdirectory=gone\r\n");
         }, {}, {u"gone\r\nr\u00e9ims\r\ngone\r\n"_s, u"|Kyalami|N\u00fcrburg|Zolder"_s, u"|empty|odd"_s}},
        {"names that are no UTF-8, a track folder that leads out of tracks", [](Harness& s) {
             // Made through the system's bytes: such names cannot be given to Qt.
             const QByteArray tracks = QFile::encodeName(s.game.path(u"tracks/"_s));
             for (const QByteArray& folder : {QByteArray("caf\xE9"), QByteArray("x\xFF")})
                 ASSERT_EQ(::mkdir((tracks + folder).constData(), 0755), 0);
             const int fd = ::open((tracks + "caf\xE9/track.ini").constData(), O_CREAT | O_WRONLY, 0644);
             ASSERT_GE(fd, 0);
             ::close(fd);
             s.game.write(u"outside/track.ini"_s, "x");
             s.game.writeAllTracks({"../outside", QByteArray("x\xFF")});
         }, {}, {u"../outside\r\nx\u00ff\r\n"_s, u"|caf\u00e9"_s, u"|empty|x\u00ff"_s}},
        {"stored with a backslash, nothing to report", [](Harness& s) {
             s.settings.set(settings::kGplDir, s.game.dir() + u"\\"_s);
             s.game.write(u"tracks/empty/track.ini"_s, "x");
             s.game.writeAllTracks({"EMPTY"});
         }, {}, {none, u"|empty"_s, none}},
        {"not set", [](Harness& s) { s.settings.set(settings::kGplDir, settings::kNotSet); },
         {gkBox(u"GPL Dir not found in registry. Please close the application and start it again."_s, MessageKind::Failure, Icon::None)}, {}, false},
        {"no all-tracks file", [](Harness& s) { s.game.remove(u"seasons/67AllTracks.ini"_s); },
         {{u"%1/seasons/67AllTracks.ini not found."_s, u"fncCheckTracks"_s, Buttons::Ok, Icon::Critical, MessageKind::Failure}}, {QString(), none, u"|empty"_s}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness s;
        s.game.writeAllTracks({});
        s.game.write(u"tracks/empty/info.txt"_s, "x");
        s.settings.set(settings::kGplDir, s.game.dir());
        c.arrange(s);
        for (Message box : c.boxes) {
            box.text.replace(u"%1"_s, s.game.dir());
            s.dialogs.expectMessage(box);
        }
        // The window's all-tracks rows: a missing mark is part of the text compared.
        TrackList all;
        for (const char* row : {"MONZA", "* gone", "SPA", "* Kyalami"})
            all.addRow(row, {});
        const TrackReport report = TrackCheck(s.dialogs, s.files, all).Form_Load(s.settings);
        EXPECT_EQ(report.caption,
                  c.titled ? u"Report: "_s + s.game.dir() + u"/tracks/"_s : u"Report"_s);
        EXPECT_EQ(report.columns[0], c.columns[0]);
        EXPECT_EQ(sorted(report.columns[1]), c.columns[1]);
        EXPECT_EQ(sorted(report.columns[2]), c.columns[2]);
    }
}

} // namespace
} // namespace gk::test
