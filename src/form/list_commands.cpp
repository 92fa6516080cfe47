// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on the lists: moves, deletes, arrows and sorting.
#include "list_commands.h"

#include "platform/runtime_error.h"
#include "row_moves.h"
#include "season/season_file.h"
#include "season/season_writer.h"

#include <algorithm>

namespace gk {

// ---------------------------------------------------------------- list commands

void ListCommands::cmdChangeButton_Click(int16_t Index) {
    if (Index < 0 || Index > 3)
        return;
    ctx_.guarded([&] { runListCommand(Index); });
}

void ListCommands::runListCommand(int16_t Index) {
    const ListSide source = Index <= 1 ? ListSide::Active : ListSide::Inactive;
    TrackList& from = ctx_.list(source);
    if (from.current < 0)
        return;
    ctx_.ws.bolFillingEntries = true;
    try {
        ctx_.ws.bolSeasonChanged = true;
        ctx_.trackSetEdited();
        TrackList* to = nullptr;
        if (Index == 0 || Index == 3) {
            to = &ctx_.list(Index == 0 ? ListSide::Inactive : ListSide::Active);
            // A list holds at most 32767 rows: refuse the move whole rather than leave rows
            // copied but not removed.
            const auto moving = static_cast<size_t>(
                std::count_if(from.rows.begin(), from.rows.end(),
                              [](const TrackRow& row) { return row.selected; }));
            if (to->rows.size() + moving > static_cast<size_t>(kMaxListRows))
                throw RuntimeError(ErrorCode::Overflow);
            to->reserve(to->rows.size() + moving);
        }
        // One pass hands each selected row to the other list (its bytes moved, not copied) or
        // drops it, and keeps the others in order.
        size_t kept = 0;
        const size_t n = from.rows.size();
        for (size_t r = 0; r < n; ++r) {
            TrackRow& row = from.rows[r];
            if (row.selected) {
                if (to)
                    to->addRow(std::move(row));
                continue;
            }
            if (kept != r)
                from.rows[kept] = std::move(row);
            ++kept;
        }
        if (kept != n) {
            from.rows.erase(from.rows.begin() + static_cast<std::ptrdiff_t>(kept), from.rows.end());
            from.current = -1; // the command leaves no current row behind
            from.rowsChanged();
            selection_.clearSide(source);
        }
    } catch (const RuntimeError& e) {
        ctx_.showError(e.number(), e.description());
    }
    ctx_.updateCountCaptions();
    ctx_.ws.bolFillingEntries = false;
    if (!ctx_.ctl.txtTrack.isEmpty())
        selection_.txtTrack_Change();
}

void ListCommands::picArrow_Click(int16_t Index) {
    if (Index < 0 || Index > 3)
        return;
    ctx_.guarded([&] {
        const ListSide side = Index <= 1 ? ListSide::Active : ListSide::Inactive;
        if (side == ListSide::Active)
            ctx_.trackSetEdited();
        TrackList& rows = ctx_.list(side);
        if (rows.count() < 2 || rows.current < 0)
            return;
        ctx_.ws.bolSeasonChanged = true;
        const int p = rows.current;
        const int q = p + (Index % 2 == 0 ? -1 : 1);
        if (q < 0 || q >= rows.count())
            return;
        // The row moves with its entries; the moved row is the one marked.
        std::swap(rows.rows[static_cast<size_t>(p)], rows.rows[static_cast<size_t>(q)]);
        rows.rows[static_cast<size_t>(q)].selected = true;
        rows.rows[static_cast<size_t>(p)].selected = false;
        rows.rowsChanged();
        selection_.setCurrentRow(side, q);
    });
}

// ---------------------------------------------------------------- sorting

void ListCommands::sortList(ListSide side, const std::vector<int>& order) {
    TrackList& rows = ctx_.list(side);
    if (rows.count() < 2)
        return;
    permuteRows(rows, order, false);
    for (TrackRow& row : rows.rows) {
        // The row text is the key's text: trimmed of spaces.
        QByteArray& text = row.text;
        if (!text.isEmpty() && (text.front() == ' ' || text.back() == ' '))
            text = trimSpaces(text);
        row.selected = false;
    }
    rows.current = -1;
    rows.rowsChanged();
    // Nothing shown on this side belongs to a row any more; the selected track stays when it
    // came from the other list.
    selection_.clearSide(side, false);
    ctx_.ws.bolSeasonChanged = true;
    if (side == ListSide::Active)
        ctx_.trackSetEdited();
}

} // namespace gk
