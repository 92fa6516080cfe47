// SPDX-License-Identifier: GPL-3.0-or-later
// A form model over fakes and a temporary game folder.
#pragma once

#include "fakes.h"
#include "form_model.h"
#include "game/game_finder.h"
#include "game_folder.h"
#include "platform/qt_file_watch.h"

namespace gk::test {

using Rows = std::vector<QByteArray>;

// The texts of a list's rows.
inline Rows texts(const TrackList& list) {
    Rows out;
    for (const TrackRow& row : list.rows)
        out.push_back(row.text);
    return out;
}
// The selected marks of a list's rows, 1 for a selected row.
inline std::vector<uint8_t> selectedMarks(const TrackList& list) {
    std::vector<uint8_t> out;
    for (const TrackRow& row : list.rows)
        out.push_back(row.selected ? 1 : 0);
    return out;
}

// A form model on fake dialogs, settings, shell and processes, and a real (optionally failing)
// file system over a temporary game folder.
struct Harness {
    Harness() = default;
    // With the system's file watch on the season files (it needs a Qt application).
    // With the game folder at `below` in a temporary folder.
    explicit Harness(const QString& below) : game(below) {}
    explicit Harness(bool watched)
        : watch(watched ? std::make_unique<QtFileWatch>(files) : nullptr) {}
    // With the track details read in the background through `details`.
    explicit Harness(FileSystem* details) : detailsFiles(details) {}
    GameFolder game;
    FakeSettings settings;
    FakeDialogs dialogs;
    FaultyFileSystem files;
    FakeShell shell;
    FakeProcesses processes;
    std::unique_ptr<QtFileWatch> watch;
    GameSearchPlaces places; // none: the game directory's box finds nothing to offer
    FileSystem* detailsFiles = nullptr;
    FormModel model{{settings, dialogs, files, shell, &processes, &processes, watch.get(), false,
                     &places, detailsFiles}};

    FormModel& m() { return model; }
    Workspace& ws() { return model.workspace(); }
    FormControls& ctl() { return model.controls(); }
    // Starts the program on the game folder; every box must be expected beforehand.
    bool load() { return model.Form_Load(game.dir()); }
    // Installs the track folders, writes the season and all-tracks files, and starts.
    bool load(const QList<QByteArray>& tracks, const QList<QByteArray>& season,
              const QList<QByteArray>& allTracks) {
        game.addTracks(tracks);
        game.writeSeason(season);
        game.writeAllTracks(allTracks);
        return load();
    }
    // Types into entry `index` (0 to 6) of a row as the user does: the row clicked, its side's
    // Edit Mode switched on. False when the edit was refused.
    bool editEntry(ListSide side, int row, int index, const QString& text) {
        const auto k = static_cast<int16_t>(side == ListSide::Active ? 0 : 1);
        model.setCurrentRow(side, row);
        ctl().chkEdit[static_cast<size_t>(k)] = 1;
        model.chkEdit_Click(k);
        return model.editEntry(static_cast<int16_t>(index + 7 * k), text);
    }
    // Selects every row of a list, the first one current, as a click and a Shift+click do.
    void selectAll(ListSide side) {
        model.setRowsSelected(side, 0, model.list(side).count() - 1, true);
        model.setCurrentRow(side, 0);
    }
    // Fills a list with tracks "t" up to `count` rows.
    void fillList(ListSide side, int count) {
        for (int i = model.list(side).count(); i < count; ++i)
            model.list(side).addRow("t", makeEvent("t"));
    }
    // Active monza, Kyalami, * spa, monaco; inactive brands, Zolder, oulton.
    bool loadSmallGame() {
        return load({"monza", "Kyalami", "monaco", "brands", "Zolder", "oulton"},
                    {"monza", "Kyalami", "spa", "monaco"},
                    {"monza", "Kyalami", "spa", "monaco", "brands", "Zolder", "oulton"});
    }
};

} // namespace gk::test
