// SPDX-License-Identifier: GPL-3.0-or-later
// The game's real processes: Wine on Linux, CreateProcess on Windows.
#pragma once

#include "processes.h"
#include "qt_file_system.h"

class QProcess;

namespace gk {

// The real game processes.
// Windows (win32_start.h): the command line goes to CreateProcessW unchanged, with the game
// directory as the working directory; the game runs when a top-level window "Papyrus Window"
// exists.
// Elsewhere the game runs through Wine: the command line (its paths in Wine's form) is split
// into arguments by the Windows rules, the executable found as Windows finds it and mapped to
// its native path, and started with `wine` (or the program the WINE environment variable
// names), never through a shell; WINEPREFIX is the game directory's Wine prefix when it lies in
// one (else the caller's stays), and LC_CTYPE a UTF-8 locale, the encoding of the arguments.
// Wine's own error when it cannot load the program is reported as the failure to start it.
// The game runs when a Wine process (or the program WINE names) of the same prefix runs
// gpl.exe, or while the game this object started has not ended.
class QtProcesses : public ProcessRunner, public GameWindow {
  public:
    void startAndWait(const QString& commandLine, const QString& workingDir) override;
    QString pathSeenByGame(const QString& folder) override;
    bool gameRunning(const QString& gameDir) override;

  private:
    QtFileSystem files_;
    QProcess* child_ = nullptr;
};

} // namespace gk
