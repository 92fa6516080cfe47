// SPDX-License-Identifier: GPL-3.0-or-later
// A list's rows, marks and current row, and an event's seven entries.
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

// The rows of a track list with their selected marks and the current row (-1: none).
struct TrackList {
    std::vector<QByteArray> rows;
    std::vector<uint8_t> selected;
    int16_t current = -1;
    // Raised on every change of the rows, and of the marks or the current row, so a view
    // knows what to redraw.
    uint64_t rowsVersion = 0;
    uint64_t marksVersion = 0;

    int16_t count() const { return static_cast<int16_t>(rows.size()); }
    void clear() {
        rows.clear();
        selected.clear();
        current = -1;
        ++rowsVersion;
        ++marksVersion;
    }
    void rowsChanged() {
        ++rowsVersion;
        ++marksVersion;
    }
    void marksChanged() { ++marksVersion; }
    // Appends a row; throws RuntimeError (overflow) past the row limit.
    void addRow(QByteArray text);
    void reserve(size_t n) {
        rows.reserve(n);
        selected.reserve(n);
    }
};

} // namespace gk
