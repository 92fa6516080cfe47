// SPDX-License-Identifier: GPL-3.0-or-later
// Game paths made native over a made-up folder tree: separators, case, new files, raw names.
#include "platform/path_mapping.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using namespace Qt::StringLiterals;

// A folder tree of native paths, looked into as the real file system is: a name exists as
// written, and a folder's entries are matched without regard to case. Counts the names tried
// and the folders looked into.
struct Tree {
    QStringList paths;
    QStringList lookedInto;
    int tried = 0;

    NameLookup lookup() {
        return {[this](const QString& native) {
                    ++tried;
                    return paths.contains(QDir::cleanPath(native));
                },
                [this](const QString& folder, const QString& name) {
                    lookedInto << (folder.isEmpty() ? u"."_s : folder);
                    const QString parent = QDir::cleanPath(folder.isEmpty() ? u"."_s : folder);
                    QStringList entries;
                    for (const QString& path : paths)
                        if (QFileInfo(path).path() == parent)
                            entries << QFileInfo(path).fileName();
                    return FoldedNames(entries).spelling(name);
                }};
    }
};

TEST(PathMapping, GamePathsTakeTheSpellingOnDisk) {
    struct Case {
        const char* game;
        const char* native;
        const char* lookedInto; // the folders whose names were read, in order, joined by "|"
    };
    // clang-format off
    const QStringList paths = {u"/"_s, u"/g"_s, u"/g/Seasons"_s, u"/g/Seasons/67alltracks.ini"_s,
        u"/g/tracks"_s, u"/g/tracks/Monza"_s, u"/g/tracks/Monza/TRACK.INI"_s, u"/g/tracks/café"_s,
        u"rel"_s, u"rel/Sub"_s};
    const Case cases[] = {
        {"/g\\Seasons\\67alltracks.ini", "/g/Seasons/67alltracks.ini", ""}, // as written: no look
        {"/g\\seasons\\67AllTracks.ini", "/g/Seasons/67alltracks.ini", "/g|/g/Seasons"},
        {"/g\\tracks\\monza\\track.ini", "/g/tracks/Monza/TRACK.INI", "/g/tracks|/g/tracks/Monza"},
        {"/g\\tracks\\CAFÉ", "/g/tracks/café", "/g/tracks"}, // case beyond ASCII
        // A new file keeps its own spelling in the folder's, or reuses the one on disk.
        {"/g\\SEASONS\\Next.67s", "/g/Seasons/Next.67s", "/g|/g/Seasons"},
        {"/g\\SEASONS\\67ALLTRACKS.INI", "/g/Seasons/67alltracks.ini", "/g|/g/Seasons"},
        // Nothing is looked up below a folder that is not there.
        {"/g\\Missing\\seasons\\x", "/g/Missing/seasons/x", "/g"},
        // "." and ".." stay as written, a doubled "\\" becomes one "/"; the rest is matched.
        {"/g\\..\\G\\.\\seasons\\", "/g/../g/./Seasons/", "/g/..|/g/../g/."},
        {"/g\\\\seasons", "/g/Seasons", "/g/"},
        {"rel\\sub\\f", "rel/Sub/f", "rel|rel/Sub"}, // relative: from the current folder
        {"REL", "rel", "."},
        {"", "", ""},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        Tree tree{paths, {}};
        EXPECT_EQ(nativePathOf(QString::fromUtf8(c.game), tree.lookup()),
                  QString::fromUtf8(c.native));
        EXPECT_EQ(tree.lookedInto.join(u'|'), QString::fromUtf8(c.lookedInto));
    }
    // A path that exists as written costs one try.
    Tree tree{paths, {}};
    nativePathOf(u"/g\\Seasons\\67alltracks.ini"_s, tree.lookup());
    EXPECT_EQ(tree.tried, 1);
}

// A path through a folder whose name is not UTF-8 reaches its real bytes; the rest of the path
// is encoded as usual.
TEST(PathMapping, RawNamesStandForTheirBytes) {
    RawNames raw;
    EXPECT_EQ(raw.encode(u"/g/café"_s), "/g/caf\xC3\xA9");
    raw.remember(u"/g/tracks/caf\u00e9"_s, "/g/tracks/caf\xE9");
    raw.remember(u"/g/tracks/caf\u00e9/\u00e0"_s, "/g/tracks/caf\xE9/\xE0");
    const std::pair<QString, QByteArray> cases[] = {
        {u"/g/tracks/café"_s, "/g/tracks/caf\xE9"},
        {u"/g/tracks/café/track.ini"_s, "/g/tracks/caf\xE9/track.ini"},
        {u"/g/tracks/café/à/é"_s, "/g/tracks/caf\xE9/\xE0/\xC3\xA9"}, // the longest start counts
        {u"/g/tracks/cafés"_s, "/g/tracks/caf\xC3\xA9s"},             // only whole names
        {u"/g/tracks/cafe"_s, "/g/tracks/cafe"},
        {u"tracks/café"_s, "tracks/caf\xC3\xA9"},
    };
    for (const auto& [native, bytes] : cases)
        EXPECT_EQ(raw.encode(native), bytes) << native.toStdString();
}

} // namespace
} // namespace gk::test
