// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the track details of both lists in the background, into a cache the handlers look into.
#include "track_details_loader.h"

#include "workspace.h"

#include <utility>

namespace gk {

TrackDetailsLoader::TrackDetailsLoader(FileSystem* files) : files_(files) {
    pool_.setMaxThreadCount(1);
}

TrackDetailsLoader::~TrackDetailsLoader() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    jobsChanged_.notify_all();
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
    job.activeRows = ws.ListTracks.rows.size();
    job.rowsVersions = {seenActive_, seenInactive_};
    job.folders.reserve(ws.ListTracks.rows.size() + ws.listNotActive.rows.size());
    for (const TrackList* list : {&ws.ListTracks, &ws.listNotActive})
        for (const TrackRow& row : list->rows)
            job.folders.push_back(withoutMissingMark(row.text));
    // Room for every folder now, so that no insert moves the whole table while the window
    // waits for the cache.
    cache_.reserve(static_cast<qsizetype>(job.folders.size()));
    post(std::move(job), false);
}

void TrackDetailsLoader::recheck(const QString& gameDir, const QByteArray& folder) {
    if (files_ && !cache_.fresh(gameDir, folder, kHoverRecheckMs))
        post({gameDir, {folder}, kHoverRecheckMs}, true);
}

void TrackDetailsLoader::post(Job job, bool urgent) {
    {
        const std::lock_guard lock(mutex_);
        if (urgent) {
            urgent_.push_back(std::move(job));
        } else {
            job.generation = ++generation_;
            job.startMs = steadyMs() + kListsAfterMs;
            lists_ = std::move(job);
            listsDone_ = 0;
        }
        if (!running_ && !stopping_) {
            running_ = true;
            pool_.start([this] { work(); });
        }
    }
    jobsChanged_.notify_all();
}

bool TrackDetailsLoader::next(Task& task, Job& listsJob) {
    std::unique_lock lock(mutex_);
    for (;;) {
        while (!stopping_ && !urgent_.empty() && urgent_.front().folders.empty())
            urgent_.pop_front();
        if (!stopping_ && !urgent_.empty()) {
            Job& job = urgent_.front();
            task = {job.gameDir, job.folders.back(), job.maxAgeMs};
            job.folders.pop_back();
            return true;
        }
        if (stopping_ || listsDone_ >= lists_.folders.size()) {
            running_ = false;
            return false;
        }
        // Until the lists' time comes only an urgent folder, a new job or the end wakes it.
        const qint64 wait = lists_.startMs - steadyMs();
        if (wait <= 0)
            break;
        jobsChanged_.wait_for(lock, std::chrono::milliseconds(wait));
    }
    if (listsJob.generation != lists_.generation) {
        // All but the folders.
        listsJob = Job{lists_.gameDir, {}, lists_.maxAgeMs};
        listsJob.generation = lists_.generation;
        listsJob.rows = lists_.folders.size();
        listsJob.activeRows = lists_.activeRows;
        listsJob.rowsVersions = lists_.rowsVersions;
    }
    task = {lists_.gameDir, lists_.folders[listsDone_], lists_.maxAgeMs, &listsJob, listsDone_};
    if (++listsDone_ == lists_.folders.size()) {
        lists_.folders = {};
        listsDone_ = 0;
    }
    return true;
}

void TrackDetailsLoader::work() {
    Task task;
    Job listsJob;
    // The names of the lists' rows, gathered as their folders are checked. Only this thread
    // changes the cache: a folder read anew out of turn may have changed a name gathered
    // before, and then these names are not handed on.
    std::array<RowNames, 2> names;
    uint64_t gathering = 0;
    bool stale = false;
    while (next(task, listsJob)) {
        QString name;
        const bool changed =
            cache_.refresh(*files_, task.gameDir, task.folder, task.maxAgeMs, &name);
        if (!task.lists) {
            stale = stale || changed;
            continue;
        }
        const Job& job = *task.lists;
        if (gathering != job.generation) {
            gathering = job.generation;
            names = {};
            stale = false;
        }
        // The rows of one job come in their order, each once.
        RowNames& list = names[task.row < job.activeRows ? 0 : 1];
        list.names += name;
        list.ends.push_back(list.names.size());
        list.folders.push_back(task.folder);
        if (task.row + 1 == job.rows && !stale)
            publish(job, std::exchange(names, {}));
    }
}

void TrackDetailsLoader::publish(const Job& job, std::array<RowNames, 2>&& names) {
    const uint64_t version = cache_.lookup().version();
    const std::lock_guard lock(mutex_);
    for (size_t list = 0; list < names.size(); ++list) {
        names[list].gameDir = job.gameDir;
        names[list].rowsVersion = job.rowsVersions[list];
        names[list].detailsVersion = version;
        published_[list] = std::move(names[list]);
    }
}

TrackDetailsLoader::RowNames& TrackDetailsLoader::rowNames(size_t list) {
    std::optional<RowNames> published;
    {
        const std::lock_guard lock(mutex_);
        published.swap(published_.at(list));
    }
    if (published)
        rowNames_.at(list) = std::move(*published);
    return rowNames_.at(list);
}

bool TrackDetailsLoader::waitForIdle(int ms) {
    return pool_.waitForDone(ms);
}

} // namespace gk
