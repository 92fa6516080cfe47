// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows start (core/platform/win32_start), cross-built and run under Wine, against the
// stand-in game (standin_game.cpp, copied beside this program as standin.exe).
#include "platform/win32_start.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using gk::win32::Started;

int passed = 0;
int failed = 0;

std::string utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void check(bool ok, const std::wstring& what, const std::wstring& detail = {}) {
    ++(ok ? passed : failed);
    if (!ok)
        std::printf("FAIL %s%s%s\n", utf8(what).c_str(), detail.empty() ? "" : ": ",
                    utf8(detail).c_str());
}

// A file's UTF-16LE content; "\x01missing" when it cannot be read.
std::wstring readUtf16(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"\x01missing";
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    return text;
}

// Where two texts first differ, for a failure's message.
std::wstring firstDifference(const std::wstring& got, const std::wstring& want) {
    const auto i = static_cast<std::size_t>(
        std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin());
    return L"at " + std::to_wstring(i) + L": \"" + got.substr(i, 40) + L"\" instead of \"" +
           want.substr(i, 40) + L"\"";
}

void setVariable(const wchar_t* name, const std::wstring& value) {
    SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

// Wine's CreateProcessW puts quotes around a program path it found by trying the unquoted text
// up to each space; Windows passes the line on as it is.
bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

struct Run {
    const wchar_t* name;
    std::wstring commandLine;
    std::wstring wineSees; // "": the line itself
    std::wstring workingDir;
    unsigned long exitCode;
    const wchar_t* sleepMs; // before the stand-in ends
};

// The stand-in gets exactly the command line, runs in the folder given, and the wait returns
// its exit code only after it has ended.
void runs(const std::wstring& root, const std::vector<Run>& table) {
    const std::wstring record = root + L"\\record";
    setVariable(L"GK_STANDIN_RECORD", record);
    for (const Run& run : table) {
        const std::wstring name = run.name;
        for (const wchar_t* suffix : {L"", L".cwd", L".ended"})
            DeleteFileW((record + suffix).c_str());
        setVariable(L"GK_STANDIN_EXIT", std::to_wstring(run.exitCode));
        setVariable(L"GK_STANDIN_SLEEP", run.sleepMs);
        Started started = gk::win32::start(run.commandLine, run.workingDir);
        check(started.process && started.error == 0, name + L": started", started.message);
        if (!started.process)
            continue;
        const unsigned long code = started.process.wait();
        check(GetFileAttributesW((record + L".ended").c_str()) != INVALID_FILE_ATTRIBUTES &&
                  !started.process.running(),
              name + L": the wait returns after the end");
        check(code == run.exitCode, name + L": exit code",
              std::to_wstring(code) + L" instead of " + std::to_wstring(run.exitCode));
        const std::wstring seen = readUtf16(record);
        const std::wstring& want =
            underWine() && !run.wineSees.empty() ? run.wineSees : run.commandLine;
        check(seen == want, name + L": GetCommandLineW() is the line given",
              firstDifference(seen, want));
        const std::wstring cwd = readUtf16(record + L".cwd");
        check(cwd == run.workingDir, name + L": working directory", cwd);
    }
    setVariable(L"GK_STANDIN_RECORD", L"");
}

struct Refusal {
    const wchar_t* name;
    std::wstring commandLine;
    std::wstring workingDir;
    unsigned long error; // 0: ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND, as the system says
    bool notFound;
};

// What cannot be started is reported with the system's number and a description.
void refusals(const std::vector<Refusal>& table) {
    for (const Refusal& refusal : table) {
        const std::wstring name = refusal.name;
        Started started = gk::win32::start(refusal.commandLine, refusal.workingDir);
        check(!started.process, name + L": nothing started");
        const bool missing =
            started.error == ERROR_FILE_NOT_FOUND || started.error == ERROR_PATH_NOT_FOUND;
        check(refusal.error ? started.error == refusal.error : missing, name + L": error number",
              std::to_wstring(started.error) + L" instead of " + std::to_wstring(refusal.error));
        check(!started.message.empty(), name + L": a description");
        check(started.notFound == refusal.notFound, name + L": not found");
        if (started.process)
            started.process.wait();
    }
}

struct Window {
    const wchar_t* name;
    const wchar_t* title; // "": the stand-in opens none
    bool found;
};

// The game's window is found while the stand-in holds it open, and only by its exact title.
void windows(const std::wstring& game) {
    const std::vector<Window> table = {
        {L"a window titled Papyrus Window", L"Papyrus Window", true},
        {L"a window titled Papyrus", L"Papyrus", false},
        {L"no window", L"", false},
    };
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"GkStandInReady");
    const HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"GkStandInQuit");
    setVariable(L"GK_STANDIN_READY", L"GkStandInReady");
    setVariable(L"GK_STANDIN_QUIT", L"GkStandInQuit");
    for (const Window& window : table) {
        const std::wstring name = window.name;
        ResetEvent(ready);
        ResetEvent(quit);
        setVariable(L"GK_STANDIN_WINDOW", window.title);
        setVariable(L"GK_STANDIN_EXIT", L"5");
        check(!gk::win32::windowExists(L"Papyrus Window"), name + L": none before the start");
        Started started = gk::win32::start(L"\"" + game + L"\"", folderOf(game));
        check(started.error == 0, name + L": started", started.message);
        if (!started.process)
            continue;
        check(WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0, name + L": the stand-in is up");
        check(gk::win32::windowExists(L"Papyrus Window") == window.found, name + L": found");
        SetEvent(quit);
        check(started.process.wait() == 5, name + L": exit code");
        check(!gk::win32::windowExists(L"Papyrus Window"), name + L": none after the end");
    }
    for (const wchar_t* variable : {L"GK_STANDIN_READY", L"GK_STANDIN_QUIT", L"GK_STANDIN_WINDOW"})
        setVariable(variable, L"");
    CloseHandle(ready);
    CloseHandle(quit);
}

} // namespace

int wmain() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring standIn = folderOf(self) + L"\\standin.exe";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"gk-win32-start-" + std::to_wstring(GetCurrentProcessId());
    // The game in a folder whose name holds a space, and in one of non-ASCII characters.
    const std::wstring spaced = root + L"\\G PL";
    const std::wstring accented = root + L"\\Grand Prix L\u00e9gends \u9234\u9e7f";
    const std::wstring game = spaced + L"\\gpl.exe";
    const std::wstring intlGame = accented + L"\\gpl.exe";
    CreateDirectoryW(root.c_str(), nullptr);
    for (const std::wstring& folder : {spaced, accented}) {
        CreateDirectoryW(folder.c_str(), nullptr);
        if (!CopyFileW(standIn.c_str(), (folder + L"\\gpl.exe").c_str(), FALSE)) {
            std::printf("cannot copy %s\n", utf8(standIn).c_str());
            return 1;
        }
    }
    const std::wstring quoted = L"\"" + game + L"\"";
    const std::wstring ko = L" -ko\"20:Personal Information:";
    std::wstring longest = quoted + L" -ko\"";
    longest += std::wstring(gk::win32::kMaxCommandLine - longest.size() - 1, L'x') + L"\"";

    const std::wstring tail = ko + L"lastTrackSelection:monza\"" + ko + L"team:2\"";
    const std::wstring intlTail = ko + L"lastTrackSelection:caf\u00e9\" \u9234\u9e7f \U0001D50A";
    runs(root,
         {
             {L"the game's line, its path unquoted with a space", game + tail, quoted + tail,
              spaced, 0, L"300"},
             {L"the path quoted", quoted + ko + L"lastTrackSelection:spa\"", L"", spaced, 42,
              L"300"},
             {L"quotes inside arguments",
              quoted + ko + L"lastTrackSelection:a \"\"b\"\" c\" \"\"\"\" x\"y\"z", L"", spaced, 1,
              L"0"},
             {L"backslashes before quotes",
              quoted + L" \"a\\\\\\\"b\" c:\\dir\\\\ \"d\\\\\" \\\\\\\" e\\", L"", spaced, 0, L"0"},
             {L"non-ASCII track names in a non-ASCII folder", intlGame + intlTail,
              L"\"" + intlGame + L"\"" + intlTail, accented, 0, L"300"},
             {L"spaces and a tab after the program, nothing else", quoted + L"  \t ", L"", spaced,
              0, L"0"},
             {L"a program that ends at once with the code STILL_ACTIVE", quoted, L"", spaced, 259,
              L"0"},
             {L"an exit code above 2^31", quoted, L"", spaced, 0xC0000005UL, L"0"},
             {L"the longest line Windows starts", longest, L"", spaced, 0, L"0"},
         });
    refusals({
        {L"an empty command line", L"", spaced, ERROR_INVALID_PARAMETER, false},
        {L"one character past the longest line", longest + L"x", spaced, ERROR_FILENAME_EXCED_RANGE,
         false},
        {L"a missing program", L"\"" + root + L"\\none\\gpl.exe\" -x", spaced, 0, true},
        {L"a missing program in a folder that exists", L"\"" + spaced + L"\\none.exe\"", spaced,
         ERROR_FILE_NOT_FOUND, true},
        {L"a missing working directory", quoted, root + L"\\none", ERROR_DIRECTORY, false},
    });
    windows(game);

    for (const std::wstring& folder : {spaced, accented})
        DeleteFileW((folder + L"\\gpl.exe").c_str());
    for (const wchar_t* suffix : {L"", L".cwd", L".ended"})
        DeleteFileW((root + L"\\record" + suffix).c_str());
    for (const std::wstring& folder : {spaced, accented, root})
        RemoveDirectoryW(folder.c_str());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
