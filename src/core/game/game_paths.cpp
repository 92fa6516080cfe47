// SPDX-License-Identifier: GPL-3.0-or-later
// Every path of the game installation, in the game's own form, and the rule for names.
#include "game_paths.h"

#include <algorithm>

namespace gk::paths {

QString gplExe(const QString& gameDir) {
    return gameDir + QLatin1String("\\gpl.exe");
}
QString driverIni(const QString& gameDir) {
    return gameDir + QLatin1String("\\driver.ini");
}
QString seasonsFolder(const QString& gameDir) {
    return gameDir + QLatin1String("\\seasons\\");
}
QString inSeasons(const QString& gameDir, const QString& fileName) {
    return seasonsFolder(gameDir) + fileName;
}
QString seasonIni(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("67season.ini"));
}
QString allTracksIni(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("67AllTracks.ini"));
}
QString standardSet(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("Standard.67s"));
}
QString seasonBackup(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("67season_previous.bak"));
}
QString allTracksBackup(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("67AllTracks_previous.bak"));
}
QString trackSet(const QString& gameDir, const QString& name) {
    return inSeasons(gameDir, name + QLatin1String(".67s"));
}
QString parkedSeason(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("gridkeeper.tmp"));
}
QString runLock(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("gridkeeper_run.lock"));
}
QString seasonDuringRun(const QString& gameDir) {
    return inSeasons(gameDir, QStringLiteral("67season_during_run.bak"));
}
QString tracksFolder(const QString& gameDir) {
    return gameDir + QLatin1String("\\tracks\\");
}
QString shown(const QString& path) {
#ifdef Q_OS_WIN
    return path;
#else
    QString text = path;
    return text.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
}
namespace {
qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
}
} // namespace
QString fileName(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}
QString folderOf(const QString& path) {
    return path.left(std::max<qsizetype>(lastSeparator(path), 0));
}
bool isSingleName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('/'));
}
QString trackIni(const QString& gameDir, const QString& folder) {
    return trackIniIn(tracksFolder(gameDir), folder);
}
QString trackIniIn(const QString& tracksFolder, const QString& folder) {
    return tracksFolder + folder + QLatin1String("\\track.ini");
}
QString appIni(const QString& gameDir) {
    return gameDir + QLatin1String("\\App.ini");
}
QString playerFolder(const QString& gameDir, const QString& player) {
    return gameDir + QLatin1String("\\Players\\") + player;
}
QString playerIni(const QString& playerFolder) {
    return playerFolder + QLatin1String("\\player.ini");
}

} // namespace gk::paths
