// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for Wine and the game: writes GK_GAME_STDERR to stderr and, when GK_GAME_EXIT is
// set, ends at once with that status. Else it records what it was started with into the file
// named by GK_GAME_RECORD ("arg=" per argument after its own name, "cwd=", "WINEPREFIX=", the
// character set of its LC_CTYPE as "codeset=", its LC_NUMERIC locale as "numeric="), and the
// bytes of seasons/67season.ini as it found them into that name + ".season". Then it runs
// GK_GAME_SECONDS, or until the file GK_GAME_STOP exists (at most 60 s).
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <langinfo.h>
#include <sstream>
#include <string>
#include <unistd.h>

int main(int argc, char* argv[]) {
    if (const char* text = std::getenv("GK_GAME_STDERR"))
        std::fprintf(stderr, "%s\n", text);
    if (const char* status = std::getenv("GK_GAME_EXIT"))
        return std::atoi(status);
    if (const char* record = std::getenv("GK_GAME_RECORD")) {
        std::ostringstream out;
        for (int i = 1; i < argc; ++i)
            out << "arg=" << argv[i] << '\n';
        char cwd[4096] = {};
        const char* prefix = std::getenv("WINEPREFIX");
        out << "cwd=" << (getcwd(cwd, sizeof cwd) ? cwd : "")
            << "\nWINEPREFIX=" << (prefix ? prefix : "") << '\n';
        std::setlocale(LC_CTYPE, "");
        const char* numeric = std::setlocale(LC_NUMERIC, "");
        out << "codeset=" << nl_langinfo(CODESET) << "\nnumeric=" << (numeric ? numeric : "")
            << '\n';
        std::ifstream season("seasons/67season.ini", std::ios::binary);
        std::ofstream(std::string(record) + ".season", std::ios::binary) << season.rdbuf();
        // Written whole under another name first, so a reader never sees half a record.
        const std::string part = std::string(record) + ".part";
        std::ofstream(part, std::ios::binary) << out.str();
        std::rename(part.c_str(), record);
    }
    const char* stop = std::getenv("GK_GAME_STOP");
    const char* seconds = std::getenv("GK_GAME_SECONDS");
    const int polls = 50 * (seconds ? std::atoi(seconds) : stop ? 60 : 0); // every 20 ms
    for (int i = 0; i < polls && !(stop && access(stop, F_OK) == 0); ++i)
        usleep(20000);
    return 0;
}
