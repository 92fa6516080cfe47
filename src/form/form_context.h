// SPDX-License-Identifier: GPL-3.0-or-later
// What the families of the main window's handlers share.
#pragma once

#include "form_controls.h"
#include "platform/dialogs.h"
#include "workspace.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace gk {

class SettingsStore;
class FileSystem;
class Shell;
class ProcessRunner;
class GameWindow;
class FileWatch;
struct GameSearchPlaces;

struct FormPlatform {
    SettingsStore& settings;
    Dialogs& dialogs;
    FileSystem& files;
    Shell& shell;
    // The game's processes (made by the program's main(); none: no game can be started).
    ProcessRunner* runner = nullptr;
    GameWindow* gameWindow = nullptr;
    // Reports changes of the season files by other programs (none: nobody reports them).
    FileWatch* watch = nullptr;
    // Keeps the season lock from the first read of the season to the end: a command that
    // changes the season reads and writes it without another writer in between.
    bool holdSeasonLock = false;
    // Where the game directory's box looks for game folders to offer (none: it offers none).
    const GameSearchPlaces* gameSearch = nullptr;
    // A file system of its own for reading the tracks' details in the background (none: they
    // are not read).
    FileSystem* detailsFiles = nullptr;
};

// The two track lists of the window: the active list (the season) and the non-active list.
enum class ListSide { Active, Inactive };

// The window's state that the families of its handlers share: the workspace, the state of the
// controls and the message boxes, all owned by the form model. Everything else a family uses
// (files, settings, the shell, another family) it is given in its own constructor.
struct FormContext {
    // Thrown by endProgram(): the program ends, and the handler that runs stops at once.
    struct ProgramEnd {};

    FormContext(Dialogs& dialogBoxes, Workspace& workspace, FormControls& controls)
        : dialogs(dialogBoxes), ws(workspace), ctl(controls) {}

    Dialogs& dialogs;
    Workspace& ws;
    FormControls& ctl;
    // The list the selected-track box was last filled from, if any.
    std::optional<ListSide> runTrackSide;
    // True once the program has ended (a fatal start-up error): no question, nothing written.
    bool ended = false;

    TrackList& list(ListSide side) {
        return side == ListSide::Active ? ws.ListTracks : ws.listNotActive;
    }
    void showError(int number, const QString& description);
    // Shows the box and ends the program.
    void endProgram(const Message& box);
    // Runs a handler unless the program has ended; a handler that ends it stops there.
    template <class F> void guarded(F&& handler) {
        if (ended)
            return;
        try {
            handler();
        } catch (const ProgramEnd&) {
            ended = true;
        }
    }
    // The two count captions, "Active Tracks (N)" and "Non-Active Tracks (N)".
    void updateCountCaptions();
    // The track-set label: the open set's name, marked when edited; hidden when none is open.
    void showTrackSet();
    // The active list no longer matches the open track set (if any): the label says so.
    void trackSetEdited();
};

// True when the file exists and can be read.
bool fncFileExists(FileSystem& files, const QString& path);

} // namespace gk
