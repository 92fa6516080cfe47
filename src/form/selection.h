// SPDX-License-Identifier: GPL-3.0-or-later
// Selection, search and the entry boxes.
#pragma once

#include "form_context.h"

#include <QString>
#include <cstdint>

namespace gk {

class TrackDetailsLoader;

// A key pressed in a list that runs a command of the list: Delete, Alt+Up and Alt+Down.
enum class ListKey { Delete, AltUp, AltDown };

// The selected marks and current row of each list, the entry boxes and the selected-track box
// that show the current row, the search box and the edit mode.
class Selection {
  public:
    // `details`: the tracks' full names, for a search that finds no folder name.
    Selection(FormContext& ctx, TrackDetailsLoader& details) : ctx_(ctx), details_(details) {}

    void ListTracks_Click();
    void listNotActive_Click();
    void txtEntry_Change(int16_t Index);
    void txtTrack_Change();
    void txtTrack_GotFocus();
    void chkEdit_Click(int16_t Index);
    void setSearchText(const QString& text);
    bool editEntry(int16_t index, const QString& text);
    void setRowsSelected(ListSide side, int first, int last, bool selected);
    void setCurrentRow(ListSide side, int row);
    bool entryBoxEnabled(int16_t index) const;

    // Writes an entry box and runs its change handler, as the program's own writes do.
    void setEntryText(int16_t index, const QByteArray& text);
    // Empties the side's entry boxes, and the selected-track box unless told to do so only
    // when it names that side's track.
    void clearSide(ListSide side, bool runTrackFromAnySide = true);

  private:
    // Fills the side's entry boxes and the selected-track box from its current row, if any.
    void showListRow(ListSide side);

    FormContext& ctx_;
    TrackDetailsLoader& details_;
};

} // namespace gk
