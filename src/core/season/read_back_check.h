// SPDX-License-Identifier: GPL-3.0-or-later
// The check that a write can be read back: every event names its folder.
#pragma once

#include "track_list.h"

#include <QString>

namespace gk {

// Why the loader could not read back a season file holding the events of the list's rows, as
// a message that names the first track at fault (its row in the list called `listName`) and
// its line; "" when every event reads back: its track-directory line gives a folder name, and
// no entry holds a line break or reads as an event header.
QString readBackProblem(const TrackList& list, const QString& listName);

} // namespace gk
