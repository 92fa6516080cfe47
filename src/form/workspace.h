// SPDX-License-Identifier: GPL-3.0-or-later
// The state every handler of the main window shares.
#pragma once

#include "season/track_list.h"

#include <QString>

namespace gk {

// The state every handler of the main window shares.
struct Workspace {
    QString strGPLdir;
    bool bolGPLdirOK = false;
    bool bolSeasonChanged = false;
    bool bolTrackSetChanged = false;
    QString strTrackSet;
    bool bolFillingEntries = false;

    // Each row holds its event's entries.
    TrackList ListTracks;    // active list
    TrackList listNotActive; // inactive list
    TrackList ListAllTracks; // every event of the all-tracks file, in file order
};

} // namespace gk
