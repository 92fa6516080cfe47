// SPDX-License-Identifier: GPL-3.0-or-later
// The window's watch for another program's change of the season files.
#pragma once

#include "form_context.h"
#include "season/season_guard.h"

#include <functional>

namespace gk {

// The window's guard against a second writer: it keeps the versions of the two season files
// it last read or wrote, notices when another program (a text editor, a mod tool, the
// command-line tool, another window) changes them, reloads the lists when that loses nothing,
// and asks before a write would replace such a change.
class SeasonWatch {
  public:
    // `reported` runs when the file watch reports a change (the window decides when to look at
    // it); `reload` reads the lists again from the files.
    SeasonWatch(FormContext& ctx, FileSystem& files, FileWatch* watch,
                std::function<void()> reported, std::function<void()> reload)
        : ctx_(ctx), files_(files), watch_(watch), reported_(std::move(reported)),
          reload_(std::move(reload)) {}

    // The lists now stand for these versions (a load or a write). Starts the file watch on
    // the first call.
    void remember(const SeasonVersion& version);
    // Only the all-tracks file was read anew (a track set was opened).
    void rememberAllTracks(const FileVersion& version);
    const SeasonVersion& known() const { return known_; }

    // The file watch reports a change in the seasons folder.
    void filesChanged();
    // Before a write of the season files: true when it may go on. When the files are no longer
    // those the lists were read from, asks: Yes overwrites that change, No reads the lists
    // again (nothing is written), Cancel writes nothing.
    bool allowWrite();

  private:
    void startWatch();

    FormContext& ctx_;
    FileSystem& files_;
    FileWatch* watch_;
    std::function<void()> reported_;
    std::function<void()> reload_;
    SeasonVersion known_;
    bool watching_ = false;
};

} // namespace gk
