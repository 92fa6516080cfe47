#include "app/settings_keys.h"
#include "report/track_check.h"
#include "support/fakes.h"
#include "support/game_folder.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

// Every file and folder under the game folder with its bytes, to prove the report writes
// nothing.
QMap<QString, QByteArray> snapshot(const GameFolder& game) {
    QMap<QString, QByteArray> all;
    QDirIterator it(game.dir(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        all.insert(path, it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly)
                             ? QByteArray("<dir>")
                             : file.readAll());
    }
    return all;
}

TrackList rowsOf(const QList<QByteArray>& rows) {
    TrackList list;
    for (const QByteArray& row : rows)
        list.addRow(row);
    return list;
}

// The columns hold the folders in the order the system lists them; compare them as sets.
QStringList sorted(const QString& column) {
    QStringList names = column.split(QStringLiteral("\r\n"));
    names.sort();
    return names;
}

TEST(TrackCheck, ColumnsOverAMixedGameFolder) {
    GameFolder game;
    game.addTracks({"monza", "Zolder"});
    game.write(QStringLiteral("tracks/Spa/Track.ini"), "x");           // capitalised
    game.write(QStringLiteral("tracks/Kyalami/TRACK.INI"), "x");       // shouted
    game.write(QStringLiteral("tracks/N\u00fcrburg/track.ini"), "x");  // Latin-1 name
    game.write(QStringLiteral("tracks/junk/readme.txt"), "x");         // no track
    game.write(QStringLiteral("tracks/odd/track.ini/inner.txt"), "x"); // track.ini a folder
    game.write(QStringLiteral("tracks/loose.txt"), "x");               // a file, in no column
    game.write(QStringLiteral("seasons/67AllTracks.ini"),
               seasonOf({"monza", "gone", QByteArray("r\xE9ims", 5), "SPA"})
                       .replace("trackDirectory=SPA", "  TRACKDIRECTORY=SPA") +
                   "trackdirectory=gone\r\n");
    // The window's all-tracks rows: the missing mark is part of the text compared.
    const TrackList all = rowsOf({"MONZA", "* gone", "SPA", "* Kyalami"});
    const auto before = snapshot(game);

    FakeDialogs dialogs;
    QtFileSystem files;
    TrackCheck check(dialogs, files, all);
    const TrackReport report = check.check(game.dir());
    EXPECT_EQ(report.caption,
              QStringLiteral("Report: ") + game.dir() + QStringLiteral("\\tracks\\"));
    // File order, a folder named twice reported twice, the key's case does not matter.
    EXPECT_EQ(report.columns[0], QStringLiteral("gone\r\nr\u00e9ims\r\ngone\r\n"));
    EXPECT_EQ(sorted(report.columns[1]),
              QStringList({QString(), QStringLiteral("Kyalami"), QStringLiteral("N\u00fcrburg"),
                           QStringLiteral("Zolder")}));
    EXPECT_EQ(sorted(report.columns[2]),
              QStringList({QString(), QStringLiteral("junk"), QStringLiteral("odd")}));
    EXPECT_EQ(snapshot(game), before);
}

TEST(TrackCheck, TracksFolderWithATrailingBackslashAndNothingToReport) {
    GameFolder game;
    game.addTracks({"monza"});
    game.writeAllTracks({"monza"});
    FakeDialogs dialogs;
    QtFileSystem files;
    const TrackList all = rowsOf({"Monza"});
    TrackCheck check(dialogs, files, all);
    const TrackReport report = check.check(game.dir() + QStringLiteral("\\"));
    EXPECT_EQ(check.strTracksDir, game.dir() + QStringLiteral("\\tracks\\"));
    for (const QString& column : report.columns)
        EXPECT_EQ(column, QStringLiteral("(none)"));
}

TEST(TrackCheck, FaultsShowTheirMessageAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(GameFolder&, FakeSettings&)> arrange;
        std::vector<MessageBox> boxes;
        std::array<QString, 3> columns;
        bool titled = true;
    };
    const QString none = QStringLiteral("(none)");
    const auto folderError = [](int number, const char* text) {
        return MessageBox{QString::fromLatin1(text),
                          QStringLiteral("Error %1 (fncCheckTrackFolder)").arg(number), Buttons::Ok,
                          Icon::Critical};
    };
    const std::vector<Case> cases = {
        {"not set",
         [](GameFolder&, FakeSettings& s) { s.set(settings::kGplDir, settings::kNotSet); },
         {{QStringLiteral("GPL Dir not found in registry. Please close the application and "
                          "start it again."),
           QStringLiteral("Gridkeeper"), Buttons::Ok, Icon::None}},
         {},
         false},
        {"no all-tracks file",
         [](GameFolder& g, FakeSettings&) { g.remove(QStringLiteral("seasons/67AllTracks.ini")); },
         {{QStringLiteral("%1\\seasons\\67AllTracks.ini not found."),
           QStringLiteral("fncCheckTracks"), Buttons::Ok, Icon::Critical}},
         {QString(), none, QStringLiteral("empty\r\n")}},
        {"no tracks folder",
         [](GameFolder& g, FakeSettings&) {
             QDir(g.path(QStringLiteral("tracks"))).removeRecursively();
         },
         {folderError(76, "Path not found"), folderError(76, "Path not found")},
         {none, QString(), QString()}},
        {"tracks is a file",
         [](GameFolder& g, FakeSettings&) {
             QDir(g.path(QStringLiteral("tracks"))).removeRecursively();
             g.write(QStringLiteral("tracks"), "x");
         },
         {folderError(76, "Path not found"), folderError(76, "Path not found")},
         {none, QString(), QString()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder game;
        game.writeAllTracks({});
        game.write(QStringLiteral("tracks/empty/info.txt"), "x");
        FakeSettings settings;
        settings.set(settings::kGplDir, game.dir());
        c.arrange(game, settings);
        const auto before = snapshot(game);
        FakeDialogs dialogs;
        for (MessageBox box : c.boxes) {
            box.text.replace(QStringLiteral("%1"), game.dir());
            dialogs.expectMessage(box);
        }
        QtFileSystem files;
        const TrackList all;
        const TrackReport report = TrackCheck(dialogs, files, all).Form_Load(settings);
        dialogs.verify();
        EXPECT_EQ(report.columns, c.columns);
        EXPECT_EQ(report.caption.startsWith(QStringLiteral("Report: ")), c.titled);
        EXPECT_EQ(snapshot(game), before);
    }
}

TEST(TrackCheck, AnUnreadableTracksFolderIsReported) {
    GameFolder game;
    game.writeAllTracks({"monza"});
    FaultyFileSystem files;
    files.failPathContaining = QStringLiteral("tracks");
    files.failure = ErrorCode::PermissionDenied;
    FakeDialogs dialogs;
    for (int i = 0; i < 2; ++i)
        dialogs.expectMessage({QStringLiteral("Permission denied"),
                               QStringLiteral("Error 70 (fncCheckTrackFolder)"), Buttons::Ok,
                               Icon::Critical});
    const TrackList all;
    const TrackReport report = TrackCheck(dialogs, files, all).check(game.dir());
    dialogs.verify();
    EXPECT_EQ(report.columns, (std::array<QString, 3>{QStringLiteral("monza\r\n"), {}, {}}));
}

} // namespace
} // namespace gk::test
