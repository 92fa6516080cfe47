// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on the lists: moves, deletes, arrows and sorting.
#pragma once

#include "form_context.h"
#include "selection.h"

#include <cstdint>
#include <vector>

namespace gk {

// The commands on the selected rows of a list ("Move", "Delete"), the arrows that move the
// current row up or down, and the sort of a list by a click on its count.
class ListCommands {
  public:
    ListCommands(FormContext& ctx, Selection& selection) : ctx_(ctx), selection_(selection) {}

    void cmdChangeButton_Click(int16_t Index);
    void picArrow_Click(int16_t Index);
    // The sort of a click on a count, in the order sortOrder gives for the list's rows (the
    // undo history works it out once, for the sort and for its undo). The sort keys carry the
    // old positions apart from the text, so a "," in a folder name cannot send a row's entries
    // elsewhere.
    void sortList(ListSide side, const std::vector<int>& order);

  private:
    void runListCommand(int16_t Index);

    FormContext& ctx_;
    Selection& selection_;
};

} // namespace gk
