// SPDX-License-Identifier: GPL-3.0-or-later
// "start GPL", the run of an inactive track through a temporary season, and the "?" menu.
#pragma once

#include "platform/dialogs.h"
#include "season/track_list.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace gk {

class FileSystem;
class Shell;
class ProcessRunner;
class GameWindow;

struct LaunchPlatform {
    Dialogs& dialogs;
    FileSystem& files;
    Shell& shell;
    ProcessRunner& runner;
    GameWindow& gameWindow;
};

// Puts the season parked as gridkeeper.tmp back as 67season.ini, replacing a temporary season
// in one step, so no moment is left without a season file. Nothing when none is parked.
void restoreParkedSeason(FileSystem& files, const QString& gameDir);
// The same at the end of a run whose temporary season was `temporary`: when 67season.ini no
// longer holds it (another program wrote the season meanwhile), that file is first kept as
// 67season_during_run.bak. True when it was kept.
bool putBackAfterRun(FileSystem& files, const QString& gameDir, const QByteArray& temporary);

// What a launch reads of the main window: the game directory, whether the season has unsaved
// changes, the two lists with their rows' entries (read after the save question, which may
// change them), the selected-track box (the game's 8-bit text) and the car box's row (-1:
// none).
struct LaunchChoice {
    const QString& gameDir;
    bool seasonChanged;
    const TrackList& active;
    const TrackList& inactive;
    QByteArray track;
    int team = -1;
};

// "start GPL", the run of an inactive track through a temporary season, and the "?" menu.
class LaunchFlow {
  public:
    explicit LaunchFlow(LaunchPlatform platform);

    // `saveSeason` writes the season without its success message; it runs when the user
    // answers Yes to the unsaved-changes question. True when the game ran (it has ended then).
    bool cmdLaunchGPL_Click(const LaunchChoice& choice, const std::function<void()>& saveSeason);
    // Index 0 "About" runs `onAbout`; index 1 "&Parameter" shows the command line.
    void mnuHelp_Click(int16_t Index, const LaunchChoice& choice);
    std::function<void()> onAbout;

    // The game's command line for the track (the game's 8-bit text, empty: none) and car, with
    // the game folder as the game sees it: what "start GPL" starts and "&Parameter" shows.
    QString commandLine(const QString& gameDir, const QByteArray& track, int team);

    // Starts the command line in the game folder and waits for the game to end; the message
    // to show when it could not be started.
    std::optional<Message> subShellAndWait(const QString& commandLine, const QString& gameDir);

  private:
    bool runInactive(const LaunchChoice& choice);
    // Why the inactive track (its row in the inactive list, -1: none) cannot be run; nothing
    // when it can.
    std::optional<Message> inactiveRunRefusal(const LaunchChoice& choice, int row);
    void offerRecovery(const QString& dir);
    void showError(int number, const QString& description);

    Dialogs& dialogs_;
    FileSystem& files_;
    Shell& shell_;
    ProcessRunner& runner_;
    GameWindow& gameWindow_;
};

} // namespace gk
