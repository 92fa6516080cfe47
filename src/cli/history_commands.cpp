// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of gridkeeper-cli on earlier seasons: the history and the restore.
#include "cli_command.h"
#include "form_model.h"
#include "restore_season.h"

namespace gk::cli {
namespace {

const QCommandLineOption kDryRun(QStringLiteral("dry-run"),
                                 QStringLiteral("only prints what the restore would change"));

void line(const QString& text) {
    printLine(text.toUtf8());
}

int history(Context& c) {
    for (const RestorablePair& p : c.model.earlierSeasons()) {
        const QString when = p.when.isValid()
                                 ? p.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                 : QStringLiteral("-");
        if (p.usable())
            line(QStringLiteral("%1\t%2\t%3 active\t%4 in all")
                     .arg(p.name, when)
                     .arg(p.activeCount)
                     .arg(p.allTracksCount));
        else
            line(QStringLiteral("%1\t%2\tcannot be restored: %3").arg(p.name, when, p.problem));
    }
    return Ok;
}

int restore(Context& c) {
    const QString name = c.args.isEmpty() ? previousPairName() : c.args[0];
    for (const RestorablePair& p : c.model.earlierSeasons()) {
        if (p.name.compare(name, Qt::CaseInsensitive) != 0 || !p.usable())
            continue;
        line(RestoreSeason::summary(p));
        line(RestoreSeason::differences(p));
        if (c.options.isSet(kDryRun))
            return Ok;
        c.model.restoreEarlierSeason(p.name);
        return c.dialogs.status;
    }
    // Missing or unusable: refused with the reason, nothing changed.
    c.model.restoreEarlierSeason(name);
    return c.dialogs.status == Ok ? Refused : c.dialogs.status;
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
