// SPDX-License-Identifier: GPL-3.0-or-later
// The game's command line: the executable, the last track and the car.
#pragma once

#include <QString>

namespace gk {

// The game's command line: the executable (not quoted, even with spaces in the path), then
// -ko"20:Personal Information:lastTrackSelection:TRACK" when a track is given, then
// -ko"20:Personal Information:team:TEAM".
QString gameCommandLine(const QString& gameDir, const QString& track, int team);

// The text of the "Parameter" box for that command line.
QString parameterText(const QString& commandLine);

} // namespace gk
