// SPDX-License-Identifier: GPL-3.0-or-later
// Earlier seasons: the backups and the history as pairs to restore, and their differences.
#pragma once

#include "season_guard.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QDateTime>
#include <QString>
#include <vector>

namespace gk {

class FileSystem;

// The name of the pair 67season_previous.bak and 67AllTracks_previous.bak.
inline QString previousPairName() {
    return QStringLiteral("previous");
}

// One earlier season that can be written back, and how it differs from the present files.
struct RestorablePair {
    QString name; // "previous", or the history's name ("2026-12-06 14-03-22")
    QDateTime when;
    QString seasonPath;
    QString allTracksPath;
    QString problem; // why it cannot be restored; "" when it can
    int activeCount = 0;
    int allTracksCount = 0;
    QByteArrayList comeBack;   // active in the pair, not in the present season (by folder)
    QByteArrayList go;         // active now, not in the pair
    bool orderChanged = false; // the tracks active in both come in another order

    bool usable() const { return problem.isEmpty(); }
};

// The backups, then the history newest first, each against the present files. A pair whose
// files cannot both be read as season files is listed with the reason. Never throws: a folder
// that cannot be listed shows as missing files, or as no history.
std::vector<RestorablePair> restorablePairs(FileSystem& fs, const QString& gameDir);
// The pair by name; its problem says so when there is no such pair.
RestorablePair restorablePair(FileSystem& fs, const QString& gameDir, const QString& name);

// Writes the named pair as the season through the safe replacement, so that the present pair
// becomes the backups and enters the history. Throws RuntimeError (nothing changed) when the
// pair is missing or unusable or the write fails, SeasonWriteRefused as any write.
SeasonVersion restoreSeasonPair(FileSystem& fs, const QString& gameDir, const QString& name,
                                const SeasonVersion* expected = nullptr);

} // namespace gk
