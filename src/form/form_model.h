// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's behaviour without widgets: one method per event handler.
#pragma once

#include "about.h"
#include "form_context.h"
#include "form_controls.h"
#include "game/game_paths.h"
#include "help_line.h"
#include "launch/launch_flow.h"
#include "list_commands.h"
#include "platform/dialogs.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "player_car.h"
#include "report/track_check.h"
#include "restore_season.h"
#include "season/loader.h"
#include "season/season_writer.h"
#include "season_files.h"
#include "selection.h"
#include "startup.h"
#include "track_details_loader.h"
#include "track_details_text.h"
#include "track_sets.h"
#include "undo.h"
#include "workspace.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace gk {

// The main window's behaviour without widgets: the workspace, the state of the controls, and
// one method per event handler. The window forwards events here and shows the state. Each
// family of handlers is a unit of its own below this facade, and the handler here forwards to
// it: start-up and closing (Startup), the season files (SeasonFiles), the Track Sets menu
// (TrackSets), selection, search and entries (Selection), the commands on the lists
// (ListCommands), the player and car (PlayerCar), the launch (LaunchFlow).
class FormModel {
  public:
    explicit FormModel(FormPlatform platform);
    ~FormModel();
    // The families keep references into the model: it stays where it was made.
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    // ---- events
    // Runs the start-up sequence; false when the program has ended. It is made of two
    // halves: startUp() takes the game directory, checks it and offers the crash recovery
    // (everything that may end the program), loadWorkspace() loads the lists and fills the
    // car box, the player's choices, the labels and the Track Sets menu. The window shows
    // itself between the two, so its first frame does not wait for the load.
    bool Form_Load(const QString& commandLine);
    bool startUp(const QString& commandLine);
    bool loadWorkspace();
    void Form_Activate();
    void Form_Unload(bool& Cancel);
    void cmdMakeIni_Click();
    void mnuFile_Click(int16_t Index);
    void mnuTrackSet_Click(int16_t Index);
    void chkSort_Click();
    void ListTracks_Click();
    void listNotActive_Click();
    void txtEntry_Change(int16_t Index);
    void txtTrack_Change();
    void txtTrack_GotFocus();
    void chkEdit_Click(int16_t Index);
    void cmdChangeButton_Click(int16_t Index);
    void picArrow_Click(int16_t Index);
    void lblAmountLeft_Click();
    void lblAmountRight_Click();
    // "start GPL" and the "?" menu belong to the launch flow.
    void cmdLaunchGPL_Click();
    void mnuHelp_Click(int16_t Index);
    // The season files changed on disk: reloads the lists when nothing is unsaved, else
    // notes it in the help line.
    void seasonFilesChanged();
    // The file watch's report goes here when set (the window runs seasonFilesChanged as an
    // event of its own, never inside another handler); otherwise it runs at once.
    std::function<void()> onChangedOnDisk;
    void seasonFilesChangeReported() {
        if (onChangedOnDisk)
            onChangedOnDisk();
        else
            seasonFilesChanged();
    }

    // ---- help line: the pointer moved over a control
    using Hover = help::Hover;
    void Form_MouseMove() { hover(Hover::Form); }
    void lblInfo_MouseMove() { hover(Hover::lblInfo); }
    void chkEdit_MouseMove(int16_t) { hover(Hover::chkEdit); }
    void chkSort_MouseMove() { hover(Hover::chkSort); }
    void cmdChangeButton_MouseMove(int16_t Index) { hover(Hover::cmdChangeButton, Index); }
    void cmdLaunchGPL_MouseMove() { hover(Hover::cmdLaunchGPL); }
    void cmdMakeIni_MouseMove() { hover(Hover::cmdMakeIni); }
    void lblAmountLeft_MouseMove() { hover(Hover::lblAmountLeft); }
    void lblAmountRight_MouseMove() { hover(Hover::lblAmountRight); }
    void lblGPLdir_MouseMove() { hover(Hover::lblGPLdir); }
    void lblMyMail_MouseMove() { hover(Hover::lblMyMail); }
    void listNotActive_MouseMove() { hover(Hover::listNotActive); }
    void ListTracks_MouseMove() { hover(Hover::ListTracks); }
    void picArrow_MouseMove(int16_t) { hover(Hover::picArrow); }
    void txtEntry_MouseMove(int16_t) { hover(Hover::txtEntry); }
    void txtTrack_MouseMove() { hover(Hover::txtTrack); }
    // The mail link: a new mail to the support address.
    void lblMyMail_Click() { subOpenMail(); }
    void subOpenMail() { platform_.shell.openUrl(about::mailUrl()); }

    // ---- procedures
    bool fncFileExists(const QString& path);
    void subSetGPLdir();
    void subSetGPLdirText();
    void subGet67season(const QString& strFile = {});
    void subCreateIniFiles(bool bolMute = false);
    void subSortByList(const QString& strFile = {});
    void subSortByAlphabet(const QString& strFile = {});
    void subMakeCarList();
    void subPlayerInfo();
    void subListTrackSets();
    void subShowTrackSet();

    // ---- what the window reports of the user's actions
    using Side = ListSide;
    TrackList& list(Side side) { return ctx_.list(side); }
    // The user typed into the search box.
    void setSearchText(const QString& text);
    // The user typed into an entry box; false when the text was refused (the box keeps its
    // bytes) or the box takes no edit.
    bool editEntry(int16_t index, const QString& text);
    // The user changed the selected marks or the current row of a list.
    void setRowsSelected(Side side, int first, int last, bool selected);
    void setCurrentRow(Side side, int row);
    // A key pressed in a list: Delete runs that side's "Delete", Alt+Up and Alt+Down its
    // arrows. False when the key is not one of these, so the list handles it itself.
    using ListKey = gk::ListKey;
    bool listKeyPressed(Side side, ListKey key);
    // An entry box takes edits only in edit mode and while its list has a current row.
    bool entryBoxEnabled(int16_t index) const;
    // Rows dragged from a list and dropped before row `position` of the same or the other list
    // (see ListDrop); false when nothing moved.
    bool dropRows(Side from, std::vector<int> rows, Side to, int position);
    static bool dropAccepted(Side from, Side to) { return ListDrop::accepts(from, to); }
    // Something other than the lists' own rows dropped on a list: refused with a message.
    void dropForeignData();

    // ---- the Edit menu: undo and redo of the changes to the lists (see UndoHistory)
    void mnuUndo_Click();
    void mnuRedo_Click();
    // "&Undo <what>" and "&Redo <what>" ("&Undo" and "&Redo" when there is none).
    QString undoCaption();
    QString redoCaption();
    bool undoEnabled();
    bool redoEnabled();
    UndoHistory& history() { return undo_; }

    // ---- operations the command-line front end uses directly
    // Writes the active list as the named set without asking; false when refused.
    bool saveTrackSet(const QString& name);
    // Opens a set by name as the menu does.
    void openTrackSet(const QString& name);
    // The track check report of the game folder, as the report window shows it.
    TrackReport trackReport();
    // The names the Track Sets menu offers.
    QStringList offeredTrackSets() const;
    // "File > Restore an earlier season…": the pairs it lists, and the restore of one by name
    // (true when restored).
    std::vector<RestorablePair> earlierSeasons() { return restoreSeason_.pairs(); }
    bool restoreEarlierSeason(const QString& name) { return restoreSeason_.restore(name); }

    // ---- track details, read in the background
    TrackDetailsLoader& trackDetails() { return trackDetails_; }
    // The tooltip of a list's row; nothing while there is nothing to show.
    std::optional<TrackToolTip> trackToolTip(Side side, int row) {
        return rowToolTip(trackDetails_, platform_.files, ws_, list(side), row);
    }

    // ---- state
    Workspace& workspace() { return ws_; }
    const Workspace& workspace() const { return ws_; }
    FormControls& controls() { return ctl_; }
    const FormControls& controls() const { return ctl_; }
    const std::vector<StartupFault>& startupFaults() const { return startup_.faults(); }
    // True when the last write of the season files was held back for a second writer.
    bool seasonWriteHeldBack() const { return seasonFiles_.writeHeldBack(); }
    // True once the program has ended (a fatal start-up error): no question, nothing written.
    bool ended() const { return ctx_.ended; }
    // Set when a handler asks the window to close (File menu "Close").
    bool closeRequested() const { return closeRequested_; }
    void clearCloseRequest() { closeRequested_ = false; }
    // Set when a handler asks the window to show the track check report (File menu).
    bool takeReportRequest() { return std::exchange(reportRequested_, false); }
    // Set when a handler asks the window to show the About window ("?" menu).
    bool takeAboutRequest() { return std::exchange(aboutRequested_, false); }
    // The platform services, for the windows this one opens.
    FormPlatform platform() const {
        return {platform_.settings, platform_.dialogs, platform_.files, platform_.shell};
    }

  private:
    LaunchChoice launchChoice() const;
    // Writes the control's help text into the help line.
    void hover(help::Hover control, int16_t index = 0) {
        const bool valid =
            control == help::Hover::lblGPLdir && fncFileExists(paths::driverIni(ws_.strGPLdir));
        if (std::optional<QString> text = help::text(control, index, valid))
            ctl_.lblInfo.caption = *text;
    }

    Workspace ws_;
    FormControls ctl_;
    FormPlatform platform_;
    FormContext ctx_;
    // Each family is made after those it uses.
    Selection selection_;
    ListCommands listCommands_;
    PlayerCar playerCar_;
    SeasonFiles seasonFiles_;
    TrackSets trackSets_;
    RestoreSeason restoreSeason_;
    Startup startup_;
    ListDrop drop_;
    UndoHistory undo_;
    bool closeRequested_ = false;
    bool reportRequested_ = false;
    bool aboutRequested_ = false;
    NoGame noGame_; // the game's processes when none are given
    std::unique_ptr<LaunchFlow> launch_;
    // Last, so that its reading stops before anything else goes.
    // Made last and ended first: its thread stops before anything it reads goes. The selection
    // is given it before it is made, and uses it only in handlers.
    TrackDetailsLoader trackDetails_;
};

} // namespace gk
