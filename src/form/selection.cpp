// SPDX-License-Identifier: GPL-3.0-or-later
// Selection, search and the entry boxes.
#include "selection.h"

#include "form_model.h"
#include "platform/code_page.h"
#include "platform/runtime_error.h"
#include "track_details_text.h"

#include <algorithm>

namespace gk {

// ---------------------------------------------------------------- selection and entries

void Selection::showListRow(const TrackList& list, const std::vector<EventEntries>& entries,
                            int first) {
    const int p = list.current;
    if (p < 0)
        return;
    ctx_.ws.bolFillingEntries = true;
    try {
        if (static_cast<size_t>(p) >= entries.size() || static_cast<size_t>(p) >= list.rows.size())
            throw RuntimeError(ErrorCode::SubscriptRange);
        const EventEntries& row = entries[static_cast<size_t>(p)];
        for (int k = 0; k < 7; ++k)
            ctx_.setEntryText(static_cast<int16_t>(first + k), row.entry[static_cast<size_t>(k)]);
        const QByteArray& text = list.rows[static_cast<size_t>(p)];
        ctx_.ctl.txtRunTrack.text = withoutMissingMark(text);
        ctx_.runTrackSide = &list == &ctx_.ws.ListTracks ? ListSide::Active : ListSide::Inactive;
    } catch (const RuntimeError& e) {
        ctx_.showError(e.number(), e.description());
    }
    ctx_.ws.bolFillingEntries = false;
}

void Selection::ListTracks_Click() {
    ctx_.guarded([&] { showListRow(ctx_.ws.ListTracks, ctx_.ws.arrActive, 0); });
}

void Selection::listNotActive_Click() {
    ctx_.guarded([&] { showListRow(ctx_.ws.listNotActive, ctx_.ws.arrInactive, 7); });
}

void Selection::txtEntry_Change(int16_t Index) {
    if (ctx_.ws.bolFillingEntries)
        return;
    ctx_.ws.intActiveIndex = ctx_.ws.ListTracks.current;
    ctx_.ws.intInactiveIndex = ctx_.ws.listNotActive.current;
    const bool active = Index < 7;
    const int16_t row = active ? ctx_.ws.intActiveIndex : ctx_.ws.intInactiveIndex;
    auto& entries = active ? ctx_.ws.arrActive : ctx_.ws.arrInactive;
    // Without a current row there is no track the edit belongs to.
    if (row < 0 || static_cast<size_t>(row) >= entries.size())
        return;
    entries[static_cast<size_t>(row)].entry[static_cast<size_t>(active ? Index : Index - 7)] =
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
             appTitle(), Buttons::Ok, Icon::Exclamation});
        return false;
    }
    ctx_.ctl.txtEntry[static_cast<size_t>(index)].text = *bytes;
    txtEntry_Change(index);
    return true;
}

bool Selection::listKeyPressed(ListSide side, ListKey key) {
    const bool active = side == ListSide::Active;
    switch (key) {
    case ListKey::Delete:
        ctx_.form.cmdChangeButton_Click(active ? 1 : 2);
        return true;
    case ListKey::AltUp:
        ctx_.form.picArrow_Click(active ? 0 : 2);
        return true;
    case ListKey::AltDown:
        ctx_.form.picArrow_Click(active ? 1 : 3);
        return true;
    }
    return false;
}

void Selection::setRowsSelected(ListSide side, int first, int last, bool selected) {
    TrackList& rows = ctx_.list(side);
    const int n = rows.count();
    for (int r = std::max(first, 0); r <= last && r < n; ++r)
        rows.selected[static_cast<size_t>(r)] = selected ? 1 : 0;
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
                    uint8_t& mark = rows.selected[static_cast<size_t>(r)];
                    const QByteArray& text = rows.rows[static_cast<size_t>(r)];
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
                    mark = match ? 1 : 0;
                    if (match)
                        topmost = r;
                }
                rows.marksChanged();
                if (topmost >= 0) {
                    found = true;
                    ctx_.ctl.txtRunTrack.text = rows.rows[static_cast<size_t>(topmost)];
                    setCurrentRow(side, topmost);
                }
            }
            // Text that begins no folder name is looked for in the tracks' full names.
            if (!found && !needle.isEmpty())
                searchFullNames(ctx_, ctx_.form.trackDetails(), ctx_.ctl.txtTrack,
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

} // namespace gk
