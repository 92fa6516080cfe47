// SPDX-License-Identifier: GPL-3.0-or-later
// The window's watch on the season files while nothing changes: the share of one core the
// process uses over a minute (GK_WATCH_SECONDS to change it) with the watch set on a season
// folder, its event loop idle. Target: below 0.1 %.
#include "platform/qt_file_system.h"
#include "platform/qt_file_watch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = qEnvironmentVariableIsSet("GK_WATCH_SECONDS")
                            ? qEnvironmentVariableIntValue("GK_WATCH_SECONDS")
                            : 60;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("seasons"));
    for (const char* name : {"67season.ini", "67AllTracks.ini"}) {
        QFile file(dir.path() + QStringLiteral("/seasons/") + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("[Season]\r\n");
    }
    gk::QtFileSystem files;
    gk::QtFileWatch watch(files);
    int reports = 0;
    const QString game = QDir::toNativeSeparators(dir.path());
    watch.watch({game + QStringLiteral("\\seasons\\67season.ini"),
                 game + QStringLiteral("\\seasons\\67AllTracks.ini")},
                [&reports] { ++reports; });
    const double before = cpuSeconds();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    QCoreApplication::exec();
    const double used = cpuSeconds() - before;
    const double share = 100.0 * used / seconds;
    std::printf("Idle file watch: %.4f s of CPU in %d s = %.4f %% of a core (target < 0.1 %%): "
                "%s; %d reports\n",
                used, seconds, share, share < 0.1 && reports == 0 ? "ok" : "MISSED", reports);
    return 0;
}
