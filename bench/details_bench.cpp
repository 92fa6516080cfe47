// SPDX-License-Identifier: GPL-3.0-or-later
// The track details: reading those of 32 767 track folders in the background after a load,
// beside the floor of reading the same files' bytes once (each track folder's listing and its
// track.ini), with the longest stall of the event loop meanwhile (a 5 ms timer whose every tick
// asks for a row's tooltip) beside the same timer's longest stall while nothing is read; then a
// search keystroke that falls back to the full names, at 4 096 and 32 767 rows. Targets: all
// read within 2x the floor, no stall over 16 ms, a keystroke under 16 ms and at most 10x the
// keystroke at 4 096 rows.
//   gridkeeper_details_bench [ROUNDS]   (default 5)

#include "bench_game.h"

#include "form_model.h"
#include "platform/qt_file_system.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace gk::bench {
namespace {

constexpr int kBig = 32767;
constexpr int kSmall = 4096;
constexpr int kTick = 5;
constexpr int kKeystrokes = 41;

// Words of the generated full names: a search for one of them finds every sixteenth track.
constexpr std::array<const char*, 16> kWords = {
    "Glen",  "Park", "Ring",    "Raceway", "Autodromo",  "Circuit", "Speedway", "Nordschleife",
    "Grand", "Prix", "Bergamo", "Monte",   "Vallelunga", "Sierra",  "Costa",    "Mille"};

// Gives every track folder of the game what add-on tracks ship beside track.ini: a track.ini
// of about 1.4 KB with the four fields at its top, a file for one mod or two, a picture and a
// few files of the track itself (second names of one file: only their names are read).
void addDetails(const BenchGame& game) {
    QTemporaryDir spare;
    QByteArray one;
    int links = 0;
    const auto link = [&](const QString& path) {
        // A file takes a limited number of names (65 000 on ext4): a new one now and then.
        if (links++ % 50000 == 0) {
            one = QFile::encodeName(spare.filePath(QString::number(links)));
            writeWhole(QFile::decodeName(one), QByteArray(2048, 'j'));
        }
        if (::link(one.constData(), QFile::encodeName(path).constData()) != 0) {
            std::fprintf(stderr, "details bench: cannot make %s\n", qUtf8Printable(path));
            std::exit(2);
        }
    };
    const QByteArray rest = "[ track_setup ]\r\n" + QByteArray("k=1\r\n").repeated(240);
    int n = 0;
    for (const std::string& iniPath : game.trackIniPaths()) {
        ++n;
        const QString ini = QFile::decodeName(QByteArray::fromStdString(iniPath));
        const QString folder = ini.left(ini.lastIndexOf(QLatin1Char('/')));
        const QString name = folder.mid(folder.lastIndexOf(QLatin1Char('/')) + 1);
        const QByteArray word = kWords[static_cast<size_t>(n) % kWords.size()];
        writeWhole(ini, "[ track ]\r\ntrack_name = Circuit " + word + " " + QByteArray::number(n) +
                            " ; the full name\r\ntrack_name_short = " + word +
                            "\r\ntrack_length = 2.35m\r\ntrack_num_turns = 11\r\n" + rest);
        link(folder + QStringLiteral("/track67.ini"));
        if (n % 3 == 0)
            link(folder + QStringLiteral("/trackGT.ini"));
        link(folder + QLatin1Char('/') + name + QStringLiteral(".jpg"));
        for (const char* other : {"track.trk", "track.3do", "pits.3do", "sky.mip"})
            link(folder + QLatin1Char('/') + QLatin1String(other));
    }
}

// The floor: every track folder listed and its track.ini read whole, once.
double floorMs(const BenchGame& game) {
    std::vector<std::string> folders;
    for (const std::string& path : game.trackIniPaths())
        folders.push_back(path.substr(0, path.rfind('/')));
    QElapsedTimer timer;
    timer.start();
    qint64 bytes = 0;
    std::array<char, 65536> buffer{};
    for (size_t i = 0; i < folders.size(); ++i) {
        DIR* dir = ::opendir(folders[i].c_str());
        if (!dir)
            std::exit(2);
        while (const dirent* entry = ::readdir(dir))
            bytes += entry->d_name[0] != 0;
        ::closedir(dir);
        const int fd = ::open(game.trackIniPaths()[i].c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            std::exit(2);
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
            bytes += got;
        ::close(fd);
    }
    const double ms = msSince(timer);
    if (bytes == 0)
        std::exit(2);
    return ms;
}

// A form model wired as main.cpp wires it, with a null user interface.
struct Wired {
    NullDialogs dialogs;
    MemorySettings settings;
    QtFileSystem files;
    NullShell shell;
    QtFileSystem detailsFiles;
    FormModel model{{settings, dialogs, files, shell, nullptr, nullptr, nullptr, false, nullptr,
                     &detailsFiles}};
};

struct Background {
    // From the start of the reading (TrackDetailsLoader::kListsAfterMs after the end of the
    // load) to the last folder read.
    double readMs = 0;
    double longestMs = 0; // the longest stall beyond the tick
    double idleMs = 0;    // the same, while nothing is read, for as long
    bool ok = false;
};

// The longest stall beyond the tick of the same timer, asking for the same tooltips, while
// nothing is read: what the machine itself adds.
double idleStall(FormModel& model, double ms) {
    double longest = 0;
    QElapsedTimer since;
    QElapsedTimer sinceTick;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    int row = 0;
    QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
        longest = std::max(longest, msSince(sinceTick) - kTick);
        row = (row + 7919) % std::max<int>(model.list(ListSide::Inactive).count(), 1);
        model.trackToolTip(ListSide::Inactive, row);
        if (msSince(since) >= ms)
            QCoreApplication::exit(0);
        sinceTick.restart();
    });
    since.start();
    sinceTick.start();
    probe.start(kTick);
    QCoreApplication::exec();
    return longest;
}

// Loads the game, then runs the event loop, a timer asking for a tooltip at every tick, until
// every folder is read.
Background readInBackground(const BenchGame& game) {
    Background result;
    Wired wired;
    if (!wired.model.startUp(game.dir()))
        return result;
    QElapsedTimer sinceLoad;
    QElapsedTimer sinceTick;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    int row = 0;
    int tips = 0;
    QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
        result.longestMs = std::max(result.longestMs, msSince(sinceTick) - kTick);
        const int n = wired.model.list(ListSide::Inactive).count();
        row = (row + 7919) % std::max(n, 1);
        tips += wired.model.trackToolTip(ListSide::Inactive, row) ? 1 : 0;
        if (wired.model.trackDetails().waitForIdle(0)) {
            result.readMs =
                msSince(sinceLoad) - static_cast<double>(TrackDetailsLoader::kListsAfterMs);
            QCoreApplication::exit(0);
        }
        sinceTick.restart();
    });
    if (!wired.model.loadWorkspace())
        return result;
    sinceLoad.start();
    sinceTick.start();
    probe.start(kTick);
    QCoreApplication::exec();
    probe.stop();
    {
        const TrackDetailsCache::Lookup lookup = wired.model.trackDetails().lookup();
        const TrackDetailsCache::Entry* last =
            lookup.find(wired.model.list(ListSide::Inactive).rows.back().text);
        result.ok = last && last->details.ini.turns == 11 && tips > 0;
    }
    result.idleMs = idleStall(wired.model, msSince(sinceLoad));
    return result;
}

struct Keystrokes {
    double firstMs = 0;  // the first, which gathers the rows' full names
    double medianMs = 0; // the others
    double gatherMs = 0; // the median of keystrokes that gather them anew (every row moved)
    bool ok = false;
};

// Search keystrokes that no folder name answers, so that the full names are searched, with
// every folder's details read; the texts alternate, so each one selects anew.
Keystrokes keystrokes(const BenchGame& game) {
    Keystrokes result;
    Wired wired;
    result.ok = wired.model.Form_Load(game.dir()) && wired.model.trackDetails().waitForIdle(600000);
    std::vector<double> times;
    for (int i = 0; i <= kKeystrokes; ++i) {
        QElapsedTimer timer;
        timer.start();
        wired.model.setSearchText(QString::fromLatin1(kWords[static_cast<size_t>(i % 2)]));
        (i == 0 ? result.firstMs : times.emplace_back()) = msSince(timer);
    }
    const TrackList& inactive = wired.model.list(ListSide::Inactive);
    const auto isSelected = [](const TrackRow& row) { return row.selected; };
    const auto selected = std::count_if(inactive.rows.begin(), inactive.rows.end(), isSelected);
    const TrackList& active = wired.model.list(ListSide::Active);
    const auto all = selected + std::count_if(active.rows.begin(), active.rows.end(), isSelected);
    const int rows = inactive.count() + active.count();
    result.ok = result.ok && all >= rows / 16 && all <= rows / 16 + 1;
    result.medianMs = median(times);
    times.clear();
    for (int i = 0; i < kKeystrokes; ++i) {
        // Every row moves one place, as after a move or a sort.
        for (const ListSide side : {ListSide::Inactive, ListSide::Active}) {
            TrackList& list = wired.model.list(side);
            if (!list.rows.empty())
                std::rotate(list.rows.begin(), list.rows.begin() + 1, list.rows.end());
            list.rowsChanged();
        }
        QElapsedTimer timer;
        timer.start();
        wired.model.setSearchText(QString::fromLatin1(kWords[static_cast<size_t>(i % 2)]));
        times.push_back(msSince(timer));
    }
    result.gatherMs = median(times);
    return result;
}

} // namespace
} // namespace gk::bench

int main(int argc, char* argv[]) {
    using namespace gk::bench;
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const BenchGame& big = sharedGame({kBig});
    const BenchGame& small = sharedGame({kSmall});
    QElapsedTimer made;
    made.start();
    addDetails(big);
    addDetails(small);
    std::printf("Track details: game folders of %d and %d track folders, each with track.ini, "
                "mod files, a picture and 4 other files (made in %.1f s)\n",
                kBig, kSmall, msSince(made) / 1000);
    floorMs(big); // warms the caches for both sides alike
    std::vector<double> floors;
    std::vector<double> reads;
    double longest = 0;
    double idle = 0;
    bool ok = true;
    for (int r = 0; r < rounds; ++r) {
        floors.push_back(floorMs(big));
        const Background b = readInBackground(big);
        ok = ok && b.ok;
        reads.push_back(b.readMs);
        longest = std::max(longest, b.longestMs);
        idle = std::max(idle, b.idleMs);
    }
    const double floor = median(floors);
    const double read = median(reads);
    std::printf("  details of %d folders read in the background  %8.1f ms   floor (each folder "
                "listed, its track.ini read, once) %8.1f ms   %.2fx  (target <= 2x: %s)\n"
                "    (from the start of the reading, %lld ms after the end of the load)\n",
                kBig, read, floor, read / floor, read / floor <= 2 ? "ok" : "MISSED",
                static_cast<long long>(gk::TrackDetailsLoader::kListsAfterMs));
    std::printf("  longest event-loop stall meanwhile            %8.2f ms beyond the %d ms tick "
                "(target < 16 ms: %s); with nothing read %.2f ms\n",
                longest, kTick, longest < 16 ? "ok" : "MISSED", idle);

    const Keystrokes atBig = keystrokes(big);
    const Keystrokes atSmall = keystrokes(small);
    const double ratio = atBig.medianMs / atSmall.medianMs;
    std::printf("  search keystroke answered by the full names   %8.2f ms at %d rows, %.2f ms at "
                "%d rows, %.1fx  (target < 16 ms and < 10x: %s)\n",
                atBig.medianMs, kBig, atSmall.medianMs, kSmall, ratio,
                atBig.medianMs < 16 && ratio < 10 ? "ok" : "MISSED");
    std::printf("  the first such keystroke after the details are read (gathers the full names "
                "of the rows)  %.2f ms at %d rows, %.2f ms at %d rows  (target < 16 ms: %s)\n",
                atBig.firstMs, kBig, atSmall.firstMs, kSmall, atBig.firstMs < 16 ? "ok" : "MISSED");
    const double gatherRatio = atBig.gatherMs / atSmall.gatherMs;
    std::printf("  such a keystroke after every row moved (median)  %.2f ms at %d rows, %.2f ms "
                "at %d rows, %.1fx  (target < 16 ms and < 10x: %s)\n",
                atBig.gatherMs, kBig, atSmall.gatherMs, kSmall, gatherRatio,
                atBig.gatherMs < 16 && gatherRatio < 10 ? "ok" : "MISSED");
    const bool okBig = atBig.ok;
    const bool okSmall = atSmall.ok;
    if (!ok || !okBig || !okSmall)
        std::printf("  SOME RUNS WENT WRONG (a load failed, or details or matches are missing)\n");
    std::printf("  (medians of %d rounds; the keystroke: median of %d)\n", rounds, kKeystrokes);
    return ok && okBig && okSmall ? 0 : 1;
}
