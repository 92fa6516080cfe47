// SPDX-License-Identifier: GPL-3.0-or-later
// The window's watch for another program's change of the season files.
#include "season_watch.h"

#include "game/game_paths.h"
#include "platform/file_watch.h"
#include "platform/runtime_error.h"

namespace gk {

void SeasonWatch::remember(const SeasonVersion& version) {
    known_ = version;
    startWatch();
}

void SeasonWatch::rememberAllTracks(const FileVersion& version) {
    known_.allTracks = version;
}

void SeasonWatch::startWatch() {
    if (watching_ || !watch_)
        return;
    watching_ = true;
    const QString& dir = ctx_.ws.strGPLdir;
    watch_->watch({paths::seasonIni(dir), paths::allTracksIni(dir), paths::parkedSeason(dir)},
                  [this] { reported_(); });
}

void SeasonWatch::filesChanged() {
    if (ctx_.ended || !known_.known || seasonUnchanged(files_, ctx_.ws.strGPLdir, known_))
        return;
    if (ctx_.ws.bolSeasonChanged) {
        ctx_.ctl.lblInfo.caption =
            QStringLiteral("67season.ini or 67AllTracks.ini was changed by another program. Your "
                           "changes here are not saved: the next save asks whether to overwrite "
                           "that change.");
        return;
    }
    // Nothing unsaved: the lists show what is on disk now.
    try {
        reload_();
        ctx_.ctl.lblInfo.caption =
            QStringLiteral("67season.ini or 67AllTracks.ini was changed by another program; the "
                           "lists were read again.");
    } catch (const RuntimeError& e) {
        ctx_.showError(e.number(), e.description());
    }
}

bool SeasonWatch::allowWrite() {
    const QString& dir = ctx_.ws.strGPLdir;
    if (!known_.known || seasonUnchanged(files_, dir, known_))
        return true;
    const QString text =
        QStringLiteral("67season.ini or 67AllTracks.ini was changed by another program after "
                       "Gridkeeper read it.\r\n\r\nYes: write the lists shown here over that "
                       "change.\r\nNo: read the lists again from the files; your changes here "
                       "are lost.\r\nCancel: write nothing now.");
    // Cancel is the default.
    const Message question(text, appTitle(), Buttons::YesNoCancel, Icon::Exclamation,
                           QuestionId::OverwriteOutsideChange, false, true);
    switch (ctx_.dialogs.messageBox(question)) {
    case Answer::Yes:
        // The change the user agreed to overwrite; a later one is still caught by the write.
        known_ = readSeasonVersion(files_, dir);
        return true;
    case Answer::No:
        reload_();
        ctx_.ws.bolSeasonChanged = false;
        return false;
    default:
        return false;
    }
}

} // namespace gk
