// SPDX-License-Identifier: GPL-3.0-or-later
// Track details: the tolerant track.ini reader, a track folder's files, the cache's re-reads.
#include "details/track_details_cache.h"
#include "platform/qt_file_system.h"
#include "support/game_folder.h"

#include <QDir>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace gk::test {
namespace {

// One table of the shapes add-on tracks ship their track.ini in.
TEST(TrackIni, ReadsTheShapesTracksShip) {
    const struct {
        const char* what;
        QByteArray bytes;
        TrackIni expected;
    } rows[] = {
        // clang-format off
        {"spaces around '=', CRLF, comments after values",
         "[ track ]\r\ntrack_name = Watkins Glen Int'l ; full name\r\ntrack_name_short = Watkins Glen\r\n"
         "track_length = 2.35m ; miles\r\ntrack_num_turns = 11\r\n",
         {u"Watkins Glen Int'l"_s, u"Watkins Glen"_s, "2.35m", 2.35, 11}},
        {"a header with a trailing space, '=' with a space on one side, trailing tabs and spaces",
         "[ track ] \nTrack_Name= Monza \t\nTRACK_NAME_SHORT =Monza\t\ntrack_length=3.57 \n",
         {u"Monza"_s, u"Monza"_s, "3.57", 3.57, {}}},
        {"[track], keys in any case, comments on lines of their own, a UTF-8 mark, LF ends",
         "\xEF\xBB\xBF; made by hand\n[track]\n  ; track_name = Commented\nTRACK_NUM_TURNS=7\ntrack_name=Spa\n",
         {u"Spa"_s, {}, {}, {}, 7}},
        {"Windows-1252 text",
         "[ track ]\r\ntrack_name = N\xFCrburgring 1967\r\ntrack_name_short = N\xFCrburg\r\n",
         {u"Nürburgring 1967"_s, u"Nürburg"_s, {}, {}, {}}},
        {"the first of a key given twice counts, also when it cannot be read",
         "[ track ]\r\ntrack_name = First\r\ntrack_length = long\r\ntrack_name = Second\r\ntrack_length = 2.0m\r\n",
         {u"First"_s, {}, {}, {}, {}}},
        {"lines without '=' and values that are no number are passed over",
         "[ track ]\r\nthis line has no equals sign\r\ntrack_num_turns = 12a\r\ntrack_length = 3.8km\r\n"
         "track_name = Rouen\r\n",
         {u"Rouen"_s, {}, {}, {}, {}}},
        {"keys of other sections do not count; those before the first header do",
         "track_name_short = Top\r\n[ track ]\r\ntrack_num_turns = 9\r\n[ splines ]\r\ntrack_name = Not this\r\n",
         {{}, u"Top"_s, {}, {}, 9}},
        {"a length in miles without a unit and with 'mi', turns too long to be a number",
         "[ track ]\r\ntrack_length = 1.5 mi\r\ntrack_num_turns = 12345678901\r\n",
         {{}, {}, "1.5 mi", 1.5, {}}},
        {"lone CR line ends",
         "[ track ]\rtrack_name = Crystal Palace\rtrack_num_turns = 0\r",
         {u"Crystal Palace"_s, {}, {}, {}, 0}},
        {"bytes that are no text", QByteArray("\x00\xFF[\x01=\x02\n\xFE=;\x00track_name", 21), {}},
        {"empty", "", {}},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const TrackIni read = parseTrackIni(row.bytes);
        EXPECT_EQ(read.name, row.expected.name);
        EXPECT_EQ(read.shortName, row.expected.shortName);
        EXPECT_EQ(read.length, row.expected.length);
        EXPECT_EQ(read.miles, row.expected.miles);
        EXPECT_EQ(read.turns, row.expected.turns);
    }
    for (const char* noLength : {"", "m", ".", "2.3.5m", "-2m", "2,35m", "2.35 km", "2 m x"})
        EXPECT_EQ(parseMiles(noLength), std::nullopt) << noLength;
}

class TrackFolder : public ::testing::Test {
  protected:
    DetailsRead read(const QString& folder) { return readTrackDetails(files, game.dir(), folder); }
    GameFolder game;
    QtFileSystem files;
};

// The files are found in any case; a folder that is a file's name, a FIFO, a huge file or no
// folder gives what can be read and never waits.
TEST_F(TrackFolder, FindsItsFilesInAnyCaseAndReadsOnlyWhatItCan) {
    game.write(u"tracks/watglen/TRACK.INI"_s, "[ track ]\r\ntrack_name = Watkins Glen\r\n");
    for (const char* mod : {"TrackGT.ini", "track69.INI", "track55.ini", "tracksc.ini.bak"})
        game.write(u"tracks/watglen/"_s + QLatin1String(mod), "x");
    QDir().mkpath(game.path(u"tracks/watglen/track65.ini"_s)); // a folder is no mod file
    game.write(u"tracks/watglen/WatGlen.JPG"_s, "jpg");

    game.write(u"tracks/monza/track.ini/x"_s, "a folder named track.ini");
    game.write(u"tracks/monza/monza.jpg.txt"_s, "no picture");
    QDir().mkpath(game.path(u"tracks/fifo"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(game.path(u"tracks/fifo/track.ini"_s)).constData(), 0644),
              0);
    // Ten megabytes: the name at the top is read, the turns far below are not.
    game.write(u"tracks/huge/track.ini"_s, "[ track ]\r\ntrack_name = Huge\r\n" +
                                               QByteArray(10 << 20, 'x') +
                                               "\r\ntrack_num_turns = 3\r\n");

    // A line cut by the end of what is read counts as not there.
    const QByteArray turns = "track_num_turns = 12345\r\n";
    const QByteArray head = "[ track ]\r\n";
    game.write(u"tracks/cut/track.ini"_s,
               head + QByteArray(kTrackIniReadLimit - head.size() - 22, ';') + "\r\n" + turns);

    const DetailsRead glen = read(u"watglen"_s);
    EXPECT_TRUE(glen.details.folderExists);
    EXPECT_EQ(glen.details.ini.name, u"Watkins Glen"_s);
    EXPECT_EQ(glen.details.mods, (QStringList{u"55"_s, u"69"_s, u"GT"_s}));
    EXPECT_EQ(files.nativePath(glen.details.picture), game.path(u"tracks/watglen/WatGlen.JPG"_s));
    EXPECT_EQ(glen.iniName, u"TRACK.INI"_s);
    // A folder name in another case than on disk finds the same folder.
    EXPECT_EQ(read(u"WATGLEN"_s).details.ini.name, u"Watkins Glen"_s);

    for (const char* empty : {"monza", "fifo"}) {
        const DetailsRead r = read(QString::fromLatin1(empty));
        EXPECT_TRUE(r.details.folderExists) << empty;
        EXPECT_TRUE(r.details.empty()) << empty;
    }
    EXPECT_EQ(read(u"cut"_s).details.ini.turns, std::nullopt);
    const TrackIni huge = read(u"huge"_s).details.ini;
    EXPECT_EQ(huge.name, u"Huge"_s);
    EXPECT_EQ(huge.turns, std::nullopt);
    for (const char* missing : {"nosuch", "..", "watglen/../monza"})
        EXPECT_FALSE(read(QString::fromLatin1(missing)).details.folderExists) << missing;
}

// A folder is read once, and read again when its track.ini or the files in it change.
TEST_F(TrackFolder, TheCacheReadsAgainWhenAFileChanges) {
    game.write(u"tracks/spa/track.ini"_s, "track_name = Spa\r\n");
    TrackDetailsCache cache;
    const auto name = [&] {
        const TrackDetailsCache::Lookup lookup = cache.lookup();
        const TrackDetailsCache::Entry* entry = lookup.find("spa");
        return entry ? entry->details.ini.name : u"(none)"_s;
    };
    const auto touch = [&](const QString& relative, int secondsAgo) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - secondsAgo, 0}};
        ASSERT_EQ(
            ::utimensat(AT_FDCWD, QFile::encodeName(game.path(relative)).constData(), times, 0), 0);
    };
    EXPECT_TRUE(cache.refresh(files, game.dir(), "spa", 0));
    EXPECT_EQ(name(), u"Spa"_s);
    EXPECT_FALSE(cache.refresh(files, game.dir(), "spa", 0)); // nothing changed

    // The same size, another modification time.
    game.write(u"tracks/spa/track.ini"_s, "track_name = Spb\r\n");
    touch(u"tracks/spa/track.ini"_s, 100);
    EXPECT_FALSE(cache.refresh(files, game.dir(), "spa", 60000)); // checked a moment ago
    EXPECT_EQ(name(), u"Spa"_s);
    EXPECT_TRUE(cache.refresh(files, game.dir(), "spa", 0));
    EXPECT_EQ(name(), u"Spb"_s);

    // A picture added changes the folder, not track.ini.
    game.write(u"tracks/spa/spa.jpg"_s, "jpg");
    touch(u"tracks/spa"_s, 200);
    EXPECT_TRUE(cache.refresh(files, game.dir(), "spa", 0));
    EXPECT_FALSE(cache.lookup().find("spa")->details.picture.isEmpty());

    // Another game folder: what was read of the first one is gone.
    GameFolder other;
    EXPECT_TRUE(cache.refresh(files, other.dir(), "x", 0));
    EXPECT_EQ(name(), u"(none)"_s);
}

} // namespace
} // namespace gk::test
