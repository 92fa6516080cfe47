// SPDX-License-Identifier: GPL-3.0-or-later
// The track details read so far, per folder, read again when the folder's files change.
#include "track_details_cache.h"

#include "platform/code_page.h"

#include <chrono>

namespace gk {

qint64 steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void TrackDetailsCache::useGameDir(const QString& gameDir) {
    if (gameDir == gameDir_)
        return;
    entries_.clear();
    gameDir_ = gameDir;
    ++version_;
}

bool TrackDetailsCache::fresh(const QString& gameDir, const QByteArray& folder,
                              qint64 maxAgeMs) const {
    const std::lock_guard lock(mutex_);
    const auto it = entries_.constFind(folder);
    return gameDir == gameDir_ && it != entries_.constEnd() &&
           steadyMs() - it->checkedMs < maxAgeMs;
}

bool TrackDetailsCache::refresh(FileSystem& files, const QString& gameDir, const QByteArray& folder,
                                qint64 maxAgeMs, QString* foldedName) {
    QString unused;
    QString& folded = foldedName ? *foldedName : unused;
    std::optional<QString> iniName; // set when the folder was read before
    {
        const std::lock_guard lock(mutex_);
        useGameDir(gameDir);
        const auto it = entries_.constFind(folder);
        if (it != entries_.constEnd()) {
            folded = it->foldedName;
            if (steadyMs() - it->checkedMs < maxAgeMs)
                return false;
            iniName = it->iniName;
        }
    }
    const QString name = decodeGameText(folder);
    if (iniName) {
        const DetailStamps stamps = stampTrackDetails(files, gameDir, name, *iniName);
        const std::lock_guard lock(mutex_);
        const auto it = entries_.find(folder);
        if (gameDir == gameDir_ && it != entries_.end() && it->stamps == stamps) {
            it->checkedMs = steadyMs();
            return false;
        }
    }
    DetailsRead read = readTrackDetails(files, gameDir, name);
    Entry entry{std::move(read.details), read.stamps, std::move(read.iniName), {}, steadyMs()};
    entry.foldedName = entry.details.ini.name.toCaseFolded();
    const std::lock_guard lock(mutex_);
    // Details read for a game folder that is no longer the cache's are dropped.
    if (gameDir != gameDir_) {
        folded.clear();
        return false;
    }
    folded = entry.foldedName;
    entries_.insert(folder, std::move(entry));
    ++version_;
    return true;
}

} // namespace gk
