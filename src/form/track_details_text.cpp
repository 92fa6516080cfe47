// SPDX-License-Identifier: GPL-3.0-or-later
// What the window shows of a track's details: a row's tooltip, and the search by full name.
#include "track_details_text.h"

#include "details/track_details.h"
#include "platform/file_system.h"
#include "track_details_loader.h"

#include <array>

namespace gk {

QString lengthText(double miles) {
    constexpr double kKmPerMile = 1.609344;
    return QStringLiteral("%1 mi, %2 km")
        .arg(QString::number(miles, 'f', 2), QString::number(miles * kKmPerMile, 'f', 2));
}

std::optional<TrackToolTip> toolTipOf(const TrackDetails& details) {
    if (details.empty())
        return std::nullopt;
    TrackToolTip tip{details.picture, details.ini.name, {}, details.mods};
    if (!details.ini.shortName.isEmpty())
        tip.lines.append(QStringLiteral("Short name: ") + details.ini.shortName);
    if (details.ini.miles)
        tip.lines.append(lengthText(*details.ini.miles));
    if (details.ini.turns)
        tip.lines.append(*details.ini.turns == 1
                             ? QStringLiteral("1 turn")
                             : QStringLiteral("%1 turns").arg(*details.ini.turns));
    return tip;
}

std::optional<TrackToolTip> rowToolTip(TrackDetailsLoader& details, FileSystem& files,
                                       const Workspace& ws, const TrackList& list, int row) {
    if (row < 0 || row >= list.count())
        return std::nullopt;
    details.follow(ws);
    const QByteArray folder = withoutMissingMark(list.rows[static_cast<size_t>(row)]);
    std::optional<TrackToolTip> tip;
    {
        const TrackDetailsCache::Lookup lookup = details.lookup();
        const TrackDetailsCache::Entry* entry = lookup.find(folder);
        if (entry && lookup.gameDir() == ws.strGPLdir)
            tip = toolTipOf(entry->details);
    }
    details.recheck(ws.strGPLdir, folder);
    if (tip && !tip->picture.isEmpty())
        tip->picture = files.nativePath(tip->picture);
    return tip;
}

bool wordBeginsWith(const QString& foldedName, const QString& foldedText) {
    if (foldedText.isEmpty())
        return false;
    const QStringView name(foldedName);
    for (qsizetype i = 0; i + foldedText.size() <= name.size(); ++i)
        if ((i == 0 || !name[i - 1].isLetterOrNumber()) && name.sliced(i).startsWith(foldedText))
            return true;
    return false;
}

void searchFullNames(FormContext& ctx, TrackDetailsLoader& details, const QString& typed,
                     const std::function<void(ListSide, int)>& makeCurrent) {
    details.follow(ctx.ws);
    const QString text = typed.toCaseFolded();
    constexpr std::array<ListSide, 2> kSides = {ListSide::Inactive, ListSide::Active};
    std::array<int, 2> topmost = {-1, -1};
    {
        const TrackDetailsCache::Lookup lookup = details.lookup();
        if (lookup.gameDir() != ctx.ws.strGPLdir)
            return;
        for (size_t s = 0; s < kSides.size(); ++s) {
            TrackList& rows = ctx.list(kSides[s]);
            for (int r = rows.count() - 1; r >= 0; --r) {
                const QByteArray& row = rows.rows[static_cast<size_t>(r)];
                const TrackDetailsCache::Entry* entry = lookup.find(withoutMissingMark(row));
                const bool match = entry && wordBeginsWith(entry->foldedName, text);
                rows.selected[static_cast<size_t>(r)] = match ? 1 : 0;
                if (match)
                    topmost[s] = r;
            }
            rows.marksChanged();
        }
    }
    for (size_t s = 0; s < kSides.size(); ++s) {
        if (topmost[s] < 0)
            continue;
        ctx.ctl.txtRunTrack.text = ctx.list(kSides[s]).rows[static_cast<size_t>(topmost[s])];
        makeCurrent(kSides[s], topmost[s]);
    }
}

} // namespace gk
