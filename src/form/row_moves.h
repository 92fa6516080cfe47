// SPDX-License-Identifier: GPL-3.0-or-later
// Rows taken out of a list and put back, in one pass each, for drops, sorts, undo and redo.
#pragma once

#include "season/track_list.h"

#include <vector>

namespace gk {

// Takes the rows at the ascending positions out of the list, in their order; the rest close up.
std::vector<TrackRow> takeRows(TrackList& list, const std::vector<int>& positions);
// The reverse of takeRows: the rows go back to the ascending positions they were taken from.
void putRows(TrackList& list, const std::vector<int>& positions, std::vector<TrackRow>&& rows);
// Takes rows out of a list and puts them, in their order, at `position` of the same or the
// other list (a position in the target once the rows are out).
void moveRowBlock(TrackList& from, const std::vector<int>& rows, TrackList& to, int position);
// The reverse of moveRowBlock: the block at `position` of `to` goes back where it came from.
void returnRowBlock(TrackList& from, const std::vector<int>& rows, TrackList& to, int position);
// Puts the rows in the order `order` names (row j becomes the former row order[j]), or back.
void permuteRows(TrackList& list, const std::vector<int>& order, bool back);

} // namespace gk
