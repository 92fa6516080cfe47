// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's behaviour without widgets: one method per event handler.
#include "form_model.h"

#include "platform/processes.h"

namespace gk {

FormModel::FormModel(FormPlatform platform)
    : platform_(platform), ctx_(platform.dialogs, ws_, ctl_), selection_(ctx_, trackDetails_),
      listCommands_(ctx_, selection_), playerCar_(ctx_, platform.files, selection_),
      seasonFiles_(ctx_, platform, selection_, [this] { seasonFilesChangeReported(); }),
      trackSets_(ctx_, platform.files, seasonFiles_, playerCar_),
      restoreSeason_(ctx_, platform.files, seasonFiles_),
      startup_(ctx_, platform, seasonFiles_, playerCar_, trackSets_), drop_(ctx_, selection_),
      undo_(ctx_, selection_, listCommands_, trackSets_, drop_),
      trackDetails_(platform.detailsFiles) {
    launch_ = std::make_unique<LaunchFlow>(
        LaunchPlatform{platform.dialogs, platform.files, platform.shell,
                       platform.runner ? *platform.runner : noGame_,
                       platform.gameWindow ? *platform.gameWindow : noGame_});
    launch_->onAbout = [this] { aboutRequested_ = true; };
}

FormModel::~FormModel() = default;

bool FormModel::fncFileExists(const QString& path) {
    return gk::fncFileExists(platform_.files, path);
}

// ---------------------------------------------------------------- start-up and closing

bool FormModel::Form_Load(const QString& commandLine) {
    return startUp(commandLine) && loadWorkspace();
}

bool FormModel::startUp(const QString& commandLine) {
    return startup_.startUp(commandLine);
}

bool FormModel::loadWorkspace() {
    const bool loaded = startup_.loadWorkspace();
    // The details of the loaded tracks are read from now on, without holding up anything.
    if (loaded)
        trackDetails_.follow(ws_);
    return loaded;
}

void FormModel::Form_Activate() {
    startup_.Form_Activate();
}

void FormModel::Form_Unload(bool& Cancel) {
    startup_.Form_Unload(Cancel);
}

void FormModel::subSetGPLdir() {
    startup_.subSetGPLdir();
}

void FormModel::subSetGPLdirText() {
    startup_.subSetGPLdirText();
}

// ---------------------------------------------------------------- launch and menus

void FormModel::cmdLaunchGPL_Click() {
    ctx_.guarded(
        [&] { launch_->cmdLaunchGPL_Click(launchChoice(), [this] { subCreateIniFiles(true); }); });
}

void FormModel::seasonFilesChanged() {
    ctx_.guarded([&] { seasonFiles_.seasonFilesChanged(); });
}

LaunchChoice FormModel::launchChoice() const {
    return {ws_.strGPLdir,     ws_.bolSeasonChanged,  ws_.ListTracks,
            ws_.listNotActive, ctl_.txtRunTrack.text, ctl_.cboCarsIndex};
}

TrackReport FormModel::trackReport() {
    platform_.shell.setBusyPointer(true);
    const TrackReport report = TrackCheck(platform_.dialogs, platform_.files, ws_.ListAllTracks)
                                   .Form_Load(platform_.settings);
    platform_.shell.setBusyPointer(false);
    return report;
}

void FormModel::mnuHelp_Click(int16_t Index) {
    ctx_.guarded([&] { launch_->mnuHelp_Click(Index, launchChoice()); });
}

void FormModel::mnuFile_Click(int16_t Index) {
    switch (Index) {
    case 1:
        cmdMakeIni_Click();
        break;
    case 6:
        reportRequested_ = true;
        break;
    case 11:
        closeRequested_ = true;
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- season files

void FormModel::cmdMakeIni_Click() {
    seasonFiles_.cmdMakeIni_Click();
}

void FormModel::chkSort_Click() {
    seasonFiles_.chkSort_Click();
}

void FormModel::subGet67season(const QString& strFile) {
    seasonFiles_.subGet67season(strFile);
}

void FormModel::subCreateIniFiles(bool bolMute) {
    seasonFiles_.subCreateIniFiles(bolMute);
}

void FormModel::subSortByList(const QString& strFile) {
    seasonFiles_.subSortByList(strFile);
}

void FormModel::subSortByAlphabet(const QString& strFile) {
    seasonFiles_.subSortByAlphabet(strFile);
}

// ---------------------------------------------------------------- player and car

void FormModel::subMakeCarList() {
    playerCar_.subMakeCarList();
}

void FormModel::subPlayerInfo() {
    playerCar_.subPlayerInfo();
}

// ---------------------------------------------------------------- track sets

void FormModel::mnuTrackSet_Click(int16_t Index) {
    undo_.mnuTrackSet_Click(Index);
}

void FormModel::subListTrackSets() {
    trackSets_.subListTrackSets();
}

void FormModel::subShowTrackSet() {
    trackSets_.subShowTrackSet();
}

bool FormModel::saveTrackSet(const QString& name) {
    return trackSets_.saveTrackSet(name);
}

void FormModel::openTrackSet(const QString& name) {
    undo_.openTrackSet(name);
}

QStringList FormModel::offeredTrackSets() const {
    return trackSets_.offeredTrackSets();
}

// ---------------------------------------------------------------- selection, search, entries

void FormModel::ListTracks_Click() {
    selection_.ListTracks_Click();
}

void FormModel::listNotActive_Click() {
    selection_.listNotActive_Click();
}

void FormModel::txtEntry_Change(int16_t Index) {
    selection_.txtEntry_Change(Index);
}

void FormModel::txtTrack_Change() {
    selection_.txtTrack_Change();
}

void FormModel::txtTrack_GotFocus() {
    selection_.txtTrack_GotFocus();
}

void FormModel::chkEdit_Click(int16_t Index) {
    selection_.chkEdit_Click(Index);
}

void FormModel::setSearchText(const QString& text) {
    selection_.setSearchText(text);
}

bool FormModel::editEntry(int16_t index, const QString& text) {
    return undo_.editEntry(index, text);
}

void FormModel::setRowsSelected(Side side, int first, int last, bool selected) {
    selection_.setRowsSelected(side, first, last, selected);
}

void FormModel::setCurrentRow(Side side, int row) {
    selection_.setCurrentRow(side, row);
}

// Delete and Alt+Up/Down in a list are its Delete button and its arrows.
bool FormModel::listKeyPressed(Side side, ListKey key) {
    const bool active = side == Side::Active;
    switch (key) {
    case ListKey::Delete:
        cmdChangeButton_Click(active ? 1 : 2);
        return true;
    case ListKey::AltUp:
        picArrow_Click(active ? 0 : 2);
        return true;
    case ListKey::AltDown:
        picArrow_Click(active ? 1 : 3);
        return true;
    }
    return false;
}

bool FormModel::entryBoxEnabled(int16_t index) const {
    return selection_.entryBoxEnabled(index);
}

// ---------------------------------------------------------------- list commands

void FormModel::cmdChangeButton_Click(int16_t Index) {
    undo_.cmdChangeButton_Click(Index);
}

void FormModel::picArrow_Click(int16_t Index) {
    undo_.picArrow_Click(Index);
}

void FormModel::lblAmountLeft_Click() {
    undo_.sortList(Side::Active);
}

void FormModel::lblAmountRight_Click() {
    undo_.sortList(Side::Inactive);
}

bool FormModel::dropRows(Side from, std::vector<int> rows, Side to, int position) {
    return undo_.drop(from, std::move(rows), to, position);
}

void FormModel::dropForeignData() {
    drop_.refuseForeign();
}

// ---------------------------------------------------------------- the Edit menu

void FormModel::mnuUndo_Click() {
    undo_.undo();
}

void FormModel::mnuRedo_Click() {
    undo_.redo();
}

namespace {
// A menu caption shows "&" only when it is doubled.
QString editCaption(const QString& verb, const QString& what) {
    if (what.isEmpty())
        return verb;
    return verb + u' ' + QString(what).replace(u'&', QStringLiteral("&&"));
}
} // namespace

QString FormModel::undoCaption() {
    return editCaption(QStringLiteral("&Undo"), undo_.undoText());
}

QString FormModel::redoCaption() {
    return editCaption(QStringLiteral("&Redo"), undo_.redoText());
}

bool FormModel::undoEnabled() {
    return undo_.canUndo();
}

bool FormModel::redoEnabled() {
    return undo_.canRedo();
}

} // namespace gk
