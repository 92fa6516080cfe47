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

void writeFile(const std::wstring& path, const void* bytes, DWORD size) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

void writeText(const std::wstring& path, const std::wstring& text) {
    writeFile(path, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

HWND openWindow(const std::wstring& title) {
    WNDCLASSW kind{};
    kind.lpfnWndProc = windowProc;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.lpszClassName = L"GridkeeperStandIn";
    RegisterClassW(&kind);
    return CreateWindowExW(0, kind.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200,
                           100, nullptr, nullptr, kind.hInstance, nullptr);
}

// Runs the window's messages until the quit event is set, the window is closed, or 30 s pass.
void waitForQuit(const std::wstring& quitName) {
    const HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, quitName.c_str());
    const ULONGLONG deadline = GetTickCount64() + 30000;
    for (ULONGLONG now; (now = GetTickCount64()) < deadline;) {
        const DWORD woke = MsgWaitForMultipleObjects(
            1, &quit, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                CloseHandle(quit);
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    CloseHandle(quit);
}

} // namespace

int main() {
    const std::wstring record = variable(L"GK_STANDIN_RECORD");
    if (!record.empty()) {
        writeText(record, GetCommandLineW());
        wchar_t cwd[4096];
        const DWORD n = GetCurrentDirectoryW(4096, cwd);
        writeText(record + L".cwd", std::wstring(cwd, n < 4096 ? n : 0));
    }
    const std::wstring ready = variable(L"GK_STANDIN_READY");
    if (!ready.empty()) {
        const std::wstring title = variable(L"GK_STANDIN_WINDOW");
        const HWND window = title.empty() ? nullptr : openWindow(title);
        const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready.c_str());
        if (event) {
            SetEvent(event);
            CloseHandle(event);
        }
        waitForQuit(variable(L"GK_STANDIN_QUIT"));
        if (window && IsWindow(window))
            DestroyWindow(window);
    }
    Sleep(static_cast<DWORD>(std::wcstoul(variable(L"GK_STANDIN_SLEEP").c_str(), nullptr, 10)));
    if (!record.empty())
        writeFile(record + L".ended", "", 0);
    ExitProcess(static_cast<UINT>(std::wcstoul(variable(L"GK_STANDIN_EXIT").c_str(), nullptr, 10)));
}
