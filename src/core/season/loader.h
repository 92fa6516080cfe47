// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the season files into the lists, and the inactive list's match.
#pragma once

#include "track_list.h"

#include <QHash>
#include <QString>

namespace gk {

class FileSystem;
struct FileVersion;

// Whether each track folder's track.ini exists, as far as it was looked up.
using InstalledTracks = QHash<QByteArray, bool>;

// True when the folder is a single name and its track.ini exists.
bool trackInstalled(FileSystem& fs, const QString& gameDir, const QString& folder);

// The row text of a track folder: the folder name, or the missing mark "* " before it when
// the folder's track.ini does not exist. Each folder is looked up once.
QByteArray rowText(FileSystem& fs, const QString& gameDir, const QByteArray& folder,
                   InstalledTracks& installed);

// Reads the events of a season file into a list, appending one row per event with its
// entries (see rowText). Throws RuntimeError for a file that cannot be read or is malformed;
// the rows read before the fault stay in the list. With `version` the file's version read is
// kept there.
void readSeasonFile(FileSystem& fs, const QString& gameDir, const QString& path, TrackList& list,
                    InstalledTracks& installed, FileVersion* version = nullptr);

// Appends to the inactive list the all-tracks rows left over when the active rows are matched
// to them one for one, each with a copy of its entries, in all-tracks order: first each
// all-tracks row (in file order) takes an unmatched active row of the same text and the same
// seven entries, then each one still unmatched takes an unmatched active row of the same
// text. So a track that stands twice in the all-tracks file (two races at one circuit) and
// once in the season keeps its second event in the inactive list.
void buildInactiveList(const TrackList& all, const TrackList& active, TrackList& inactive);

// On a first run the all-tracks file, and where missing the Standard track set, are byte
// copies of the game's season file.
void makeFirstRunCopies(FileSystem& fs, const QString& gameDir);

} // namespace gk
