// A stand-in for Wine and the game: records what it was started with into the file named by
// GK_GAME_RECORD ("arg=" per argument after its own name, "cwd=", "WINEPREFIX="), and the
// bytes of seasons/67season.ini as it found them into that name + ".season". Then it runs
// until the file GK_GAME_STOP exists (at most GK_GAME_SECONDS, default 60), or aborts when
// GK_GAME_ABORT is set.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

int main(int argc, char* argv[]) {
    const char* record = std::getenv("GK_GAME_RECORD");
    if (record) {
        std::ostringstream out;
        for (int i = 1; i < argc; ++i)
            out << "arg=" << argv[i] << '\n';
        char cwd[4096] = {};
        out << "cwd=" << (getcwd(cwd, sizeof cwd) ? cwd : "") << '\n';
        const char* prefix = std::getenv("WINEPREFIX");
        out << "WINEPREFIX=" << (prefix ? prefix : "") << '\n';
        std::ifstream season("seasons/67season.ini", std::ios::binary);
        std::ofstream(std::string(record) + ".season", std::ios::binary) << season.rdbuf();
        // Written whole under another name first, so a reader never sees half a record.
        const std::string part = std::string(record) + ".part";
        std::ofstream(part, std::ios::binary) << out.str();
        std::rename(part.c_str(), record);
    }
    if (std::getenv("GK_GAME_ABORT"))
        std::abort();
    const char* seconds = std::getenv("GK_GAME_SECONDS");
    const char* stop = std::getenv("GK_GAME_STOP");
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::seconds(seconds ? std::atoi(seconds) : (stop ? 60 : 0));
    while (std::chrono::steady_clock::now() < end) {
        if (stop && access(stop, F_OK) == 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}
