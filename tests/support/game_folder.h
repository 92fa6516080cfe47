// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary game folder with tracks, season and all-tracks files.
#pragma once

#include "season/track_list.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace gk::test {

using namespace Qt::StringLiterals;

// The seven entries of an event whose track directory is the folder.
EventEntries makeEvent(const QByteArray& folder, const QByteArray& name = {});

// A season file as the game writes it (a header block, then the events numbered from 1), of
// events of the folders; "folder:name" gives an event that name entry.
QByteArray seasonOf(const QList<QByteArray>& folders);

// A game installation in a temporary folder: driver.ini, seasons\ and tracks\. It lies in
// `below` inside the temporary folder, when given ("pfx/drive_c/GPL": a Wine prefix's game).
class GameFolder {
  public:
    explicit GameFolder(const QString& below = {});
    // Also removes entries whose names Qt cannot give back (not UTF-8).
    ~GameFolder();
    QString dir() const { return dir_; }
    QString root() const { return tmp_.path(); }
    QString path(const QString& relative) const { return dir() + QLatin1Char('/') + relative; }
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    QByteArray season() const { return read(u"seasons/67season.ini"_s); }
    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }
    void remove(const QString& relative) const { QFile::remove(path(relative)); }
    // Installs track folders with a track.ini each.
    void addTracks(const QList<QByteArray>& folders) const;
    void writeSeason(const QList<QByteArray>& folders) const {
        write(u"seasons/67season.ini"_s, seasonOf(folders));
    }
    void writeAllTracks(const QList<QByteArray>& folders) const {
        write(u"seasons/67AllTracks.ini"_s, seasonOf(folders));
    }
    // File names in seasons\, sorted.
    QStringList seasonFiles() const;
    // The bytes of files in seasons\, "-" for a missing one: when no names are given, the
    // season and all-tracks files and then their backups.
    QByteArrayList readSeasons(QStringList names = {}) const;

  private:
    QTemporaryDir tmp_;
    QString dir_;
};

} // namespace gk::test
