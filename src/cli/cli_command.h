// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: what a command is, and what it runs on.
#pragma once

#include "platform/dialogs.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QStringList>
#include <vector>

namespace gk {

class FileSystem;
class ProcessRunner;
class GameWindow;
class FormModel;
struct TrackList;

namespace cli {

// Exit statuses of gridkeeper-cli.
enum Status { Ok = 0, Refused = 1, Usage = 2, Failed = 3 };

// Message boxes become lines on stderr ("Title: text"); questions are answered so that nothing
// is changed that the command did not ask for, except those in `yesTo`, answered Yes. `status`
// keeps the worst outcome shown, by each message's kind: a refusal or a failure, or a question
// declined, is Refused; a run-time error is Failed.
class CliDialogs : public Dialogs {
  public:
    Answer messageBox(const Message& box) override;
    QString inputBox(const InputBox& box) override;
    int status = Ok;
    std::vector<QuestionId> yesTo;
};

// What a command runs on: the loaded game folder and its arguments.
struct Context {
    FormModel& model;
    CliDialogs& dialogs;
    FileSystem& files;
    ProcessRunner& runner;
    GameWindow& gameWindow;
    // The command's own options (see Command::addOptions) and its positional arguments.
    const QCommandLineParser& options;
    QStringList args;
};

// One command of the tool. Adding a command is one entry in the table of cli.cpp.
struct Command {
    const char* name;
    const char* arguments;   // what follows the name in the help, e.g. "ROW..."
    const char* description; // one line for the help; further lines start with "\n"
    int minArgs;
    int maxArgs; // -1: any number
    // Declares the command's own options (may be null).
    void (*addOptions)(QCommandLineParser& parser);
    // Checks the arguments before anything is loaded: an empty text, or the usage problem
    // (may be null).
    QString (*check)(const QCommandLineParser& options, const QStringList& args);
    // Runs on the loaded game folder; returns the exit status.
    int (*run)(Context& context);
    // Holds the season lock from the read of the season to its write.
    bool changesSeason = false;
};

// The commands on the season files (season_commands.cpp), the track check (check_command.cpp),
// the game's launch (launch_commands.cpp), the earlier seasons (history_commands.cpp) and the
// details of track folders (details_command.cpp).
std::vector<Command> seasonCommands();
std::vector<Command> checkCommands();
std::vector<Command> launchCommands();
std::vector<Command> historyCommands();
std::vector<Command> detailsCommands();

// The rows of a list whose text equals the argument: as typed in the game's code page, or as
// the raw bytes of an argument that was not UTF-8 (see argumentText).
std::vector<int> rowsNamed(const TrackList& list, const QString& row);
// An argument as the program sees it: UTF-8 when it is valid UTF-8, otherwise its bytes read in
// the game's code page, so that encoding it again gives back exactly the bytes typed.
QString argumentText(const QByteArray& raw);
// Writes bytes and a line end to stdout.
void printLine(const QByteArray& bytes);

} // namespace cli
} // namespace gk
