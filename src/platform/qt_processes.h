#pragma once

#include "processes.h"
#include "qt_file_system.h"

class QProcess;

namespace gk {

// The real game processes.
// Windows: the command line goes to CreateProcess unchanged, with the game directory as the
// working directory; the game runs when a top-level window "Papyrus Window" exists.
// Elsewhere the game runs through Wine: the command line is split into arguments by the
// Windows rules, the executable found as Windows finds it and mapped to its native path, and
// started with `wine` (or the program the WINE environment variable names), never through a
// shell; WINEPREFIX is the folder holding "drive_c" when the game directory lies inside one.
// The game runs when a process of the same Wine prefix runs gpl.exe, or while the game this
// object started has not ended.
class QtProcesses : public ProcessRunner, public GameWindow {
  public:
    void startAndWait(const QString& commandLine, const QString& workingDir) override;
    bool gameRunning(const QString& gameDir) override;

  private:
    QtFileSystem files_;
    QProcess* child_ = nullptr;
};

} // namespace gk
