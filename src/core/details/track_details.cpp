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
    // Stamped before reading: a change made while it reads shows as a new stamp next time.
    read.stamps.folder = files.fileStamp(folderPath(gameDir, folder));
    std::vector<FolderEntry> entries;
    try {
        entries = files.listFolder(folderPath(gameDir, folder));
    } catch (const RuntimeError&) {
        return read;
    }
    TrackDetails& details = read.details;
    details.folderExists = true;
    // The files are found in any case, as the game on Windows finds them; of two spellings of
    // one name (possible on Linux) the one as written here counts, else the first in name order.
    const QString picture = folder + QLatin1String(".jpg");
    const QString foldedPicture = picture.toCaseFolded();
    const QString trackIni = QStringLiteral("track.ini");
    std::array<bool, kModFiles.size()> mods{};
    for (const FolderEntry& entry : entries) {
        if (entry.isDirectory)
            continue;
        const QString folded = entry.name.toCaseFolded();
        const auto keep = [&entry](QString& found, const QString& asWritten) {
            if (found != asWritten && (found.isEmpty() || entry.name == asWritten ||
                                       entry.name < found))
                found = entry.name;
        };
        if (folded == trackIni)
            keep(read.iniName, trackIni);
        else if (folded == foldedPicture)
            keep(details.picture, picture);
        for (size_t m = 0; m < kModFiles.size(); ++m)
            mods[m] = mods[m] || folded == QLatin1String(kModFiles[m].lowerName);
    }
    for (size_t m = 0; m < kModFiles.size(); ++m)
        if (mods[m])
            details.mods.append(QLatin1String(kModFiles[m].badge));
    if (!details.picture.isEmpty())
        details.picture = files.nativePath(inFolder(gameDir, folder, details.picture));
    if (!read.iniName.isEmpty()) {
        const QString ini = inFolder(gameDir, folder, read.iniName);
        read.stamps.ini = files.fileStamp(ini);
        try {
            QByteArray bytes = files.readFileStart(ini, kTrackIniReadLimit);
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
