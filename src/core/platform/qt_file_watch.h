// SPDX-License-Identifier: GPL-3.0-or-later
// The real file watch (QFileSystemWatcher), with a pause for a burst of changes.
#pragma once

#include "file_watch.h"

#include <QFileSystemWatcher>
#include <QTimer>

namespace gk {

class QtFileSystem;

// The system's file notification (inotify on Linux): nothing runs while nothing changes.
class QtFileWatch : public FileWatch {
  public:
    explicit QtFileWatch(QtFileSystem& files);
    void watch(const QStringList& files, std::function<void()> changed) override;

  private:
    void rearm();

    QtFileSystem& files_;
    QStringList gamePaths_;
    std::function<void()> changed_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

} // namespace gk
