// SPDX-License-Identifier: GPL-3.0-or-later
// A track's tooltip drawn as rich text: picture, full name, lines and mod badges.
#pragma once

#include "track_details_text.h"

#include <QString>

namespace gk {

// The widest a tooltip's picture is shown, in pixels; a wider one is scaled down.
inline constexpr int kToolTipPictureWidth = 240;

// The tooltip as rich text for Qt's tooltip: the picture on top (when it can be read), the full
// name in bold, each line, then the badges side by side.
QString toolTipHtml(const TrackToolTip& tip);

} // namespace gk
