// SPDX-License-Identifier: GPL-3.0-or-later
// Rows dragged within the active list or from one list to the other.
#pragma once

#include "form_context.h"
#include "selection.h"

#include <vector>

namespace gk {

// A drop of dragged rows: within the active list it reorders them, from one list to the other
// it moves them as ">" and "<" do, but to where they were dropped.
class ListDrop {
  public:
    ListDrop(FormContext& ctx, Selection& selection) : ctx_(ctx), selection_(selection) {}

    // `rows` are rows of `from`; `position` is the row of `to` the drop landed before (the row
    // count: after the last). False when nothing moved: a reorder of the inactive list, rows
    // that are not there, a drop onto itself, or a list that would pass 32 767 rows (with the
    // message ">" shows).
    bool drop(ListSide from, std::vector<int> rows, ListSide to, int position);
    // Whether rows of `from` may be dropped on `to` at all: the inactive list keeps no order of
    // its own, so its rows are not reordered.
    static bool accepts(ListSide from, ListSide to) {
        return !(from == to && from == ListSide::Inactive);
    }
    // A drop of anything but rows of the window's own lists (another program's data, another
    // Gridkeeper's rows): nothing changes, and the message says why.
    void refuseForeign();

  private:
    FormContext& ctx_;
    Selection& selection_;
};

} // namespace gk
