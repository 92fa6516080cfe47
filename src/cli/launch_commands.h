// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: the "command-line" and "run" commands.
#pragma once

#include <QString>
#include <QStringList>

namespace gk {

class FormModel;
namespace cli {
struct Context;
}

struct LaunchArguments {
    QString track;
    int car = -1; // the car box's row, 0 to 6; -1: none
    bool yes = false;
};

// command-line: prints the game's command line, as the "Parameter" box shows it.
int commandLineCommand(FormModel& model, cli::Context& c, const LaunchArguments& args);

// run: "start GPL" for the track, waiting for the game; --yes answers the "Missing Track"
// question with Yes. Returns 0 when the game ran, 1 when it did not (the messages of the
// launch set their own status too).
int runCommand(FormModel& model, cli::Context& c, const LaunchArguments& args);

} // namespace gk
