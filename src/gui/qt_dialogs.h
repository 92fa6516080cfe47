// SPDX-License-Identifier: GPL-3.0-or-later
// The real message and input boxes (QMessageBox, QInputDialog, a box with choices).
#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace gk {

// Message and input boxes as Qt's modal dialogs.
class QtDialogs : public Dialogs {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer messageBox(const Message& box) override;
    QString inputBox(const InputBox& box) override;

  private:
    QString choiceBox(const InputBox& box, const QString& prompt);
    QWidget* parent_ = nullptr;
};

} // namespace gk
