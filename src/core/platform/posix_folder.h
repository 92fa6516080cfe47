// SPDX-License-Identifier: GPL-3.0-or-later
// What the real file system's sources share on POSIX systems: a system error as a run-time
// error, a file's status as its stamp, a folder's entries.
#pragma once

#ifndef _WIN32
#include "code_page.h"
#include "file_system.h"
#include "path_mapping.h"
#include "runtime_error.h"

#include <QFile>
#include <QString>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace gk {

// The run-time error of a failed system call's errno.
inline ErrorCode errorOfErrno(int err) {
    switch (err) {
    case ENOENT:
        return ErrorCode::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorCode::PermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return ErrorCode::DiskFull;
    case ENAMETOOLONG:
    case EINVAL:
        return ErrorCode::BadFileName;
    default:
        return ErrorCode::PathFileAccess;
    }
}

// A file's stamp from its status: the same file (device and inode), its size, and its
// modification time to the nanosecond.
inline FileStamp stampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.id = static_cast<quint64>(st.st_ino) ^ (static_cast<quint64>(st.st_dev) << 40);
    stamp.size = static_cast<qint64>(st.st_size);
    stamp.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

// The entries of an open folder (`native`, whose bytes are `folderBytes`), "." and ".." left
// out, and closes it. A name that is not UTF-8 is shown as its bytes in the game's code page
// and remembered in `rawNames`, so that a path through it reaches it again. Only a link or an
// entry of unknown type costs a stat to tell a folder.
inline std::vector<FolderEntry> readFolderEntries(DIR* dir, const QString& native,
                                                  const QByteArray& folderBytes,
                                                  RawNames& rawNames) {
    const QString base = native.endsWith(QLatin1Char('/')) ? native : native + QLatin1Char('/');
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw == "." || raw == "..")
            continue;
        struct stat target;
        const bool isDir =
            entry->d_type == DT_DIR ||
            ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
             ::fstatat(::dirfd(dir), entry->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode));
        QString name = QFile::decodeName(raw);
        if (QFile::encodeName(name) != raw) {
            name = decodeGameText(raw);
            rawNames.remember(base + name, QByteArray(folderBytes).append('/').append(raw));
        }
        entries.push_back({name, isDir, raw.startsWith('.')});
    }
    ::closedir(dir);
    return entries;
}

} // namespace gk
#endif
