// SPDX-License-Identifier: GPL-3.0-or-later
// The "Restore an earlier season" window: the earlier seasons and what each would change.
#include "frm_restore.h"

#include "form_model.h"
#include "restore_season.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gk {

FrmRestore::FrmRestore(FormModel& model, QWidget* parent)
    : QDialog(parent), model_(model), pairs_(model.earlierSeasons()) {
    setWindowTitle(QStringLiteral("Restore an earlier season"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    for (const RestorablePair& pair : pairs_)
        list_->addItem(RestoreSeason::summary(pair));
    differences_ = new QPlainTextEdit(this);
    differences_->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    restore_ = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    layout->addWidget(list_, 3);
    layout->addWidget(differences_, 2);
    layout->addWidget(buttons);
    resize(560, 420);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { showCurrent(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(restore_, &QPushButton::clicked, this, [this] {
        const int row = list_->currentRow();
        if (row >= 0 && model_.restoreEarlierSeason(pairs_[static_cast<size_t>(row)].name))
            accept();
    });
    list_->setCurrentRow(pairs_.empty() ? -1 : 0);
    showCurrent();
}

void FrmRestore::showCurrent() {
    const int row = list_->currentRow();
    const bool chosen = row >= 0 && static_cast<size_t>(row) < pairs_.size();
    differences_->setPlainText(chosen ? RestoreSeason::differences(pairs_[static_cast<size_t>(row)])
                                      : QString());
    restore_->setEnabled(chosen && pairs_[static_cast<size_t>(row)].usable());
}

} // namespace gk
