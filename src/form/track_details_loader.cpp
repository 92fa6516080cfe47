// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the track details of both lists in the background, into a cache the handlers look into.
#include "track_details_loader.h"

#include "workspace.h"

namespace gk {

TrackDetailsLoader::TrackDetailsLoader(FileSystem* files) : files_(files) {
    pool_.setMaxThreadCount(1);
}

TrackDetailsLoader::~TrackDetailsLoader() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    pool_.waitForDone();
}

void TrackDetailsLoader::follow(const Workspace& ws) {
    if (!files_ || (ws.strGPLdir == seenDir_ && ws.ListTracks.rowsVersion == seenActive_ &&
                    ws.listNotActive.rowsVersion == seenInactive_))
        return;
    seenDir_ = ws.strGPLdir;
    seenActive_ = ws.ListTracks.rowsVersion;
    seenInactive_ = ws.listNotActive.rowsVersion;
    Job job{ws.strGPLdir, {}, kRecheckMs};
    job.folders.reserve(ws.ListTracks.rows.size() + ws.listNotActive.rows.size());
    for (const TrackList* list : {&ws.ListTracks, &ws.listNotActive})
        for (const QByteArray& row : list->rows)
            job.folders.push_back(withoutMissingMark(row));
    post(std::move(job), false);
}

void TrackDetailsLoader::recheck(const QString& gameDir, const QByteArray& folder) {
    if (files_ && !cache_.fresh(gameDir, folder, kHoverRecheckMs))
        post({gameDir, {folder}, kHoverRecheckMs}, true);
}

void TrackDetailsLoader::post(Job job, bool urgent) {
    const std::lock_guard lock(mutex_);
    if (urgent) {
        urgent_.push_back(std::move(job));
    } else {
        lists_ = std::move(job);
        listsDone_ = 0;
    }
    if (!running_ && !stopping_) {
        running_ = true;
        pool_.start([this] { work(); });
    }
}

bool TrackDetailsLoader::next(QString& gameDir, QByteArray& folder, qint64& maxAgeMs) {
    const std::lock_guard lock(mutex_);
    while (!stopping_ && !urgent_.empty() && urgent_.front().folders.empty())
        urgent_.pop_front();
    Job* job = nullptr;
    if (!stopping_ && !urgent_.empty())
        job = &urgent_.front();
    else if (!stopping_ && listsDone_ < lists_.folders.size())
        job = &lists_;
    if (!job) {
        running_ = false;
        return false;
    }
    gameDir = job->gameDir;
    maxAgeMs = job->maxAgeMs;
    if (job == &lists_) {
        folder = lists_.folders[listsDone_++];
        if (listsDone_ == lists_.folders.size()) {
            lists_.folders = {};
            listsDone_ = 0;
        }
    } else {
        folder = job->folders.back();
        job->folders.pop_back();
    }
    return true;
}

void TrackDetailsLoader::work() {
    QString gameDir;
    QByteArray folder;
    qint64 maxAgeMs = 0;
    while (next(gameDir, folder, maxAgeMs))
        cache_.refresh(*files_, gameDir, folder, maxAgeMs);
}

bool TrackDetailsLoader::waitForIdle(int ms) {
    return pool_.waitForDone(ms);
}

} // namespace gk
