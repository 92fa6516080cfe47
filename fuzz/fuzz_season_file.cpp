// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the season-file scanner and the player-file value reader, and
// checks that what the scanner reads is written back byte for byte.
#include "launch/player_info.h"
#include "platform/runtime_error.h"
#include "season/season_file.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<gk::EventEntries> events;
    try {
        gk::scanEvents(bytes, [&](gk::EventEntries&& e, QByteArray&&) { events.push_back(e); });
    } catch (const gk::RuntimeError&) {
    }
    // A file built from the events scans back to the same events.
    gk::SeasonFileBuilder builder("fuzz", static_cast<qsizetype>(events.size()));
    qsizetype k = 0;
    bool plain = true;
    for (const gk::EventEntries& e : events) {
        builder.addEvent(++k, e);
        for (const QByteArray& line : e.entry)
            plain = plain && !line.contains('\r') && !line.contains('\n');
    }
    if (plain) {
        std::vector<gk::EventEntries> again;
        gk::scanEvents(builder.take(),
                       [&](gk::EventEntries&& e, QByteArray&&) { again.push_back(e); });
        if (again != events)
            std::abort();
    }
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
