// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the crash recovery, closing, and the game directory.
#pragma once

#include "form_context.h"
#include "player_car.h"
#include "season_files.h"
#include "track_sets.h"

#include <QString>
#include <vector>

namespace gk {

// A run-time error that start-up reported and went on from.
struct StartupFault {
    int number = 0;
    QString description;
};

// Start-up (the game directory, the crash recovery, the load of the lists and the player's
// choices), the game directory's dialog and label, and the question on closing.
class Startup {
  public:
    Startup(FormContext& ctx, const FormPlatform& platform, SeasonFiles& seasonFiles,
            PlayerCar& playerCar, TrackSets& trackSets)
        : ctx_(ctx), files_(platform.files), settings_(platform.settings), shell_(platform.shell),
          gameSearch_(platform.gameSearch), seasonFiles_(seasonFiles), playerCar_(playerCar),
          trackSets_(trackSets) {}

    bool startUp(const QString& commandLine);
    bool loadWorkspace();
    void Form_Activate();
    void Form_Unload(bool& Cancel);
    void subSetGPLdir();
    void subSetGPLdirText();
    const std::vector<StartupFault>& faults() const { return faults_; }

  private:
    template <class F> void startupStep(F&& body);
    // Ends the program when the game folder is not set or holds no season file.
    void endWithoutGameFolder();
    // The stored "alphabetical order" setting into its check box.
    void readSortSetting();
    void lookAtParkedSeason();

    FormContext& ctx_;
    FileSystem& files_;
    SettingsStore& settings_;
    Shell& shell_;
    const GameSearchPlaces* gameSearch_;
    SeasonFiles& seasonFiles_;
    PlayerCar& playerCar_;
    TrackSets& trackSets_;
    std::vector<StartupFault> faults_;
};

} // namespace gk
