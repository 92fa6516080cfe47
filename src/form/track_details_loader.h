// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the track details of both lists in the background, into a cache the handlers look into.
#pragma once

#include "details/track_details_cache.h"

#include <QByteArray>
#include <QString>
#include <QThreadPool>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace gk {

class FileSystem;
struct Workspace;

// Reads the details (track.ini, mods, picture) of the tracks in the lists on a thread of its
// own, one folder after the other, into a cache that the window's handlers look into without
// ever waiting for a file. A folder is read once and read again only when its files changed.
class TrackDetailsLoader {
  public:
    // A folder read or checked within this time is not checked again when the lists change.
    static constexpr qint64 kRecheckMs = 10000;
    // A folder the pointer rests on is checked again after this time.
    static constexpr qint64 kHoverRecheckMs = 1000;
    // The lists' folders are read from this time after the lists changed on: by then the
    // window has drawn them, and the reading takes nothing from that frame. A folder the
    // pointer rests on is read at once.
    static constexpr qint64 kListsAfterMs = 300;

    // `files` serves the background reading alone (the window's own file system object is
    // not shared between threads); without it nothing is read.
    explicit TrackDetailsLoader(FileSystem* files);
    // Stops the reading after the folder it is at.
    ~TrackDetailsLoader();
    TrackDetailsLoader(const TrackDetailsLoader&) = delete;
    TrackDetailsLoader& operator=(const TrackDetailsLoader&) = delete;

    // Starts reading the folders of both lists that are not read yet or were checked more than
    // kRecheckMs ago, kListsAfterMs from now; returns at once. Nothing happens while the lists and
    // the game folder are what they were at the last call; a new call replaces the reading of the
    // last one.
    void follow(const Workspace& ws);
    // Checks one folder first, ahead of the others, unless it was checked less than
    // kHoverRecheckMs ago.
    void recheck(const QString& gameDir, const QByteArray& folder);
    TrackDetailsCache::Lookup lookup() const { return cache_.lookup(); }
    // False when it has no file system to read with.
    bool reads() const { return files_ != nullptr; }
    // Waits up to `ms` for the reading to end; true when nothing is left to read.
    bool waitForIdle(int ms);

    // The full names of a list's rows, without case, one after the other in one text: what a
    // search scans in the order of the rows, without a look-up per row. The background thread
    // gathers them as it goes through the lists; a search makes them anew only when the rows,
    // the game folder or the details read have changed since.
    struct RowNames {
        QString gameDir;
        uint64_t rowsVersion = ~uint64_t{0};
        uint64_t detailsVersion = ~uint64_t{0};
        QString names;
        std::vector<qsizetype> ends; // where each row's name ends in `names`
        // Each row's folder as the names were gathered for it, sharing the row text's bytes:
        // what a row's nameSlot is checked against.
        std::vector<QByteArray> folders;
    };
    // Of the active list (0) or the inactive one (1), the newest the background thread
    // gathered taken in; for the window's thread alone.
    RowNames& rowNames(size_t list);

  private:
    struct Job {
        QString gameDir;
        std::vector<QByteArray> folders;
        qint64 maxAgeMs = 0;
        // The lists' job: which follow() made it, the rows of the active list at its start, and
        // the lists' versions.
        uint64_t generation = 0;
        qint64 startMs = 0;
        size_t rows = 0; // of both lists
        size_t activeRows = 0;
        std::array<uint64_t, 2> rowsVersions{};
    };
    // One folder to check; of the lists' job, the folder's row among those of both lists.
    struct Task {
        QString gameDir;
        QByteArray folder;
        qint64 maxAgeMs = 0;
        const Job* lists = nullptr; // the lists' job without its folders
        size_t row = 0;
    };
    void post(Job job, bool urgent);
    // The background thread's loop: the urgent folders first, then the lists'.
    void work();
    // The next folder to check, or false when nothing is left.
    bool next(Task& task, Job& listsJob);
    // Hands the names gathered for the lists' job to the window's thread.
    void publish(const Job& job, std::array<RowNames, 2>&& names);

    FileSystem* files_;
    TrackDetailsCache cache_;
    std::mutex mutex_; // guards the jobs, the flags and the published names
    std::condition_variable jobsChanged_;
    std::deque<Job> urgent_;
    Job lists_;
    size_t listsDone_ = 0;
    uint64_t generation_ = 0;
    bool running_ = false;
    bool stopping_ = false;
    std::array<std::optional<RowNames>, 2> published_;
    // What follow() last saw.
    QString seenDir_;
    uint64_t seenActive_ = ~uint64_t{0};
    uint64_t seenInactive_ = ~uint64_t{0};
    std::array<RowNames, 2> rowNames_;
    QThreadPool pool_;
};

} // namespace gk
