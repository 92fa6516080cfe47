// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a track folder's row in a list.
#pragma once

#include "track_list.h"

#include <QByteArrayView>
#include <cstdint>

namespace gk {

// The first row whose whole text equals the name without regard to case, or -1.
int16_t fncTrackIndex(QByteArrayView strStrecke, const TrackList& obj);

} // namespace gk
