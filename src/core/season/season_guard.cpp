// SPDX-License-Identifier: GPL-3.0-or-later
// The second writer: the season lock, a live run's parked season, file versions.
#include "season_guard.h"

#include "game/game_paths.h"
#include "platform/runtime_error.h"

namespace gk {

FileVersion readVersion(FileSystem& fs, const QString& path) {
    FileVersion version;
    version.stamp = fs.fileStamp(path);
    version.bytes = fs.readFile(path);
    return version;
}

bool isVersion(FileSystem& fs, const QString& path, const FileVersion& version) {
    const FileStamp now = fs.fileStamp(path);
    if (now == version.stamp)
        return true;
    if (now.exists != version.stamp.exists)
        return false;
    if (!now.exists)
        return true;
    if (now.size != version.stamp.size)
        return false;
    try {
        return fs.readFile(path) == version.bytes;
    } catch (const RuntimeError&) {
        return false;
    }
}

ParkedSeason parkedSeasonState(FileSystem& fs, const QString& gameDir) {
    if (!fs.fileExists(paths::parkedSeason(gameDir)))
        return ParkedSeason::None;
    // Taken, the lock was free: its owner is gone. Released again at once.
    return fs.tryLockFile(paths::runLock(gameDir)) ? ParkedSeason::LeftBehind
                                                   : ParkedSeason::LiveRun;
}

bool seasonParkedByLiveRun(FileSystem& fs, const QString& gameDir) {
    try {
        return parkedSeasonState(fs, gameDir) == ParkedSeason::LiveRun;
    } catch (const RuntimeError&) {
        return false; // a lock that cannot even be probed is held by no run of ours
    }
}

QString realSeasonPath(FileSystem& fs, const QString& gameDir) {
    return parkedSeasonState(fs, gameDir) == ParkedSeason::LiveRun ? paths::parkedSeason(gameDir)
                                                                   : paths::seasonIni(gameDir);
}

SeasonVersion readSeasonVersion(FileSystem& fs, const QString& gameDir) {
    const auto versionOf = [&fs](const QString& path) {
        try {
            return readVersion(fs, path);
        } catch (const RuntimeError&) {
            return FileVersion{}; // missing or unreadable: any file there later is a change
        }
    };
    SeasonVersion version;
    version.season = versionOf(realSeasonPath(fs, gameDir));
    version.allTracks = versionOf(paths::allTracksIni(gameDir));
    version.known = true;
    return version;
}

bool seasonUnchanged(FileSystem& fs, const QString& gameDir, const SeasonVersion& version) {
    return isVersion(fs, realSeasonPath(fs, gameDir), version.season) &&
           isVersion(fs, paths::allTracksIni(gameDir), version.allTracks);
}

std::shared_ptr<void> lockSeason(FileSystem& fs, const QString& gameDir) {
    return fs.lockFolder(paths::seasonsFolder(gameDir));
}

} // namespace gk
