// SPDX-License-Identifier: GPL-3.0-or-later
// What the program asks of the desktop: the busy pointer, centring, a mail link.
#pragma once

#include <QString>

namespace gk {

// Small services of the desktop: the busy mouse pointer, placing the main window, and
// opening a URL (a mailto: link) with the handler the system has for it.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void setBusyPointer(bool busy) = 0;
    virtual void centerMainWindow() = 0;
    // Hands the URL to the system; nothing happens when no handler is registered.
    virtual void openUrl(const QString& url) = 0;
};

class NullShell : public Shell {
  public:
    void setBusyPointer(bool) override {}
    void centerMainWindow() override {}
    void openUrl(const QString&) override {}
};

} // namespace gk
