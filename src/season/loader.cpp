#include "loader.h"

#include "app/game_paths.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "season_file.h"

#include <QSet>

namespace gk {

void readSeasonFile(FileSystem& fs, const QString& gameDir, const QString& path, TrackList& list,
                    std::vector<EventEntries>& entries) {
    const QByteArray data = fs.readFile(path);
    const QString tracksPrefix = paths::tracksFolder(gameDir);
    static const QString trackIniSuffix = QStringLiteral("\\track.ini");
    QString trackIniPath;
    scanEvents(data, [&](EventEntries&& event, QByteArray&& folder) {
        trackIniPath.clear();
        trackIniPath += tracksPrefix;
        trackIniPath += decodeGameText(folder);
        trackIniPath += trackIniSuffix;
        QByteArray row = fs.fileExists(trackIniPath) ? std::move(folder) : "* " + folder;
        list.addRow(std::move(row));
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
