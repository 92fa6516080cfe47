// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Generated game folders and a null platform for the benchmark programs.

#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "season/track_list.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

namespace gk::bench {

// The shape of a generated game folder.
struct GameShape {
    // Events of the all-tracks file; their folders are track00001, track00002, ...
    int allTracks = 64;
    // Events of the season file.
    int season = 64;
    // false: the season's events are spread over the all-tracks events (every allTracks/season-th
    // one, in a shuffled order); true: they are season extra folders that follow the all-tracks
    // ones (track<allTracks+1> ...) and stand in no event of the all-tracks file.
    bool seasonOutsideAllTracks = false;
};

// The folder name of track number n (from 1): "track00001".
QByteArray trackFolder(int n);
// The seven entry lines of the event of track number n.
EventEntries trackEvent(int n);

// A game folder in a temporary directory: driver.ini, seasons\67season.ini,
// seasons\67AllTracks.ini and tracks\<folder>\track.ini for every track either file names.
class BenchGame {
  public:
    explicit BenchGame(const GameShape& shape);
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    const GameShape& shape() const { return shape_; }
    // The folder as the program is given it on the command line.
    QString dir() const { return tmp_.path(); }
    QString seasonFile() const;
    QString allTracksFile() const;
    // The native path of every track.ini, each track folder once.
    const std::vector<std::string>& trackIniPaths() const { return trackIniPaths_; }
    // Seconds it took to make the folder.
    double generationSeconds() const { return generationSeconds_; }

  private:
    GameShape shape_;
    QTemporaryDir tmp_;
    std::vector<std::string> trackIniPaths_;
    double generationSeconds_ = 0;
};

// One folder per shape and purpose for the whole process, made on first use. Benchmarks that
// change their folder (the writing ones) pass a purpose of their own so they never share one
// with benchmarks that only read.
const BenchGame& sharedGame(const GameShape& shape, const QString& purpose = {});

// What a run of runSelf printed, and its exit status (-1: it did not exit normally).
struct ChildRun {
    std::string out;
    int exitCode = -1;
};

// Runs this benchmark program again with the arguments (argv[0] first), so a measurement can
// start in a fresh process; nullopt when it could not be started.
std::optional<ChildRun> runSelf(const std::vector<std::string>& args);

// Message and input boxes that nobody answers: every box is counted and remembered, message
// boxes answer Ok (No to questions), input boxes are cancelled.
class NullDialogs : public Dialogs {
  public:
    Answer messageBox(const Message& box) override;
    QString inputBox(const InputBox& box) override;
    int shown = 0;
    QString lastText;
};

// Settings kept in memory only.
class MemorySettings : public SettingsStore {
  public:
    QString getSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void saveSetting(const QString& app, const QString& section, const QString& key,
                     const QString& value) override;

  private:
    QHash<QString, QString> values_;
};

// Writes the file whole; ends the program (status 2) when it cannot.
void writeWhole(const QString& path, const QByteArray& bytes);

// Milliseconds since the timer was started.
double msSince(const QElapsedTimer& timer);

// Peak resident set of this process so far, in KiB (getrusage ru_maxrss).
long peakRssKiB();

// Median of a list of figures (the list is reordered).
double median(std::vector<double> values);

} // namespace gk::bench
