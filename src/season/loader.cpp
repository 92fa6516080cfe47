#include "loader.h"

#include "app/game_paths.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "season_file.h"

#include <QSet>

namespace gk {

QByteArray rowText(FileSystem& fs, const QString& gameDir, const QByteArray& folder,
                   InstalledTracks& installed) {
    auto it = installed.find(folder);
    if (it == installed.end())
        it = installed.insert(folder,
                              fs.fileExists(paths::trackIni(gameDir, decodeGameText(folder))));
    return it.value() ? folder : "* " + folder;
}

void readSeasonFile(FileSystem& fs, const QString& gameDir, const QString& path, TrackList& list,
                    std::vector<EventEntries>& entries, InstalledTracks& installed) {
    const QByteArray data = fs.readFile(path);
    scanEvents(data, [&](EventEntries&& event, QByteArray&& folder) {
        list.addRow(rowText(fs, gameDir, folder, installed));
        entries.push_back(std::move(event));
    });
}

void buildInactiveList(const TrackList& all, const std::vector<EventEntries>& allEntries,
                       const TrackList& active, TrackList& inactive,
                       std::vector<EventEntries>& inactiveEntries) {
    QSet<QByteArray> activeRows;
    activeRows.reserve(active.count());
    for (const QByteArray& row : active.rows)
        activeRows.insert(row);
    for (size_t r = 0; r < all.rows.size(); ++r) {
        if (activeRows.contains(all.rows[r]))
            continue;
        inactive.addRow(all.rows[r]);
        inactiveEntries.push_back(allEntries.at(r));
    }
}

void makeFirstRunCopies(FileSystem& fs, const QString& gameDir) {
    if (fs.fileExists(paths::allTracksIni(gameDir)))
        return;
    fs.copyFile(paths::seasonIni(gameDir), paths::allTracksIni(gameDir));
    if (!fs.fileExists(paths::standardSet(gameDir)))
        fs.copyFile(paths::seasonIni(gameDir), paths::standardSet(gameDir));
}

} // namespace gk
