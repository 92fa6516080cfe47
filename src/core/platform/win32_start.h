// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game on Windows: the exact command line, the wait, the exit code, its window.
#pragma once

// Neither Qt nor <windows.h> here: the Qt adapter and the cross-built test include it alike,
// and no macro of the Windows headers (MessageBox, ERROR, min, max) reaches them through it.
#include <cstddef>
#include <string>

namespace gk::win32 {

// The longest command line Windows starts a program with, in UTF-16 code units, without the
// terminating NUL (CreateProcessW's limit of 32 767 counts it).
inline constexpr std::size_t kMaxCommandLine = 32766;

// A process this unit started; closing its handle when destroyed does not end it.
class Process {
  public:
    Process() = default;
    // Takes over a process handle (a HANDLE).
    explicit Process(void* handle) noexcept : handle_(handle) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    explicit operator bool() const noexcept { return handle_ != nullptr; }
    // The process handle (a HANDLE): signalled once the process has ended.
    void* handle() const noexcept { return handle_; }
    // Whether the process still runs.
    bool running() const;
    // Waits until the process has ended (returns at once when it has) and returns its exit code.
    unsigned long wait();

  private:
    void close() noexcept;
    void* handle_ = nullptr;
};

// What start() did: a running process, or the system's error number with its description.
struct Started {
    Process process;
    unsigned long error = 0; // 0 when the process runs
    std::wstring message;    // the description of `error`
    bool notFound = false;   // the program (or a folder on its path) does not exist
};

// Starts `commandLine` exactly as given (nothing is quoted, split or re-joined: the program's
// GetCommandLineW() returns these characters) with `workingDir` as its working directory.
// An empty command line or one longer than kMaxCommandLine is refused, never cut.
Started start(const std::wstring& commandLine, const std::wstring& workingDir);

// Whether a top-level window with exactly this title exists (the game's: "Papyrus Window").
bool windowExists(const std::wstring& title);

} // namespace gk::win32
