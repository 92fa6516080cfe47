// SPDX-License-Identifier: GPL-3.0-or-later
// The track details read so far, per folder, read again when the folder's files change.
#pragma once

#include "track_details.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <mutex>

namespace gk {

// The details of the track folders of one game folder read so far, each with the stamps of its
// read. One thread may refresh folders while another looks details up: every access takes the
// cache's lock, and files are read outside it.
class TrackDetailsCache {
  public:
    struct Entry {
        TrackDetails details;
        DetailStamps stamps;
        QString iniName;    // as found on disk, for the next stamp
        QString foldedName; // the full name without case, for searches
        qint64 checkedMs = 0;
    };

    // Details as the lists name their folders: by the exact bytes of the folder name.
    class Lookup {
      public:
        explicit Lookup(const TrackDetailsCache& cache) : lock_(cache.mutex_), cache_(cache) {}
        // Null when the folder has not been read.
        const Entry* find(const QByteArray& folder) const {
            const auto it = cache_.entries_.constFind(folder);
            return it == cache_.entries_.constEnd() ? nullptr : &*it;
        }
        const QString& gameDir() const { return cache_.gameDir_; }
        // Raised whenever an entry is read anew or the cache is emptied.
        uint64_t version() const { return cache_.version_; }

      private:
        std::unique_lock<std::mutex> lock_;
        const TrackDetailsCache& cache_;
    };

    // Holds the lock until the lookup is gone: keep it short.
    Lookup lookup() const { return Lookup(*this); }

    // Brings one folder up to date. Nothing happens when it was checked less than `maxAgeMs`
    // ago; otherwise its stamps are taken, and it is read again when they differ from those of
    // its last read (a folder never read is read). A game folder other than the cache's
    // empties the cache first. True when the folder's entry was read anew. `foldedName`, when
    // given, receives the entry's full name without case (empty when the details were dropped).
    bool refresh(FileSystem& files, const QString& gameDir, const QByteArray& folder,
                 qint64 maxAgeMs, QString* foldedName = nullptr);
    // Makes room for `folders` entries in all (cheap while the cache is empty).
    void reserve(qsizetype folders) {
        const std::lock_guard lock(mutex_);
        if (entries_.capacity() < folders)
            entries_.reserve(folders);
    }
    // True when the folder was read and checked less than `maxAgeMs` ago.
    bool fresh(const QString& gameDir, const QByteArray& folder, qint64 maxAgeMs) const;

  private:
    // Whether the cache holds details of this game folder; empties it when not. Under the lock.
    void useGameDir(const QString& gameDir);

    mutable std::mutex mutex_;
    QString gameDir_;
    QHash<QByteArray, Entry> entries_;
    uint64_t version_ = 0;
};

// Milliseconds of a clock that only goes forward.
qint64 steadyMs();

} // namespace gk
