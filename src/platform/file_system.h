#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace gk {

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
    // The file a symbolic link leads to (following a chain of links), or `path` itself when it
    // is no link. Never throws.
    virtual QString resolveLinks(const QString& path) = 0;
    // Holds a lock shared with other Gridkeeper processes on the folder until the returned
    // handle is released, waiting while another process holds it. Throws RuntimeError when it
    // cannot be taken.
    virtual std::shared_ptr<void> lockFolder(const QString& path) = 0;
    // The entries of a folder, "." and ".." left out, in the order the system lists them.
    virtual std::vector<FolderEntry> listFolder(const QString& path) = 0;
    virtual void setCurrentDirectory(const QString& path) = 0;
    virtual QString programDirectory() = 0;
};

} // namespace gk
