// SPDX-License-Identifier: GPL-3.0-or-later
// Rows taken out of a list and put back, in one pass each, for drops, undo and redo.
#include "row_moves.h"

#include <iterator>

namespace gk {

std::vector<TrackRow> takeRows(TrackList& list, const std::vector<int>& positions) {
    std::vector<TrackRow> taken;
    taken.reserve(positions.size());
    size_t kept = 0;
    size_t next = 0;
    const size_t n = list.rows.size();
    for (size_t r = 0; r < n; ++r) {
        if (next < positions.size() && static_cast<size_t>(positions[next]) == r) {
            taken.push_back(std::move(list.rows[r]));
            ++next;
            continue;
        }
        if (kept != r)
            list.rows[kept] = std::move(list.rows[r]);
        ++kept;
    }
    list.rows.erase(list.rows.begin() + static_cast<std::ptrdiff_t>(kept), list.rows.end());
    list.rowsChanged();
    return taken;
}

void putRows(TrackList& list, const std::vector<int>& positions, std::vector<TrackRow>&& rows) {
    std::vector<TrackRow> merged;
    merged.reserve(list.rows.size() + rows.size());
    size_t from = 0;
    size_t next = 0;
    const size_t n = list.rows.size() + rows.size();
    for (size_t r = 0; r < n; ++r) {
        if (next < positions.size() && static_cast<size_t>(positions[next]) == r)
            merged.push_back(std::move(rows[next++]));
        else
            merged.push_back(std::move(list.rows[from++]));
    }
    list.rows = std::move(merged);
    list.rowsChanged();
}

void moveRowBlock(TrackList& from, const std::vector<int>& rows, TrackList& to, int position) {
    std::vector<TrackRow> block = takeRows(from, rows);
    to.rows.insert(to.rows.begin() + position, std::make_move_iterator(block.begin()),
                   std::make_move_iterator(block.end()));
    to.rowsChanged();
}

void returnRowBlock(TrackList& from, const std::vector<int>& rows, TrackList& to, int position) {
    const auto first = to.rows.begin() + position;
    const auto last = first + static_cast<std::ptrdiff_t>(rows.size());
    std::vector<TrackRow> block(std::make_move_iterator(first), std::make_move_iterator(last));
    to.rows.erase(first, last);
    to.rowsChanged();
    putRows(from, rows, std::move(block));
}

void permuteRows(TrackList& list, const std::vector<int>& order, bool back) {
    std::vector<TrackRow> out(list.rows.size());
    for (size_t j = 0; j < order.size(); ++j) {
        const auto k = static_cast<size_t>(order[j]);
        if (back)
            out[k] = std::move(list.rows[j]);
        else
            out[j] = std::move(list.rows[k]);
    }
    list.rows = std::move(out);
    list.rowsChanged();
}

} // namespace gk
