// SPDX-License-Identifier: GPL-3.0-or-later
// The state every handler of the main window shares.
#pragma once

#include "season/track_list.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace gk {

// The state every handler of the main window shares.
struct Workspace {
    QString strGPLdir;
    bool bolGPLdirOK = false;
    bool bolSeasonChanged = false;
    bool bolTrackSetChanged = false;
    QString strTrackSet;
    bool bolFillingEntries = false;
    int16_t intActiveIndex = 0;
    int16_t intInactiveIndex = 0;

    TrackList ListTracks;    // active list
    TrackList listNotActive; // inactive list
    TrackList ListAllTracks; // every event of the all-tracks file, in file order
    std::vector<EventEntries> arrActive;
    std::vector<EventEntries> arrInactive;
    std::vector<EventEntries> arrAllTracks;
};

} // namespace gk
