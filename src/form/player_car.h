// SPDX-License-Identifier: GPL-3.0-or-later
// The car box and the player's last track and car.
#pragma once

#include "form_context.h"
#include "selection.h"

#include <QString>

namespace gk {

// The car box's cars, and the player's last track and car as the game's own files hold them.
class PlayerCar {
  public:
    PlayerCar(FormContext& ctx, FileSystem& files, Selection& selection)
        : ctx_(ctx), files_(files), selection_(selection) {}

    void subMakeCarList();
    void subPlayerInfo();

  private:
    FormContext& ctx_;
    FileSystem& files_;
    Selection& selection_;
    QString playerFolder_;
};

} // namespace gk
