// SPDX-License-Identifier: GPL-3.0-or-later
// The real message and input boxes (QMessageBox, QInputDialog).
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
    QWidget* parent_ = nullptr;
};

} // namespace gk
