// SPDX-License-Identifier: GPL-3.0-or-later
// The question before writing back a season that was read only in part.
#include "partial_load_guard.h"

#include "game/game_paths.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"

namespace gk {

void PartialLoadGuard::loadStopped(const QString& path, int tracksRead) {
    stopped_ = true;
    fileName_ = paths::fileName(path);
    tracksRead_ = tracksRead;
}

bool PartialLoadGuard::allowWrite(Dialogs& dialogs, FileSystem& fs, const QString& gameDir) {
    if (!stopped_)
        return true;
    const QString text =
        QStringLiteral("%1 could be read only in part: Gridkeeper read %2 %3 of it before the "
                       "error. Writing now replaces 67season.ini and 67AllTracks.ini with the "
                       "lists as they are, and every track that was not read is lost from them."
                       "\r\n\r\nWrite anyway? Copies of both present files are kept first as "
                       "67season_kept.bak and 67AllTracks_kept.bak.")
            .arg(fileName_)
            .arg(tracksRead_)
            .arg(tracksRead_ == 1 ? QStringLiteral("track") : QStringLiteral("tracks"));
    const Message box{
        text, appTitle(), Buttons::YesNo, Icon::Exclamation, QuestionId::WritePartialSeason, true};
    if (dialogs.messageBox(box) != Answer::Yes)
        return false;
    for (const auto& [live, kept] :
         {std::pair{paths::seasonIni(gameDir), QStringLiteral("67season_kept.bak")},
          std::pair{paths::allTracksIni(gameDir), QStringLiteral("67AllTracks_kept.bak")}})
        if (fs.fileExists(live))
            fs.copyFile(live, paths::inSeasons(gameDir, kept));
    return true;
}

} // namespace gk
