// SPDX-License-Identifier: GPL-3.0-or-later
// Making a folder on the real file system.
#include "qt_file_system.h"

#include <QDir>
#include <QFileInfo>

namespace gk {

void QtFileSystem::makeFolder(const QString& path) {
    settle();
    const QString native = nativePath(path);
    const QFileInfo info(native);
    if (info.isDir())
        return;
    if (info.exists())
        throw RuntimeError(ErrorCode::PathFileAccess);
    if (!QDir().mkdir(native))
        throw RuntimeError(QFileInfo(info.absolutePath()).isDir() ? ErrorCode::PermissionDenied
                                                                  : ErrorCode::PathNotFound);
}

} // namespace gk
