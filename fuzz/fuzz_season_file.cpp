// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the season-file scanner and the player-file value reader, and
// checks that the rows the scanner reads pass the read-back check and are written back as read.
#include "launch/player_info.h"
#include "platform/runtime_error.h"
#include "season/read_back_check.h"
#include "season/season_file.h"
#include "season/season_writer.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The rows as the loader makes them: each with its event's entries.
    gk::TrackList list;
    try {
        gk::scanEvents(bytes, [&](gk::EventEntries&& e, QByteArray&& folder) {
            list.addRow(std::move(folder), std::move(e));
        });
    } catch (const gk::RuntimeError&) {
    }
    // What the loader reads passes the check before a write, and the file written from the
    // rows scans back to the same events.
    if (!gk::readBackProblem(list, QStringLiteral("fuzz")).isEmpty())
        std::abort();
    std::vector<gk::EventEntries> again;
    gk::scanEvents(gk::seasonFileBytes("fuzz", list.rows),
                   [&](gk::EventEntries&& e, QByteArray&&) { again.push_back(e); });
    if (again.size() != list.rows.size())
        std::abort();
    for (size_t r = 0; r < again.size(); ++r)
        if (again[r] != list.rows[r].entries)
            std::abort();
    for (const QByteArray& line : gk::splitLines(bytes)) {
        try {
            (void)gk::lineMatchesKey(line, "lasttrackselection = ");
            (void)gk::lineValue(line, 22);
            (void)gk::lineValue(line, 8);
        } catch (const gk::RuntimeError&) {
        }
    }
    return 0;
}
