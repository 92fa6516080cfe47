// SPDX-License-Identifier: GPL-3.0-or-later
// The season format without the form: the game's code page, the event scan, game paths on disk.
#include "platform/code_page.h"
#include "platform/qt_file_system.h"
#include "platform/runtime_error.h"
#include "season/season_file.h"
#include "season/season_writer.h"
#include "support/game_folder.h"

#include <QFileInfo>
#include <QStringEncoder>
#include <gtest/gtest.h>

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
    TrackList rows;
    for (const char* row :
         {"b", "B", "a1", "a!", "a", "\xC0", "\xE0\x61", "z", "9", "_x", "  a2 ", "\x8A", "\x9A"})
        rows.addRow(row, {});
    EXPECT_EQ(sortOrder(rows.rows), (std::vector<int>{9, 8, 4, 3, 2, 10, 0, 1, 7, 11, 12, 5, 6}));
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

// Files left to remove later are gone before the next change, which so never loses what it makes
// under their names, and what the removal holds is let go then; the object waits for them when
// it ends. A folder syncs; a missing one cannot.
TEST(FileSystem, RemovalsLeftForLaterComeBeforeTheNextChange) {
    GameFolder game;
    game.write(u"seasons/a.old"_s, QByteArray(1 << 22, 'a'));
    game.write(u"seasons/b.old"_s, "b");
    game.write(u"seasons/n"_s, "new");
    auto hold = std::make_shared<int>(0);
    const std::weak_ptr<int> held = hold;
    {
        QtFileSystem fs;
        const QString dir = game.dir() + u"\\seasons\\"_s;
        fs.removeLater({dir + u"a.old"_s, dir + u"B.OLD"_s}, std::move(hold));
        fs.renameFile(dir + u"n"_s, dir + u"a.old"_s);
        EXPECT_EQ(game.read(u"seasons/a.old"_s), "new");
        EXPECT_FALSE(game.exists(u"seasons/b.old"_s));
        EXPECT_TRUE(held.expired());
        // A folder made under the name of a file left to remove.
        game.write(u"seasons/b.old"_s, "b");
        fs.removeLater({dir + u"b.old"_s}, nullptr);
        fs.makeFolder(dir + u"b.old"_s);
        EXPECT_TRUE(QFileInfo(game.path(u"seasons/b.old"_s)).isDir());
        fs.syncFolder(dir);
        EXPECT_THROW(fs.syncFolder(game.dir() + u"\\missing"_s), RuntimeError);
        fs.removeLater({dir + u"a.old"_s}, nullptr);
    }
    EXPECT_FALSE(game.exists(u"seasons/a.old"_s));
}

} // namespace
} // namespace gk::test
