#pragma once

#include <QStringList>

namespace gk {

// gridkeeper-cli: runs one command on the game folder; returns the exit status.
int runCli(const QStringList& arguments);

} // namespace gk
