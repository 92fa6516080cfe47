// SPDX-License-Identifier: GPL-3.0-or-later
// Rows taken out of a list and put back, in one pass each, for drops, undo and redo.
#include "row_moves.h"

#include <algorithm>
#include <iterator>

namespace gk {

namespace {

// Closes up the list over the ascending positions, whose rows have been moved out.
void closeUp(TrackList& list, const std::vector<int>& positions) {
    size_t kept = 0;
    size_t next = 0;
    const size_t n = list.rows.size();
    for (size_t r = 0; r < n; ++r) {
        if (next < positions.size() && static_cast<size_t>(positions[next]) == r) {
            ++next;
            continue;
        }
        if (kept != r)
            list.rows[kept] = std::move(list.rows[r]);
        ++kept;
    }
    list.rows.erase(list.rows.begin() + static_cast<std::ptrdiff_t>(kept), list.rows.end());
    list.rowsChanged();
}

// Opens the list at the ascending positions (positions in the longer list) and fills each with
// take(j), from the back, in place: a list keeps its memory from one step to the next, so an
// undo or redo touches no fresh pages.
template <class Take> void openAt(TrackList& list, const std::vector<int>& positions, Take&& take) {
    const size_t k = positions.size();
    size_t from = list.rows.size();
    list.rows.resize(from + k);
    size_t j = k;
    for (size_t i = from + k; j > 0 && i-- > 0;) {
        if (static_cast<size_t>(positions[j - 1]) == i)
            list.rows[i] = take(--j);
        else
            list.rows[i] = std::move(list.rows[--from]);
    }
    list.rowsChanged();
}

} // namespace

std::vector<TrackRow> takeRows(TrackList& list, const std::vector<int>& positions) {
    std::vector<TrackRow> taken;
    taken.reserve(positions.size());
    for (int r : positions)
        taken.push_back(std::move(list.rows[static_cast<size_t>(r)]));
    closeUp(list, positions);
    return taken;
}

void putRows(TrackList& list, const std::vector<int>& positions, std::vector<TrackRow>&& rows) {
    openAt(list, positions, [&](size_t j) { return std::move(rows[j]); });
}

void moveRowBlock(TrackList& from, const std::vector<int>& rows, TrackList& to, int position) {
    if (&from == &to) {
        std::vector<TrackRow> block = takeRows(from, rows);
        to.rows.insert(to.rows.begin() + position, std::make_move_iterator(block.begin()),
                       std::make_move_iterator(block.end()));
        to.rowsChanged();
        return;
    }
    const size_t had = to.rows.size();
    to.rows.resize(had + rows.size());
    std::move_backward(to.rows.begin() + position,
                       to.rows.begin() + static_cast<std::ptrdiff_t>(had), to.rows.end());
    for (size_t j = 0; j < rows.size(); ++j)
        to.rows[static_cast<size_t>(position) + j] =
            std::move(from.rows[static_cast<size_t>(rows[j])]);
    to.rowsChanged();
    closeUp(from, rows);
}

void returnRowBlock(TrackList& from, const std::vector<int>& rows, TrackList& to, int position) {
    const auto first = to.rows.begin() + position;
    const auto last = first + static_cast<std::ptrdiff_t>(rows.size());
    if (&from == &to) {
        std::vector<TrackRow> block(std::make_move_iterator(first), std::make_move_iterator(last));
        to.rows.erase(first, last);
        putRows(from, rows, std::move(block));
        return;
    }
    openAt(from, rows,
           [&](size_t j) { return std::move(to.rows[static_cast<size_t>(position) + j]); });
    to.rows.erase(to.rows.begin() + position,
                  to.rows.begin() + position + static_cast<std::ptrdiff_t>(rows.size()));
    to.rowsChanged();
}

void permuteRows(TrackList& list, const std::vector<int>& order, bool back) {
    // Along the cycles of the order, in place: no second copy of the list.
    std::vector<uint8_t> placed(order.size(), 0);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        if (!back) {
            // Row j becomes the former row order[j].
            TrackRow moved = std::move(list.rows[start]);
            size_t j = start;
            for (;;) {
                placed[j] = 1;
                const auto k = static_cast<size_t>(order[j]);
                if (k == start)
                    break;
                list.rows[j] = std::move(list.rows[k]);
                j = k;
            }
            list.rows[j] = std::move(moved);
        } else {
            // Row j goes back to order[j].
            TrackRow carried = std::move(list.rows[start]);
            size_t j = start;
            for (;;) {
                placed[j] = 1;
                const auto k = static_cast<size_t>(order[j]);
                std::swap(carried, list.rows[k]);
                if (k == start)
                    break;
                j = k;
            }
        }
    }
    list.rowsChanged();
}

} // namespace gk
