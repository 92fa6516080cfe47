// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of a track's track.ini, read from any of the shapes add-on tracks ship it in.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace gk {

// What a track.ini tells of its track. A field the file lacks, or gives in a form that cannot be
// read, is left empty.
struct TrackIni {
    QString name;      // track_name: the full name
    QString shortName; // track_name_short
    // track_length as written ("2.35m", "2.35"), without comment and surrounding spaces; empty
    // when it is no length.
    QByteArray length;
    std::optional<double> miles; // the same in miles
    std::optional<int> turns;    // track_num_turns

    bool operator==(const TrackIni&) const = default;
    bool empty() const { return name.isEmpty() && shortName.isEmpty() && !miles && !turns; }
};

// Reads the fields from the bytes of a track.ini (Windows-1252 text). Keys count in the
// "track" section and before the first section header; the header may be written with spaces
// inside its brackets, keys in any case, with or without spaces around "="; a ";" begins a
// comment, on a line of its own or after a value. Of a key given twice the first counts. Lines
// it cannot read are passed over: any bytes give a result.
TrackIni parseTrackIni(QByteArrayView bytes);

// The length of a value such as "2.35m", "2.35 mi" or "2.35" in miles; nothing when it is no
// length.
std::optional<double> parseMiles(QByteArrayView value);

} // namespace gk
