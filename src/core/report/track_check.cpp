// SPDX-License-Identifier: GPL-3.0-or-later
// The track check report: the game's track folders against the all-tracks file.
#include "track_check.h"

#include "game/game_paths.h"
#include "game/settings_keys.h"
#include "platform/code_page.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "season/season_file.h"

#include <QSet>

namespace gk {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kNone = QStringLiteral("(none)");

} // namespace

TrackCheck::TrackCheck(Dialogs& dialogs, FileSystem& files, const TrackList& allTracks)
    : dialogs_(dialogs), files_(files), allTracks_(allTracks) {}

void TrackCheck::showError(int number, const QString& description, const QString& where) {
    dialogs_.messageBox(runtimeErrorBox(number, description, where));
}

TrackReport TrackCheck::Form_Load(SettingsStore& settings) {
    try {
        strGPLdir = settings.getSetting(settings::kApp, settings::kSection, settings::kGplDir,
                                        settings::kNotSet);
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description(), {});
        return {};
    }
    if (strGPLdir == settings::kNotSet) {
        dialogs_.messageBox({QStringLiteral("GPL Dir not found in registry. Please close the "
                                            "application and start it again."),
                             appTitle(), Buttons::Ok, Icon::None, MessageKind::Failure});
        return {};
    }
    return check(strGPLdir);
}

TrackReport TrackCheck::check(const QString& gameDir) {
    strGPLdir = gameDir;
    strTracksDir =
        strGPLdir + (strGPLdir.endsWith(QLatin1Char('\\')) ? QStringLiteral("tracks\\")
                                                           : QStringLiteral("\\tracks\\"));
    TrackReport report;
    report.caption = QStringLiteral("Report: ") + paths::shown(strTracksDir);
    report.columns[0] = fncCheckTracks();
    report.columns[1] = fncCheckTrackFolder(1);
    report.columns[2] = fncCheckTrackFolder(2);
    return report;
}

QString TrackCheck::fncCheckTracks() {
    QString result;
    try {
        const QString allTracks = paths::allTracksIni(strGPLdir);
        if (!files_.fileExists(allTracks)) {
            dialogs_.messageBox({paths::shown(allTracks) + QStringLiteral(" not found."),
                                 QStringLiteral("fncCheckTracks"), Buttons::Ok, Icon::Critical,
                                 MessageKind::Failure});
            return result;
        }
        const QByteArray data = files_.readFile(allTracks);
        LineReader lines(data);
        QByteArrayView line;
        while (lines.next(line)) {
            const QByteArrayView trimmed = trimmedSpaces(line);
            if (lowerGameText(
                    trimmed.first(std::min<qsizetype>(14, trimmed.size())).toByteArray()) !=
                "trackdirectory")
                continue;
            const QString folder = decodeGameText(
                trimmed.size() > 15 ? trimmed.sliced(15).toByteArray() : QByteArray());
            if (!paths::isSingleName(folder) ||
                !files_.fileExists(paths::trackIniIn(strTracksDir, folder)))
                result += folder + kCrLf;
        }
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description(), QStringLiteral("fncCheckTracks"));
        return result;
    }
    return result.isEmpty() ? kNone : result;
}

QString TrackCheck::fncCheckTrackFolder(int16_t intMode) {
    QString result;
    try {
        const std::vector<FolderEntry> entries = files_.listFolder(strTracksDir);
        // The rows of the all-tracks list, compared without regard to case.
        QSet<QString> known;
        if (intMode == 1) {
            known.reserve(allTracks_.count());
            for (const TrackRow& row : allTracks_.rows)
                known.insert(decodeGameText(row.text).toCaseFolded());
        }
        for (const FolderEntry& entry : entries) {
            if (!entry.isDirectory || entry.name == QLatin1String(".") ||
                entry.name == QLatin1String(".."))
                continue;
            const bool isTrack = files_.fileExists(paths::trackIniIn(strTracksDir, entry.name));
            if (intMode == 1 ? isTrack && !known.contains(entry.name.toCaseFolded()) : !isTrack)
                result += entry.name + kCrLf;
        }
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description(), QStringLiteral("fncCheckTrackFolder"));
        return result;
    }
    return result.isEmpty() ? kNone : result;
}

} // namespace gk
