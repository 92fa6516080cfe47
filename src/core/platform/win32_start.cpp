// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game on Windows: the exact command line, the wait, the exit code, its window.
#include "win32_start.h"

#include <windows.h>

#include <utility>

namespace gk::win32 {

namespace {

// The system's description of an error number, without the line break it ends with.
std::wstring describe(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring out = n && text ? std::wstring(text, n) : L"Error " + std::to_wstring(error);
    LocalFree(text);
    while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L' '))
        out.pop_back();
    return out;
}

Started refused(DWORD error, std::wstring message) {
    Started started;
    started.error = error;
    started.message = std::move(message);
    return started;
}

} // namespace

Process::Process(Process&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

Process::~Process() {
    close();
}

void Process::close() noexcept {
    if (handle_)
        CloseHandle(handle_);
    handle_ = nullptr;
}

bool Process::running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

unsigned long Process::wait() {
    // The exit code is read only once the handle is signalled: a program may end with the
    // code STILL_ACTIVE (259) itself.
    WaitForSingleObject(handle_, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return code;
}

Started start(const std::wstring& commandLine, const std::wstring& workingDir) {
    if (commandLine.empty())
        return refused(ERROR_INVALID_PARAMETER, L"The command line is empty.");
    if (commandLine.size() > kMaxCommandLine)
        return refused(ERROR_FILENAME_EXCED_RANGE,
                       L"The command line is " + std::to_wstring(commandLine.size()) +
                           L" characters long; Windows starts a program with at most " +
                           std::to_wstring(kMaxCommandLine) + L".");
    // CreateProcessW may write into the command line it is given: a copy of its own.
    std::wstring text = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
        const DWORD error = GetLastError();
        Started started = refused(error, describe(error));
        started.notFound = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return started;
    }
    CloseHandle(info.hThread);
    Started started;
    started.process = Process(info.hProcess);
    return started;
}

bool windowExists(const std::wstring& title) {
    return FindWindowW(nullptr, title.c_str()) != nullptr;
}

} // namespace gk::win32
