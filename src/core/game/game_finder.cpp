// SPDX-License-Identifier: GPL-3.0-or-later
// The game folders a new user most likely has, found in the usual places without walking a disk.
#include "game_finder.h"

#include "game_paths.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QtGlobal>

namespace gk {
namespace {

// A folder with more entries than this is not read further: the places searched hold a few
// prefixes or programs each, and a huge folder must not slow the first start down.
constexpr size_t kMaxEntries = 512;

// The folders below drive C: (or a drive's root) where GPL installs, most usual first;
// "*" stands for every entry whose name begins with the text before it ("Program Files*").
const char* const kGameFolders[] = {
    "Sierra/GPL",         "GPL",         "Games/Sierra/GPL",
    "Games/GPL",          "Papyrus/GPL", "Program Files*/Sierra/GPL",
    "Program Files*/GPL",
};

// Paths are joined as the system writes them.
#ifdef Q_OS_WIN
constexpr QChar kSeparator = u'\\';
#else
constexpr QChar kSeparator = u'/';
#endif

// Folders of Wine front ends below the home folder whose every entry is a prefix (the second
// member: the prefix's own folder below the entry, for Steam's compatibility data).
const std::pair<const char*, const char*> kPrefixContainers[] = {
    {".local/share/wineprefixes", ""},
    {".PlayOnLinux/wineprefix", ""},
    {"Games", ""}, // Lutris
    {".local/share/bottles/bottles", ""},
    {".var/app/com.usebottles.bottles/data/bottles/bottles", ""},
    {".cxoffice", ""},
    {".steam/steam/steamapps/compatdata", "pfx"},
    {".local/share/Steam/steamapps/compatdata", "pfx"},
};

// The folders listed during one search, each read once however many patterns pass through it.
class Listings {
  public:
    explicit Listings(FileSystem& fs) : fs_(fs) {}
    const std::vector<FolderEntry>& of(const QString& folder) {
        auto it = cache_.find(folder);
        if (it == cache_.end()) {
            std::vector<FolderEntry> entries;
            try {
                entries = fs_.listFolder(folder);
            } catch (const RuntimeError&) {
            }
            if (entries.size() > kMaxEntries)
                entries.resize(kMaxEntries);
            it = cache_.insert(folder, std::move(entries));
        }
        return *it;
    }

  private:
    FileSystem& fs_;
    QHash<QString, std::vector<FolderEntry>> cache_;
};

// The subfolders of `folder` matching a pattern without regard to case (a trailing "*": every
// name that begins so), in the spelling on disk.
QStringList subfolders(Listings& listings, const QString& folder, const QString& pattern) {
    const bool prefix = pattern.endsWith(QLatin1Char('*'));
    const QString key = prefix ? pattern.chopped(1) : pattern;
    QStringList found;
    for (const FolderEntry& e : listings.of(folder)) {
        if (!e.isDirectory)
            continue;
        if (prefix ? e.name.startsWith(key, Qt::CaseInsensitive)
                   : e.name.compare(key, Qt::CaseInsensitive) == 0)
            found << folder + kSeparator + e.name;
    }
    found.sort(Qt::CaseInsensitive);
    return found;
}

// Every folder a path pattern ("Program Files*/Sierra/GPL") names below `root`.
QStringList expand(Listings& listings, const QString& root, const QString& pattern) {
    QStringList level{root};
    for (const QString& part : pattern.split(QLatin1Char('/'))) {
        QStringList next;
        for (const QString& folder : level)
            next << subfolders(listings, folder, part);
        level = next;
    }
    return level;
}

bool isGameFolder(FileSystem& fs, const QString& folder) {
    return fs.fileExists(paths::gplExe(folder)) && fs.fileExists(paths::driverIni(folder));
}

} // namespace

GameSearchPlaces systemGameSearchPlaces() {
    GameSearchPlaces places;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        places.drives << drive.absolutePath().left(2);
#else
    places.home = QDir::homePath();
    places.winePrefix = qEnvironmentVariable("WINEPREFIX");
#endif
    return places;
}

QStringList findGameFolders(FileSystem& fs, const GameSearchPlaces& places, int limit) {
    // The roots that stand for a drive C: (or a Windows drive), most likely first.
    Listings listings(fs);
    QStringList roots;
    for (const QString& drive : places.drives)
        roots << drive;
    const auto addPrefix = [&roots](const QString& prefix) {
        if (!prefix.isEmpty())
            roots << prefix + QStringLiteral("/drive_c");
    };
    addPrefix(places.winePrefix);
    if (!places.home.isEmpty()) {
        addPrefix(places.home + QStringLiteral("/.wine"));
        for (const auto& [container, inner] : kPrefixContainers) {
            const QString folder = places.home + QLatin1Char('/') + QLatin1String(container);
            for (const FolderEntry& e : listings.of(folder)) {
                if (!e.isDirectory)
                    continue;
                QString prefix = folder + QLatin1Char('/') + e.name;
                if (*inner)
                    prefix += QLatin1Char('/') + QLatin1String(inner);
                addPrefix(prefix);
            }
        }
    }
    roots.removeDuplicates();

    QStringList found;
    for (const QString& root : roots) {
        for (const char* pattern : kGameFolders) {
            for (const QString& folder : expand(listings, root, QLatin1String(pattern))) {
                if (found.size() >= limit)
                    return found;
                if (!found.contains(folder) && isGameFolder(fs, folder))
                    found << folder;
            }
        }
    }
    return found;
}

} // namespace gk
