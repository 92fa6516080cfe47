// SPDX-License-Identifier: GPL-3.0-or-later
// The real file system (POSIX on Linux, Qt and Win32 on Windows).
#pragma once

#include "file_system.h"
#include "path_mapping.h"
#include "runtime_error.h"

#include <QDateTime>
#include <QHash>
#include <QLockFile>
#include <future>
#include <map>

namespace gk {

// The real file system. On Linux a game path becomes a native one as path_mapping.h tells, the
// names of each folder it looks into kept until the folder changes.
class QtFileSystem : public FileSystem {
  public:
    QtFileSystem() = default;
    QtFileSystem(const QtFileSystem&) = delete;
    QtFileSystem& operator=(const QtFileSystem&) = delete;
    ~QtFileSystem() override; // waits for the removals left for later
    bool fileExists(const QString& path) override;
    QByteArray readFile(const QString& path) override;
    void writeFile(const QString& path, const QByteArray& data) override;
    void copyFile(const QString& from, const QString& to) override;
    void linkOrCopyFile(const QString& from, const QString& to) override;
    void renameFile(const QString& from, const QString& to) override;
    void removeFile(const QString& path) override;
    void makeFolder(const QString& path) override; // in qt_make_folder.cpp
    // On a thread of its own.
    void removeLater(const QStringList& paths, std::shared_ptr<void> hold) override;
    void syncFolder(const QString& path) override;
    QString resolveLinks(const QString& path) override;
    FileStamp fileStamp(const QString& path) override;
    std::shared_ptr<void> lockFolder(const QString& path) override;
    std::shared_ptr<void> tryLockFile(const QString& path) override;
    std::vector<FolderEntry> listFolder(const QString& path) override;
    void setCurrentDirectory(const QString& path) override;
    QString programDirectory() override;
    QString absolutePath(const QString& path) override;

    QByteArray readFileStart(const QString& path, qint64 limit,
                             FileStamp* stamp = nullptr) override;
    std::vector<FolderEntry> listFolderWithStamp(const QString& path, FileStamp& stamp) override;
    // The native path of a game path.
    QString nativePath(const QString& gamePath) override;

  protected:
    // Makes the written data of an open file durable; throws RuntimeError when it fails.
    virtual void syncFile(int handle, const QString& path);

  private:
    // Waits until the removals left for later are done; every change and listing calls it
    // first.
    void settle();
    QString matchComponent(const QString& folder, const QString& name);
    // Opens a game path for reading without waiting: as written, else with its case matched.
    int openGamePath(const QString& path, int flags, QString& native);
    // The bytes of a native path for the system's calls.
    QByteArray encode(const QString& native) const;
    // Why a file cannot be made in the folder (a full disk or quota is told apart by trying);
    // `otherwise` when that shows nothing more.
    ErrorCode creationError(const QString& nativeFolder, ErrorCode otherwise);
    ErrorCode lockError(const QLockFile& lock, const QString& nativeFolder);

    struct FolderNames {
        QDateTime modified;
        FoldedNames names;
    };
    QHash<QString, FolderNames> folderCache_;
    // The folder locks this object holds, so that taking one again shares it.
    std::map<QString, std::weak_ptr<void>> heldLocks_;
    // Entries whose names are not UTF-8, as listFolder shows them.
    RawNames rawNames_;
    std::future<void> removals_; // the removals left for later, while they run
};

} // namespace gk
