// SPDX-License-Identifier: GPL-3.0-or-later
// The car box and the player's last track and car.
#pragma once

#include "form_context.h"

#include <QString>

namespace gk {

// The car box's cars, and the player's last track and car as the game's own files hold them.
class PlayerCar {
  public:
    explicit PlayerCar(FormContext& ctx) : ctx_(ctx) {}

    void subMakeCarList();
    void subPlayerInfo();

  private:
    FormContext& ctx_;
    QString playerFolder_;
};

} // namespace gk
