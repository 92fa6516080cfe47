// SPDX-License-Identifier: GPL-3.0-or-later
// "File > Restore an earlier season…": the pairs offered, their differences, the restore.
#pragma once

#include "form_context.h"
#include "season/season_restore.h"
#include "season_files.h"

#include <QString>
#include <vector>

namespace gk {

// The earlier seasons the restore dialog lists and the restore of one of them.
class RestoreSeason {
  public:
    RestoreSeason(FormContext& ctx, FileSystem& files, SeasonFiles& seasonFiles)
        : ctx_(ctx), files_(files), seasonFiles_(seasonFiles) {}

    // The backups, then the history newest first, each against the present files.
    std::vector<RestorablePair> pairs();
    // Writes the named pair as the season and reloads the lists; with unsaved changes it asks
    // first whether to save them (Cancel, the default, restores nothing). True when restored.
    bool restore(const QString& name);

    // One line of the dialog's list: "2026-12-06 14:03:22 — 12 active, 40 in all".
    static QString summary(const RestorablePair& pair);
    // What restoring the pair would change, for the dialog and the command line.
    static QString differences(const RestorablePair& pair);

  private:
    FormContext& ctx_;
    FileSystem& files_;
    SeasonFiles& seasonFiles_;
};

} // namespace gk
