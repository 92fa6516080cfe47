// SPDX-License-Identifier: GPL-3.0-or-later
// The history of the season: the pairs that the last writes replaced, in seasons\history.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace gk {

class FileSystem;

// At most this many replaced pairs are kept; a write beyond them drops the oldest.
inline constexpr int kHistoryPairs = 20;

// The clock that names the pairs: the local time; tests set their own (null: the real one).
void setHistoryClock(std::function<QDateTime()> clock);

// The folder seasons\history.
QString historyFolder(const QString& gameDir);

// One pair of the history by its name ("2026-12-06 14-03-22", with " (2)" and on for further
// writes in the same second): 67season <name>.ini and 67AllTracks <name>.ini.
struct HistoryName {
    QString name;
    QDateTime when;
    int counter = 1;
    QString seasonPath;
    QString allTracksPath;
};

// Our pairs in the history folder, newest first; a pair counts when either of its files is
// there. Names that are not ours are not counted. Throws RuntimeError when the folder cannot be
// listed; no folder is an empty history.
std::vector<HistoryName> historyNames(FileSystem& fs, const QString& gameDir);

// Called under the season lock right after a write replaced the season files: keeps the pair
// it replaced (now 67season_previous.bak and 67AllTracks_previous.bak) in the history as second
// names of those files, and adds the files of the oldest pairs beyond kHistoryPairs to
// `dropped`, for the caller to remove (a pair's files may be the last names of megabytes of
// data, whose freeing need not hold up the write). Never throws: returns why the pair could not
// be kept ("" when it was, or when the write replaced no complete pair).
QString keepReplacedPair(FileSystem& fs, const QString& gameDir, QStringList& dropped);

} // namespace gk
