// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the season files into the lists, and the inactive list's match.
#include "loader.h"

#include "game/game_paths.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "season_file.h"
#include "season_guard.h"

#include <QHash>

namespace gk {

bool trackInstalled(FileSystem& fs, const QString& gameDir, const QString& folder) {
    return paths::isSingleName(folder) && fs.fileExists(paths::trackIni(gameDir, folder));
}

QByteArray rowText(FileSystem& fs, const QString& gameDir, const QByteArray& folder,
                   InstalledTracks& installed) {
    auto it = installed.find(folder);
    if (it == installed.end())
        it = installed.insert(folder, trackInstalled(fs, gameDir, decodeGameText(folder)));
    return it.value() ? folder : markedMissing(folder);
}

void readSeasonFile(FileSystem& fs, const QString& gameDir, const QString& path, TrackList& list,
                    InstalledTracks& installed, FileVersion* version) {
    if (version)
        *version = readVersion(fs, path);
    const QByteArray data = version ? version->bytes : fs.readFile(path);
    scanEvents(
        data,
        [&](EventEntries&& event, QByteArray&& folder) {
            list.addRow(rowText(fs, gameDir, folder, installed), std::move(event));
        },
        paths::fileName(path));
}

namespace {

// A row's text and seven entries as one key, each part preceded by its length.
QByteArray eventKey(const TrackRow& row) {
    QByteArray key;
    const auto add = [&key](const QByteArray& part) {
        const auto n = static_cast<quint32>(part.size());
        key.append(reinterpret_cast<const char*>(&n), sizeof n);
        key.append(part);
    };
    add(row.text);
    for (const QByteArray& line : row.entries.entry)
        add(line);
    return key;
}

} // namespace

void buildInactiveList(const TrackList& all, const TrackList& active, TrackList& inactive) {
    // The active rows still unmatched: by text and entries, and by text alone.
    QHash<QByteArray, int> byEvent;
    QHash<QByteArray, int> byText;
    byText.reserve(active.count());
    for (const TrackRow& row : active.rows) {
        ++byText[row.text];
        ++byEvent[eventKey(row)];
    }
    const size_t n = all.rows.size();
    std::vector<uint8_t> matched(n, 0);
    size_t left = n;
    // First the events that are the same event, then those of the same track folder.
    for (size_t r = 0; r < n && !byEvent.isEmpty(); ++r) {
        auto it = byEvent.find(eventKey(all.rows[r]));
        if (it == byEvent.end())
            continue;
        matched[r] = 1;
        --left;
        --byText[all.rows[r].text];
        if (--it.value() == 0)
            byEvent.erase(it);
    }
    for (size_t r = 0; r < n; ++r) {
        if (matched[r])
            continue;
        auto it = byText.find(all.rows[r].text);
        if (it != byText.end() && it.value() > 0) {
            --it.value();
            matched[r] = 1;
            --left;
        }
    }
    // What is left is inactive: its rows are made room for at once.
    inactive.reserve(inactive.rows.size() + left);
    for (size_t r = 0; r < n; ++r)
        if (!matched[r])
            inactive.addRow(all.rows[r].text, all.rows[r].entries);
}

void makeFirstRunCopies(FileSystem& fs, const QString& gameDir) {
    if (fs.fileExists(paths::allTracksIni(gameDir)))
        return;
    fs.copyFile(paths::seasonIni(gameDir), paths::allTracksIni(gameDir));
    if (!fs.fileExists(paths::standardSet(gameDir)))
        fs.copyFile(paths::seasonIni(gameDir), paths::standardSet(gameDir));
}

} // namespace gk
