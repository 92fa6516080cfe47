#include "launch_commands.h"

#include "launch/command_line.h"
#include "launch/launch_flow.h"
#include "platform/code_page.h"
#include "platform/qt_processes.h"
#include "platform/shell.h"
#include "ui/main/form_model.h"

#include <cstdio>

namespace gk {
namespace {

// The track's bytes as the lists hold them: in the game's code page, or the raw argument.
QByteArray trackBytes(const QString& track) {
    return encodeGameText(track).value_or(track.toLocal8Bit());
}

// The command line's own dialogs, except that --yes answers the "Missing Track" question with
// Yes; notes a game that could not be started (the only box without an icon).
class LaunchDialogs : public Dialogs {
  public:
    LaunchDialogs(Dialogs& inner, bool yes) : inner_(inner), yes_(yes) {}
    Answer messageBox(const MessageBox& box) override {
        if (box.icon == Icon::None)
            startFailed = true;
        if (!yes_ || box.buttons != Buttons::YesNo || box.title != QLatin1String("Missing Track"))
            return inner_.messageBox(box);
        std::fprintf(stderr, "%s: %s (yes)\n", qUtf8Printable(box.title), qUtf8Printable(box.text));
        return Answer::Yes;
    }
    QString inputBox(const InputBox& box) override { return inner_.inputBox(box); }
    bool startFailed = false;

  private:
    Dialogs& inner_;
    bool yes_;
};

} // namespace

QString parseLaunchArguments(const QString& command, const QStringList& args,
                             LaunchArguments& out) {
    const bool run = command == QLatin1String("run");
    bool haveTrack = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--car")) {
            bool ok = false;
            out.car = args.value(++i).toInt(&ok);
            if (!ok || out.car < -1 || out.car > 6)
                return QStringLiteral("--car takes a car row from 0 to 6, or -1");
        } else if (run && args[i] == QLatin1String("--yes")) {
            out.yes = true;
        } else if (!haveTrack) {
            out.track = args[i];
            haveTrack = true;
        } else {
            return QStringLiteral("give at most one track");
        }
    }
    if (run && !haveTrack)
        return QStringLiteral("run needs a track");
    return {};
}

int commandLineCommand(FormModel& model, const LaunchArguments& args) {
    const QString line = gameCommandLine(model.workspace().strGPLdir,
                                         decodeGameText(trackBytes(args.track)), args.car);
    std::fprintf(stdout, "%s\n", qUtf8Printable(line));
    std::fflush(stdout);
    return 0;
}

int runCommand(FormModel& model, Dialogs& dialogs, FileSystem& files, const LaunchArguments& args) {
    LaunchDialogs launchDialogs(dialogs, args.yes);
    NullShell shell;
    QtProcesses processes;
    LaunchFlow flow({launchDialogs, files, shell, processes, processes});
    flow.cmdLaunchGPL_Click({model.workspace(), trackBytes(args.track), args.car},
                            [&model] { model.subCreateIniFiles(true); });
    return launchDialogs.startFailed ? 1 : 0;
}

} // namespace gk
