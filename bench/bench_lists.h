// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A form model whose lists are filled in memory, for the benchmarks of the list handlers.

#include "bench_game.h"
#include "form_model.h"
#include "platform/qt_file_system.h"
#include "platform/shell.h"

#include <vector>

namespace gk::bench {

// A form model whose lists were filled in memory as a load fills them: `active` rows, then the
// rest inactive, every event in the all-tracks rows, the active and inactive rows sharing their
// texts' and entries' bytes; folder names descending when asked, so that a sort has every row
// to move.
struct Lists {
    NullDialogs dialogs;
    MemorySettings settings;
    QtFileSystem files;
    NullShell shell;
    FormModel model{{settings, dialogs, files, shell}};
    // (The all-tracks rows stand here, not in the hidden all-tracks list: 64 + 32 767 rows
    // exceed a list.)
    std::vector<TrackRow> allRows;

    Lists(int active, int inactive, bool descending = false) {
        Workspace& ws = model.workspace();
        const int total = active + inactive;
        allRows.reserve(static_cast<size_t>(total));
        for (int i = 1; i <= total; ++i) {
            EventEntries event = trackEvent(descending ? total + 1 - i : i);
            QByteArray text = event.entry[2].mid(15);
            allRows.push_back({.text = std::move(text), .entries = std::move(event)});
        }
        for (int i = 0; i < total; ++i) {
            const TrackRow& row = allRows[static_cast<size_t>(i)];
            (i < active ? ws.ListTracks : ws.listNotActive).addRow(row.text, row.entries);
        }
    }
    void selectAll(FormModel::Side side) {
        model.setRowsSelected(side, 0, model.list(side).count() - 1, true);
        model.setCurrentRow(side, 0);
    }
    // Moves every row of a list to the other: ">" or "<".
    void moveAll(FormModel::Side from) {
        selectAll(from);
        model.cmdChangeButton_Click(from == FormModel::Side::Active ? 0 : 3);
    }
};

} // namespace gk::bench
