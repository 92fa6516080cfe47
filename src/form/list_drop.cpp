// SPDX-License-Identifier: GPL-3.0-or-later
// Rows dragged within the active list or from one list to the other.
#include "list_drop.h"

#include "platform/runtime_error.h"
#include "row_moves.h"

#include <algorithm>

namespace gk {

bool ListDrop::drop(ListSide from, std::vector<int> rows, ListSide to, int position) {
    if (ctx_.ended || rows.empty() || !accepts(from, to))
        return false;
    TrackList& source = ctx_.list(from);
    TrackList& target = ctx_.list(to);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.front() < 0 || rows.back() >= source.count() || position < 0 ||
        position > target.count())
        return false;
    const auto k = static_cast<int>(rows.size());
    if (from == to) {
        // The drop row counts the dragged rows still in place above it.
        position -=
            static_cast<int>(std::lower_bound(rows.begin(), rows.end(), position) - rows.begin());
        if (rows.back() - rows.front() == k - 1 && rows.front() == position)
            return false; // dropped where it was
    } else if (target.count() + k > kMaxListRows) {
        const RuntimeError overflow(ErrorCode::Overflow);
        ctx_.showError(overflow.number(), overflow.description());
        return false;
    }
    ctx_.ws.bolFillingEntries = true;
    ctx_.ws.bolSeasonChanged = true;
    ctx_.trackSetEdited();
    const int targetCurrent = target.current;
    moveRowBlock(source, rows, target, position);
    if (from == to) {
        // As after an arrow: the moved rows stay marked, the first of them current.
        for (TrackRow& row : target.rows)
            row.selected = false;
        for (int r = position; r < position + k; ++r)
            target.rows[static_cast<size_t>(r)].selected = true;
        ctx_.ws.bolFillingEntries = false;
        selection_.setCurrentRow(to, position);
    } else {
        // As after ">" and "<": the moved rows arrive unmarked and their list has no current
        // row; the other list's current row stays on its track.
        for (int r = position; r < position + k; ++r)
            target.rows[static_cast<size_t>(r)].selected = false;
        if (targetCurrent >= position)
            target.current = static_cast<int16_t>(targetCurrent + k);
        source.current = -1;
        selection_.clearSide(from);
        ctx_.ws.bolFillingEntries = false;
    }
    ctx_.updateCountCaptions();
    if (!ctx_.ctl.txtTrack.isEmpty())
        selection_.txtTrack_Change();
    return true;
}

void ListDrop::refuseForeign() {
    if (ctx_.ended)
        return;
    ctx_.dialogs.messageBox(
        {QStringLiteral("Only tracks dragged from Gridkeeper's own lists can be "
                        "dropped here."),
         appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Refusal});
}

} // namespace gk
