// SPDX-License-Identifier: GPL-3.0-or-later
// The real file system's reads of many small files: the start of a file, a folder with its stamp.
#include "qt_file_system.h"

#include "code_page.h"
#include "posix_folder.h"
#include "runtime_error.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#ifndef Q_OS_WIN
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// These are made for reading thousands of track folders: on Linux each opens the path as
// written first and matches the case of its components only when that fails, so a path that
// exists costs one lookup, and the stamp comes from the file that was opened.

namespace gk {

#ifndef Q_OS_WIN
namespace {

// A path that leads through a file (ENOTDIR) names no file to read: not found, as a missing one.
ErrorCode openError(int err) {
    return err == ENOTDIR ? ErrorCode::FileNotFound : errorOfErrno(err);
}

} // namespace

// Sets `native` to the path opened; -1 and errno on failure.
int QtFileSystem::openGamePath(const QString& path, int flags, QString& native) {
    native = withSlashes(path);
    flags |= O_RDONLY | O_CLOEXEC | O_NONBLOCK; // a FIFO would wait for a writer
    int fd = ::open(encode(native).constData(), flags);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        const QString matched = nativePath(path);
        if (matched != native) {
            native = matched;
            fd = ::open(encode(native).constData(), flags);
        }
    }
    return fd;
}
#endif

QByteArray QtFileSystem::readFileStart(const QString& path, qint64 limit, FileStamp* stamp) {
    limit = std::max<qint64>(limit, 0);
#ifdef Q_OS_WIN
    const QString native = nativePath(path);
    QFile file(native);
    if (QFileInfo(native).isDir())
        throw RuntimeError(ErrorCode::PathFileAccess);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(QFileInfo::exists(native) ? ErrorCode::PermissionDenied
                                                     : ErrorCode::FileNotFound);
    if (stamp)
        *stamp = fileStamp(path);
    return file.read(limit);
#else
    QString native;
    const int fd = openGamePath(path, 0, native);
    if (fd < 0)
        throw RuntimeError(openError(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        throw RuntimeError(ErrorCode::PathFileAccess);
    }
    if (stamp)
        *stamp = stampOf(st);
    // Only a regular file is read (it reads alike with and without O_NONBLOCK).
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(ErrorCode::PathFileAccess);
    }
    QByteArray data(static_cast<qsizetype>(std::min<qint64>(limit, st.st_size)), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(fd, data.data() + done, static_cast<size_t>(data.size() - done));
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

std::vector<FolderEntry> QtFileSystem::listFolderWithStamp(const QString& path, FileStamp& stamp) {
#ifdef Q_OS_WIN
    stamp = fileStamp(path);
    return listFolder(path);
#else
    QString native;
    const int fd = openGamePath(path, O_DIRECTORY, native);
    if (fd < 0)
        throw RuntimeError(errno == ENOENT || errno == ENOTDIR ? ErrorCode::PathNotFound
                                                               : openError(errno));
    struct stat st;
    DIR* dir = ::fstat(fd, &st) == 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        ::close(fd);
        throw RuntimeError(ErrorCode::PathFileAccess);
    }
    stamp = stampOf(st);
    return readFolderEntries(dir, native, encode(native), rawNames_);
#endif
}

} // namespace gk
