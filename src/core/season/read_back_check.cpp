// SPDX-License-Identifier: GPL-3.0-or-later
// The check that a write can be read back: every event names its folder.
#include "read_back_check.h"

#include "platform/code_page.h"
#include "season_file.h"

namespace gk {

QString readBackProblem(const TrackList& list, const QString& listName) {
    for (size_t r = 0; r < list.rows.size(); ++r) {
        const EventEntries& e = list.rows[r].entries;
        const auto track = [&] {
            return QStringLiteral("Nothing was written: the track \"%1\" (%2, row %3)")
                .arg(decodeGameText(list.rows[r].text), listName)
                .arg(r + 1);
        };
        for (size_t k = 0; k < e.entry.size(); ++k) {
            const QByteArray& line = e.entry[k];
            if (line.contains('\r') || line.contains('\n'))
                return QStringLiteral("%1 holds a line break in its entry %2.")
                    .arg(track())
                    .arg(k + 1);
            if (isEventHeader(line))
                return QStringLiteral("%1 has the entry %2 \"%3\", which would read as the start "
                                      "of a new event.")
                    .arg(track())
                    .arg(k + 1)
                    .arg(decodeGameText(line));
        }
        if (!folderOfTrackDirectory(e.entry[2]))
            return QStringLiteral("%1 has the track-directory line \"%2\", which names no track "
                                  "folder: it must read trackDirectory= followed by the folder's "
                                  "name.")
                .arg(track(), decodeGameText(e.entry[2]));
    }
    return {};
}

} // namespace gk
