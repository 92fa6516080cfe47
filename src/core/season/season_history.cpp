// SPDX-License-Identifier: GPL-3.0-or-later
// The history of the season: the pairs that the last writes replaced, in seasons\history.
#include "season_history.h"

#include "game/game_paths.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>

namespace gk {
namespace {

std::function<QDateTime()>& clockHook() {
    static std::function<QDateTime()> clock;
    return clock;
}

QDateTime now() {
    return clockHook() ? clockHook()() : QDateTime::currentDateTime();
}

const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH-mm-ss");

// "67season 2026-12-06 14-03-22.ini", "67AllTracks 2026-12-06 14-03-22 (2).ini".
const QRegularExpression& ourName() {
    static const QRegularExpression re(
        QStringLiteral("^(67season|67AllTracks) (\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d)"
                       "(?: \\(([1-9]\\d{0,5})\\))?\\.ini$"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString pairName(const QDateTime& when, int counter) {
    QString name = when.toString(kStampFormat);
    if (counter > 1)
        name += QStringLiteral(" (%1)").arg(counter);
    return name;
}

HistoryName named(const QString& gameDir, const QDateTime& when, int counter) {
    HistoryName h{pairName(when, counter), when, counter, {}, {}};
    h.seasonPath = historyFolder(gameDir) + QStringLiteral("\\67season %1.ini").arg(h.name);
    h.allTracksPath = historyFolder(gameDir) + QStringLiteral("\\67AllTracks %1.ini").arg(h.name);
    return h;
}

// What the seasons folder holds under the name "history".
enum class HistoryEntry { None, Folder, File };

HistoryEntry historyEntry(FileSystem& fs, const QString& gameDir) {
    for (const FolderEntry& e : fs.listFolder(paths::seasonsFolder(gameDir)))
        if (e.name.compare(QStringLiteral("history"), Qt::CaseInsensitive) == 0)
            return e.isDirectory ? HistoryEntry::Folder : HistoryEntry::File;
    return HistoryEntry::None;
}

// Our pairs in the history folder, newest first.
std::vector<HistoryName> listPairs(FileSystem& fs, const QString& gameDir) {
    // The stamps in the names sort as the times they stand for.
    std::map<std::pair<QString, int>, QDateTime> pairs;
    for (const FolderEntry& e : fs.listFolder(historyFolder(gameDir))) {
        const QRegularExpressionMatch m = ourName().match(e.name);
        if (!m.hasMatch())
            continue;
        const QString stamp = m.captured(2);
        const auto number = [&stamp](qsizetype from, qsizetype length) {
            return QStringView(stamp).sliced(from, length).toInt();
        };
        const QDateTime when(QDate(number(0, 4), number(5, 2), number(8, 2)),
                             QTime(number(11, 2), number(14, 2), number(17, 2)));
        if (!when.isValid())
            continue;
        const int counter = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        pairs.try_emplace({stamp, counter}, when);
    }
    std::vector<HistoryName> newestFirst;
    newestFirst.reserve(pairs.size());
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it)
        newestFirst.push_back(named(gameDir, it->second, it->first.second));
    return newestFirst;
}

} // namespace

void setHistoryClock(std::function<QDateTime()> clock) {
    clockHook() = std::move(clock);
}

QString historyFolder(const QString& gameDir) {
    return paths::seasonsFolder(gameDir) + QStringLiteral("history");
}

std::vector<HistoryName> historyNames(FileSystem& fs, const QString& gameDir) {
    if (historyEntry(fs, gameDir) != HistoryEntry::Folder)
        return {};
    return listPairs(fs, gameDir);
}

QString keepReplacedPair(FileSystem& fs, const QString& gameDir, QStringList& dropped) {
    const QString season = paths::seasonBackup(gameDir);
    const QString allTracks = paths::allTracksBackup(gameDir);
    if (!fs.fileExists(season) || !fs.fileExists(allTracks))
        return {};
    const QString folder = historyFolder(gameDir);
    try {
        const HistoryEntry entry = historyEntry(fs, gameDir);
        if (entry == HistoryEntry::File)
            return QStringLiteral("%1 is a file, not a folder").arg(paths::shown(folder));
        std::vector<HistoryName> pairs;
        if (entry == HistoryEntry::Folder)
            pairs = listPairs(fs, gameDir);
        else
            fs.makeFolder(folder);
        // A clock set back names the pair after the newest one.
        QDateTime when = now();
        when = when.addMSecs(-(when.time().msec()));
        int counter = 1;
        if (!pairs.empty() && pairs.front().when >= when) {
            when = pairs.front().when;
            counter = pairs.front().counter + 1;
        }
        const HistoryName kept = named(gameDir, when, counter);
        fs.linkOrCopyFile(season, kept.seasonPath);
        try {
            fs.linkOrCopyFile(allTracks, kept.allTracksPath);
        } catch (const RuntimeError&) {
            fs.removeFile(kept.seasonPath);
            throw;
        }
        pairs.insert(pairs.begin(), kept);
        for (std::size_t i = kHistoryPairs; i < pairs.size(); ++i)
            dropped << pairs[i].seasonPath << pairs[i].allTracksPath;
    } catch (const RuntimeError& e) {
        return QStringLiteral("%1: %2").arg(paths::shown(folder), e.description());
    }
    return {};
}

} // namespace gk
