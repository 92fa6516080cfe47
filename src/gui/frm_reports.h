// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/track_check.h"

#include <QDialog>
#include <array>

class QLabel;
class QPlainTextEdit;

namespace gk {

class Dialogs;
class FileSystem;
class SettingsStore;
class Shell;

// The track check report window: three read-only columns, filled once when it is created.
class FrmReports : public QDialog {
    Q_OBJECT
  public:
    FrmReports(SettingsStore& settings, Dialogs& dialogs, FileSystem& files, Shell& shell,
               const TrackList& allTracks, QWidget* parent = nullptr);

    QPlainTextEdit* column(int index) const { return txtReport_[static_cast<size_t>(index)]; }

  private:
    std::array<QLabel*, 3> labels_{};
    std::array<QPlainTextEdit*, 3> txtReport_{};
};

} // namespace gk
