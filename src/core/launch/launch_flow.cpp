// SPDX-License-Identifier: GPL-3.0-or-later
// "start GPL", the run of an inactive track through a temporary season, and the "?" menu.
#include "launch_flow.h"

#include "game/game_paths.h"
#include "launch/command_line.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/runtime_error.h"
#include "platform/shell.h"
#include "season/loader.h"
#include "season/season_file.h"
#include "season/season_guard.h"
#include "season/season_writer.h"

namespace gk {
namespace {

// The first row whose text is the track or the track with the missing mark; -1 when none.
int matchingRow(const TrackList& list, const QByteArray& track) {
    const QByteArray marked = markedMissing(track);
    for (size_t r = 0; r < list.rows.size(); ++r)
        if (list.rows[r].text == track || list.rows[r].text == marked)
            return static_cast<int>(r);
    return -1;
}

const Message kAlreadyRunning{QStringLiteral("GPL is already running"),
                              QStringLiteral("GPL already running"), Buttons::Ok, Icon::Information,
                              MessageKind::Refusal};

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

LaunchFlow::LaunchFlow(LaunchPlatform platform)
    : dialogs_(platform.dialogs), files_(platform.files), shell_(platform.shell),
      runner_(platform.runner), gameWindow_(platform.gameWindow) {}

void LaunchFlow::showError(int number, const QString& description) {
    dialogs_.messageBox(runtimeErrorBox(number, description));
}

QString LaunchFlow::commandLine(const QString& gameDir, const QByteArray& track, int team) {
    return gameCommandLine(runner_.pathSeenByGame(gameDir), decodeGameText(track), team);
}

bool LaunchFlow::cmdLaunchGPL_Click(const LaunchChoice& choice,
                                    const std::function<void()>& saveSeason) {
    const QString& dir = choice.gameDir;
    const QString track = decodeGameText(choice.track);
    try {
        if (choice.seasonChanged) {
            const Answer answer = dialogs_.messageBox(
                {QStringLiteral("You haven't saved your changes so far. Do you want to create the "
                                "new 67season.ini now (recommended)?"),
                 appTitle(), Buttons::YesNoCancel, Icon::Exclamation,
                 QuestionId::SaveBeforeLaunch});
            if (answer == Answer::Cancel)
                return false;
            if (answer == Answer::Yes)
                saveSeason();
        }
        if (matchingRow(choice.active, choice.track) < 0)
            return runInactive(choice);
        if (!files_.fileExists(paths::gplExe(dir))) {
            dialogs_.messageBox(
                {QStringLiteral("The GPL.exe was not found in ") + paths::shown(dir),
                 QStringLiteral("Can't find GPL.exe"), Buttons::Ok, Icon::Information,
                 MessageKind::Failure});
            return false;
        }
        // A live run of an inactive track is the game running too.
        if (gameWindow_.gameRunning(dir) || seasonParkedByLiveRun(files_, dir)) {
            dialogs_.messageBox(kAlreadyRunning);
            return false;
        }
        if (!track.isEmpty() && !trackInstalled(files_, dir, track)) {
            const Message question(QStringLiteral("The track ") + quoted(track) +
                                       QStringLiteral(" was not found in your GPL\\tracks folder "
                                                      "(missing track.ini). Do you want to run "
                                                      "GPL anyway?"),
                                   QStringLiteral("Missing Track"), Buttons::YesNo,
                                   Icon::Exclamation, QuestionId::MissingTrack, true);
            if (dialogs_.messageBox(question) != Answer::Yes)
                return false;
        }
        const auto failure = subShellAndWait(commandLine(dir, choice.track, choice.team), dir);
        if (failure)
            dialogs_.messageBox(*failure);
        shell_.centerMainWindow();
        return !failure;
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description());
        return false;
    }
}

void LaunchFlow::mnuHelp_Click(int16_t Index, const LaunchChoice& choice) {
    if (Index == 0) {
        if (onAbout)
            onAbout();
        return;
    }
    if (Index != 1)
        return;
    const QString line = commandLine(choice.gameDir, choice.track, choice.team);
    dialogs_.messageBox({parameterText(line), QStringLiteral("Parameter"), Buttons::Ok,
                         Icon::Information, MessageKind::Information});
}

std::optional<Message> LaunchFlow::subShellAndWait(const QString& commandLine,
                                                   const QString& gameDir) {
    try {
        runner_.startAndWait(commandLine, gameDir);
    } catch (const RuntimeError& e) {
        const QString text =
            e.code() == ErrorCode::FileNotFound
                ? QStringLiteral("Unable to find '") + commandLine + QLatin1Char('\'')
                : e.description();
        return Message{text, appTitle(), Buttons::Ok, Icon::None, MessageKind::Failure};
    }
    return std::nullopt;
}

void restoreParkedSeason(FileSystem& files, const QString& gameDir) {
    const QString parked = paths::parkedSeason(gameDir);
    if (files.fileExists(parked))
        files.renameFile(parked, paths::seasonIni(gameDir));
}

bool putBackAfterRun(FileSystem& files, const QString& gameDir, const QByteArray& temporary) {
    const QString parked = paths::parkedSeason(gameDir);
    if (!files.fileExists(parked))
        return false;
    const QString season = paths::seasonIni(gameDir);
    bool kept = false;
    if (files.fileExists(season) && files.readFile(season) != temporary) {
        // Another program wrote the season during the run: its file is kept, whole, before
        // the real season takes its place again.
        const QString keep = paths::seasonDuringRun(gameDir);
        const QString part = keep + QStringLiteral(".new");
        if (files.fileExists(part))
            files.removeFile(part);
        files.linkOrCopyFile(season, part);
        files.renameFile(part, keep);
        kept = true;
    }
    files.renameFile(parked, season);
    return kept;
}

namespace {

// The real season parked for a run of an inactive track. The run lock is held for as long as
// it is parked, so that every other Gridkeeper knows a live run from a crashed one; the season
// lock while it is parked and while it is put back.
class Parking {
  public:
    Parking(FileSystem& files, const QString& dir) : files_(files), dir_(dir) {}

    // Parks the season and writes the temporary one in its place, unless a gridkeeper.tmp is
    // there already: then what stands behind that, and nothing changes.
    ParkedSeason park(const QByteArray& temporary) {
        seasonLock_ = lockSeason(files_, dir_);
        const ParkedSeason state = parkedSeasonState(files_, dir_);
        if (state == ParkedSeason::None)
            runLock_ = files_.tryLockFile(paths::runLock(dir_));
        if (!runLock_) {
            seasonLock_.reset();
            return state == ParkedSeason::None ? ParkedSeason::LiveRun : state;
        }
        temporary_ = temporary;
        const QString season = paths::seasonIni(dir_);
        if (files_.fileExists(season)) {
            files_.renameFile(season, paths::parkedSeason(dir_));
            parked_ = true;
        }
        files_.writeFile(season, temporary_);
        seasonLock_.reset();
        return ParkedSeason::None;
    }
    // Puts the real season back; true when another program's write was kept aside.
    bool putBack() {
        seasonLock_ = lockSeason(files_, dir_);
        const bool kept = putBackAfterRun(files_, dir_, temporary_);
        release();
        return kept;
    }
    // After a failure: puts the season back where that can be done; otherwise it stays parked,
    // and with the run lock released the next start offers the recovery.
    void abandon() {
        try {
            if (parked_)
                putBackAfterRun(files_, dir_, temporary_);
        } catch (const RuntimeError&) {
        }
        release();
    }

  private:
    void release() {
        parked_ = false;
        runLock_.reset();
        seasonLock_.reset();
    }

    FileSystem& files_;
    const QString& dir_;
    QByteArray temporary_;
    std::shared_ptr<void> seasonLock_;
    std::shared_ptr<void> runLock_;
    bool parked_ = false;
};

} // namespace

std::optional<Message> LaunchFlow::inactiveRunRefusal(const LaunchChoice& choice, int row) {
    const QString& dir = choice.gameDir;
    const QString track = decodeGameText(choice.track);
    if (row < 0)
        return Message{track + QStringLiteral(" not found in inactive list."), appTitle(),
                       Buttons::Ok, Icon::Exclamation, MessageKind::Refusal};
    if (!files_.fileExists(paths::gplExe(dir)))
        return Message{QStringLiteral("GPL.exe not found in ") + paths::shown(dir), appTitle(),
                       Buttons::Ok, Icon::Exclamation, MessageKind::Failure};
    if (!trackInstalled(files_, dir, track))
        return Message{QStringLiteral("The track ") + quoted(track) +
                           QStringLiteral(" was not found in your GPL\\tracks folder "
                                          "(missing track.ini)."),
                       QStringLiteral("Missing Track"), Buttons::Ok, Icon::Exclamation,
                       MessageKind::Failure};
    return std::nullopt;
}

bool LaunchFlow::runInactive(const LaunchChoice& choice) {
    struct Busy {
        Shell& shell;
        explicit Busy(Shell& s) : shell(s) { shell.setBusyPointer(true); }
        ~Busy() { shell.setBusyPointer(false); }
    } busy(shell_);

    const QString& dir = choice.gameDir;
    if (choice.track.isEmpty())
        return false;
    const int row = matchingRow(choice.inactive, choice.track);
    if (const std::optional<Message> refusal = inactiveRunRefusal(choice, row)) {
        dialogs_.messageBox(*refusal);
        return false;
    }
    Parking parking(files_, dir);
    try {
        const std::span<const TrackRow> chosen(&choice.inactive.rows[static_cast<size_t>(row)], 1);
        switch (parking.park(seasonFileBytes(season_names::kTemporary, chosen))) {
        case ParkedSeason::LiveRun:
            dialogs_.messageBox(kAlreadyRunning);
            return false;
        case ParkedSeason::LeftBehind:
            offerRecovery(dir);
            return false;
        case ParkedSeason::None:
            break;
        }
        const std::optional<Message> message =
            gameWindow_.gameRunning(dir)
                ? std::optional<Message>(kAlreadyRunning)
                : subShellAndWait(commandLine(dir, QByteArray(), choice.team), dir);
        // The real season is back in place before anything is reported.
        if (parking.putBack())
            dialogs_.messageBox(
                {QStringLiteral("67season.ini was changed by another program while GPL ran the "
                                "inactive track. That file is kept as ") +
                     paths::shown(paths::seasonDuringRun(dir)) +
                     QStringLiteral("; your own season is back in 67season.ini."),
                 appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Failure});
        if (message)
            dialogs_.messageBox(*message);
        shell_.centerMainWindow();
        return !message;
    } catch (const RuntimeError& e) {
        parking.abandon();
        showError(e.number(), e.description());
        return false;
    }
}

// A season parked by a run that ended without putting it back is the user's real season: it
// is never replaced; the user may put it back now.
void LaunchFlow::offerRecovery(const QString& dir) {
    const Answer answer = dialogs_.messageBox(
        {QStringLiteral("The file ") + paths::shown(paths::parkedSeason(dir)) +
             QStringLiteral(" already exists. It holds your real 67season.ini, parked by an "
                            "earlier run of an inactive track that has not ended (GPL may "
                            "still be running, or it crashed).\r\n\r\nThe track is not "
                            "started, so that this file is not overwritten.\r\n\r\nShall "
                            "gridkeeper.tmp be renamed to 67season.ini now?"),
         QStringLiteral("Gridkeeper Crash Recovery"), Buttons::YesNo, Icon::Exclamation,
         QuestionId::CrashRecovery, true});
    if (answer == Answer::Yes)
        restoreParkedSeason(files_, dir);
}

} // namespace gk
