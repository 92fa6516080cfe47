// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a track folder's row in a list.
#include "track_lookup.h"

#include "season_writer.h"

namespace gk {

int16_t fncTrackIndex(QByteArrayView strStrecke, const TrackList& obj) {
    const int16_t n = obj.count();
    for (int16_t r = 0; r < n; ++r) {
        const QByteArray& row = obj.rows[static_cast<size_t>(r)].text;
        if (row.size() == strStrecke.size() && compareNoCase(row, strStrecke) == 0)
            return r;
    }
    return -1;
}

} // namespace gk
