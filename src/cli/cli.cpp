// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: its arguments, its table of commands, and the run of one command.
#include "cli.h"

#include "cli_command.h"
#include "form_model.h"
#include "game/settings_keys.h"
#include "platform/code_page.h"
#include "platform/qt_file_system.h"
#include "platform/qt_settings_store.h"
#include "platform/runtime_error.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <variant>

#ifndef Q_OS_WIN
#include <fcntl.h>
#endif

namespace gk {
namespace cli {

Answer CliDialogs::messageBox(const Message& box) {
    QString text = box.text;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const auto* question = std::get_if<QuestionId>(&box.meaning);
    const bool yes = question && std::find(yesTo.begin(), yesTo.end(), *question) != yesTo.end();
    std::fprintf(stderr, "%s: %s%s\n", qUtf8Printable(box.title), qUtf8Printable(text),
                 yes ? " (yes)" : "");
    if (yes)
        return Answer::Yes;
    if (question) {
        // Declined: what the command was to do is not done.
        status = std::max(status, static_cast<int>(Refused));
        return box.buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    switch (std::get<MessageKind>(box.meaning)) {
    case MessageKind::Information:
        break;
    case MessageKind::Refusal:
    case MessageKind::Failure:
        status = std::max(status, static_cast<int>(Refused));
        break;
    case MessageKind::RuntimeError:
        status = std::max(status, static_cast<int>(Failed));
        break;
    }
    return Answer::Ok;
}

QString CliDialogs::inputBox(const InputBox& box) {
    std::fprintf(stderr, "%s: (no input on the command line)\n", qUtf8Printable(box.title));
    return {};
}

std::vector<int> rowsNamed(const TrackList& list, const QString& row) {
    // A UTF-8 argument may also stand for the very bytes "show" printed.
    const std::optional<QByteArray> encoded = encodeGameText(row);
    const QByteArray utf8 = row.toUtf8();
    std::vector<int> found;
    for (size_t r = 0; r < list.rows.size(); ++r)
        if ((encoded && list.rows[r].text == *encoded) || list.rows[r].text == utf8)
            found.push_back(static_cast<int>(r));
    return found;
}

QString argumentText(const QByteArray& raw) {
    return isUtf8(raw) ? QString::fromUtf8(raw) : decodeGameText(raw);
}

void printLine(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

namespace {

// Every command of the tool, in the order the help lists them; each file of commands adds its
// table here.
std::vector<Command> allCommands() {
    std::vector<Command> commands = seasonCommands();
    for (auto more : {checkCommands, launchCommands, historyCommands, detailsCommands}) {
        std::vector<Command> table = more();
        commands.insert(commands.end(), table.begin(), table.end());
    }
    return commands;
}

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

QString commandsHelp(const std::vector<Command>& commands) {
    QString text = QStringLiteral("\nCommands:\n");
    for (const Command& c : commands) {
        QString head =
            QStringLiteral("  %1 %2").arg(QLatin1String(c.name), QLatin1String(c.arguments));
        const QStringList lines = QString::fromUtf8(c.description).split(QLatin1Char('\n'));
        if (head.size() > 28) {
            text += head + QLatin1Char('\n');
            head.clear();
        }
        for (const QString& line : lines) {
            text += head.leftJustified(30) + line + QLatin1Char('\n');
            head.clear();
        }
    }
    text += QStringLiteral(
        "\nA ROW is a row's exact text, the missing mark \"* \" included; an argument that is not\n"
        "UTF-8 is taken as the bytes of the season file, as \"show\" prints them.\n"
        "Every message the window would show is printed to stderr as \"Title: text\".\n"
        "Exit status: 0 success, 1 refused with a message (run: the game did not run),\n"
        "2 usage error, 3 run-time error.\n");
    return text;
}

int usage(const QString& problem, const QString& help) {
    std::fprintf(stderr, "gridkeeper-cli: %s\n\n%s", qUtf8Printable(problem), qUtf8Printable(help));
    return Usage;
}

// The game folder as the caller means it (a relative one is taken from the caller's working
// directory by start-up). A folder whose name is not UTF-8 cannot be named through Qt's file
// names: it is named by its real path when that is UTF-8 (a link of such a name), or else
// opened here and reached through the descriptor.
QString gameFolderArgument(const QString& text, const QByteArray& raw) {
#ifndef Q_OS_WIN
    if (!isUtf8(raw)) {
        if (char* real = ::realpath(raw.constData(), nullptr)) {
            const QByteArray path(real);
            std::free(real);
            if (isUtf8(path))
                return QString::fromUtf8(path);
        }
        const int fd = ::open(raw.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0)
            return QStringLiteral("/proc/self/fd/%1").arg(fd);
    }
#else
    Q_UNUSED(raw);
#endif
    return text;
}

} // namespace
} // namespace cli

namespace cli {
namespace {

// A command line that names a command to run.
struct Invocation {
    const Command* command = nullptr;
    QString gameDir;                             // empty: the stored one
    std::unique_ptr<QCommandLineParser> options; // the command's own
    QStringList args;
};

// The command's own options and arguments, checked; "--" ends the options, for a row that
// begins with "-". The usage problem, or empty.
QString parseCommandArguments(Invocation& call, const QString& program, const QStringList& rest) {
    const Command& command = *call.command;
    call.options = std::make_unique<QCommandLineParser>();
    if (command.addOptions)
        command.addOptions(*call.options);
    if (!call.options->parse(QStringList{program} + rest))
        return call.options->errorText();
    call.args = call.options->positionalArguments();
    if (call.args.size() < command.minArgs ||
        (command.maxArgs >= 0 && call.args.size() > command.maxArgs))
        return QStringLiteral("%1 takes %2")
            .arg(QLatin1String(command.name),
                 QLatin1String(*command.arguments ? command.arguments : "no arguments"));
    return command.check ? command.check(*call.options, call.args) : QString();
}

// The arguments as the tool's options and a command: the call, or the exit status when the
// run ends here (help, version, a usage error).
std::variant<int, Invocation> parseArguments(const QList<QByteArray>& rawArguments,
                                             const std::vector<Command>& commands) {
    QStringList arguments{QStringLiteral("gridkeeper-cli")};
    QHash<QString, QByteArray> rawOf;
    for (const QByteArray& raw : rawArguments) {
        arguments.append(argumentText(raw));
        rawOf.insert(arguments.back(), raw);
        if (raw.startsWith("--gpl-dir="))
            rawOf.insert(arguments.back().mid(10), raw.mid(10));
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Works on the game folder DIR exactly as the Gridkeeper window does."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption gplDir(
        QStringLiteral("gpl-dir"),
        QStringLiteral("The game folder (default: the folder Gridkeeper has stored; this tool "
                       "never stores one)."),
        QStringLiteral("DIR"));
    parser.addOption(gplDir);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do."),
                                 QStringLiteral("COMMAND [ARG...]"));
    // Qt names the program as it was called; the help names it as users know it.
    QString help = parser.helpText();
    help = QStringLiteral("Usage: gridkeeper-cli [options] COMMAND [ARG...]") +
           help.mid(help.indexOf(QLatin1Char('\n'))) + commandsHelp(commands);
    if (!parser.parse(arguments))
        return usage(parser.errorText(), help);
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qUtf8Printable(help), stdout);
        return Ok;
    }
    if (parser.isSet(versionOption)) {
        std::printf("gridkeeper-cli %s\n", qUtf8Printable(QCoreApplication::applicationVersion()));
        return Ok;
    }
    Invocation call;
    if (parser.isSet(gplDir)) {
        call.gameDir = parser.value(gplDir);
        // An empty folder would silently mean the stored one.
        if (call.gameDir.isEmpty())
            return usage(QStringLiteral("--gpl-dir needs a folder"), help);
        call.gameDir =
            gameFolderArgument(call.gameDir, rawOf.value(call.gameDir, call.gameDir.toUtf8()));
    }
    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return usage(QStringLiteral("no command given"), help);
    const QString name = rest.takeFirst();
    const auto command = std::find_if(commands.begin(), commands.end(), [&](const Command& c) {
        return name == QLatin1String(c.name);
    });
    if (command == commands.end())
        return usage(QStringLiteral("unknown command \"%1\"").arg(name), help);
    call.command = &*command;
    const QString problem = parseCommandArguments(call, arguments.front(), rest);
    if (!problem.isEmpty())
        return usage(problem, help);
    return call;
}

// Loads the game folder as the window does and runs the command on it.
int runCommand(const Invocation& call, ProcessRunner& runner, GameWindow& gameWindow) {
    CliSettings settings;
    CliDialogs dialogs;
    QtFileSystem files;
    NullShell shell;
    FormModel model({settings, dialogs, files, shell, &runner, &gameWindow, nullptr,
                     call.command->changesSeason});
    if (!model.Form_Load(call.gameDir))
        return std::max(dialogs.status, static_cast<int>(Refused));
    // A season that could not be read whole must not be written back.
    if (!model.startupFaults().empty()) {
        for (const StartupFault& fault : model.startupFaults())
            std::fprintf(stderr, "Error %d: %s\n", fault.number, qUtf8Printable(fault.description));
        return Failed;
    }
    dialogs.status = Ok;
    Context context{model, dialogs, files, runner, gameWindow, *call.options, call.args};
    int status = Ok;
    try {
        status = call.command->run(context);
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "Error %d: %s\n", e.number(), qUtf8Printable(e.description()));
        return Failed;
    }
    std::fflush(stdout);
    return status;
}

} // namespace
} // namespace cli

int runCli(const QList<QByteArray>& rawArguments, ProcessRunner& runner, GameWindow& gameWindow) {
    const std::vector<cli::Command> commands = cli::allCommands();
    std::variant<int, cli::Invocation> parsed = cli::parseArguments(rawArguments, commands);
    if (const int* status = std::get_if<int>(&parsed))
        return *status;
    return cli::runCommand(std::get<cli::Invocation>(parsed), runner, gameWindow);
}

} // namespace gk
