// SPDX-License-Identifier: GPL-3.0-or-later
// The game folders a new user most likely has, found in the usual places without walking a disk.
#pragma once

#include <QString>
#include <QStringList>

namespace gk {

class FileSystem;

// Where to look. On Linux: the user's home (the default Wine prefix, the prefixes of winetricks,
// PlayOnLinux, Lutris, Bottles, CrossOver and Steam below it) and $WINEPREFIX; on Windows the
// drives' roots.
struct GameSearchPlaces {
    QString home;       // native, without a closing "/"; empty: none
    QString winePrefix; // $WINEPREFIX; empty: not set
    QStringList drives; // "C:", "D:", ...: the roots searched on Windows
};

// The places of the system this program runs on.
GameSearchPlaces systemGameSearchPlaces();

// The folders in those places that hold gpl.exe and driver.ini, in the spelling found on disk
// (native paths), most likely first, each once, at most `limit`. Only a fixed set of folders is
// listed, each at most to a bounded number of entries, so the search stays quick however full
// the disk is. Never throws.
QStringList findGameFolders(FileSystem& fs, const GameSearchPlaces& places, int limit = 8);

} // namespace gk
