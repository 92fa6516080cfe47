// SPDX-License-Identifier: GPL-3.0-or-later
// The season file format: reading events line by line, and building a file.
#pragma once

#include "track_list.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace gk {

// Name lines of the season files the program writes.
namespace season_names {
inline constexpr char kCustomOrder[] = "All Tracks In Custom Order";
inline constexpr char kAlphabetical[] = "All Tracks In Alphabetical Order (active tracks first)";
inline constexpr char kAllTracks[] = "All Tracks In Custom Order (active tracks first)";
inline constexpr char kTrackSet[] = "Track Set for Gridkeeper";
inline constexpr char kTemporary[] = "Temporary 67season.ini with inactive track. 67season.ini is "
                                     "currently named gridkeeper.tmp";
} // namespace season_names

// Reads text line by line: CR LF, LF or CR end a line; a last line without an end counts.
class LineReader {
  public:
    explicit LineReader(const QByteArray& data) : data_(data) {}
    bool next(QByteArrayView& line);
    void skip(qsizetype bytes);
    // The number of the line last read, from 1.
    qsizetype lineNumber() const { return lineNumber_; }

  private:
    const QByteArray& data_;
    qsizetype pos_ = 0;
    qsizetype lineNumber_ = 0;
};

// Spaces (only spaces) removed from both ends.
QByteArrayView trimmedSpaces(QByteArrayView text);
QByteArray trimSpaces(QByteArrayView text);

// True when the line opens an event: its first six characters, trimmed of spaces and in
// lower case, read "[event".
bool isEventHeader(QByteArrayView line);

// The track folder named by a track-directory line: the line trimmed of spaces, less its
// first 15 characters (the key and "="); nothing when the trimmed line is shorter.
std::optional<QByteArrayView> folderOfTrackDirectory(QByteArrayView line);

// Reads every event of a season file in file order. A line ends at CR LF, LF or CR; a UTF-8
// byte-order mark at the start is passed over. The callback receives each event (its seven
// entries and the non-blank lines after them up to the next header) and its folder name.
// Throws RuntimeError, after the complete events before the fault, for a file saved as UTF-16,
// a file that ends inside an event's seven entries, an event header among them, or a
// track-directory line too short to name a folder; the description names `fileName` and the
// event's number and line.
void scanEvents(const QByteArray& data,
                const std::function<void(EventEntries&& entries, QByteArray&& folder)>& onEvent,
                const QString& fileName = {});
// The same scan and the same faults, handing over only each event's folder (a view into
// `data`): for a reader that needs no entries.
void scanEventFolders(const QByteArray& data, const std::function<void(QByteArrayView)>& onFolder,
                      const QString& fileName = {});

// Builds a season file: header block, then events, every line ended by CR LF.
class SeasonFileBuilder {
  public:
    // `entryBytes`, when known, is the total size of the entry lines of all events, so the
    // file is built in one allocation.
    SeasonFileBuilder(QByteArrayView name, qsizetype numEvents, qsizetype entryBytes = 0);
    // "[Event" + number + "]", the seven entries, the extra lines, an empty line.
    void addEvent(qsizetype number, const EventEntries& entries);
    QByteArray take();

  private:
    void put(const char* data, qsizetype size);
    void put(QByteArrayView text) { put(text.data(), text.size()); }
    void putNumber(qsizetype n);

    QByteArray out_;
    qsizetype used_ = 0;
};

// The total size of the entry lines (extra lines included) of the rows' events.
qsizetype entryBytes(std::span<const TrackRow> rows);

} // namespace gk
