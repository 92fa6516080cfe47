// SPDX-License-Identifier: GPL-3.0-or-later
// Every path of the game installation, in the game's own form, and the rule for names.
#pragma once

#include <QString>

namespace gk::paths {

// Every file of the game installation: the game directory followed by a fixed suffix.
QString gplExe(const QString& gameDir);
QString driverIni(const QString& gameDir);
QString seasonsFolder(const QString& gameDir); // ends with a backslash
QString seasonIni(const QString& gameDir);
QString allTracksIni(const QString& gameDir);
QString standardSet(const QString& gameDir);
QString seasonBackup(const QString& gameDir);
QString allTracksBackup(const QString& gameDir);
QString trackSet(const QString& gameDir, const QString& name);
QString inSeasons(const QString& gameDir, const QString& fileName);
QString parkedSeason(const QString& gameDir);
// Held by the process whose run of an inactive track has parked the season.
QString runLock(const QString& gameDir);
// 67season.ini as another program left it during such a run.
QString seasonDuringRun(const QString& gameDir);
QString tracksFolder(const QString& gameDir);
// A path as the user is shown it: with "/" throughout on Linux (the game's own "\" would mix
// with the folder's "/"), unchanged on Windows.
QString shown(const QString& path);
// The last component of a path in the game's form or the native one, and the folder it lies in
// (without the separator; empty for a bare name).
QString fileName(const QString& path);
QString folderOf(const QString& path);
// True when the name names one entry of a folder: not empty, no "\" or "/", not "." or "..".
// A track folder or player name that is not is never made into a path (it could lead out of
// the game folder): the track counts as missing, the player as absent.
bool isSingleName(const QString& name);
QString trackIni(const QString& gameDir, const QString& folder);
// The same below a tracks folder given with its closing backslash.
QString trackIniIn(const QString& tracksFolder, const QString& folder);
QString appIni(const QString& gameDir);
QString playerFolder(const QString& gameDir, const QString& player);
QString playerIni(const QString& playerFolder);

} // namespace gk::paths
