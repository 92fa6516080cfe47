// SPDX-License-Identifier: GPL-3.0-or-later
// The game's command line: the executable, the last track and the car.
#include "command_line.h"

#include "game/game_paths.h"

namespace gk {

QString gameCommandLine(const QString& gameDir, const QString& track, int team) {
    QString line = paths::gplExe(gameDir) + QLatin1String(" -ko\"");
    if (!track.isEmpty())
        line += QLatin1String("20:Personal Information:lastTrackSelection:") + track +
                QLatin1String("\" -ko\"");
    return line + QLatin1String("20:Personal Information:team:") + QString::number(team) +
           QLatin1Char('"');
}

QString parameterText(const QString& commandLine) {
    return QLatin1String("With the options you choosed GPL will be started with the following "
                         "command line when you press the 'GPL' button:\r\n\r\n") +
           commandLine;
}

} // namespace gk
