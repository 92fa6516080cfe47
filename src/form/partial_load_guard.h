// SPDX-License-Identifier: GPL-3.0-or-later
// The question before writing back a season that was read only in part.
#pragma once

#include <QString>

namespace gk {

class Dialogs;
class FileSystem;

// Remembers a load of the season that stopped early (a malformed 67season.ini, all-tracks file
// or track set), so that the lists, which hold only what was read, are not written back over
// the files without a word: the first write after such a load asks, and on Yes keeps copies of
// both present season files that the backup rotation never deletes.
class PartialLoadGuard {
  public:
    // A load begins; what an earlier load left unread no longer matters.
    void loadStarted() { stopped_ = false; }
    // The load stopped in the file `path` after `tracksRead` of its tracks.
    void loadStopped(const QString& path, int tracksRead);
    // Before the season files are written: true when they may be. After a load that stopped
    // early the user is asked (No is the default); on Yes 67season.ini and 67AllTracks.ini are
    // first copied to 67season_kept.bak and 67AllTracks_kept.bak, replacing earlier such copies.
    // Throws RuntimeError when a copy fails.
    bool allowWrite(Dialogs& dialogs, FileSystem& fs, const QString& gameDir);
    // The season files now hold the lists.
    void written() { stopped_ = false; }

  private:
    bool stopped_ = false;
    QString fileName_;
    int tracksRead_ = 0;
};

} // namespace gk
