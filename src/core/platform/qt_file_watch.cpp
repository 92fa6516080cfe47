// SPDX-License-Identifier: GPL-3.0-or-later
// The real file watch (QFileSystemWatcher), with a pause for a burst of changes.
#include "qt_file_watch.h"

#include "qt_file_system.h"

#include <QFileInfo>

namespace gk {

QtFileWatch::QtFileWatch(QtFileSystem& files) : files_(files) {
    // A safe write is several renames in a row: one report once they have settled.
    settle_.setSingleShot(true);
    settle_.setInterval(150);
    QObject::connect(&settle_, &QTimer::timeout, [this] {
        rearm();
        if (changed_)
            changed_();
    });
    const auto changed = [this](const QString&) { settle_.start(); };
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, changed);
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, changed);
}

void QtFileWatch::watch(const QStringList& files, std::function<void()> changed) {
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    gamePaths_ = files;
    changed_ = std::move(changed);
    rearm();
}

// A file replaced by a rename is a new file: the watch is set on whatever has the name now.
void QtFileWatch::rearm() {
    QStringList wanted;
    for (const QString& path : gamePaths_) {
        const QFileInfo info(files_.nativePath(path));
        wanted << info.absolutePath();
        if (info.exists())
            wanted << info.absoluteFilePath();
    }
    wanted.removeDuplicates();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    for (const QString& path : wanted)
        if (!watcher_.directories().contains(path))
            watcher_.addPath(path);
}

} // namespace gk
