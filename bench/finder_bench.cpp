// SPDX-License-Identifier: GPL-3.0-or-later
// The search for game folders at a first start, in a crowded home folder.
#include "game/game_finder.h"
#include "platform/qt_file_system.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace Qt::StringLiterals;

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile(path).open(QIODevice::WriteOnly);
}

// A home with the default prefix full of programs, 400 Steam prefixes, 200 Lutris games and 100
// winetricks prefixes, each drive C: with 30 folders, and the game in the last place searched.
void BM_FindGameFolders(benchmark::State& state) {
    QTemporaryDir home;
    const QString h = home.path();
    for (int i = 0; i < 300; ++i)
        QDir().mkpath(h + u"/.wine/drive_c/Program Files/Program %1"_s.arg(i));
    const auto prefixes = [&](const QString& container, int count, const QString& inner) {
        for (int i = 0; i < count; ++i)
            for (int k = 0; k < 30; ++k)
                QDir().mkpath(
                    u"%1/%2/%3%4/drive_c/Folder %5"_s.arg(h, container).arg(i).arg(inner).arg(k));
    };
    prefixes(u".steam/steam/steamapps/compatdata"_s, 400, u"/pfx"_s);
    prefixes(u"Games"_s, 200, QString());
    prefixes(u".local/share/wineprefixes"_s, 100, QString());
    const QString game =
        h + u"/.local/share/Steam/steamapps/compatdata/9/pfx/drive_c/Program Files (x86)/GPL"_s;
    touch(game + u"/gpl.exe"_s);
    touch(game + u"/driver.ini"_s);
    gk::QtFileSystem fs;
    gk::GameSearchPlaces places;
    places.home = h;
    for (auto _ : state) {
        const QStringList found = gk::findGameFolders(fs, places);
        if (found != QStringList{game})
            state.SkipWithError("the game folder was not found");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindGameFolders)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
