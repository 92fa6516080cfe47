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
class FormModel;

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
    // A file system of its own for reading the tracks' details in the background (none: they
    // are not read).
    FileSystem* detailsFiles = nullptr;
};

// The two track lists of the window: the active list (the season) and the non-active list.
enum class ListSide { Active, Inactive };

// What the families of the main window's handlers share: the workspace, the state of the
// controls and the platform services, all owned by the form model. A family that needs a
// handler of another family calls it through the form model, as the window would.
struct FormContext {
    // Thrown by endProgram(): the program ends, and the handler that runs stops at once.
    struct ProgramEnd {};

    FormContext(FormModel& model, const FormPlatform& platform, Workspace& workspace,
                FormControls& controls)
        : form(model), settings(platform.settings), dialogs(platform.dialogs),
          files(platform.files), shell(platform.shell), watch(platform.watch),
          holdSeasonLock(platform.holdSeasonLock), ws(workspace), ctl(controls) {}

    FormModel& form;
    SettingsStore& settings;
    Dialogs& dialogs;
    FileSystem& files;
    Shell& shell;
    FileWatch* watch;
    bool holdSeasonLock;
    Workspace& ws;
    FormControls& ctl;
    // The list the selected-track box was last filled from, if any.
    std::optional<ListSide> runTrackSide;
    // True once the program has ended (a fatal start-up error): no question, nothing written.
    bool ended = false;

    TrackList& list(ListSide side) {
        return side == ListSide::Active ? ws.ListTracks : ws.listNotActive;
    }
    // The event entries of that list's rows.
    std::vector<EventEntries>& entries(ListSide side) {
        return side == ListSide::Active ? ws.arrActive : ws.arrInactive;
    }
    bool fncFileExists(const QString& path);
    void showError(int number, const QString& description);
    // Shows the box and ends the program.
    void endProgram(const MessageBox& box);
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
    // Writes an entry box and runs its change handler, as the program's own writes do.
    void setEntryText(int16_t index, const QByteArray& text);
    // Empties the side's entry boxes, and the selected-track box unless told to do so only
    // when it names that side's track.
    void clearSide(ListSide side, bool runTrackFromAnySide = true);
    // The two count captions, "Active Tracks (N)" and "Non-Active Tracks (N)".
    void updateCountCaptions();
};

} // namespace gk
