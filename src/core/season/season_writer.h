// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of the season files, and the order of an alphabetical write.
#pragma once

#include "track_list.h"

#include <QByteArray>
#include <QByteArrayView>
#include <span>
#include <vector>

namespace gk {

// Compares two texts without regard to case, byte by byte in the game's code page.
int compareNoCase(QByteArrayView a, QByteArrayView b);

// The rows' old positions in the ascending order of their sort keys: the row text trimmed of
// spaces, a comma, the old position in decimal ("monza,3"). Keys compare without regard to
// case, "," before every other byte, other punctuation and space before digits, digits before
// letters, and the bytes 0x80 to 0xFF after the letters (season_writer.cpp has the details).
// The positions are kept apart from the text, so a comma in a folder name cannot change which
// row a key stands for. Radix sort: linear in the total length of the keys.
std::vector<int> sortOrder(std::span<const TrackRow> rows);

// A season file of the active rows' events in list order, or in the order of `order` (old
// positions).
QByteArray seasonFileBytes(QByteArrayView name, std::span<const TrackRow> active);
QByteArray seasonFileBytes(QByteArrayView name, std::span<const TrackRow> active,
                           const std::vector<int>& order);
// The all-tracks file: the active rows numbered from 1, then the inactive rows numbered from 1.
QByteArray allTracksFileBytes(std::span<const TrackRow> active, std::span<const TrackRow> inactive);

} // namespace gk
