// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/settings_keys.h"
#include "platform/code_page.h"
#include "platform/qt_file_system.h"
#include "platform/runtime_error.h"
#include "report/track_check.h"
#include "season/season_file.h"
#include "season/season_writer.h"
#include "support/harness.h"

#include <QDir>
#include <QStringEncoder>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gk::test {
namespace {

struct Scanned {
    std::vector<std::vector<QByteArray>> extra; // per event read
    std::vector<QByteArray> folders;
    int error = 0;
    QString description;
};

Scanned scan(const QByteArray& data) {
    Scanned s;
    try {
        scanEvents(
            data,
            [&](EventEntries&& e, QByteArray&& folder) {
                s.extra.push_back(e.extra);
                s.folders.push_back(std::move(folder));
            },
            u"67season.ini"_s);
    } catch (const RuntimeError& e) {
        s.error = e.number();
        s.description = e.description();
    }
    return s;
}

QByteArray event(const char* header, const char* dir) {
    return QByteArray(header) + "\r\nn\r\ns\r\n" + dir + "\r\nm\r\nd\r\nl\r\ng\r\n\r\n";
}

// Every byte has a character in the game's code page, the five undefined ones included, and
// comes back unchanged; a character outside the code page is refused, never replaced; rows sort
// by the code page's lower case.
TEST(CodePage, RoundTripRefusalAndTheOrderOfRows) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decodeGameText(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(encodeGameText(text), all);
    EXPECT_EQ(decodeGameText("\x80\xE9"), u"\u20AC\u00E9"_s);
    EXPECT_EQ(encodeGameText(u"a\u0141b"_s), std::nullopt);
    EXPECT_EQ(firstUnencodableCharacter(u"a\u0141b"_s), u"\u0141"_s);

    // A row sorts by its text without the spaces around it, then ",", then its row number: ","
    // first, the other ASCII bytes that are no digit or letter by value, digits, letters without
    // case, then the bytes from 0x80 on by their lower-case value.
    const std::vector<QByteArray> rows = {"b", "B", "a1", "a!",    "a",    "\xC0", "\xE0\x61",
                                          "z", "9", "_x", "  a2 ", "\x8A", "\x9A"};
    EXPECT_EQ(sortOrder(rows), (std::vector<int>{9, 8, 4, 3, 2, 10, 0, 1, 7, 11, 12, 5, 6}));
}

// Events are found by their header only; lines after the seventh entry travel with the event;
// a load that stops says where.
TEST(EventScan, FindsEventsAndNamesFileAndEventOfAFault) {
    struct Case {
        QByteArray data;
        std::vector<QByteArray> folders;
        int error;
        QString description = {};                        // when given
        std::vector<std::vector<QByteArray>> extra = {}; // per event read, when given
    };
    const QByteArray a = event("[Event1]", "trackDirectory=a");
    const QString at = u"event 2 of 67season.ini (line 10)"_s;
    const auto utf16 = [](QStringConverter::Encoding e, const QString& text) -> QByteArray {
        return QStringEncoder(e).encode(text);
    };
    const std::vector<Case> cases = {
        // clang-format off
        {"[Season]\r\nname=x\r\nnumEvents=3\r\n", {}, 0}, // no event header at all
        {"numEvents=1\r\n" + a + event("[Event2]", "trackDirectory=b"), {"a", "b"}, 0, {}, {{}, {}}},
        {event("[EVENT12]", "trackdirectory=a") + event("   [Event3]  ", "TRACKDIRECTORY=b") + event("[Events]", "trackDirectory=c"), {"a", "b", "c"}, 0},
        {"\t" + a, {}, 0}, // a tab hides the header
        {a + event("[Event1]", "trackDirectory=b"), {"a", "b"}, 0}, // restarted numbering
        {event("[Event1]", "  trackDirectory=monza  "), {"monza"}, 0},
        {event("[Event1]", "trackDirectory="), {""}, 0},
        {event("[Event1]", "trackDir=a") + a, {}, 5},
        {a + "[Event2]\r\nn\r\ns\r\ntrackDirectory=b\r\n", {"a"}, 62}, // ends inside an event
        {"[Event1]\nn\rs\ntrackDirectory=lf\nm\nd\nl\ng", {"lf"}, 0},  // LF and CR line ends
        {"[Event1]\r\n[Event2]\r\ns\r\ntrackDirectory=a\r\nm\r\nd\r\nl\r\ng\r\n", {}, 321},
        {"\xEF\xBB\xBF" + a, {"a"}, 0}, // a UTF-8 byte-order mark
        {"\xFF\xFE" + a, {}, 321},      // UTF-16
        // UTF-16 without a mark, with characters beyond Latin-1 (no NUL in their bytes), little
        // and big endian; and a code-page file with one stray NUL, which is read.
        {utf16(QStringConverter::Utf16LE, u"[Event1]\r\n\u4e2d\u6587\u4e2d\u6587\u4e2d\u6587\r\ntrackDirectory=a"_s), {}, 321},
        {utf16(QStringConverter::Utf16BE, u"[Event1]\r\nname=\u00dcber \u0141\u00f3d\u017a\r\ntrackDirectory=a"_s), {}, 321},
        {a + QByteArray(1, '\0'), {"a"}, 0},
        // NULs in entries, plainly begun (as every file Gridkeeper writes is): read.
        {"[Season]\r\nname=x\r\n[Event1]\r\n" + QByteArray(300, '\0') + "\r\ns\r\ntrackDirectory=a\r\nm\r\nd\r\nl\r\ng\r\n", {"a"}, 0},
        {a + "displayName=Monza GP\r\n \t\r\n; mine \r\n" + event("[Event2]", "trackDirectory=b") + "flag=it", {"a", "b"}, 0, {}, {{"displayName=Monza GP", "; mine "}, {"flag=it"}}},
        {a + "[Event2]\r\nn\r\n" + a, {"a"}, 321, u"Invalid file format: "_s + at + u" has fewer than seven lines before the next event header."_s, {{}}},
        {a + event("[Event2]", "track=monaco"), {"a"}, 5, u"Invalid procedure call or argument: the track-directory line of "_s + at + u" gives no folder name: \"track=monaco\"."_s},
        {"\xFE\xFF" + a, {}, 321, u"Invalid file format: 67season.ini is saved as Unicode (UTF-16), which Gridkeeper cannot read. Open it in a text editor and save it as ANSI (Windows-1252)."_s},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        const Scanned s = scan(c.data);
        EXPECT_EQ(s.folders, c.folders);
        EXPECT_EQ(s.error, c.error);
        // What a case does not give is not compared.
        EXPECT_EQ(c.description.isEmpty() ? c.description : s.description, c.description);
        EXPECT_EQ(c.extra.empty() ? c.extra : s.extra, c.extra);
    }
}

// An all-tracks event is inactive unless an active event of the same row text (case counts)
// takes it, one for one; a folder without track.ini shows a mark.
TEST(Loader, SplitsActiveAndInactiveByExactRowText) {
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        Harness h;
        ASSERT_TRUE(h.load(c.installed, c.season, c.allTracks));
        EXPECT_EQ(h.ws().ListTracks.rows, c.active);
        ASSERT_EQ(h.ws().listNotActive.rows, c.inactive);
        EXPECT_EQ(h.ws().arrActive.size(), c.active.size());
        // Each inactive row carries the entries of its own all-tracks event.
        for (size_t r = 0; r < c.inactive.size(); ++r)
            EXPECT_EQ(h.ws().arrInactive[r].entry[2],
                      "trackDirectory=" + QByteArray(c.inactive[r]).replace("* ", ""));
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

TEST(FileSystem, GamePathsAreFoundWithoutRegardToCase) {
    GameFolder game;
    game.write(u"Wine/67alltracks.ini"_s, "x");
    QtFileSystem fs;
    const QString dir = game.dir();
    EXPECT_TRUE(fs.fileExists(dir + u"\\wine\\67AllTracks.ini"_s));
    EXPECT_EQ(fs.readFile(dir + u"\\WINE\\67ALLTRACKS.INI"_s), "x");
    EXPECT_FALSE(fs.fileExists(dir + u"\\wine"_s));
    // A new file reuses the folder's existing spelling instead of creating a twin.
    fs.writeFile(dir + u"\\wine\\new.67s"_s, "y");
    EXPECT_EQ(game.read(u"Wine/new.67s"_s), "y");
    fs.writeFile(dir + u"\\wine\\67AllTracks.ini"_s, "z");
    EXPECT_EQ(game.read(u"Wine/67alltracks.ini"_s), "z");
    EXPECT_FALSE(game.exists(u"wine"_s));
}

// A column's names in sorted order: folders come in the order the system lists them.
QString sorted(const QString& column) {
    QStringList names = column.split(u"\r\n"_s);
    names.sort();
    return names.join(QLatin1Char('|'));
}

TEST(TrackCheck, ColumnsAndFaultsOverGameFolders) {
    const QString none = u"(none)"_s;
    const MessageBox notFound{u"Path not found"_s, u"Error 76 (fncCheckTrackFolder)"_s, Buttons::Ok,
                              Icon::Critical};
    const struct {
        const char* name;
        std::function<void(Harness&)> arrange;
        std::vector<MessageBox> boxes;  // "%1": the game folder
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
         {gkBox(u"GPL Dir not found in registry. Please close the application and start it again."_s, Icon::None)}, {}, false},
        {"no all-tracks file", [](Harness& s) { s.game.remove(u"seasons/67AllTracks.ini"_s); },
         {{u"%1/seasons/67AllTracks.ini not found."_s, u"fncCheckTracks"_s, Buttons::Ok, Icon::Critical}}, {QString(), none, u"|empty"_s}},
        {"no tracks folder", [](Harness& s) { QDir(s.game.path(u"tracks"_s)).removeRecursively(); },
         {notFound, notFound}, {none, QString(), QString()}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness s;
        s.game.writeAllTracks({});
        s.game.write(u"tracks/empty/info.txt"_s, "x");
        s.settings.set(settings::kGplDir, s.game.dir());
        c.arrange(s);
        for (MessageBox box : c.boxes)
            s.dialogs.expectMessage(
                {box.text.replace(u"%1"_s, s.game.dir()), box.title, box.buttons, box.icon});
        // The window's all-tracks rows: a missing mark is part of the text compared.
        TrackList all;
        all.rows = {"MONZA", "* gone", "SPA", "* Kyalami"};
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
