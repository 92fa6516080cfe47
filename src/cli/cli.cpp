#include "cli.h"

#include "app/game_paths.h"
#include "app/settings_keys.h"
#include "check_command.h"
#include "launch_commands.h"
#include "platform/code_page.h"
#include "platform/qt_file_system.h"
#include "platform/qt_settings_store.h"
#include "platform/runtime_error.h"
#include "platform/shell.h"
#include "ui/main/form_model.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace gk {
namespace {

enum Status { Ok = 0, Refused = 1, Usage = 2, Failed = 3 };

const char* const kUsage =
    "Usage: gridkeeper-cli [--gpl-dir DIR] COMMAND [ARG...]\n"
    "\n"
    "Works on the game folder DIR (default: the folder Gridkeeper has stored; the command line\n"
    "tool never stores one) exactly as the Gridkeeper window does.\n"
    "\n"
    "Commands:\n"
    "  show                      the active list's caption and rows, then the inactive list's;\n"
    "                            rows are printed as the exact bytes of the season files\n"
    "  write [--alphabetical | --list-order]\n"
    "                            \"Create 67season.ini\": writes 67season.ini and 67AllTracks.ini\n"
    "                            (default order: the stored \"alphabetical order\" setting)\n"
    "  sets                      the track sets the Track Sets menu offers, one per line\n"
    "  check                     the track check report: its three columns under their labels\n"
    "  save-set NAME             saves the active list as the track set NAME (overwrites)\n"
    "  open-set NAME             opens the track set NAME and rewrites the season files\n"
    "  activate ROW...           moves the inactive rows with these texts to the active list\n"
    "  deactivate ROW...         moves the active rows with these texts to the inactive list\n"
    "  delete ROW...             removes the rows with these texts from their list for good\n"
    "  up ROW | down ROW         moves the row one place up or down in its list\n"
    "  sort active|inactive      sorts a list by folder name, as a click on its title does\n"
    "                            (these commands then write the season files)\n"
    "  command-line [TRACK] [--car N]\n"
    "                            the game's command line for the track and car row N (0 to 6;\n"
    "                            default -1, no car), as \"&Parameter\" shows it\n"
    "  run TRACK [--car N] [--yes]\n"
    "                            \"start GPL\" for the track, active or inactive, waiting until\n"
    "                            the game ends; --yes answers \"Missing Track\" with Yes\n"
    "\n"
    "A ROW is a row's exact text, the missing mark \"* \" included.\n"
    "\n"
    "Every message the window would show is printed to stderr as \"Title: text\".\n"
    "Exit status: 0 success, 1 refused with a message, 2 usage error, 3 run-time error.\n";

// Message boxes become lines on stderr; questions are answered so that nothing is changed
// that the command did not ask for.
class CliDialogs : public Dialogs {
  public:
    Answer messageBox(const MessageBox& box) override {
        QString text = box.text;
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(box.title), qUtf8Printable(text));
        if (box.title.startsWith(QLatin1String("Error ")) && box.icon == Icon::Critical)
            status = std::max(status, static_cast<int>(Failed));
        else if (box.icon == Icon::Critical || box.icon == Icon::Exclamation)
            status = std::max(status, static_cast<int>(Refused));
        switch (box.buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        }
        return Answer::Ok;
    }
    QString inputBox(const InputBox& box) override {
        std::fprintf(stderr, "%s: (no input on the command line)\n", qUtf8Printable(box.title));
        return {};
    }
    int status = Ok;
};

// The user's settings, except that the game folder is never stored from here.
class CliSettings : public SettingsStore {
  public:
    QString getSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultValue) override {
        return store_.getSetting(app, section, key, defaultValue);
    }
    void saveSetting(const QString& app, const QString& section, const QString& key,
                     const QString& value) override {
        if (key == settings::kGplDir)
            return;
        store_.saveSetting(app, section, key, value);
    }

  private:
    QtSettingsStore store_;
};

void printLine(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

int usage(const char* problem) {
    if (problem)
        std::fprintf(stderr, "gridkeeper-cli: %s\n\n", problem);
    std::fputs(kUsage, stderr);
    return Usage;
}

using Side = FormModel::Side;

// The rows of a list whose text equals the argument: as typed in the game's code page, or
// as the raw bytes of the argument.
std::vector<int> rowsNamed(const TrackList& list, const QString& row) {
    const std::optional<QByteArray> encoded = encodeGameText(row);
    const QByteArray raw = row.toLocal8Bit();
    std::vector<int> found;
    for (size_t r = 0; r < list.rows.size(); ++r)
        if ((encoded && list.rows[r] == *encoded) || list.rows[r] == raw)
            found.push_back(static_cast<int>(r));
    return found;
}

void notFound(Dialogs& dialogs, const QString& row) {
    dialogs.messageBox({QStringLiteral("The track \"%1\" is in neither list.").arg(row), appTitle(),
                        Buttons::Ok, Icon::Exclamation});
}

// Selects the named rows of one side (and only those) and makes the first current.
bool selectRows(FormModel& model, Side side, const std::vector<int>& rows) {
    TrackList& list = model.list(side);
    model.setRowsSelected(side, 0, list.count() - 1, false);
    if (rows.empty())
        return false;
    for (int r : rows)
        model.setRowsSelected(side, r, r, true);
    model.setCurrentRow(side, rows.front());
    return true;
}

// Runs a list command on the named rows; false when a row is in no list it may come from.
bool listCommand(FormModel& model, Dialogs& dialogs, const QString& command,
                 const QStringList& names) {
    std::vector<int> active, inactive;
    for (const QString& name : names) {
        const std::vector<int> a = rowsNamed(model.list(Side::Active), name);
        const std::vector<int> i = rowsNamed(model.list(Side::Inactive), name);
        const bool useActive = command != QLatin1String("activate");
        const bool useInactive = command != QLatin1String("deactivate");
        if ((!useActive || a.empty()) && (!useInactive || i.empty())) {
            notFound(dialogs, name);
            return false;
        }
        if (useActive)
            active.insert(active.end(), a.begin(), a.end());
        if (useInactive)
            inactive.insert(inactive.end(), i.begin(), i.end());
    }
    std::sort(active.begin(), active.end());
    std::sort(inactive.begin(), inactive.end());
    if (command == QLatin1String("activate")) {
        selectRows(model, Side::Inactive, inactive);
        model.cmdChangeButton_Click(3);
    } else if (command == QLatin1String("deactivate")) {
        selectRows(model, Side::Active, active);
        model.cmdChangeButton_Click(0);
    } else {
        if (selectRows(model, Side::Active, active))
            model.cmdChangeButton_Click(1);
        if (selectRows(model, Side::Inactive, inactive))
            model.cmdChangeButton_Click(2);
    }
    return true;
}

bool arrowCommand(FormModel& model, Dialogs& dialogs, bool up, const QString& name) {
    for (Side side : {Side::Active, Side::Inactive}) {
        const std::vector<int> rows = rowsNamed(model.list(side), name);
        if (rows.empty())
            continue;
        selectRows(model, side, {rows.front()});
        model.picArrow_Click(static_cast<int16_t>((side == Side::Active ? 0 : 2) + (up ? 0 : 1)));
        return true;
    }
    notFound(dialogs, name);
    return false;
}

} // namespace

int runCli(const QStringList& arguments) {
    QStringList args = arguments;
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, stdout);
        return Ok;
    }
    QString gameDir;
    if (!args.isEmpty() && args.front() == QLatin1String("--gpl-dir")) {
        if (args.size() < 2)
            return usage("--gpl-dir needs a folder");
        gameDir = args[1];
        args = args.mid(2);
    } else if (!args.isEmpty() && args.front().startsWith(QLatin1String("--gpl-dir="))) {
        gameDir = args.front().mid(10);
        args = args.mid(1);
    }
    if (args.isEmpty())
        return usage("no command given");
    const QString command = args.takeFirst();

    std::optional<int> sortOverride;
    LaunchArguments launch;
    if (command == QLatin1String("show") || command == QLatin1String("sets") ||
        command == QLatin1String("check")) {
        if (!args.isEmpty())
            return usage("this command takes no arguments");
    } else if (command == QLatin1String("write")) {
        if (args.size() > 1)
            return usage("write takes at most one option");
        if (args.size() == 1) {
            if (args[0] == QLatin1String("--alphabetical"))
                sortOverride = 1;
            else if (args[0] == QLatin1String("--list-order"))
                sortOverride = 0;
            else
                return usage("write takes --alphabetical or --list-order");
        }
    } else if (command == QLatin1String("save-set") || command == QLatin1String("open-set")) {
        if (args.size() != 1)
            return usage("give exactly one track set name");
    } else if (command == QLatin1String("activate") || command == QLatin1String("deactivate") ||
               command == QLatin1String("delete")) {
        if (args.isEmpty())
            return usage("give at least one row");
    } else if (command == QLatin1String("up") || command == QLatin1String("down")) {
        if (args.size() != 1)
            return usage("give exactly one row");
    } else if (command == QLatin1String("sort")) {
        if (args.size() != 1 ||
            (args[0] != QLatin1String("active") && args[0] != QLatin1String("inactive")))
            return usage("sort takes active or inactive");
    } else if (command == QLatin1String("command-line") || command == QLatin1String("run")) {
        const QString problem = parseLaunchArguments(command, args, launch);
        if (!problem.isEmpty())
            return usage(qPrintable(problem));
    } else {
        return usage("unknown command");
    }

    CliSettings settings;
    CliDialogs dialogs;
    QtFileSystem files;
    NullShell shell;
    FormModel model({settings, dialogs, files, shell});
    if (!model.Form_Load(gameDir))
        return std::max(dialogs.status, static_cast<int>(Refused));
    // A season that could not be read whole must not be written back.
    if (!model.startupFaults().empty()) {
        for (const StartupFault& fault : model.startupFaults())
            std::fprintf(stderr, "Error %d: %s\n", fault.number, qUtf8Printable(fault.description));
        return Failed;
    }
    dialogs.status = Ok;

    try {
        if (command == QLatin1String("show")) {
            const Workspace& ws = model.workspace();
            printLine(model.controls().lblAmountLeft.caption.toUtf8());
            for (const QByteArray& row : ws.ListTracks.rows)
                printLine(row);
            printLine(model.controls().lblAmountRight.caption.toUtf8());
            for (const QByteArray& row : ws.listNotActive.rows)
                printLine(row);
        } else if (command == QLatin1String("sets")) {
            for (const QString& name : model.offeredTrackSets())
                printLine(name.toUtf8());
        } else if (command == QLatin1String("check")) {
            runCheckCommand(model, dialogs, files, stdout);
        } else if (command == QLatin1String("write")) {
            if (sortOverride)
                model.controls().chkSort = *sortOverride;
            model.subCreateIniFiles(false);
        } else if (command == QLatin1String("command-line")) {
            return commandLineCommand(model, launch);
        } else if (command == QLatin1String("run")) {
            dialogs.status = std::max(dialogs.status, runCommand(model, dialogs, files, launch));
        } else if (command == QLatin1String("save-set")) {
            model.saveTrackSet(args[0]);
        } else if (command == QLatin1String("activate") || command == QLatin1String("deactivate") ||
                   command == QLatin1String("delete") || command == QLatin1String("up") ||
                   command == QLatin1String("down") || command == QLatin1String("sort")) {
            bool ok = true;
            if (command == QLatin1String("up") || command == QLatin1String("down"))
                ok = arrowCommand(model, dialogs, command == QLatin1String("up"), args[0]);
            else if (command == QLatin1String("sort"))
                args[0] == QLatin1String("active") ? model.lblAmountLeft_Click()
                                                   : model.lblAmountRight_Click();
            else
                ok = listCommand(model, dialogs, command, args);
            // Written as "Create 67season.ini" does, without its success message.
            if (ok && dialogs.status == Ok)
                model.subCreateIniFiles(true);
        } else if (command == QLatin1String("open-set")) {
            const QString& name = args[0];
            if (!files.fileExists(paths::trackSet(model.workspace().strGPLdir, name))) {
                dialogs.messageBox(
                    {QStringLiteral("The track set \"%1\" was not found in %2.")
                         .arg(name, paths::seasonsFolder(model.workspace().strGPLdir)),
                     appTitle(), Buttons::Ok, Icon::Exclamation});
            } else {
                model.openTrackSet(name);
            }
        }
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "Error %d: %s\n", e.number(), qUtf8Printable(e.description()));
        return Failed;
    }
    std::fflush(stdout);
    return dialogs.status;
}

} // namespace gk
