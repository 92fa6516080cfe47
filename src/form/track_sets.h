// SPDX-License-Identifier: GPL-3.0-or-later
// The Track Sets menu: saving and opening named sets.
#pragma once

#include "form_context.h"
#include "player_car.h"
#include "season_files.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace gk {

// The Track Sets menu: the sets it offers, "Save as" and the opening of a set, and the label
// that names the open set.
class TrackSets {
  public:
    // Sets the menu's fixed items.
    TrackSets(FormContext& ctx, FileSystem& files, SeasonFiles& seasonFiles, PlayerCar& playerCar);

    void mnuTrackSet_Click(int16_t Index);
    void subListTrackSets();
    void subShowTrackSet();
    bool saveTrackSet(const QString& name);
    void openTrackSet(const QString& name);
    QStringList offeredTrackSets() const;

  private:
    void saveTrackSetAs();
    bool confirmDiscard();

    FormContext& ctx_;
    FileSystem& files_;
    SeasonFiles& seasonFiles_;
    PlayerCar& playerCar_;
};

} // namespace gk
