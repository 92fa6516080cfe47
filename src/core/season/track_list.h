// SPDX-License-Identifier: GPL-3.0-or-later
// A list's rows (each with its text, entries and mark) and current row; an event's entries.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

namespace gk {

// The seven lines that follow an event header, kept exactly as read. entry[0] is entry 1.
// `extra` holds the lines after the seventh up to the next event header that are not blank
// (more than spaces and tabs): keys of other tools and hand-written notes. They travel with
// the event and are written back after its seventh entry.
struct EventEntries {
    std::array<QByteArray, 7> entry;
    std::vector<QByteArray> extra;

    bool operator==(const EventEntries&) const = default;
};

// The mark before the row of a track whose track.ini was missing at load.
inline QByteArray markedMissing(const QByteArray& folder) {
    return "* " + folder;
}
// The track folder a row stands for: its text without the missing mark.
inline QByteArray withoutMissingMark(const QByteArray& row) {
    return row.startsWith("* ") ? row.mid(2) : row;
}

// Row count limit of a list: rows are numbered with 16-bit signed integers.
inline constexpr int kMaxListRows = 32767;

// One row of a track list: its text (see markedMissing), the entries of its event and its
// selected mark. Selected and text lie side by side, so a pass over the marks and texts (a
// search keystroke) reads one cache line per row.
struct TrackRow {
    QByteArray text;
    bool selected = false;
    // Where the window's search last found this row's full name among those it gathered (a
    // hint only, checked before use): a row that only moved keeps its name without a look-up.
    uint32_t nameSlot = UINT32_MAX;
    EventEntries entries;
};

// The rows of a track list and the current row (-1: none). Each row owns its text, entries
// and mark, so whatever adds, removes, moves or sorts rows takes a row's entries along.
struct TrackList {
    std::vector<TrackRow> rows;
    int16_t current = -1;
    // Raised on every change of the rows, and of the marks or the current row, so a view
    // knows what to redraw.
    uint64_t rowsVersion = 0;
    uint64_t marksVersion = 0;

    int16_t count() const { return static_cast<int16_t>(rows.size()); }
    // The current row; none when there is none.
    TrackRow* currentRow() {
        return current >= 0 && current < count() ? &rows[static_cast<size_t>(current)] : nullptr;
    }
    void clear() {
        rows.clear();
        current = -1;
        ++rowsVersion;
        ++marksVersion;
    }
    void rowsChanged() {
        ++rowsVersion;
        ++marksVersion;
    }
    void marksChanged() { ++marksVersion; }
    // Appends an unselected row; throws RuntimeError (overflow) past the row limit.
    void addRow(QByteArray text, EventEntries entries);
    // The same for a row taken whole from another list.
    void addRow(TrackRow&& row);
    void reserve(size_t n) { rows.reserve(n); }
};

} // namespace gk
