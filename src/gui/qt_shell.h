// SPDX-License-Identifier: GPL-3.0-or-later
// The real desktop services: the busy pointer, centring, opening a mail link.
#pragma once

#include "platform/shell.h"

class QWidget;

namespace gk {

class QtShell : public Shell {
  public:
    void setMainWindow(QWidget* window) { window_ = window; }
    void setBusyPointer(bool busy) override;
    void centerMainWindow() override;
    void openUrl(const QString& url) override;
    // Centres any window on its screen.
    static void centerWindow(QWidget* window);

  private:
    QWidget* window_ = nullptr;
    int busyDepth_ = 0;
};

} // namespace gk
