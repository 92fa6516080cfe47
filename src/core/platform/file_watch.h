// SPDX-License-Identifier: GPL-3.0-or-later
// Notice of changes that other programs make to files.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace gk {

// Notice of changes to files made by any program.
class FileWatch {
  public:
    virtual ~FileWatch() = default;
    // From now on calls `changed`, from the event loop, soon after any of the files (game
    // paths) or the folder holding one of them changes; a burst of changes (a safe write's
    // renames) calls it once. A file replaced by a rename stays watched. Replaces any earlier
    // watch.
    virtual void watch(const QStringList& files, std::function<void()> changed) = 0;
};

} // namespace gk
