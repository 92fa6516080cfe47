// SPDX-License-Identifier: GPL-3.0-or-later
// The "Restore an earlier season" window: the earlier seasons and what each would change.
#pragma once

#include "season/season_restore.h"

#include <QDialog>
#include <vector>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace gk {

class FormModel;

// Shows the earlier seasons the form model offers and what the chosen one would change;
// "Restore" hands the choice to the form model, which decides and asks everything.
class FrmRestore : public QDialog {
    Q_OBJECT
  public:
    explicit FrmRestore(FormModel& model, QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    QPlainTextEdit* differences() const { return differences_; }
    QPushButton* restoreButton() const { return restore_; }

  private:
    void showCurrent();

    FormModel& model_;
    std::vector<RestorablePair> pairs_;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* differences_ = nullptr;
    QPushButton* restore_ = nullptr;
};

} // namespace gk
