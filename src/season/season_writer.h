#pragma once

#include "track_list.h"

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace gk {

// One entry of the sorting aid: the sort key (row text trimmed of spaces, a comma, the old
// position in decimal) and the old position kept apart, so a comma in a folder name cannot
// change which row a key stands for.
struct SortKey {
    QByteArray key;
    int position = 0;
};

// Compares two texts without regard to case, byte by byte in the game's code page.
int compareNoCase(QByteArrayView a, QByteArrayView b);

// The sort keys of the rows in ascending case-insensitive key order.
std::vector<SortKey> sortedKeys(const std::vector<QByteArray>& rows);

// A season file of the active rows in list order, or in the order of `order` (old positions).
QByteArray seasonFileBytes(QByteArrayView name, const std::vector<EventEntries>& active);
QByteArray seasonFileBytes(QByteArrayView name, const std::vector<EventEntries>& active,
                           const std::vector<SortKey>& order);
// The all-tracks file: the active rows numbered from 1, then the inactive rows numbered from 1.
QByteArray allTracksFileBytes(const std::vector<EventEntries>& active,
                              const std::vector<EventEntries>& inactive);

} // namespace gk
