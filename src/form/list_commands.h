// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on the lists: moves, deletes, arrows and sorting.
#pragma once

#include "form_context.h"
#include "selection.h"

#include <cstdint>

namespace gk {

// The commands on the selected rows of a list ("Move", "Delete"), the arrows that move the
// current row up or down, and the sort of a list by a click on its count.
class ListCommands {
  public:
    ListCommands(FormContext& ctx, Selection& selection) : ctx_(ctx), selection_(selection) {}

    void cmdChangeButton_Click(int16_t Index);
    void picArrow_Click(int16_t Index);
    void lblAmountLeft_Click();
    void lblAmountRight_Click();

  private:
    void runListCommand(int16_t Index);
    void sortList(ListSide side);

    FormContext& ctx_;
    Selection& selection_;
};

} // namespace gk
