#pragma once

#include "fakes.h"
#include "game_folder.h"
#include "ui/main/form_model.h"

namespace gk::test {

// A form model on fake dialogs, settings, shell and processes, and a real (optionally failing)
// file system over a temporary game folder.
struct Harness {
    GameFolder game;
    FakeSettings settings;
    FakeDialogs dialogs;
    FaultyFileSystem files;
    FakeShell shell;
    FakeProcesses processes;
    FormModel model{{settings, dialogs, files, shell, &processes, &processes}};

    FormModel& m() { return model; }
    Workspace& ws() { return model.workspace(); }
    FormControls& ctl() { return model.controls(); }
    // Starts the program on the game folder; every box must be expected beforehand.
    bool load() { return model.Form_Load(game.dir()); }
};

// The track directories of the events.
inline std::vector<QByteArray> foldersOf(const std::vector<EventEntries>& entries) {
    std::vector<QByteArray> out;
    for (const EventEntries& e : entries)
        out.push_back(e.entry[2].mid(15));
    return out;
}

} // namespace gk::test
