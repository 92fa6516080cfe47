// SPDX-License-Identifier: GPL-3.0-or-later
// A track folder's details: its track.ini, the mods it carries settings for, its picture.
#pragma once

#include "platform/file_system.h"
#include "track_ini.h"

#include <QString>
#include <QStringList>
#include <array>

namespace gk {

// The per-mod files a track folder may hold (the game's mods read them before track.ini) are
// named "track" + badge + ".ini"; the badges in the order they are shown.
inline constexpr std::array<const char*, 8> kModBadges = {"55", "65", "66", "67",
                                                          "68", "69", "GT", "SC"};

// Only the start of a track.ini is read: the fields stand at its top, and a huge or binary
// file in its place must not hold up anything.
inline constexpr qint64 kTrackIniReadLimit = qint64{64} * 1024;

struct TrackDetails {
    bool folderExists = false;
    TrackIni ini;
    QStringList mods; // badges of the per-mod files the folder holds, in the order of kModBadges
    // The path of <folder>.jpg in the game's form, or empty (FileSystem::nativePath() gives
    // the file's own).
    QString picture;

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
