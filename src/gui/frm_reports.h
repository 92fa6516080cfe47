// SPDX-License-Identifier: GPL-3.0-or-later
// The track check report window.
#pragma once

#include "report/track_check.h"

#include <QDialog>
#include <array>

class QLabel;
class QPlainTextEdit;

namespace gk {

// The track check report window: the report handed to it, in three read-only columns.
class FrmReports : public QDialog {
    Q_OBJECT
  public:
    explicit FrmReports(const TrackReport& report, QWidget* parent = nullptr);

    QPlainTextEdit* column(int index) const { return txtReport_[static_cast<size_t>(index)]; }

  private:
    std::array<QLabel*, 3> labels_{};
    std::array<QPlainTextEdit*, 3> txtReport_{};
};

} // namespace gk
