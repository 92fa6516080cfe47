// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: the "details" command, the details of track folders as lines of text.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

namespace gk {

class FileSystem;

// gridkeeper-cli details: for each folder below the game folder's tracks\, the lines
// "folder=", "name=", "short name=", "length=", "turns=", "mods=", "picture=" and an empty
// line; a field that cannot be read is empty. False when a folder does not exist (each is
// named on stderr).
bool printTrackDetails(FileSystem& files, const QString& gameDir, const QStringList& folders,
                       std::FILE* out);

} // namespace gk
