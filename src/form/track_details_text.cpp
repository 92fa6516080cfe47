// SPDX-License-Identifier: GPL-3.0-or-later
// What the window shows of a track's details: a row's tooltip, and the search by full name.
#include "track_details_text.h"

#include "details/track_details.h"
#include "platform/file_system.h"
#include "track_details_loader.h"

#include <algorithm>
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
    const QByteArray folder = withoutMissingMark(list.rows[static_cast<size_t>(row)].text);
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

bool wordBeginsWith(QStringView foldedName, QStringView foldedText) {
    if (foldedText.isEmpty())
        return false;
    const QChar first = foldedText.front();
    for (qsizetype i = 0; i + foldedText.size() <= foldedName.size(); ++i)
        if (foldedName[i] == first && (i == 0 || !foldedName[i - 1].isLetterOrNumber()) &&
            foldedName.sliced(i).startsWith(foldedText))
            return true;
    return false;
}

namespace {

// Brings a list's row names up to date with its rows and the details read. A row whose slot
// still holds its own folder takes its name from there (the details have not changed since):
// after a move or a sort no row is looked up again.
void updateRowNames(TrackDetailsLoader::RowNames& index, const TrackList& rows,
                    const TrackDetailsCache::Lookup& lookup) {
    if (index.gameDir == lookup.gameDir() && index.rowsVersion == rows.rowsVersion &&
        index.detailsVersion == lookup.version())
        return;
    TrackDetailsLoader::RowNames old;
    if (index.gameDir == lookup.gameDir() && index.detailsVersion == lookup.version())
        old = std::move(index);
    index = {};
    index.gameDir = lookup.gameDir();
    index.rowsVersion = rows.rowsVersion;
    index.detailsVersion = lookup.version();
    index.names.reserve(
        std::max<qsizetype>(old.names.size(), static_cast<qsizetype>(rows.rows.size()) * 32));
    index.ends.reserve(rows.rows.size());
    index.folders.reserve(rows.rows.size());
    for (const TrackRow& listRow : rows.rows) {
        const QByteArray& row = listRow.text;
        const size_t slot = listRow.nameSlot;
        // (A slot already taken is left empty: an empty row never takes it.)
        if (!row.isEmpty() && slot < old.folders.size() && old.folders[slot] == row) {
            const qsizetype start = slot == 0 ? 0 : old.ends[slot - 1];
            index.names += QStringView(old.names).sliced(start, old.ends[slot] - start);
            index.folders.push_back(std::move(old.folders[slot]));
        } else {
            const TrackDetailsCache::Entry* entry =
                row.startsWith("* ") ? lookup.find(withoutMissingMark(row)) : lookup.find(row);
            if (entry)
                index.names += entry->foldedName;
            index.folders.push_back(row);
        }
        index.ends.push_back(index.names.size());
    }
}

} // namespace

void searchFullNames(FormContext& ctx, TrackDetailsLoader& details, const QString& typed,
                     const std::function<void(ListSide, int)>& makeCurrent) {
    if (!details.reads())
        return;
    details.follow(ctx.ws);
    const QString text = typed.toCaseFolded();
    constexpr std::array<ListSide, 2> kSides = {ListSide::Inactive, ListSide::Active};
    for (const ListSide side : kSides) {
        TrackList& rows = ctx.list(side);
        TrackDetailsLoader::RowNames& index = details.rowNames(side == ListSide::Active ? 0 : 1);
        {
            const TrackDetailsCache::Lookup lookup = details.lookup();
            if (lookup.gameDir() != ctx.ws.strGPLdir)
                return;
            updateRowNames(index, rows, lookup);
        }
        const QStringView names(index.names);
        int topmost = -1;
        qsizetype start = 0;
        for (size_t r = 0; r < index.ends.size(); ++r) {
            const bool match = wordBeginsWith(names.sliced(start, index.ends[r] - start), text);
            start = index.ends[r];
            rows.rows[r].selected = match;
            rows.rows[r].nameSlot = static_cast<uint32_t>(r);
            if (match && topmost < 0)
                topmost = static_cast<int>(r);
        }
        rows.marksChanged();
        if (topmost >= 0) {
            ctx.ctl.txtRunTrack.text = rows.rows[static_cast<size_t>(topmost)].text;
            makeCurrent(side, topmost);
        }
    }
}

} // namespace gk
