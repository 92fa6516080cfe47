// SPDX-License-Identifier: GPL-3.0-or-later
// A track folder's details: its track.ini, the mods it carries settings for, its picture.
#include "track_details.h"

#include "game/game_paths.h"
#include "platform/runtime_error.h"

namespace gk {
namespace {

QString folderPath(const QString& gameDir, const QString& folder) {
    return paths::tracksFolder(gameDir) + folder;
}

QString inFolder(const QString& gameDir, const QString& folder, const QString& name) {
    return folderPath(gameDir, folder) + QLatin1Char('\\') + name;
}

} // namespace

DetailStamps stampTrackDetails(FileSystem& files, const QString& gameDir, const QString& folder,
                               const QString& iniName) {
    DetailStamps stamps;
    if (!paths::isSingleName(folder))
        return stamps;
    stamps.folder = files.fileStamp(folderPath(gameDir, folder));
    if (!iniName.isEmpty())
        stamps.ini = files.fileStamp(inFolder(gameDir, folder, iniName));
    return stamps;
}

DetailsRead readTrackDetails(FileSystem& files, const QString& gameDir, const QString& folder) {
    DetailsRead read;
    if (!paths::isSingleName(folder))
        return read;
    // Stamped as they are read: a change made after that shows as a new stamp next time.
    std::vector<FolderEntry> entries;
    try {
        entries = files.listFolderWithStamp(folderPath(gameDir, folder), read.stamps.folder);
    } catch (const RuntimeError&) {
        return read;
    }
    TrackDetails& details = read.details;
    details.folderExists = true;
    // The files are found in any case, as the game on Windows finds them; of two spellings of
    // one name (possible on Linux) the one as written here counts, else the first in name order.
    const QString picture = folder + QLatin1String(".jpg");
    const QString trackIni = QStringLiteral("track.ini");
    std::array<bool, kModBadges.size()> mods{};
    for (const FolderEntry& entry : entries) {
        const QString& name = entry.name;
        if (entry.isDirectory)
            continue;
        const auto keep = [&name](QString& found, const QString& asWritten) {
            if (found != asWritten && (found.isEmpty() || name == asWritten || name < found))
                found = name;
        };
        const auto is = [&name](QStringView wanted) {
            return name.size() == wanted.size() && name.compare(wanted, Qt::CaseInsensitive) == 0;
        };
        if (is(trackIni)) {
            keep(read.iniName, trackIni);
        } else if (is(picture)) {
            keep(details.picture, picture);
        } else if (name.size() == 11 &&
                   name.startsWith(QLatin1String("track"), Qt::CaseInsensitive) &&
                   name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive)) {
            for (size_t m = 0; m < kModBadges.size(); ++m)
                mods[m] = mods[m] || QStringView(name).sliced(5, 2).compare(
                                         QLatin1String(kModBadges[m]), Qt::CaseInsensitive) == 0;
        }
    }
    for (size_t m = 0; m < kModBadges.size(); ++m)
        if (mods[m])
            details.mods.append(QLatin1String(kModBadges[m]));
    if (!details.picture.isEmpty())
        details.picture = inFolder(gameDir, folder, details.picture);
    if (!read.iniName.isEmpty()) {
        const QString ini = inFolder(gameDir, folder, read.iniName);
        try {
            QByteArray bytes = files.readFileStart(ini, kTrackIniReadLimit, &read.stamps.ini);
            // The last line of a cut-off file may be cut inside its value.
            if (bytes.size() >= kTrackIniReadLimit)
                bytes.truncate(bytes.lastIndexOf('\n') + 1);
            details.ini = parseTrackIni(bytes);
        } catch (const RuntimeError&) {
        }
    }
    return read;
}

} // namespace gk
