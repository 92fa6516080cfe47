#pragma once

namespace gk {

// Small services of the desktop: the busy mouse pointer and placing the main window.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void setBusyPointer(bool busy) = 0;
    virtual void centerMainWindow() = 0;
};

class NullShell : public Shell {
  public:
    void setBusyPointer(bool) override {}
    void centerMainWindow() override {}
};

} // namespace gk
