// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's behaviour without widgets: one method per event handler.
#include "form_model.h"

#include "platform/processes.h"

namespace gk {

FormModel::FormModel(FormPlatform platform)
    : ctx_(*this, platform, ws_, ctl_), startup_(ctx_), seasonFiles_(ctx_), trackSets_(ctx_),
      selection_(ctx_), listCommands_(ctx_), playerCar_(ctx_),
      trackDetails_(platform.detailsFiles) {
    launch_ = std::make_unique<LaunchFlow>(LaunchPlatform{
        ctx_.dialogs, ctx_.files, ctx_.shell, platform.runner ? *platform.runner : noGame_,
        platform.gameWindow ? *platform.gameWindow : noGame_});
    launch_->onAbout = [this] { aboutRequested_ = true; };
}

FormModel::~FormModel() = default;

bool FormModel::fncFileExists(const QString& path) {
    return ctx_.fncFileExists(path);
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
    return {ws_.strGPLdir,   ws_.bolSeasonChanged,  ws_.ListTracks,   ws_.listNotActive,
            ws_.arrInactive, ctl_.txtRunTrack.text, ctl_.cboCarsIndex};
}

TrackReport FormModel::trackReport() {
    ctx_.shell.setBusyPointer(true);
    const TrackReport report =
        TrackCheck(ctx_.dialogs, ctx_.files, ws_.ListAllTracks).Form_Load(ctx_.settings);
    ctx_.shell.setBusyPointer(false);
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
    trackSets_.mnuTrackSet_Click(Index);
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
    trackSets_.openTrackSet(name);
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
    return selection_.editEntry(index, text);
}

void FormModel::setRowsSelected(Side side, int first, int last, bool selected) {
    selection_.setRowsSelected(side, first, last, selected);
}

void FormModel::setCurrentRow(Side side, int row) {
    selection_.setCurrentRow(side, row);
}

bool FormModel::listKeyPressed(Side side, ListKey key) {
    return selection_.listKeyPressed(side, key);
}

bool FormModel::entryBoxEnabled(int16_t index) const {
    return selection_.entryBoxEnabled(index);
}

// ---------------------------------------------------------------- list commands

void FormModel::cmdChangeButton_Click(int16_t Index) {
    listCommands_.cmdChangeButton_Click(Index);
}

void FormModel::picArrow_Click(int16_t Index) {
    listCommands_.picArrow_Click(Index);
}

void FormModel::lblAmountLeft_Click() {
    listCommands_.lblAmountLeft_Click();
}

void FormModel::lblAmountRight_Click() {
    listCommands_.lblAmountRight_Click();
}

} // namespace gk
