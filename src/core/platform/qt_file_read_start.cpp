// SPDX-License-Identifier: GPL-3.0-or-later
// The real file system's read of the start of a file, for files that may be huge.
#include "qt_file_system.h"

#include "runtime_error.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace gk {

QByteArray QtFileSystem::readFileStart(const QString& path, qint64 limit) {
    const QString native = nativePath(path);
    limit = std::max<qint64>(limit, 0);
#ifdef Q_OS_WIN
    QFile file(native);
    if (QFileInfo(native).isDir())
        throw RuntimeError(ErrorCode::PathFileAccess);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(QFileInfo::exists(native) ? ErrorCode::PermissionDenied
                                                     : ErrorCode::FileNotFound);
    return file.read(limit);
#else
    // Opened without waiting (a FIFO would wait for a writer), then read only if it is a
    // regular file.
    const int fd = ::open(encode(native).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw RuntimeError(errno == ENOENT  ? ErrorCode::FileNotFound
                           : errno == EACCES ? ErrorCode::PermissionDenied
                                             : ErrorCode::PathFileAccess);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(ErrorCode::PathFileAccess);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    QByteArray data(static_cast<qsizetype>(std::min<qint64>(limit, st.st_size)), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t got =
            ::read(fd, data.data() + done, static_cast<size_t>(data.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            throw RuntimeError(ErrorCode::PathFileAccess);
        }
        if (got == 0)
            break; // the file became shorter since fstat
        done += got;
    }
    ::close(fd);
    data.truncate(done);
    return data;
#endif
}

} // namespace gk
