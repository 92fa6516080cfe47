// SPDX-License-Identifier: GPL-3.0-or-later
// What the window shows of a track's details: a row's tooltip, and the search by full name.
#pragma once

#include "form_context.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace gk {

class FileSystem;
class TrackDetailsLoader;
struct TrackDetails;

// A row's tooltip: the track's picture, its full name, lines of text below it (short name,
// length, turns) and the badges of its mods.
struct TrackToolTip {
    QString picture; // the picture's path (the native one from rowToolTip), or empty
    QString name;
    QStringList lines;
    QStringList badges;

    bool operator==(const TrackToolTip&) const = default;
};

// A length in miles as "2.35 mi, 3.78 km".
QString lengthText(double miles);
// The tooltip of a track with these details; nothing when nothing could be read.
std::optional<TrackToolTip> toolTipOf(const TrackDetails& details);
// The tooltip of a list's row, from the details read so far; nothing while the row's folder
// has not been read. The folder is checked again in the background for the next time. `files`
// gives the picture's native path.
std::optional<TrackToolTip> rowToolTip(TrackDetailsLoader& details, FileSystem& files,
                                       const Workspace& ws, const TrackList& list, int row);

// The search's second try, for typed text that begins no folder name of either list: marks the
// rows of both lists whose track's full name has a word that begins with the text (without
// regard to case), and makes the topmost of each list current through `makeCurrent`, as the
// search by folder name does. The full names are those read so far.
void searchFullNames(FormContext& ctx, TrackDetailsLoader& details, const QString& typed,
                     const std::function<void(ListSide, int)>& makeCurrent);

// True when a word of `foldedName` begins with `foldedText` (both case-folded): at its start,
// or after a character that is no letter or digit.
bool wordBeginsWith(QStringView foldedName, QStringView foldedText);

} // namespace gk
