// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: the "check" command, the track check report as text.
#pragma once

#include <cstdio>

namespace gk {

class Dialogs;
class FileSystem;
class FormModel;

// gridkeeper-cli check: the track check report of the loaded game folder, its three columns
// each under its label line, one folder name per line, "(none)" when a column is empty.
void runCheckCommand(FormModel& model, Dialogs& dialogs, FileSystem& files, std::FILE* out);

} // namespace gk
