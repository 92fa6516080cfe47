// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on the lists: moves, deletes, arrows and sorting.
#include "list_commands.h"

#include "form_model.h"
#include "platform/runtime_error.h"
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
    std::vector<EventEntries>& fromEntries = ctx_.entries(source);
    ctx_.ws.bolFillingEntries = true;
    try {
        ctx_.ws.bolSeasonChanged = true;
        if (!ctx_.ws.strTrackSet.isEmpty()) {
            ctx_.ws.bolTrackSetChanged = true;
            ctx_.form.subShowTrackSet();
        }
        if (from.rows.size() != fromEntries.size())
            throw RuntimeError(ErrorCode::SubscriptRange);
        if (Index == 0 || Index == 3) {
            const ListSide target = Index == 0 ? ListSide::Inactive : ListSide::Active;
            TrackList& to = ctx_.list(target);
            std::vector<EventEntries>& toEntries = ctx_.entries(target);
            // A list holds at most 32767 rows: refuse the move whole rather than leave rows
            // copied but not removed.
            const auto moving = static_cast<size_t>(
                std::count(from.selected.begin(), from.selected.end(), uint8_t{1}));
            if (to.rows.size() + moving > static_cast<size_t>(kMaxListRows))
                throw RuntimeError(ErrorCode::Overflow);
            to.reserve(to.rows.size() + moving);
            toEntries.reserve(toEntries.size() + moving);
            // The moved rows leave their list below, so their bytes are moved, not copied.
            for (size_t r = 0; r < from.rows.size(); ++r) {
                if (!from.selected[r])
                    continue;
                to.addRow(std::move(from.rows[r]));
                toEntries.push_back(std::move(fromEntries[r]));
            }
        }
        // One pass keeps the unselected rows in order, each with its own entries.
        size_t kept = 0;
        const size_t n = from.rows.size();
        for (size_t r = 0; r < n; ++r) {
            if (from.selected[r])
                continue;
            if (kept != r) {
                from.rows[kept] = std::move(from.rows[r]);
                fromEntries[kept] = std::move(fromEntries[r]);
            }
            from.selected[kept] = 0;
            ++kept;
        }
        if (kept != n) {
            from.rows.resize(kept);
            from.selected.resize(kept);
            fromEntries.resize(kept);
            from.current = -1; // the command leaves no current row behind
            from.rowsChanged();
            ctx_.clearSide(source);
        }
    } catch (const RuntimeError& e) {
        ctx_.showError(e.number(), e.description());
    }
    ctx_.updateCountCaptions();
    ctx_.ws.bolFillingEntries = false;
    if (!ctx_.ctl.txtTrack.isEmpty())
        ctx_.form.txtTrack_Change();
}

void ListCommands::picArrow_Click(int16_t Index) {
    if (Index < 0 || Index > 3)
        return;
    ctx_.guarded([&] {
        const ListSide side = Index <= 1 ? ListSide::Active : ListSide::Inactive;
        if (side == ListSide::Active && !ctx_.ws.strTrackSet.isEmpty()) {
            ctx_.ws.bolTrackSetChanged = true;
            ctx_.form.subShowTrackSet();
        }
        TrackList& rows = ctx_.list(side);
        std::vector<EventEntries>& entries = ctx_.entries(side);
        if (rows.count() < 2 || rows.current < 0)
            return;
        ctx_.ws.bolSeasonChanged = true;
        const int p = rows.current;
        const int q = p + (Index % 2 == 0 ? -1 : 1);
        if (q < 0 || q >= rows.count())
            return;
        try {
            if (static_cast<size_t>(std::max(p, q)) >= entries.size())
                throw RuntimeError(ErrorCode::SubscriptRange);
            std::swap(rows.rows[static_cast<size_t>(p)], rows.rows[static_cast<size_t>(q)]);
            std::swap(entries[static_cast<size_t>(p)], entries[static_cast<size_t>(q)]);
            rows.selected[static_cast<size_t>(q)] = 1;
            rows.selected[static_cast<size_t>(p)] = 0;
            rows.rowsChanged();
            ctx_.form.setCurrentRow(side, q);
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
        }
    });
}

// ---------------------------------------------------------------- sorting

void ListCommands::lblAmountLeft_Click() {
    ctx_.guarded([&] { sortList(ListSide::Active); });
}

void ListCommands::lblAmountRight_Click() {
    ctx_.guarded([&] { sortList(ListSide::Inactive); });
}

void ListCommands::sortList(ListSide side) {
    TrackList& rows = ctx_.list(side);
    std::vector<EventEntries>& entries = ctx_.entries(side);
    if (rows.count() < 2)
        return;
    try {
        if (entries.size() != rows.rows.size())
            throw RuntimeError(ErrorCode::SubscriptRange);
        // The sort keys carry the old positions apart from the text, so a "," in a folder
        // name cannot send a row's entries elsewhere.
        const std::vector<int> ListSorter = sortOrder(rows.rows);
        // Rows and entries are permuted in place along the cycles of the order: no second
        // copy of the lists is needed.
        std::vector<uint8_t> placed(ListSorter.size(), 0);
        for (size_t start = 0; start < ListSorter.size(); ++start) {
            if (placed[start])
                continue;
            QByteArray text = std::move(rows.rows[start]);
            EventEntries moved = std::move(entries[start]);
            size_t j = start;
            for (;;) {
                placed[j] = 1;
                const auto k = static_cast<size_t>(ListSorter[j]);
                if (k == start)
                    break;
                rows.rows[j] = std::move(rows.rows[k]);
                entries[j] = std::move(entries[k]);
                j = k;
            }
            rows.rows[j] = std::move(text);
            entries[j] = std::move(moved);
        }
        // The row text is the key's text: trimmed of spaces.
        for (QByteArray& text : rows.rows)
            if (!text.isEmpty() && (text.front() == ' ' || text.back() == ' '))
                text = trimSpaces(text);
        std::fill(rows.selected.begin(), rows.selected.end(), uint8_t{0});
        rows.current = -1;
        rows.rowsChanged();
        // Nothing shown on this side belongs to a row any more; the selected track stays when
        // it came from the other list.
        ctx_.clearSide(side, false);
    } catch (const RuntimeError& e) {
        ctx_.showError(e.number(), e.description());
        return;
    }
    ctx_.ws.bolSeasonChanged = true;
    if (side == ListSide::Active && !ctx_.ws.strTrackSet.isEmpty()) {
        ctx_.ws.bolTrackSetChanged = true;
        ctx_.form.subShowTrackSet();
    }
}

} // namespace gk
