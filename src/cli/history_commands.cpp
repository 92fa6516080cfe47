// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of gridkeeper-cli on earlier seasons: the history and the restore.
#include "cli_command.h"
#include "form_model.h"
#include "restore_season.h"

namespace gk::cli {
namespace {

const QCommandLineOption kDryRun(QStringLiteral("dry-run"),
                                 QStringLiteral("only prints what the restore would change"));

// The pair as one line: name, date, active and all-tracks counts separated by tabs, or why it
// cannot be restored.
void printPair(const RestorablePair& p) {
    const QString when = p.when.isValid() ? p.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                          : QStringLiteral("-");
    const QString rest =
        p.usable() ? QStringLiteral("%1 active\t%2 in all").arg(p.activeCount).arg(p.allTracksCount)
                   : QStringLiteral("cannot be restored: ") + p.problem;
    printLine(QStringLiteral("%1\t%2\t%3").arg(p.name, when, rest).toUtf8());
}

int history(Context& c) {
    for (const RestorablePair& p : c.model.earlierSeasons())
        printPair(p);
    return Ok;
}

int restore(Context& c) {
    const QString name = c.args.isEmpty() ? previousPairName() : c.args[0];
    const RestorablePair pair = restorablePair(c.files, c.model.workspace().strGPLdir, name);
    if (pair.usable()) {
        printPair(pair);
        printLine(RestoreSeason::differences(pair).toUtf8());
        if (c.options.isSet(kDryRun))
            return Ok;
    }
    // A pair that is missing or cannot be restored is refused there, with the reason.
    const bool restored = c.model.restoreEarlierSeason(name);
    return restored || c.dialogs.status != Ok ? c.dialogs.status : static_cast<int>(Refused);
}

} // namespace

std::vector<Command> historyCommands() {
    return {
        {"history", "",
         "the earlier seasons, newest first: name, date, active and all-tracks counts\n"
         "(\"previous\" is 67season_previous.bak with 67AllTracks_previous.bak)",
         0, 0, nullptr, nullptr, history},
        {"restore", "[NAME|previous] [--dry-run]",
         "prints what restoring the earlier season NAME changes, then writes it as the season\n"
         "(default: previous; the present season becomes the backups and enters the history)",
         0, 1, [](QCommandLineParser& parser) { parser.addOption(kDryRun); }, nullptr, restore,
         true},
    };
}

} // namespace gk::cli
