// SPDX-License-Identifier: GPL-3.0-or-later
// A track folder's details: its track.ini, the mods it carries settings for, its picture.
#pragma once

#include "platform/file_system.h"
#include "track_ini.h"

#include <QString>
#include <QStringList>
#include <array>

namespace gk {

class FileSystem;

// The per-mod files a track folder may hold (the game's mods read them before track.ini), in
// the order their badges are shown, and each one's badge.
struct ModFile {
    const char* lowerName;
    const char* badge;
};
inline constexpr std::array<ModFile, 8> kModFiles = {{{"track55.ini", "55"},
                                                      {"track65.ini", "65"},
                                                      {"track66.ini", "66"},
                                                      {"track67.ini", "67"},
                                                      {"track68.ini", "68"},
                                                      {"track69.ini", "69"},
                                                      {"trackgt.ini", "GT"},
                                                      {"tracksc.ini", "SC"}}};

// Only the start of a track.ini is read: the fields stand at its top, and a huge or binary
// file in its place must not hold up anything.
inline constexpr qint64 kTrackIniReadLimit = 64 * 1024;

struct TrackDetails {
    bool folderExists = false;
    TrackIni ini;
    QStringList mods; // badges of the per-mod files the folder holds, in the order of kModFiles
    QString picture;  // the native path of <folder>.jpg, or empty

    bool operator==(const TrackDetails&) const = default;
    // Nothing could be read: no field of track.ini, no mod, no picture.
    bool empty() const { return ini.empty() && mods.isEmpty() && picture.isEmpty(); }
};

// What tells one version of a folder's details from another: the folder's own stamp (a file
// added, removed or renamed in it) and its track.ini's.
struct DetailStamps {
    FileStamp folder;
    FileStamp ini;

    bool operator==(const DetailStamps&) const = default;
};

// A folder's details with the stamps taken before they were read, and the name its track.ini
// has on disk (empty: none).
struct DetailsRead {
    TrackDetails details;
    DetailStamps stamps;
    QString iniName;
};

// Reads the details of the track folder `folder` (one name below tracks\) of the game folder.
// Never throws: what cannot be read is left empty, and a folder that is not there (or a name
// that is no single folder name) reads as folderExists false.
DetailsRead readTrackDetails(FileSystem& files, const QString& gameDir, const QString& folder);

// The stamps of a folder read before, its track.ini under the name it had then.
DetailStamps stampTrackDetails(FileSystem& files, const QString& gameDir, const QString& folder,
                               const QString& iniName);

} // namespace gk
