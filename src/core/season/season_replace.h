// SPDX-License-Identifier: GPL-3.0-or-later
// The all-or-nothing replacement of the two season files with their backups.
#pragma once

#include <QByteArray>
#include <QString>

#include "season_guard.h"

namespace gk {

class FileSystem;

// Replaces 67season.ini and 67AllTracks.ini with new contents and keeps the present pair as
// 67season_previous.bak and 67AllTracks_previous.bak (a file that did not exist leaves no
// backup). All or nothing: when it throws, the two season files and the two backups are
// exactly as they were; when it returns, the new pair and the previous pair are in place.
// Both new files are complete on disk before anything present is touched, every step replaces
// a file by one rename, so a complete season file and all-tracks file exist at every moment,
// and the renames are on the disk before it returns. The previous backups it replaced are
// removed after it returns (FileSystem::removeLater). A season file that is a symbolic link is
// written through to its target, and its backup is a copy of the content, never a second name
// of the live file. Writers in other processes wait for each other (the season lock).
// Refused before anything changes (SeasonWriteRefused) while a live run of an inactive track
// has parked the season, and, with `expected`, when the files on disk are no longer those
// versions. Returns the versions written.
SeasonVersion replaceSeasonFiles(FileSystem& fs, const QString& gameDir, const QByteArray& season,
                                 const QByteArray& allTracks,
                                 const SeasonVersion* expected = nullptr);

} // namespace gk
