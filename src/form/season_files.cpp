// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and writing the season files, from the window's side.
#include "season_files.h"

#include "game/game_paths.h"
#include "game/settings_keys.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "season/loader.h"
#include "season/read_back_check.h"
#include "season/season_file.h"
#include "season/season_guard.h"
#include "season/season_replace.h"
#include "season/season_writer.h"
#include "season/track_set_name.h"

#include <utility>

namespace gk {

void SeasonFiles::cmdMakeIni_Click() {
    ctx_.guarded([&] {
        try {
            subCreateIniFiles(false);
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
        }
    });
}

void SeasonFiles::chkSort_Click() {
    settings_.saveSetting(settings::kApp, settings::kSection, settings::kAlphabetical,
                          QString::number(ctx_.ctl.chkSort));
}

// ---------------------------------------------------------------- loading

void SeasonFiles::subGet67season(const QString& strFile) {
    ctx_.ws.ListTracks.clear();
    ctx_.ws.listNotActive.clear();
    ctx_.ws.ListAllTracks.clear();
    selection_.clearSide(ListSide::Active);
    selection_.clearSide(ListSide::Inactive);

    const QString& dir = ctx_.ws.strGPLdir;
    // Read under the season lock, so that no writer is halfway through; a folder where no lock
    // can be made (read-only) is still read.
    std::shared_ptr<void> lock;
    try {
        lock = lockSeason(files_, dir);
    } catch (const RuntimeError&) {
    }
    if (holdSeasonLock_ && !seasonLock_)
        seasonLock_ = lock;
    if (!fncFileExists(files_, paths::seasonIni(dir)))
        ctx_.endProgram(
            {QStringLiteral("67season.ini was not found. Please check your GPL\\seasons "
                            "folder."),
             QStringLiteral("Critical error"), Buttons::Ok, Icon::Critical, MessageKind::Failure});
    InstalledTracks installed; // one look-up per folder
    // While a live run of an inactive track has parked the real season, that is what the lists
    // show, not the run's temporary season.
    const QString activeFile =
        strFile.isEmpty() ? realSeasonPath(files_, dir) : paths::inSeasons(dir, strFile);
    SeasonVersion version;
    // A load that stops early leaves lists that must not be written back without a word.
    loadGuard_.loadStarted();
    QString reading = paths::allTracksIni(dir);
    const TrackList* readInto = &ctx_.ws.ListAllTracks;
    try {
        makeFirstRunCopies(files_, dir);
        readSeasonFile(files_, dir, reading, ctx_.ws.ListAllTracks, installed, &version.allTracks);
        reading = activeFile;
        readInto = &ctx_.ws.ListTracks;
        readSeasonFile(files_, dir, activeFile, ctx_.ws.ListTracks, installed,
                       strFile.isEmpty() ? &version.season : nullptr);
    } catch (const RuntimeError&) {
        loadGuard_.loadStopped(reading, readInto->count());
        throw;
    }
    // A track set stands in for the season file: only the all-tracks file was read anew.
    version.known = true;
    if (strFile.isEmpty())
        watch_.remember(version);
    else
        watch_.rememberAllTracks(version.allTracks);
    ctx_.updateCountCaptions();
    buildInactiveList(ctx_.ws.ListAllTracks, ctx_.ws.ListTracks, ctx_.ws.listNotActive);
    ctx_.updateCountCaptions();
}

// ---------------------------------------------------------------- writing

void SeasonFiles::subCreateIniFiles(bool bolMute) {
    heldBack_ = false;
    const auto refuse = [this](const QString& text) {
        ctx_.dialogs.messageBox(
            {text, appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Refusal});
    };
    if (ctx_.ws.ListTracks.count() == 0) {
        refuse(QStringLiteral("Can't create 67season.ini cause there are no tracks in the "
                              "'active tracks' list"));
        return;
    }
    if (ctx_.ws.ListTracks.count() > 64) {
        refuse(QStringLiteral("Can't create 67season.ini cause there are more than 64 tracks in "
                              "the 'active tracks' list"));
        return;
    }
    // An all-tracks file of more events than a list can hold could not be read back.
    if (ctx_.ws.ListTracks.count() + ctx_.ws.listNotActive.count() > kMaxListRows) {
        refuse(QStringLiteral("Can't create 67AllTracks.ini cause the 'active tracks' and the "
                              "'non-active tracks' lists hold more than %1 tracks together")
                   .arg(kMaxListRows));
        return;
    }
    QString problem = readBackProblem(ctx_.ws.ListTracks, QStringLiteral("active tracks"));
    if (problem.isEmpty())
        problem = readBackProblem(ctx_.ws.listNotActive, QStringLiteral("non-active tracks"));
    if (!problem.isEmpty()) {
        refuse(problem);
        return;
    }
    if (seasonParkedByLiveRun(files_, ctx_.ws.strGPLdir)) {
        refuseWhileRunning();
        return;
    }
    if (!loadGuard_.allowWrite(ctx_.dialogs, files_, ctx_.ws.strGPLdir))
        return;
    shell_.setBusyPointer(true);
    bool written = false;
    try {
        written = writeSeason();
    } catch (...) {
        shell_.setBusyPointer(false);
        throw;
    }
    shell_.setBusyPointer(false);
    if (!written)
        return;
    if (!bolMute)
        ctx_.dialogs.messageBox({QStringLiteral("67season.ini created"), appTitle(), Buttons::Ok,
                                 Icon::Information, MessageKind::Information});
    loadGuard_.written();
    ctx_.ws.bolSeasonChanged = false;
}

void SeasonFiles::refuseWhileRunning() {
    heldBack_ = true;
    ctx_.dialogs.messageBox(
        {QStringLiteral("GPL is running an inactive track: 67season.ini holds a temporary season "
                        "until the game ends.\r\n\r\nNothing was written. Save again after GPL "
                        "has ended."),
         appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Refusal});
}

// Writes in the chosen order; false when it was held back for a second writer. A change by
// another program that lands after the question is caught under the lock and asked about
// again.
bool SeasonFiles::writeSeason() {
    heldBack_ = false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!watch_.allowWrite()) {
            heldBack_ = ctx_.ws.bolSeasonChanged; // "No" read the lists again: nothing is lost
            return false;
        }
        try {
            if (ctx_.ctl.chkSort == 1)
                subSortByAlphabet();
            else
                subSortByList();
            return true;
        } catch (const SeasonWriteRefused& refused) {
            if (refused.reason == SeasonWriteRefused::Reason::RunInProgress) {
                refuseWhileRunning();
                return false;
            }
        }
    }
    heldBack_ = true;
    return false;
}

void SeasonFiles::replaceSeason(const QByteArray& season, const QByteArray& allTracks) {
    remember(replaceSeasonFiles(files_, ctx_.ws.strGPLdir, season, allTracks, &watch_.known()));
}

void SeasonFiles::remember(SeasonVersion written) {
    // The season is written either way; a history that cannot be kept is told once.
    if (!written.historyProblem.isEmpty() && !std::exchange(historyReported_, true))
        ctx_.dialogs.messageBox(
            {QStringLiteral("The season files were written, but the season they replaced could "
                            "not be kept in the history (%1). Earlier seasons can be restored "
                            "from the backups only.")
                 .arg(written.historyProblem),
             appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Information});
    watch_.remember(std::move(written));
}

void SeasonFiles::writeTrackSetFile(const QString& name, const QByteArray& bytes) {
    const QString problem = trackSetNameProblem(name);
    if (!problem.isEmpty())
        throw RuntimeError(ErrorCode::BadFileName);
    files_.writeFile(paths::trackSet(ctx_.ws.strGPLdir, name), bytes);
}

void SeasonFiles::subSortByList(const QString& strFile) {
    if (!strFile.isEmpty()) {
        writeTrackSetFile(strFile,
                          seasonFileBytes(season_names::kTrackSet, ctx_.ws.ListTracks.rows));
        return;
    }
    replaceSeason(seasonFileBytes(season_names::kCustomOrder, ctx_.ws.ListTracks.rows),
                  allTracksFileBytes(ctx_.ws.ListTracks.rows, ctx_.ws.listNotActive.rows));
}

void SeasonFiles::subSortByAlphabet(const QString& strFile) {
    const std::vector<TrackRow>& active = ctx_.ws.ListTracks.rows;
    const std::vector<int> ListSorter = sortOrder(active);
    if (!strFile.isEmpty()) {
        writeTrackSetFile(strFile, seasonFileBytes(season_names::kTrackSet, active, ListSorter));
        return;
    }
    replaceSeason(seasonFileBytes(season_names::kAlphabetical, active, ListSorter),
                  allTracksFileBytes(active, ctx_.ws.listNotActive.rows));
    // The lists are read back from the two files just written, every track.ini looked up
    // anew: they show what the next start will show.
    subGet67season();
}

} // namespace gk
