// SPDX-License-Identifier: GPL-3.0-or-later
// The all-or-nothing replacement of the two season files with their backups.
#include "season_replace.h"

#include "game/game_paths.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "season_history.h"

#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace gk {
namespace {

// One live file with its backup, and the scratch names the replacement uses beside them.
struct Slot {
    QString live;   // the file as the game names it
    QString target; // where its content lives: the end of a link, or the file itself
    QString backup;
    const QByteArray* bytes = nullptr;
    bool liveExisted = false;
    bool backupExisted = false;

    QString fresh() const { return target + QStringLiteral(".new"); }    // the new content
    QString undoLive() const { return target + QStringLiteral(".old"); } // the present content
    QString nextBackup() const { return backup + QStringLiteral(".new"); }
    QString undoBackup() const { return backup + QStringLiteral(".old"); }
};

} // namespace

SeasonVersion replaceSeasonFiles(FileSystem& fs, const QString& gameDir, const QByteArray& season,
                                 const QByteArray& allTracks, const SeasonVersion* expected) {
    // One writer at a time: another Gridkeeper writing the same season waits for this one.
    const std::shared_ptr<void> lock = lockSeason(fs, gameDir);
    if (parkedSeasonState(fs, gameDir) == ParkedSeason::LiveRun)
        throw SeasonWriteRefused{SeasonWriteRefused::Reason::RunInProgress};
    if (expected && expected->known && !seasonUnchanged(fs, gameDir, *expected))
        throw SeasonWriteRefused{SeasonWriteRefused::Reason::ChangedOnDisk};
    std::array<Slot, 2> slots;
    slots[0].live = paths::seasonIni(gameDir);
    slots[0].backup = paths::seasonBackup(gameDir);
    slots[0].bytes = &season;
    slots[1].live = paths::allTracksIni(gameDir);
    slots[1].backup = paths::allTracksBackup(gameDir);
    slots[1].bytes = &allTracks;
    for (Slot& s : slots) {
        s.target = fs.resolveLinks(s.live);
        s.liveExisted = fs.fileExists(s.live);
        s.backupExisted = fs.fileExists(s.backup);
    }

    // The steps, and why neither a fault nor a crash at any of them loses a file:
    // 1. Both new files are written beside the present ones under scratch names, each synced
    //    once before its name appears. Nothing present has moved.
    // 2. The present files and backups get second names to undo with (hard links where the
    //    system has them, so no data is copied). Still nothing present has moved.
    // 3. Each backup is replaced by one rename (from the present file's second name), then each
    //    live file by one rename of its new file. A rename replaces a name in one step, so at
    //    every moment each name holds a whole file, the one before or the one after; a crash
    //    leaves a complete season file and all-tracks file.
    // 4. The folders of the renames are synced once: the change is on the disk before the write
    //    reports success. A sync that fails is a failed write.
    // A fault in steps 1 to 4 undoes the renames done, in reverse order and from the second
    // names, and removes the scratch files: the four files are exactly as before.
    // 5. Only then do the second names go, the old backups' last names among them. Their
    //    removal is left to run after the write returns, still under the season lock; a crash
    //    before it leaves scratch names that nothing reads and the next write replaces.
    std::vector<QString> scratch;             // files made here, removed on a fault
    std::vector<std::function<void()>> undos; // what puts back each step done
    const auto removeQuietly = [&fs](const QString& path) {
        try {
            fs.removeFile(path);
        } catch (const RuntimeError&) {
        }
    };
    QStringList folders; // where the renames happen
    try {
        for (Slot& s : slots) {
            scratch.push_back(s.fresh());
            fs.writeFile(s.fresh(), *s.bytes);
            folders << paths::folderOf(s.target) << paths::folderOf(s.backup);
        }
        for (Slot& s : slots) {
            if (s.liveExisted) {
                scratch.push_back(s.undoLive());
                fs.linkOrCopyFile(s.target, s.undoLive());
                scratch.push_back(s.nextBackup());
                // The backup of a link's target is a copy: a second name of a file that other
                // programs may reach through the link could change with it.
                if (s.target != s.live)
                    fs.copyFile(s.target, s.nextBackup());
                else
                    fs.linkOrCopyFile(s.target, s.nextBackup());
            }
            if (s.backupExisted) {
                scratch.push_back(s.undoBackup());
                fs.linkOrCopyFile(s.backup, s.undoBackup());
            }
        }
        for (Slot& s : slots) {
            if (s.liveExisted)
                fs.renameFile(s.nextBackup(), s.backup);
            else if (s.backupExisted)
                fs.removeFile(s.backup);
            else
                continue;
            undos.push_back([&fs, &s, removeQuietly] {
                if (s.backupExisted)
                    fs.renameFile(s.undoBackup(), s.backup);
                else
                    removeQuietly(s.backup);
            });
        }
        for (Slot& s : slots) {
            fs.renameFile(s.fresh(), s.target);
            undos.push_back([&fs, &s, removeQuietly] {
                if (s.liveExisted)
                    fs.renameFile(s.undoLive(), s.target);
                else
                    removeQuietly(s.target);
            });
        }
        folders.removeDuplicates();
        for (const QString& folder : folders)
            fs.syncFolder(folder);
    } catch (const RuntimeError&) {
        for (auto it = undos.rbegin(); it != undos.rend(); ++it) {
            try {
                (*it)();
            } catch (const RuntimeError&) {
            }
        }
        for (const QString& path : scratch)
            if (fs.fileExists(path))
                removeQuietly(path);
        throw;
    }
    // The new files and the next backups have taken their places; what is left of the scratch
    // files are the second names.
    QStringList secondNames;
    for (const Slot& s : slots) {
        if (s.liveExisted)
            secondNames << s.undoLive();
        if (s.backupExisted)
            secondNames << s.undoBackup();
    }
    // What is on disk now is what was written: nobody else writes while the lock is held.
    SeasonVersion written;
    written.season = {fs.fileStamp(slots[0].live), season};
    written.allTracks = {fs.fileStamp(slots[1].live), allTracks};
    written.known = true;
    written.historyProblem = keepReplacedPair(fs, gameDir, secondNames);
    fs.removeLater(secondNames, lock);
    return written;
}

} // namespace gk
