// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game folders of a new user in the usual places.
#include "game/game_finder.h"
#include "platform/qt_file_system.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using namespace Qt::StringLiterals;

// A home folder made of the files listed; "<H>" in the expected folders stands for it.
TEST(GameFinder, FindsGameFoldersInTheUsualPlacesMostLikelyFirst) {
    struct Case {
        const char* what;
        QStringList files;  // below the home folder
        QString winePrefix; // below the home folder; empty: not set
        QStringList found;  // below the home folder
        int limit = 8;
    };
    const auto at = [](const QString& folder) {
        return QStringList{folder + u"/gpl.exe"_s, folder + u"/driver.ini"_s};
    };
    const std::vector<Case> cases = {
        // clang-format off
        {"the default prefix", at(u".wine/drive_c/Sierra/GPL"_s), {}, {u".wine/drive_c/Sierra/GPL"_s}},
        {"any case, in the spelling on disk", {u".wine/drive_c/sierra/gpl/GPL.EXE"_s, u".wine/drive_c/sierra/gpl/Driver.INI"_s}, {}, {u".wine/drive_c/sierra/gpl"_s}},
        {"gpl.exe alone is no game folder", {u".wine/drive_c/GPL/gpl.exe"_s}, {}, {}},
        {"driver.ini alone is no game folder", {u".wine/drive_c/GPL/driver.ini"_s}, {}, {}},
        {"$WINEPREFIX first, then the default prefix, then the front ends",
         at(u".wine/drive_c/GPL"_s) + at(u"pfx/drive_c/Games/GPL"_s) + at(u"Games/gpl-lutris/drive_c/Sierra/GPL"_s), u"pfx"_s,
         {u"pfx/drive_c/Games/GPL"_s, u".wine/drive_c/GPL"_s, u"Games/gpl-lutris/drive_c/Sierra/GPL"_s}},
        {"$WINEPREFIX naming the default prefix counts once", at(u".wine/drive_c/GPL"_s), u".wine"_s, {u".wine/drive_c/GPL"_s}},
        {"every Program Files folder", at(u".wine/drive_c/Program Files (x86)/Sierra/GPL"_s) + at(u".wine/drive_c/Program Files/GPL"_s), {},
         {u".wine/drive_c/Program Files (x86)/Sierra/GPL"_s, u".wine/drive_c/Program Files/GPL"_s}},
        {"winetricks, PlayOnLinux, Bottles, CrossOver and Steam prefixes",
         at(u".local/share/wineprefixes/gpl/drive_c/GPL"_s) + at(u".PlayOnLinux/wineprefix/GPL/drive_c/Papyrus/GPL"_s) + at(u".local/share/bottles/bottles/Racing/drive_c/GPL"_s) +
             at(u".cxoffice/GPL/drive_c/Sierra/GPL"_s) + at(u".steam/steam/steamapps/compatdata/123/pfx/drive_c/GPL"_s), {},
         {u".local/share/wineprefixes/gpl/drive_c/GPL"_s, u".PlayOnLinux/wineprefix/GPL/drive_c/Papyrus/GPL"_s, u".local/share/bottles/bottles/Racing/drive_c/GPL"_s,
          u".cxoffice/GPL/drive_c/Sierra/GPL"_s, u".steam/steam/steamapps/compatdata/123/pfx/drive_c/GPL"_s}},
        {"folders of one pattern by name", at(u".wine/drive_c/Program Files (x86)/Sierra/GPL"_s) + at(u".wine/drive_c/program files/Sierra/GPL"_s), {},
         {u".wine/drive_c/program files/Sierra/GPL"_s, u".wine/drive_c/Program Files (x86)/Sierra/GPL"_s}},
        {"not below the usual folders", at(u".wine/drive_c/Users/me/GPL"_s) + at(u"GPL"_s), {}, {}},
        {"a file where a folder belongs", {u".wine/drive_c"_s, u"Games"_s}, {}, {}},
        {"at most the limit", at(u".wine/drive_c/GPL"_s) + at(u".wine/drive_c/Sierra/GPL"_s), {}, {u".wine/drive_c/Sierra/GPL"_s}, 1},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir home;
        for (const QString& file : c.files) {
            const QString path = home.path() + u'/' + file;
            QDir().mkpath(QFileInfo(path).path());
            QFile(path).open(QIODevice::WriteOnly);
        }
        QtFileSystem fs;
        GameSearchPlaces places;
        places.home = home.path();
        if (!c.winePrefix.isEmpty())
            places.winePrefix = home.path() + u'/' + c.winePrefix;
        QStringList expected;
        for (const QString& f : c.found)
            expected << home.path() + u'/' + f;
        EXPECT_EQ(findGameFolders(fs, places, c.limit), expected);
    }
}

} // namespace
} // namespace gk::test
