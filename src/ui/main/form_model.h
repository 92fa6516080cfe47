#pragma once

#include "app/game_paths.h"
#include "app/partial_load_guard.h"
#include "app/workspace.h"
#include "help_line.h"
#include "launch/launch_flow.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "season/loader.h"
#include "season/season_writer.h"
#include "ui/dialogs/about.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace gk {

class SettingsStore;
class FileSystem;
class Shell;
class QtProcesses;

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};

// The title of message boxes that have none of their own.
QString appTitle();

struct LabelState {
    QString caption;
    Rgb foreColor;
    bool visible = true;
};

struct TextBoxState {
    QByteArray text; // the game's 8-bit text
    bool enabled = false;
};

struct MenuItemState {
    QString caption;
    bool visible = true;
};

// What the main window's controls hold, as far as the behaviour reads or writes it.
struct FormControls {
    LabelState lblGPLdir{QStringLiteral("GPL directory invalid or not set!"), kRed};
    LabelState lblAmountLeft{QStringLiteral("Active Tracks"), {}};
    LabelState lblAmountRight{QStringLiteral("Non-Active Tracks"), {}};
    LabelState lblInfo;
    LabelState lblTrackSet{QStringLiteral("Track Set:"), {}, false};
    std::array<TextBoxState, 14> txtEntry;
    TextBoxState txtRunTrack;
    QString txtTrack;
    int txtTrackSelStart = 0;
    int txtTrackSelLength = 0;
    std::array<int, 2> chkEdit{0, 0};
    int chkSort = 0;
    QStringList cboCars;
    int cboCarsIndex = -1;
    std::array<MenuItemState, 22> mnuTrackSet;
};

// A run-time error that start-up reported and went on from.
struct StartupFault {
    int number = 0;
    QString description;
};

struct FormPlatform {
    SettingsStore& settings;
    Dialogs& dialogs;
    FileSystem& files;
    Shell& shell;
    // The game's processes; the real ones when not given.
    ProcessRunner* runner = nullptr;
    GameWindow* gameWindow = nullptr;
};

// The main window's behaviour without widgets: the workspace, the state of the controls, and
// one method per event handler. The window forwards events here and shows the state.
class FormModel {
  public:
    explicit FormModel(FormPlatform platform);
    ~FormModel();

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
    LaunchFlow& launchFlow() { return *launch_; }

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
    void subOpenMail() { shell_.openUrl(about::mailUrl()); }

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
    enum class Side { Active, Inactive };
    TrackList& list(Side side) { return side == Side::Active ? ws_.ListTracks : ws_.listNotActive; }
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
    enum class ListKey { Delete, AltUp, AltDown };
    bool listKeyPressed(Side side, ListKey key);
    // An entry box takes edits only in edit mode and while its list has a current row.
    bool entryBoxEnabled(int16_t index) const;

    // ---- operations the command-line front end uses directly
    // Writes the active list as the named set without asking; false when refused.
    bool saveTrackSet(const QString& name);
    // Opens a set by name as the menu does.
    void openTrackSet(const QString& name);
    // The names the Track Sets menu offers.
    QStringList offeredTrackSets() const;

    // ---- state
    Workspace& workspace() { return ws_; }
    const Workspace& workspace() const { return ws_; }
    FormControls& controls() { return ctl_; }
    const FormControls& controls() const { return ctl_; }
    const std::vector<StartupFault>& startupFaults() const { return startupFaults_; }
    // True once the program has ended (a fatal start-up error): no question, nothing written.
    bool ended() const { return ended_; }
    // Set when a handler asks the window to close (File menu "Close").
    bool closeRequested() const { return closeRequested_; }
    void clearCloseRequest() { closeRequested_ = false; }
    // Set when a handler asks the window to show the track check report (File menu).
    bool takeReportRequest() { return std::exchange(reportRequested_, false); }
    // Set when a handler asks the window to show the About window ("?" menu).
    bool takeAboutRequest() { return std::exchange(aboutRequested_, false); }
    // The platform services, for the windows this one opens.
    FormPlatform platform() const { return {settings_, dialogs_, files_, shell_}; }

  private:
    struct ProgramEnd {};

    void showError(int number, const QString& description);
    // Writes the control's help text into the help line.
    void hover(help::Hover control, int16_t index = 0) {
        const bool valid =
            control == help::Hover::lblGPLdir && fncFileExists(paths::driverIni(ws_.strGPLdir));
        if (std::optional<QString> text = help::text(control, index, valid))
            ctl_.lblInfo.caption = *text;
    }
    template <class F> void startupStep(F&& body);
    void endProgram(const MessageBox& box);
    template <class F> void guarded(F&& handler);
    void setEntryText(int16_t index, const QByteArray& text);
    void showListRow(const TrackList& list, const std::vector<EventEntries>& entries, int first);
    void writeTrackSetFile(const QString& name, const QByteArray& bytes);
    void saveTrackSetAs();
    bool confirmDiscard();
    void updateCountCaptions();
    void runListCommand(int16_t Index);
    void sortList(Side side);
    // Empties the side's entry boxes, and the selected-track box unless told to do so only
    // when it names that side's track.
    void clearSide(Side side, bool runTrackFromAnySide = true);

    SettingsStore& settings_;
    Dialogs& dialogs_;
    FileSystem& files_;
    Shell& shell_;
    Workspace ws_;
    FormControls ctl_;
    QString playerFolder_;
    PartialLoadGuard loadGuard_;
    // The list the selected-track box was last filled from, if any.
    std::optional<Side> runTrackSide_;
    std::vector<StartupFault> startupFaults_;
    bool ended_ = false;
    bool closeRequested_ = false;
    bool reportRequested_ = false;
    bool aboutRequested_ = false;
    std::unique_ptr<QtProcesses> ownProcesses_;
    std::unique_ptr<LaunchFlow> launch_;
};

} // namespace gk
