// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and writing the season files, from the window's side.
#pragma once

#include "form_context.h"
#include "partial_load_guard.h"
#include "season_watch.h"
#include "selection.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace gk {

// The season files: the load of the lists from them, "Create 67season.ini" with its checks, the
// writes in the list's or in alphabetical order (of the season or of a track set), and the
// check box that chooses the order.
class SeasonFiles {
  public:
    // `changeReported` runs when the file watch reports a change of the season files.
    SeasonFiles(FormContext& ctx, const FormPlatform& platform, Selection& selection,
                std::function<void()> changeReported)
        : ctx_(ctx), files_(platform.files), settings_(platform.settings), shell_(platform.shell),
          holdSeasonLock_(platform.holdSeasonLock), selection_(selection),
          watch_(ctx, platform.files, platform.watch, std::move(changeReported),
                 [this] { subGet67season(); }) {}

    void cmdMakeIni_Click();
    void chkSort_Click();
    void subGet67season(const QString& strFile = {});
    void subCreateIniFiles(bool bolMute = false);
    void subSortByList(const QString& strFile = {});
    void subSortByAlphabet(const QString& strFile = {});
    // The file watch reports a change of the season files.
    void seasonFilesChanged() { watch_.filesChanged(); }
    // True when the last write of the season files was held back for a second writer: a live
    // run of an inactive track, or a change by another program that the user did not overwrite.
    bool writeHeldBack() const { return heldBack_; }

    // Replaces the season files with these bytes, remembering what was written.
    void replaceSeason(const QByteArray& season, const QByteArray& allTracks);
    // What a write of the season files wrote (told once when its history could not be kept).
    void remember(SeasonVersion written);

  private:
    void writeTrackSetFile(const QString& name, const QByteArray& bytes);

    bool writeSeason();
    void refuseWhileRunning();

    FormContext& ctx_;
    FileSystem& files_;
    SettingsStore& settings_;
    Shell& shell_;
    bool holdSeasonLock_;
    Selection& selection_;
    PartialLoadGuard loadGuard_;
    SeasonWatch watch_;
    bool heldBack_ = false;
    bool historyReported_ = false; // a history that cannot be kept was told
    // Held from the first read on when the platform asks for it (see FormPlatform).
    std::shared_ptr<void> seasonLock_;
};

} // namespace gk
