// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary game folder with tracks, season and all-tracks files.
#include "game_folder.h"

#include "season/season_file.h"

#include <QDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace gk::test {

EventEntries makeEvent(const QByteArray& folder, const QByteArray& name) {
    EventEntries e;
    e.entry = {"name=" + (name.isEmpty() ? folder : name),
               "shortname=" + folder.left(6),
               "trackDirectory=" + folder,
               "month=6",
               "day=18",
               "numberOfLaps=28",
               "startingGrid=0"};
    return e;
}

QByteArray seasonOf(const QList<QByteArray>& folders) {
    SeasonFileBuilder builder("Test Season", folders.size());
    for (qsizetype k = 0; k < folders.size(); ++k) {
        const QByteArray& f = folders[k];
        const qsizetype colon = f.indexOf(':');
        builder.addEvent(k + 1,
                         colon < 0 ? makeEvent(f) : makeEvent(f.left(colon), f.mid(colon + 1)));
    }
    return builder.take();
}

GameFolder::GameFolder(const QString& below)
    : dir_(below.isEmpty() ? tmp_.path() : tmp_.path() + QLatin1Char('/') + below) {
    EXPECT_TRUE(tmp_.isValid());
    QDir(dir()).mkpath(u"seasons"_s);
    QDir(dir()).mkpath(u"tracks"_s);
    write(u"driver.ini"_s, "[ Driver ]\r\n");
}

GameFolder::~GameFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(root()).toStdString()),
                                ignored);
}

void GameFolder::write(const QString& relative, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile file(path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << relative.toStdString();
    file.write(bytes);
}

QByteArray GameFolder::read(const QString& relative) const {
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void GameFolder::addTracks(const QList<QByteArray>& folders) const {
    for (const QByteArray& f : folders)
        write(u"tracks/%1/track.ini"_s.arg(QString::fromLatin1(f)), "[ track ]\r\n");
}

QStringList GameFolder::seasonFiles() const {
    QStringList names = QDir(path(u"seasons"_s)).entryList(QDir::Files);
    names.sort();
    return names;
}

QByteArrayList GameFolder::readSeasons(QStringList names) const {
    if (names.isEmpty())
        names = {u"67season.ini"_s, u"67AllTracks.ini"_s, u"67season_previous.bak"_s,
                 u"67AllTracks_previous.bak"_s};
    QByteArrayList bytes;
    for (const QString& name : names)
        bytes << (exists(u"seasons/"_s + name) ? read(u"seasons/"_s + name) : "-");
    return bytes;
}

} // namespace gk::test
