// SPDX-License-Identifier: GPL-3.0-or-later
// The second writer: the season lock, a live run's parked season, file versions.
#pragma once

#include "platform/file_system.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace gk {

// One version of a file as Gridkeeper read or wrote it: its stamp and its bytes.
struct FileVersion {
    FileStamp stamp;
    QByteArray bytes;
};

// The two season files as a window last read or wrote them.
struct SeasonVersion {
    FileVersion season; // the player's real season (see realSeasonPath)
    FileVersion allTracks;
    bool known = false;
    // After a write: why the replaced pair could not be kept in the history ("" when it was).
    QString historyProblem = {};
};

// The file's version (throws RuntimeError when it cannot be read); the stamp is taken before the
// bytes, so that a change during the read still shows as a change later.
FileVersion readVersion(FileSystem& fs, const QString& path);
// True when the file is still that version: the same stamp, or, where the stamp moved (a
// rewrite of the same text), the same bytes.
bool isVersion(FileSystem& fs, const QString& path, const FileVersion& version);

// What stands behind a gridkeeper.tmp in the seasons folder.
enum class ParkedSeason {
    None,      // no season is parked
    LiveRun,   // a run of an inactive track that is still going parked it
    LeftBehind // parked by a run that ended without putting it back (a crash)
};
// Call it holding the season lock: a run parks and puts back its season under that lock.
ParkedSeason parkedSeasonState(FileSystem& fs, const QString& gameDir);
// True when a run of an inactive track that is still going has parked the season. Never throws.
bool seasonParkedByLiveRun(FileSystem& fs, const QString& gameDir);
// The file that holds the player's real season: gridkeeper.tmp while a live run has parked it
// (67season.ini then holds the run's temporary season), 67season.ini otherwise.
QString realSeasonPath(FileSystem& fs, const QString& gameDir);
// Both files' present versions; a file that cannot be read counts as missing.
SeasonVersion readSeasonVersion(FileSystem& fs, const QString& gameDir);
// True when both season files are still the given versions.
bool seasonUnchanged(FileSystem& fs, const QString& gameDir, const SeasonVersion& version);

// A write of the season files refused before anything changed.
struct SeasonWriteRefused {
    enum class Reason {
        RunInProgress, // a live run of an inactive track has parked the season
        ChangedOnDisk  // the files are no longer those the writer read
    };
    Reason reason;
};

// The season lock (seasons\gridkeeper.lock), shared by every Gridkeeper process: a command
// that changes the season holds it from its read to its write.
std::shared_ptr<void> lockSeason(FileSystem& fs, const QString& gameDir);

} // namespace gk
