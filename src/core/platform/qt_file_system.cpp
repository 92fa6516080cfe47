// SPDX-License-Identifier: GPL-3.0-or-later
// The real file system (POSIX on Linux, Qt and Win32 on Windows).
#include "qt_file_system.h"

#include "code_page.h"
#include "posix_folder.h"
#include "runtime_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace gk {
namespace {

#ifndef Q_OS_WIN
// Whether the permission bits let this process read the file (no syscall needed).
bool readableByMode(const struct stat& st) {
    static const uid_t euid = ::geteuid();
    static const gid_t egid = ::getegid();
    if (euid == 0)
        return true;
    if (st.st_uid == euid)
        return (st.st_mode & S_IRUSR) != 0;
    if (st.st_gid == egid)
        return (st.st_mode & S_IRGRP) != 0;
    return (st.st_mode & S_IROTH) != 0;
}

bool openable(const QByteArray& native) {
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
#endif

bool existsAsWritten(const QString& native) {
#ifdef Q_OS_WIN
    return QFileInfo::exists(native);
#else
    struct stat st;
    return ::stat(QFile::encodeName(native).constData(), &st) == 0;
#endif
}

} // namespace

QtFileSystem::~QtFileSystem() {
    settle();
}

void QtFileSystem::settle() {
    if (removals_.valid())
        removals_.get();
}

QString QtFileSystem::matchComponent(const QString& folder, const QString& name) {
    const QString key = folder.isEmpty() ? QStringLiteral(".") : folder;
    const QDateTime modified = QFileInfo(key).lastModified();
    auto it = folderCache_.find(key);
    if (it == folderCache_.end() || it->modified != modified) {
        const QStringList entries = QDir(key).entryList(QDir::AllEntries | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot);
        it = folderCache_.insert(key, {modified, FoldedNames(entries)});
    }
    return it->names.spelling(name);
}

QString QtFileSystem::nativePath(const QString& gamePath) {
#ifdef Q_OS_WIN
    return gamePath;
#else
    return nativePathOf(gamePath,
                        {existsAsWritten, [this](const QString& folder, const QString& name) {
                             return matchComponent(folder, name);
                         }});
#endif
}

bool QtFileSystem::fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
#ifdef Q_OS_WIN
    QFile file(nativePath(path));
    if (QFileInfo(file).isDir())
        return false;
    return file.open(QIODevice::ReadOnly);
#else
    // One stat() per file: a regular file whose permission bits allow reading exists. Only
    // where the bits say no is an open tried (an access list may still allow it).
    QByteArray encoded = encode(withSlashes(path));
    struct stat st;
    if (::stat(encoded.constData(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            return false;
        encoded = encode(nativePath(path));
        if (::stat(encoded.constData(), &st) != 0)
            return false;
    }
    // Only a regular file counts: a folder, a FIFO or a device is no game file (and opening a
    // FIFO would wait for a writer).
    if (!S_ISREG(st.st_mode))
        return false;
    return readableByMode(st) || openable(encoded);
#endif
}

QByteArray QtFileSystem::readFile(const QString& path) {
    const QString native = nativePath(path);
#ifdef Q_OS_WIN
    QFile file(native);
    if (QFileInfo(native).isDir())
        throw RuntimeError(ErrorCode::PathFileAccess);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(QFileInfo::exists(native) ? ErrorCode::PermissionDenied
                                                     : ErrorCode::FileNotFound);
    return file.readAll();
#else
    // Opened without waiting (a FIFO would wait for a writer), then read only if it is a
    // regular file.
    const int fd = ::open(encode(native).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw RuntimeError(errorOfErrno(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(ErrorCode::PathFileAccess);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    QByteArray data;
    data.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw RuntimeError(errorOfErrno(err));
        }
        if (got == 0)
            break;
        data.append(buffer, static_cast<qsizetype>(got));
    }
    ::close(fd);
    return data;
#endif
}

void QtFileSystem::writeFile(const QString& path, const QByteArray& data) {
    settle();
    const QString native = nativePath(path);
    if (QFileInfo(native).isDir())
        throw RuntimeError(ErrorCode::PathFileAccess);
#ifdef Q_OS_WIN
    QSaveFile file(native);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo folder(QFileInfo(native).absolutePath());
        if (!folder.exists())
            throw RuntimeError(ErrorCode::PathNotFound);
        throw RuntimeError(creationError(folder.absoluteFilePath(), ErrorCode::PermissionDenied));
    }
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        throw RuntimeError(ErrorCode::DiskFull);
    }
    // The commit's own sync ignores a failure; a write whose data may not be on the disk has
    // failed.
    try {
        syncFile(file.handle(), path);
    } catch (const RuntimeError&) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit()) {
        if (file.error() == QFileDevice::WriteError || file.error() == QFileDevice::ResourceError)
            throw RuntimeError(ErrorCode::DiskFull);
        throw RuntimeError(ErrorCode::PathFileAccess);
    }
#else
    // Written whole under a name of its own beside the target, synced once, then renamed over
    // it; a link is written through to the file it leads to.
    QFileInfo info(native);
    for (int hops = 0; hops < 40 && info.isSymLink(); ++hops)
        info.setFile(info.symLinkTarget());
    const QByteArray target = encode(info.absoluteFilePath());
    static int serial = 0;
    const QByteArray temp =
        target + ".gk" + QByteArray::number(::getpid()) + '-' + QByteArray::number(++serial);
    // Created as a new file would be (the umask applies), then given the present file's mode.
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        throw RuntimeError(errno == ENOENT ? ErrorCode::PathNotFound : errorOfErrno(errno));
    const auto fail = [&](ErrorCode code) {
        ::close(fd);
        ::unlink(temp.constData());
        throw RuntimeError(code);
    };
    struct stat present;
    if (::stat(target.constData(), &present) == 0)
        ::fchmod(fd, present.st_mode & 07777);
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n =
            ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n < 0 ? errorOfErrno(errno) : ErrorCode::DiskFull);
        done += n;
    }
    try {
        syncFile(fd, path);
    } catch (const RuntimeError& e) {
        fail(e.code());
    }
    if (::close(fd) != 0) {
        ::unlink(temp.constData());
        throw RuntimeError(ErrorCode::DiskFull);
    }
    if (::rename(temp.constData(), target.constData()) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        throw RuntimeError(errorOfErrno(err));
    }
#endif
}

void QtFileSystem::copyFile(const QString& from, const QString& to) {
    settle();
    // Qualified calls: a copy is one operation, however a subclass counts them.
    QtFileSystem::writeFile(to, QtFileSystem::readFile(from));
}

void QtFileSystem::linkOrCopyFile(const QString& from, const QString& to) {
    settle();
    const QString source = nativePath(from);
    const QString target = nativePath(to);
#ifdef Q_OS_WIN
    if (CreateHardLinkW(reinterpret_cast<const wchar_t*>(target.utf16()),
                        reinterpret_cast<const wchar_t*>(source.utf16()), nullptr))
        return;
#else
    if (::link(encode(source).constData(), encode(target).constData()) == 0)
        return;
#endif
    QtFileSystem::copyFile(from, to);
}

void QtFileSystem::renameFile(const QString& from, const QString& to) {
    settle();
    const QString source = nativePath(from);
    const QString target = nativePath(to);
#ifdef Q_OS_WIN
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(source.utf16()),
                     reinterpret_cast<const wchar_t*>(target.utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw RuntimeError(QFileInfo::exists(source) ? ErrorCode::PermissionDenied
                                                     : ErrorCode::FileNotFound);
#else
    if (::rename(encode(source).constData(), encode(target).constData()) != 0)
        throw RuntimeError(errorOfErrno(errno));
#endif
}

void QtFileSystem::removeFile(const QString& path) {
    settle();
    const QString native = nativePath(path);
#ifdef Q_OS_WIN
    if (!QFile::remove(native))
        throw RuntimeError(QFileInfo::exists(native) ? ErrorCode::PermissionDenied
                                                     : ErrorCode::FileNotFound);
#else
    if (::unlink(encode(native).constData()) != 0)
        throw RuntimeError(errorOfErrno(errno));
#endif
}

void QtFileSystem::removeLater(const QStringList& paths, std::shared_ptr<void> hold) {
    settle();
    if (paths.isEmpty())
        return;
#ifdef Q_OS_WIN
    QStringList natives;
    for (const QString& path : paths)
        natives << nativePath(path);
    const auto removeAll = [natives, hold]() mutable {
        for (const QString& native : natives)
            QFile::remove(native);
        hold.reset();
    };
#else
    // Mapped to their bytes here: the thread touches nothing of this object.
    std::vector<QByteArray> natives;
    for (const QString& path : paths)
        natives.push_back(encode(nativePath(path)));
    const auto removeAll = [natives, hold]() mutable {
        for (const QByteArray& native : natives)
            ::unlink(native.constData());
        hold.reset();
    };
#endif
    try {
        removals_ = std::async(std::launch::async, removeAll);
    } catch (const std::system_error&) {
        auto now = removeAll; // no thread to be had: at once
        now();
    }
}

void QtFileSystem::syncFolder(const QString& path) {
    settle();
#ifdef Q_OS_WIN
    // Renames are made with MOVEFILE_WRITE_THROUGH: each is on the disk when it returns.
    (void)path;
#else
    const int fd = ::open(encode(nativePath(path)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw RuntimeError(errorOfErrno(errno));
    const int result = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    // EINVAL: a file system that keeps no folder to sync (it has nothing to wait for).
    if (result != 0 && err != EINVAL)
        throw RuntimeError(err == EIO ? ErrorCode::PathFileAccess : errorOfErrno(err));
#endif
}

FileStamp QtFileSystem::fileStamp(const QString& path) {
    FileStamp stamp;
    const QString native = nativePath(path);
#ifdef Q_OS_WIN
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(h, &info)) {
        stamp.exists = true;
        stamp.id = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        stamp.size = (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        stamp.modifiedNs = ((qint64(info.ftLastWriteTime.dwHighDateTime) << 32) |
                            info.ftLastWriteTime.dwLowDateTime) *
                           100;
    }
    CloseHandle(h);
#else
    struct stat st {};
    if (::stat(encode(native).constData(), &st) != 0)
        return stamp;
    stamp = stampOf(st);
#endif
    return stamp;
}

std::shared_ptr<void> QtFileSystem::lockFolder(const QString& path) {
    settle();
    const QString folder = nativePath(path);
    const QString file = folder + QStringLiteral("/gridkeeper.lock");
    if (std::shared_ptr<void> held = heldLocks_[file].lock())
        return held;
    auto lock = std::make_shared<QLockFile>(file);
    lock->setStaleLockTime(60000);
    if (!lock->tryLock(20000)) {
        if (lock->error() == QLockFile::LockFailedError)
            throw RuntimeError(ErrorCode::PathFileAccess); // held by another writer too long
        throw RuntimeError(lockError(*lock, folder));
    }
    heldLocks_[file] = lock;
    return lock;
}

std::shared_ptr<void> QtFileSystem::tryLockFile(const QString& path) {
    settle();
    const QString file = nativePath(path);
    auto lock = std::make_shared<QLockFile>(file);
    // Only a dead owner makes the lock stale, never its age: a game may run for hours.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (lock->error() == QLockFile::LockFailedError)
        return nullptr;
    throw RuntimeError(lockError(*lock, QFileInfo(file).absolutePath()));
}

// A lock file that could not be made: QLockFile keeps no errno, so the folder is tried.
ErrorCode QtFileSystem::lockError(const QLockFile& lock, const QString& nativeFolder) {
    return creationError(nativeFolder, lock.error() == QLockFile::PermissionError
                                           ? ErrorCode::PermissionDenied
                                           : ErrorCode::PathFileAccess);
}

QString QtFileSystem::resolveLinks(const QString& path) {
    QFileInfo info(nativePath(path));
    if (!info.isSymbolicLink())
        return path;
    for (int hops = 0; hops < 40 && info.isSymbolicLink(); ++hops)
        info.setFile(info.symLinkTarget());
    return QDir::toNativeSeparators(info.absoluteFilePath());
}

void QtFileSystem::syncFile(int handle, const QString& path) {
    (void)path;
#ifdef Q_OS_WIN
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(handle))))
        throw RuntimeError(ErrorCode::PathFileAccess);
#else
#ifdef Q_OS_LINUX
    const int result = ::fdatasync(handle);
#else
    const int result = ::fsync(handle);
#endif
    if (result != 0)
        throw RuntimeError(errno == EIO ? ErrorCode::PathFileAccess : errorOfErrno(errno));
#endif
}

std::vector<FolderEntry> QtFileSystem::listFolder(const QString& path) {
    // A listing shows no name whose removal was asked for.
    settle();
    const QString native = nativePath(path);
    const QFileInfo info(native);
    if (!info.isDir())
        throw RuntimeError(ErrorCode::PathNotFound);
    if (!info.isReadable())
        throw RuntimeError(ErrorCode::PermissionDenied);
    std::vector<FolderEntry> entries;
#ifdef Q_OS_WIN
    QDir dir(native);
    dir.setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Unsorted);
    const QFileInfoList list = dir.entryInfoList();
    entries.reserve(static_cast<size_t>(list.size()));
    for (const QFileInfo& entry : list)
        entries.push_back({entry.fileName(), entry.isDir(), entry.isHidden()});
#else
    const QByteArray folder = encode(native);
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        throw RuntimeError(errorOfErrno(errno));
    entries = readFolderEntries(dir, native, folder, rawNames_);
#endif
    return entries;
}

QByteArray QtFileSystem::encode(const QString& native) const {
    return rawNames_.encode(native);
}

ErrorCode QtFileSystem::creationError(const QString& nativeFolder, ErrorCode otherwise) {
#ifdef Q_OS_WIN
    Q_UNUSED(nativeFolder);
    return otherwise;
#else
    // A file made and written here fails the way the failed creation did, with its errno.
    const QByteArray probe =
        encode(nativeFolder) + "/.gridkeeper-probe-" + QByteArray::number(::getpid());
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? otherwise : errorOfErrno(errno);
    const bool written = ::write(fd, "x", 1) == 1;
    const int err = errno;
    ::close(fd);
    ::unlink(probe.constData());
    if (!written && (err == ENOSPC
#ifdef EDQUOT
                     || err == EDQUOT
#endif
                     ))
        return ErrorCode::DiskFull;
    return otherwise;
#endif
}

void QtFileSystem::setCurrentDirectory(const QString& path) {
    if (!QDir::setCurrent(nativePath(path)))
        throw RuntimeError(ErrorCode::PathNotFound);
}

QString QtFileSystem::absolutePath(const QString& path) {
    const bool drive = path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter();
    if (path.isEmpty() || drive || path.startsWith(QLatin1Char('/')) ||
        path.startsWith(QLatin1Char('\\')))
        return path;
    QString relative = path;
#ifndef Q_OS_WIN
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(relative)));
}

QString QtFileSystem::programDirectory() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

} // namespace gk
