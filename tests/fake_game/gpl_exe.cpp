// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the game under Wine, cross-built for Windows: records the arguments
// CommandLineToArgvW makes of its command line and its working directory into the file named
// by GK_GAME_RECORD (UTF-8, "arg=" per argument, "cwd="), and the bytes of
// seasons\67season.ini as it found them into that name + ".season".
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>
#include <string>

static std::string utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

int main() {
    wchar_t record[4096], cwd[4096];
    if (!GetEnvironmentVariableW(L"GK_GAME_RECORD", record, 4096))
        return 1;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::string out;
    for (int i = 0; i < argc; ++i)
        out += "arg=" + utf8(argv[i]) + "\n";
    GetCurrentDirectoryW(4096, cwd);
    out += "cwd=" + utf8(cwd) + "\n";
    if (FILE* f = _wfopen(record, L"wb")) {
        std::fwrite(out.data(), 1, out.size(), f);
        std::fclose(f);
    }
    CopyFileW(L"seasons\\67season.ini", (std::wstring(record) + L".season").c_str(), FALSE);
    return 0;
}
