// SPDX-License-Identifier: GPL-3.0-or-later
// Selection, search and the entry boxes.
#include "selection.h"

#include "platform/code_page.h"
#include "platform/runtime_error.h"
#include "track_details_text.h"

#include <algorithm>

namespace gk {

// ---------------------------------------------------------------- selection and entries

void Selection::showListRow(ListSide side) {
    const TrackRow* row = ctx_.list(side).currentRow();
    if (!row)
        return;
    ctx_.ws.bolFillingEntries = true;
    const int first = side == ListSide::Active ? 0 : 7;
    for (int k = 0; k < 7; ++k)
        setEntryText(static_cast<int16_t>(first + k), row->entries.entry[static_cast<size_t>(k)]);
    ctx_.ctl.txtRunTrack.text = withoutMissingMark(row->text);
    ctx_.runTrackSide = side;
    ctx_.ws.bolFillingEntries = false;
}

void Selection::ListTracks_Click() {
    ctx_.guarded([&] { showListRow(ListSide::Active); });
}

void Selection::listNotActive_Click() {
    ctx_.guarded([&] { showListRow(ListSide::Inactive); });
}

void Selection::txtEntry_Change(int16_t Index) {
    if (ctx_.ws.bolFillingEntries)
        return;
    const bool active = Index < 7;
    TrackRow* row = ctx_.list(active ? ListSide::Active : ListSide::Inactive).currentRow();
    // Without a current row there is no track the edit belongs to.
    if (!row)
        return;
    row->entries.entry[static_cast<size_t>(active ? Index : Index - 7)] =
        ctx_.ctl.txtEntry[static_cast<size_t>(Index)].text;
    ctx_.ws.bolSeasonChanged = true;
    if (!ctx_.ws.strTrackSet.isEmpty())
        ctx_.ws.bolTrackSetChanged = true;
}

// ---------------------------------------------------------------- user input

void Selection::setSearchText(const QString& text) {
    ctx_.ctl.txtTrack = text;
    txtTrack_Change();
}

bool Selection::entryBoxEnabled(int16_t index) const {
    const size_t side = index < 7 ? 0 : 1;
    const TrackList& rows = side == 0 ? ctx_.ws.ListTracks : ctx_.ws.listNotActive;
    return ctx_.ctl.chkEdit[side] == 1 && rows.current >= 0;
}

bool Selection::editEntry(int16_t index, const QString& text) {
    if (ctx_.ended || index < 0 || index > 13 || !entryBoxEnabled(index))
        return false;
    const std::optional<QByteArray> bytes = encodeGameText(text);
    if (!bytes) {
        ctx_.dialogs.messageBox(
            {QStringLiteral("The character \"%1\" cannot be written into the game's season files, "
                            "which hold only the characters of the Windows-1252 code page. The "
                            "entry keeps its previous text.")
                 .arg(firstUnencodableCharacter(text)),
             appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Refusal});
        return false;
    }
    ctx_.ctl.txtEntry[static_cast<size_t>(index)].text = *bytes;
    txtEntry_Change(index);
    return true;
}

void Selection::setRowsSelected(ListSide side, int first, int last, bool selected) {
    TrackList& rows = ctx_.list(side);
    const int n = rows.count();
    for (int r = std::max(first, 0); r <= last && r < n; ++r)
        rows.rows[static_cast<size_t>(r)].selected = selected;
    rows.marksChanged();
}

void Selection::setCurrentRow(ListSide side, int row) {
    TrackList& rows = ctx_.list(side);
    if (row < -1 || row >= rows.count())
        return;
    rows.current = static_cast<int16_t>(row);
    rows.marksChanged();
    if (side == ListSide::Active)
        ListTracks_Click();
    else
        listNotActive_Click();
}

// ---------------------------------------------------------------- search and edit mode

void Selection::txtTrack_Change() {
    ctx_.guarded([&] {
        try {
            const std::optional<QByteArray> typed = encodeGameText(ctx_.ctl.txtTrack);
            // Text the code page cannot hold matches no row.
            const QByteArray needle = typed ? lowerGameText(*typed) : QByteArray();
            const bool matchNothing = !typed;
            bool found = false;
            for (ListSide side : {ListSide::Inactive, ListSide::Active}) {
                TrackList& rows = ctx_.list(side);
                const int n = rows.count();
                int topmost = -1;
                for (int r = n - 1; r >= 0; --r) {
                    TrackRow& row = rows.rows[static_cast<size_t>(r)];
                    const QByteArray& text = row.text;
                    bool match = false;
                    if (!matchNothing && !needle.isEmpty() && text.size() >= needle.size()) {
                        match = true;
                        for (qsizetype i = 0; i < needle.size(); ++i) {
                            if (lowerGameByte(text[i]) != needle[i]) {
                                match = false;
                                break;
                            }
                        }
                    }
                    row.selected = match;
                    if (match)
                        topmost = r;
                }
                rows.marksChanged();
                if (topmost >= 0) {
                    found = true;
                    ctx_.ctl.txtRunTrack.text = rows.rows[static_cast<size_t>(topmost)].text;
                    setCurrentRow(side, topmost);
                }
            }
            // Text that begins no folder name is looked for in the tracks' full names.
            if (!found && !needle.isEmpty())
                searchFullNames(ctx_, details_, ctx_.ctl.txtTrack,
                                [this](ListSide side, int row) { setCurrentRow(side, row); });
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
        }
    });
}

void Selection::txtTrack_GotFocus() {
    ctx_.ctl.txtTrackSelStart = 0;
    ctx_.ctl.txtTrackSelLength = static_cast<int>(ctx_.ctl.txtTrack.size());
}

void Selection::chkEdit_Click(int16_t Index) {
    // The boxes follow the switch; entryBoxEnabled() also asks for a current row.
    (void)Index;
}

void Selection::setEntryText(int16_t index, const QByteArray& text) {
    ctx_.ctl.txtEntry[static_cast<size_t>(index)].text = text;
    txtEntry_Change(index);
}

void Selection::clearSide(ListSide side, bool runTrackFromAnySide) {
    const bool filling = ctx_.ws.bolFillingEntries;
    ctx_.ws.bolFillingEntries = true; // emptying the boxes is not an edit
    const int16_t first = side == ListSide::Active ? 0 : 7;
    for (int16_t i = first; i < first + 7; ++i)
        setEntryText(i, {});
    ctx_.ws.bolFillingEntries = filling;
    if (runTrackFromAnySide || ctx_.runTrackSide == side) {
        ctx_.ctl.txtRunTrack.text.clear();
        ctx_.runTrackSide.reset();
    }
}

} // namespace gk
