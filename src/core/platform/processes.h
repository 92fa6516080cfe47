// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game and waiting for it, and whether it runs already.
#pragma once

#include "runtime_error.h"

#include <QString>

namespace gk {

// Starting the game and waiting for it.
class ProcessRunner {
  public:
    virtual ~ProcessRunner() = default;
    // Starts the command line with `workingDir` (a game path) as the working directory and
    // returns once the process has ended; the program's events keep running meanwhile.
    // Throws RuntimeError: FileNotFound when the program (or what runs it) is not found,
    // another number with its description for any other failure to start.
    virtual void startAndWait(const QString& commandLine, const QString& workingDir) = 0;
    // A folder's path as the started game sees it, for its command line: the path itself on
    // Windows; under Wine its Wine path (C:\... inside the folder's prefix, Z:\... elsewhere),
    // which startAndWait maps back.
    virtual QString pathSeenByGame(const QString& folder) = 0;
};

// Whether the game runs already.
class GameWindow {
  public:
    virtual ~GameWindow() = default;
    virtual bool gameRunning(const QString& gameDir) = 0;
};

// No game at all, for a front end that starts none: nothing runs, and nothing can be started.
class NoGame : public ProcessRunner, public GameWindow {
  public:
    void startAndWait(const QString&, const QString&) override {
        throw RuntimeError(ErrorCode::FileNotFound);
    }
    QString pathSeenByGame(const QString& folder) override { return folder; }
    bool gameRunning(const QString&) override { return false; }
};

} // namespace gk
