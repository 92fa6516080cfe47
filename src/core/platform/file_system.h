// SPDX-License-Identifier: GPL-3.0-or-later
// The file system as the program needs it (paths in the game's form).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <vector>

namespace gk {

// What identifies one version of a file without reading it: a file replaced by a rename, or
// written in place, gets another stamp.
struct FileStamp {
    bool exists = false;
    quint64 id = 0; // inode (file index on Windows)
    qint64 size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

struct FolderEntry {
    QString name;
    bool isDirectory = false;
    // A leading dot on Linux, the hidden attribute on Windows.
    bool isHidden = false;
};

// Everything the program does with files. Paths are given in the game's own form
// (C:\Games\GPL\seasons\67season.ini); implementations map them to native paths.
// Failing operations throw RuntimeError with the matching error number.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True when the file exists and can be opened for reading. Never throws.
    virtual bool fileExists(const QString& path) = 0;
    // Whole file as bytes.
    virtual QByteArray readFile(const QString& path) = 0;
    // Writes the whole file through a temporary file renamed over the target when complete;
    // the data is on the disk before the rename (a failing sync fails the write). A symbolic
    // link is written through to its target.
    virtual void writeFile(const QString& path, const QByteArray& data) = 0;
    virtual void copyFile(const QString& from, const QString& to) = 0;
    // Makes `to` (which must not exist) a second name of the file `from` where the system
    // allows it, a copy otherwise. Safe for files that are only ever replaced by rename, never
    // rewritten in place.
    virtual void linkOrCopyFile(const QString& from, const QString& to) = 0;
    // Replaces an existing target in one step.
    virtual void renameFile(const QString& from, const QString& to) = 0;
    virtual void removeFile(const QString& path) = 0;
    // Makes the folder (its parent must exist); nothing when it is there already.
    virtual void makeFolder(const QString& path) = 0;
    // Removes the files after this call returns, quietly (a file that cannot be removed stays),
    // holding `hold` until they are gone; every later change made through this object comes
    // after the removals. For names nobody reads any more, whose removal may take a while.
    virtual void removeLater(const QStringList& paths, std::shared_ptr<void> hold) = 0;
    // Makes the folder's entries durable: files made, renamed or removed in it stay so after a
    // crash. Throws RuntimeError when the system reports that it failed.
    virtual void syncFolder(const QString& path) = 0;
    // The file a symbolic link leads to (following a chain of links), or `path` itself when it
    // is no link. Never throws.
    virtual QString resolveLinks(const QString& path) = 0;
    // The file's stamp; `exists` false when there is none. Never throws.
    virtual FileStamp fileStamp(const QString& path) = 0;
    // Holds a lock shared with other Gridkeeper processes on the folder until the returned
    // handle is released, waiting while another process holds it. Taking it again while this
    // object holds it returns the same lock (a command holds it from its read to its write,
    // and the write takes it too). Throws RuntimeError when it cannot be taken.
    virtual std::shared_ptr<void> lockFolder(const QString& path) = 0;
    // Takes the lock file `path` unless a live process holds it: a lock left by a process that
    // ended is taken over. Null when it is held; throws RuntimeError when it cannot be made.
    // The lock lasts until the handle is released, however long that is.
    virtual std::shared_ptr<void> tryLockFile(const QString& path) = 0;
    // The entries of a folder, "." and ".." left out, in the order the system lists them.
    virtual std::vector<FolderEntry> listFolder(const QString& path) = 0;
    virtual void setCurrentDirectory(const QString& path) = 0;
    virtual QString programDirectory() = 0;
    // A relative path made absolute from the current directory; a path that is absolute in
    // either form (a leading "/" or "\", a drive letter) as it is. Never throws.
    virtual QString absolutePath(const QString& path) = 0;
    // The first `limit` bytes of a file (all of a shorter one), read without reading the rest,
    // and when asked the stamp of the file read (as fileStamp() gives it). Fails as readFile
    // does.
    virtual QByteArray readFileStart(const QString& path, qint64 limit,
                                     FileStamp* stamp = nullptr) {
        if (stamp)
            *stamp = fileStamp(path);
        return readFile(path).left(limit);
    }
    // listFolder() and the folder's stamp (as fileStamp() gives it), in one visit of the folder.
    virtual std::vector<FolderEntry> listFolderWithStamp(const QString& path, FileStamp& stamp) {
        stamp = fileStamp(path);
        return listFolder(path);
    }
    // The path as the system names the file (on Linux "/" for "\" and each component in the
    // case it has on disk). Never throws.
    virtual QString nativePath(const QString& path) { return path; }
};

} // namespace gk
