#pragma once

#include "track_list.h"

#include <QString>
#include <vector>

namespace gk {

class FileSystem;

// Reads the events of a season file into a list, appending one row per event: the folder
// name, or the missing mark "* " before it when the folder's track.ini does not exist.
// Throws RuntimeError for a file that cannot be read or is malformed; the rows read before
// the fault stay in the list.
void readSeasonFile(FileSystem& fs, const QString& gameDir, const QString& path, TrackList& list,
                    std::vector<EventEntries>& entries);

// Appends to the inactive list every row of the all-tracks list whose text stands in no row
// of the active list (exact, case-sensitive), with a copy of its entries, in all-tracks order.
void buildInactiveList(const TrackList& all, const std::vector<EventEntries>& allEntries,
                       const TrackList& active, TrackList& inactive,
                       std::vector<EventEntries>& inactiveEntries);

// On a first run the all-tracks file, and where missing the Standard track set, are byte
// copies of the game's season file.
void makeFirstRunCopies(FileSystem& fs, const QString& gameDir);

} // namespace gk
