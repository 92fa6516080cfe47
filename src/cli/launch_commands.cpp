// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: the "command-line" and "run" commands.
#include "launch_commands.h"

#include "cli_command.h"

#include "form_model.h"
#include "launch/launch_flow.h"
#include "platform/code_page.h"
#include "platform/qt_processes.h"
#include "platform/shell.h"

#include <algorithm>
#include <cstdio>

namespace gk {
namespace {

// The track's bytes as the lists hold them: the argument in the game's code page, or its UTF-8
// bytes where a row holds those (as "show" printed them) or the code page cannot hold it.
QByteArray trackBytes(const Workspace& ws, const QString& track) {
    const std::optional<QByteArray> encoded = encodeGameText(track);
    const QByteArray utf8 = track.toUtf8();
    if (encoded && *encoded != utf8)
        for (const TrackList* list : {&ws.ListTracks, &ws.listNotActive})
            for (const TrackRow& row : list->rows)
                if (row.text == utf8 || row.text == markedMissing(utf8))
                    return utf8;
    return encoded.value_or(utf8);
}

} // namespace

int commandLineCommand(FormModel& model, cli::Context& c, const LaunchArguments& args) {
    NullShell shell;
    LaunchFlow flow({c.dialogs, c.files, shell, c.runner, c.gameWindow});
    const Workspace& ws = model.workspace();
    const QString line = flow.commandLine(ws.strGPLdir, trackBytes(ws, args.track), args.car);
    std::fprintf(stdout, "%s\n", qUtf8Printable(line));
    std::fflush(stdout);
    return 0;
}

int runCommand(FormModel& model, cli::Context& c, const LaunchArguments& args) {
    // --yes answers the "Missing Track" question with Yes.
    if (args.yes)
        c.dialogs.yesTo.push_back(QuestionId::MissingTrack);
    NullShell shell;
    LaunchFlow flow({c.dialogs, c.files, shell, c.runner, c.gameWindow});
    const bool ran =
        flow.cmdLaunchGPL_Click({model.workspace().strGPLdir, model.workspace().bolSeasonChanged,
                                 model.workspace().ListTracks, model.workspace().listNotActive,
                                 trackBytes(model.workspace(), args.track), args.car},
                                [&model] { model.subCreateIniFiles(true); });
    return ran ? 0 : 1;
}

namespace cli {
namespace {

const QCommandLineOption kCar(QStringLiteral("car"),
                              QStringLiteral("The car box's row, 0 to 6 (default -1: no car)."),
                              QStringLiteral("N"), QStringLiteral("-1"));
const QCommandLineOption kYes(QStringLiteral("yes"),
                              QStringLiteral("Answer the \"Missing Track\" question with Yes."));

void commandLineOptions(QCommandLineParser& parser) {
    parser.addOption(kCar);
}

void runOptions(QCommandLineParser& parser) {
    parser.addOption(kCar);
    parser.addOption(kYes);
}

QString checkCar(const QCommandLineParser& options, const QStringList&) {
    bool ok = false;
    const int car = options.value(kCar).toInt(&ok);
    if (!ok || car < -1 || car > 6)
        return QStringLiteral("--car takes a car row from 0 to 6, or -1");
    return {};
}

LaunchArguments launchArguments(const Context& c, bool run) {
    return {c.args.value(0), c.options.value(kCar).toInt(), run && c.options.isSet(kYes)};
}

} // namespace

std::vector<Command> launchCommands() {
    return {
        {"command-line", "[TRACK] [--car N]",
         "the game's command line for the track and car row N (0 to 6;\n"
         "default -1, no car), as \"&Parameter\" shows it",
         0, 1, commandLineOptions, checkCar,
         [](Context& c) {
             return std::max(c.dialogs.status,
                             commandLineCommand(c.model, c, launchArguments(c, false)));
         }},
        {"run", "TRACK [--car N] [--yes]",
         "\"start GPL\" for the track, active or inactive, waiting until\n"
         "the game ends; --yes answers \"Missing Track\" with Yes;\n"
         "exits 0 only when the game ran, else 1 (3: run-time error)",
         1, 1, runOptions, checkCar,
         [](Context& c) {
             const int status = runCommand(c.model, c, launchArguments(c, true));
             return std::max(c.dialogs.status, status);
         }},
    };
}

} // namespace cli
} // namespace gk
