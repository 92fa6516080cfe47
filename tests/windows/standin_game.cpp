// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the game on Windows, cross-built: records the command line and the working
// directory it was given, may open a window, and ends with the exit code it is told.
//
// Told through its environment, so that its command line can be anything:
//   GK_STANDIN_RECORD  file for GetCommandLineW() as UTF-16LE bytes; FILE.cwd gets the working
//                      directory, and FILE.ended is made last, right before the process ends
//   GK_STANDIN_SLEEP   milliseconds to wait before it ends (after the record)
//   GK_STANDIN_EXIT    its exit code (decimal; default 0)
//   GK_STANDIN_WINDOW  the title of a top-level window to open
//   GK_STANDIN_READY   name of an event to set once the window (if any) exists; it then waits
//                      for the event GK_STANDIN_QUIT (at most 30 s) before it ends
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring variable(const wchar_t* name) {
    wchar_t value[4096];
    const DWORD n = GetEnvironmentVariableW(name, value, 4096);
    return n > 0 && n < 4096 ? std::wstring(value, n) : std::wstring();
}

// Writes `text` as UTF-16LE bytes.
void writeFile(const std::wstring& path, const std::wstring& text) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
}

} // namespace

int main() {
    const std::wstring record = variable(L"GK_STANDIN_RECORD");
    if (!record.empty()) {
        writeFile(record, GetCommandLineW());
        wchar_t cwd[4096];
        const DWORD n = GetCurrentDirectoryW(4096, cwd);
        writeFile(record + L".cwd", std::wstring(cwd, n < 4096 ? n : 0));
    }
    const std::wstring ready = variable(L"GK_STANDIN_READY");
    if (!ready.empty()) {
        // A window of the system's static class: finding it by its title needs no messages.
        const std::wstring title = variable(L"GK_STANDIN_WINDOW");
        const HWND window =
            title.empty() ? nullptr
                          : CreateWindowExW(0, L"STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                                            200, 100, nullptr, nullptr, nullptr, nullptr);
        const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready.c_str());
        if (event) {
            SetEvent(event);
            CloseHandle(event);
        }
        const HANDLE quit =
            CreateEventW(nullptr, TRUE, FALSE, variable(L"GK_STANDIN_QUIT").c_str());
        WaitForSingleObject(quit, 30000);
        CloseHandle(quit);
        if (window)
            DestroyWindow(window);
    }
    Sleep(static_cast<DWORD>(std::wcstoul(variable(L"GK_STANDIN_SLEEP").c_str(), nullptr, 10)));
    if (!record.empty())
        writeFile(record + L".ended", L"");
    ExitProcess(static_cast<UINT>(std::wcstoul(variable(L"GK_STANDIN_EXIT").c_str(), nullptr, 10)));
}
