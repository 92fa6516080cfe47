// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_game.h"

#include <unistd.h>

#include <sys/wait.h>

#include "season/season_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <numeric>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace gk::bench {
namespace {

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path)) {
        std::fprintf(stderr, "bench: cannot make folder %s\n", qUtf8Printable(path));
        std::exit(2);
    }
}

QByteArray seasonBytes(QByteArrayView name, const std::vector<int>& tracks) {
    SeasonFileBuilder builder(name, static_cast<qsizetype>(tracks.size()));
    qsizetype k = 0;
    for (const int n : tracks)
        builder.addEvent(++k, trackEvent(n));
    return builder.take();
}

// The track numbers of the season: spread over the all-tracks events in a shuffled order, or
// the extra folders after them.
std::vector<int> seasonTracks(const GameShape& shape) {
    std::vector<int> tracks;
    tracks.reserve(static_cast<size_t>(shape.season));
    if (shape.seasonOutsideAllTracks) {
        for (int k = 0; k < shape.season; ++k)
            tracks.push_back(shape.allTracks + 1 + k);
        return tracks;
    }
    const int step = std::max(1, shape.allTracks / std::max(1, shape.season));
    int stride = std::max(1, shape.season * 45 / 100);
    while (std::gcd(stride, shape.season) != 1)
        ++stride;
    for (int k = 0; k < shape.season; ++k)
        tracks.push_back(1 + ((k * stride) % shape.season) * step);
    return tracks;
}

} // namespace

void writeWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "bench: cannot write %s\n", qUtf8Printable(path));
        std::exit(2);
    }
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

QByteArray trackFolder(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "track%05d", n);
    return QByteArray(name);
}

EventEntries trackEvent(int n) {
    const QByteArray folder = trackFolder(n);
    const QByteArray number = folder.mid(5);
    EventEntries e;
    e.entry = {"name=Bench Track " + number,
               "shortname=T" + number,
               "trackDirectory=" + folder,
               "month=" + QByteArray::number(1 + n % 12),
               "day=" + QByteArray::number(1 + n % 28),
               "numberOfLaps=" + QByteArray::number(20 + n % 60),
               "startingGrid=0"};
    return e;
}

BenchGame::BenchGame(const GameShape& shape) : shape_(shape) {
    QElapsedTimer timer;
    timer.start();
    if (!tmp_.isValid()) {
        std::fprintf(stderr, "bench: cannot make a temporary folder\n");
        std::exit(2);
    }
    const QString root = dir();
    makeFolder(root + QStringLiteral("/seasons"));
    makeFolder(root + QStringLiteral("/tracks"));
    writeWhole(root + QStringLiteral("/driver.ini"), "[ Driver ]\r\n");

    std::vector<int> all(static_cast<size_t>(shape.allTracks));
    std::iota(all.begin(), all.end(), 1);
    const std::vector<int> season = seasonTracks(shape);
    writeWhole(seasonFile(), seasonBytes("Bench Season", season));
    writeWhole(allTracksFile(), seasonBytes("Bench All Tracks", all));

    std::vector<int> folders = all;
    if (shape.seasonOutsideAllTracks)
        folders.insert(folders.end(), season.begin(), season.end());
    trackIniPaths_.reserve(folders.size());
    for (const int n : folders) {
        const QString folder =
            root + QStringLiteral("/tracks/") + QString::fromLatin1(trackFolder(n));
        if (!QDir().mkdir(folder)) {
            std::fprintf(stderr, "bench: cannot make folder %s\n", qUtf8Printable(folder));
            std::exit(2);
        }
        const QString ini = folder + QStringLiteral("/track.ini");
        writeWhole(ini, "[ track ]\r\nname=Bench Track " + trackFolder(n).mid(5) + "\r\n");
        trackIniPaths_.push_back(QFile::encodeName(ini).toStdString());
    }
    generationSeconds_ = static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

QString BenchGame::seasonFile() const {
    return dir() + QStringLiteral("/seasons/67season.ini");
}

QString BenchGame::allTracksFile() const {
    return dir() + QStringLiteral("/seasons/67AllTracks.ini");
}

const BenchGame& sharedGame(const GameShape& shape, const QString& purpose) {
    using Key = std::tuple<int, int, bool, QString>;
    static std::map<Key, std::unique_ptr<BenchGame>> games;
    const Key key{shape.allTracks, shape.season, shape.seasonOutsideAllTracks, purpose};
    auto it = games.find(key);
    if (it == games.end())
        it = games.emplace(key, std::make_unique<BenchGame>(shape)).first;
    return *it->second;
}

Answer NullDialogs::messageBox(const Message& box) {
    ++shown;
    lastText = box.text;
    return box.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

QString NullDialogs::inputBox(const InputBox& box) {
    ++shown;
    lastText = box.prompt;
    return {};
}

QString MemorySettings::getSetting(const QString& app, const QString& section, const QString& key,
                                   const QString& defaultValue) {
    return values_.value(app + QLatin1Char('/') + section + QLatin1Char('/') + key, defaultValue);
}

void MemorySettings::saveSetting(const QString& app, const QString& section, const QString& key,
                                 const QString& value) {
    values_.insert(app + QLatin1Char('/') + section + QLatin1Char('/') + key, value);
}

long peakRssKiB() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid),
                     values.end());
    const double upper = values[mid];
    if (values.size() % 2 != 0)
        return upper;
    const double lower =
        *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

std::optional<ChildRun> runSelf(const std::vector<std::string>& args) {
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execv("/proc/self/exe", argv.data());
        std::_Exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return std::nullopt;
    }
    ChildRun run;
    std::string& out = run.out;
    char buffer[512];
    ssize_t got;
    while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<size_t>(got));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace gk::bench
