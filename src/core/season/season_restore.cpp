// SPDX-License-Identifier: GPL-3.0-or-later
// Earlier seasons: the backups and the history as pairs to restore, and their differences.
#include "season_restore.h"

#include "game/game_paths.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "season_file.h"
#include "season_history.h"
#include "season_replace.h"

#include <QHash>
#include <QSet>

namespace gk {
namespace {

// Counts the events of a season file; with `folders`, also lists their folders in file order,
// in lower case. Throws RuntimeError for a file that is no season file.
int scanFolders(const QByteArray& data, const QString& name, QByteArrayList* folders) {
    int count = 0;
    scanEventFolders(
        data,
        [&](QByteArrayView folder) {
            ++count;
            if (folders)
                folders->push_back(folder.toByteArray().toLower());
        },
        name);
    return count;
}

// Names of a folder's entries that are folders, and of those that are files, case folded.
struct Listing {
    QSet<QString> folders;
    QSet<QString> files;
};
Listing listing(FileSystem& fs, const QString& folder) {
    Listing l;
    try {
        for (const FolderEntry& e : fs.listFolder(folder))
            (e.isDirectory ? l.folders : l.files).insert(e.name.toCaseFolded());
    } catch (const RuntimeError&) {
    }
    return l;
}

// Why the file cannot be read as a season file ("" when it can), and its events' folders.
QString readPairFile(FileSystem& fs, const Listing& where, const QString& path, int& count,
                     QByteArrayList* folders = nullptr) {
    const QString name = paths::fileName(path);
    if (where.folders.contains(name.toCaseFolded()))
        return QStringLiteral("%1 is a folder").arg(name);
    if (!where.files.contains(name.toCaseFolded()))
        return QStringLiteral("%1 is missing").arg(name);
    QByteArray data;
    try {
        data = fs.readFile(path);
    } catch (const RuntimeError& e) {
        return QStringLiteral("%1: %2").arg(name, e.description());
    }
    // A fault of the scan names the file itself.
    try {
        count = scanFolders(data, name, folders);
    } catch (const RuntimeError& e) {
        return e.description();
    }
    return {};
}

// Each folder's first place in a season, by folder.
using FirstPlaces = QHash<QByteArray, int>;

// The present season's active folders (none when it cannot be read), read once for all pairs:
// each folder's first place, and the folders at their first places in order.
struct Present {
    FirstPlaces first;
    QByteArrayList unique;
};
Present presentSeason(FileSystem& fs, const QString& gameDir) {
    QByteArrayList folders;
    try {
        scanFolders(fs.readFile(paths::seasonIni(gameDir)), QStringLiteral("67season.ini"),
                    &folders);
    } catch (const RuntimeError&) {
        folders.clear();
    }
    Present present;
    present.first.reserve(folders.size());
    for (const QByteArray& folder : folders)
        if (!present.first.contains(folder)) {
            present.first.insert(folder, static_cast<int>(present.unique.size()));
            present.unique.push_back(folder);
        }
    return present;
}

void fill(RestorablePair& pair, FileSystem& fs, const Listing& where, const Present& present) {
    QByteArrayList active;
    pair.problem = readPairFile(fs, where, pair.seasonPath, pair.activeCount, &active);
    const QString allProblem = readPairFile(fs, where, pair.allTracksPath, pair.allTracksCount);
    if (pair.problem.isEmpty())
        pair.problem = allProblem;
    if (!pair.usable())
        return;
    // One pass over the pair's folders at their first places: those the present season lacks
    // come back; those it has keep their order when their places in it only go up.
    QSet<QByteArray> seen;
    seen.reserve(active.size());
    int lastShared = -1;
    for (const QByteArray& folder : active) {
        const qsizetype before = seen.size();
        seen.insert(folder);
        if (seen.size() == before)
            continue;
        const auto at = present.first.constFind(folder);
        if (at == present.first.constEnd()) {
            pair.comeBack.push_back(folder);
            continue;
        }
        if (*at < lastShared)
            pair.orderChanged = true;
        lastShared = *at;
    }
    for (const QByteArray& folder : present.unique)
        if (!seen.contains(folder))
            pair.go.push_back(folder);
}

RestorablePair previousPair(FileSystem& fs, const QString& gameDir) {
    RestorablePair p;
    p.name = previousPairName();
    p.seasonPath = paths::seasonBackup(gameDir);
    p.allTracksPath = paths::allTracksBackup(gameDir);
    const FileStamp stamp = fs.fileStamp(p.seasonPath);
    if (stamp.exists)
        p.when = QDateTime::fromMSecsSinceEpoch(stamp.modifiedNs / 1000000);
    return p;
}

// The history's pairs; none when it cannot be listed.
std::vector<HistoryName> historyOrNone(FileSystem& fs, const QString& gameDir) {
    try {
        return historyNames(fs, gameDir);
    } catch (const RuntimeError&) {
        return {};
    }
}

RestorablePair historyPair(const HistoryName& h) {
    RestorablePair p;
    p.name = h.name;
    p.when = h.when;
    p.seasonPath = h.seasonPath;
    p.allTracksPath = h.allTracksPath;
    return p;
}

} // namespace

std::vector<RestorablePair> restorablePairs(FileSystem& fs, const QString& gameDir) {
    const Present present = presentSeason(fs, gameDir);
    std::vector<RestorablePair> pairs;
    pairs.push_back(previousPair(fs, gameDir));
    fill(pairs.back(), fs, listing(fs, paths::seasonsFolder(gameDir)), present);
    const Listing history = listing(fs, historyFolder(gameDir));
    for (const HistoryName& h : historyOrNone(fs, gameDir)) {
        pairs.push_back(historyPair(h));
        fill(pairs.back(), fs, history, present);
    }
    return pairs;
}

RestorablePair restorablePair(FileSystem& fs, const QString& gameDir, const QString& name) {
    const Present present = presentSeason(fs, gameDir);
    if (name.compare(previousPairName(), Qt::CaseInsensitive) == 0) {
        RestorablePair p = previousPair(fs, gameDir);
        fill(p, fs, listing(fs, paths::seasonsFolder(gameDir)), present);
        return p;
    }
    for (const HistoryName& h : historyOrNone(fs, gameDir))
        if (h.name == name) {
            RestorablePair p = historyPair(h);
            fill(p, fs, listing(fs, historyFolder(gameDir)), present);
            return p;
        }
    RestorablePair none;
    none.name = name;
    none.problem = QStringLiteral("There is no earlier season named \"%1\".").arg(name);
    return none;
}

SeasonVersion restoreSeasonPair(FileSystem& fs, const QString& gameDir, const QString& name,
                                const SeasonVersion* expected) {
    // Read and checked under the lock that the write takes again: no writer comes between.
    const std::shared_ptr<void> lock = lockSeason(fs, gameDir);
    const RestorablePair pair = restorablePair(fs, gameDir, name);
    if (!pair.usable())
        throw RuntimeError(ErrorCode::FileNotFound, pair.problem);
    const QByteArray season = fs.readFile(pair.seasonPath);
    const QByteArray allTracks = fs.readFile(pair.allTracksPath);
    return replaceSeasonFiles(fs, gameDir, season, allTracks, expected);
}

} // namespace gk
