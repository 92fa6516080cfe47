// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: its arguments, its table of commands, and the run of one command.
#pragma once

#include <QByteArray>
#include <QList>

namespace gk {

class ProcessRunner;
class GameWindow;

// gridkeeper-cli: runs one command on the game folder; returns the exit status. The arguments
// are the bytes the program was given, without the program's name.
int runCli(const QList<QByteArray>& arguments, ProcessRunner& runner, GameWindow& gameWindow);

} // namespace gk
