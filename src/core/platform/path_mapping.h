// SPDX-License-Identifier: GPL-3.0-or-later
// Game paths in the Windows form made native: separators, names matched without regard to case.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace gk {

// What mapping a game path asks of the file system.
struct NameLookup {
    // Whether the native path exists as written.
    std::function<bool(const QString& native)> exists;
    // The entry of the native folder (empty: the current folder) whose name equals `name`
    // without regard to case; empty when there is none.
    std::function<QString(const QString& folder, const QString& name)> spelling;
};

// The game path with "/" for every "\".
QString withSlashes(const QString& gamePath);

// The native path of a game path on a system whose names differ by case (a Wine installation
// may hold "Seasons" or "67alltracks.ini"): "\" becomes "/", and each component that does not
// exist as written takes the spelling of an entry of its folder that equals it without regard
// to case. So a new file reuses the spelling of an existing one instead of making a twin that
// differs only in case. Below a component found in neither spelling nothing is looked up (it
// cannot exist); "." and ".." stay as written, and a doubled separator becomes one.
QString nativePathOf(const QString& gamePath, const NameLookup& lookup);

// The entries of one folder by their names folded to one case. Where two entries differ only
// in case, the one listed last is found.
class FoldedNames {
  public:
    FoldedNames() = default;
    explicit FoldedNames(const QStringList& entries);
    // The entry equal to `name` without regard to case; empty when there is none.
    QString spelling(const QString& name) const;

  private:
    QHash<QString, QString> byFolded_;
};

// Folder entries whose names are not UTF-8: each is shown by its bytes read in the game's code
// page, and a native path through it must reach the real bytes again.
class RawNames {
  public:
    // `shown`: the native path as listed (the entry's name decoded for showing); `bytes`: the
    // path's bytes for the system's calls.
    void remember(const QString& shown, const QByteArray& bytes);
    // The bytes of a native path for the system's calls: the longest start of it, up to a "/",
    // that is a remembered path stands for that path's bytes, the rest is encoded as usual.
    QByteArray encode(const QString& native) const;

  private:
    QHash<QString, QByteArray> bytesByShown_;
};

} // namespace gk
