// SPDX-License-Identifier: GPL-3.0-or-later
// The track check report: the game's track folders against the all-tracks file.
#pragma once

#include "season/track_list.h"

#include <QString>
#include <array>
#include <cstdint>

namespace gk {

class Dialogs;
class FileSystem;
class SettingsStore;

// What the track check report shows: its caption and the text of its three columns.
struct TrackReport {
    QString caption = QStringLiteral("Report");
    // 0: tracks of the all-tracks file without track.ini; 1: installed tracks the file does
    // not know; 2: folders that hold no track. One folder name and CR LF each, or "(none)".
    std::array<QString, 3> columns;
};

// The track check report: compares the folders under the game's tracks folder with the
// all-tracks file. It only reads; nothing on disk or in the lists changes.
class TrackCheck {
  public:
    // `allTracks` holds the rows of the all-tracks file as the main window loaded them.
    TrackCheck(Dialogs& dialogs, FileSystem& files, const TrackList& allTracks);

    // Fills the report once, for the game directory kept in the settings store.
    TrackReport Form_Load(SettingsStore& settings);
    // Fills the report for a given game directory.
    TrackReport check(const QString& gameDir);

    QString fncCheckTracks();
    QString fncCheckTrackFolder(int16_t intMode);

    QString strGPLdir;
    QString strTracksDir; // always ends with a backslash

  private:
    void showError(int number, const QString& description, const QString& where);

    Dialogs& dialogs_;
    FileSystem& files_;
    const TrackList& allTracks_;
};

} // namespace gk
