#include "app/settings_keys.h"
#include "report/track_check.h"
#include "support/fakes.h"
#include "support/game_folder.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

// Every path under the game folder with its bytes, to prove the report writes nothing.
QMap<QString, QByteArray> snapshot(const GameFolder& game) {
    QMap<QString, QByteArray> all;
    QDirIterator it(game.dir(), QDir::AllEntries | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        all.insert(file.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "<dir>");
    }
    return all;
}

// A column's names in sorted order: folders come in the order the system lists them.
QString sorted(const QString& column) {
    QStringList names = column.split(QStringLiteral("\r\n"));
    names.sort();
    return names.join(QLatin1Char('|'));
}

TEST(TrackCheck, ColumnsAndFaultsOverGameFolders) {
    struct Case {
        const char* name;
        std::function<void(GameFolder&, FakeSettings&, FaultyFileSystem&)> arrange;
        std::vector<MessageBox> boxes;  // "%1": the game folder
        std::array<QString, 3> columns; // 1 and 2 as sorted() gives them
        bool titled = true;
    };
    const QString none = QStringLiteral("(none)");
    const auto folderError = [](int number, const char* text) {
        return MessageBox{QString::fromLatin1(text),
                          QStringLiteral("Error %1 (fncCheckTrackFolder)").arg(number), Buttons::Ok,
                          Icon::Critical};
    };
    const MessageBox notFound = folderError(76, "Path not found");
    const std::vector<Case> cases = {
        {"mixed folder",
         [](GameFolder& g, FakeSettings&, FaultyFileSystem&) {
             g.addTracks({"monza", "Zolder"});
             g.write(QStringLiteral("tracks/Spa/Track.ini"), "x");
             g.write(QStringLiteral("tracks/Kyalami/TRACK.INI"), "x");
             g.write(QStringLiteral("tracks/N\u00fcrburg/track.ini"), "x");
             g.write(QStringLiteral("tracks/odd/track.ini/inner.txt"), "x"); // a folder
             g.write(QStringLiteral("tracks/loose.txt"), "x");               // in no column
             g.write(QStringLiteral("seasons/67AllTracks.ini"),
                     seasonOf({"monza", "gone", QByteArray("r\xE9ims", 5), "SPA"})
                             .replace("trackDirectory=SPA", "  TRACKDIRECTORY=SPA") +
                         "trackdirectory=gone\r\n");
         },
         {},
         {QStringLiteral("gone\r\nr\u00e9ims\r\ngone\r\n"),
          QStringLiteral("|Kyalami|N\u00fcrburg|Zolder"), QStringLiteral("|empty|odd")}},
        {"stored with a backslash, nothing to report",
         [](GameFolder& g, FakeSettings& s, FaultyFileSystem&) {
             s.set(settings::kGplDir, g.dir() + QStringLiteral("\\"));
             g.write(QStringLiteral("tracks/empty/track.ini"), "x");
             g.writeAllTracks({"EMPTY"});
         },
         {},
         {none, QStringLiteral("|empty"), none}},
        {"not set",
         [](GameFolder&, FakeSettings& s, FaultyFileSystem&) {
             s.set(settings::kGplDir, settings::kNotSet);
         },
         {{QStringLiteral("GPL Dir not found in registry. Please close the application and "
                          "start it again."),
           QStringLiteral("Gridkeeper"), Buttons::Ok, Icon::None}},
         {},
         false},
        {"no all-tracks file",
         [](GameFolder& g, FakeSettings&, FaultyFileSystem&) {
             g.remove(QStringLiteral("seasons/67AllTracks.ini"));
         },
         {{QStringLiteral("%1\\seasons\\67AllTracks.ini not found."),
           QStringLiteral("fncCheckTracks"), Buttons::Ok, Icon::Critical}},
         {QString(), none, QStringLiteral("|empty")}},
        {"no tracks folder",
         [](GameFolder& g, FakeSettings&, FaultyFileSystem&) {
             QDir(g.path(QStringLiteral("tracks"))).removeRecursively();
         },
         {notFound, notFound},
         {none, QString(), QString()}},
        {"tracks is a file",
         [](GameFolder& g, FakeSettings&, FaultyFileSystem&) {
             QDir(g.path(QStringLiteral("tracks"))).removeRecursively();
             g.write(QStringLiteral("tracks"), "x");
         },
         {notFound, notFound},
         {none, QString(), QString()}},
        {"unreadable tracks folder",
         [](GameFolder&, FakeSettings&, FaultyFileSystem& f) {
             f.failPathContaining = QStringLiteral("tracks");
             f.failure = ErrorCode::PermissionDenied;
         },
         {folderError(70, "Permission denied"), folderError(70, "Permission denied")},
         {none, QString(), QString()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder game;
        game.writeAllTracks({});
        game.write(QStringLiteral("tracks/empty/info.txt"), "x");
        FakeSettings settings;
        settings.set(settings::kGplDir, game.dir());
        FaultyFileSystem files;
        c.arrange(game, settings, files);
        const auto before = snapshot(game);
        FakeDialogs dialogs;
        for (MessageBox box : c.boxes)
            dialogs.expectMessage({box.text.replace(QStringLiteral("%1"), game.dir()), box.title,
                                   box.buttons, box.icon});
        // The window's all-tracks rows: a missing mark is part of the text compared.
        TrackList all;
        for (const char* row : {"MONZA", "* gone", "SPA", "* Kyalami"})
            all.addRow(row);
        const TrackReport report = TrackCheck(dialogs, files, all).Form_Load(settings);
        dialogs.verify();
        EXPECT_EQ(report.caption,
                  c.titled ? QStringLiteral("Report: ") + game.dir() + QStringLiteral("\\tracks\\")
                           : QStringLiteral("Report"));
        EXPECT_EQ(report.columns[0], c.columns[0]);
        EXPECT_EQ(sorted(report.columns[1]), c.columns[1]);
        EXPECT_EQ(sorted(report.columns[2]), c.columns[2]);
        EXPECT_EQ(snapshot(game), before);
    }
}

} // namespace
} // namespace gk::test
