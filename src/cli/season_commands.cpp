// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of gridkeeper-cli that show, write and edit the season files.

#include "cli_command.h"
#include "form_model.h"
#include "game/game_paths.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"

#include <algorithm>

namespace gk::cli {
namespace {

using Side = FormModel::Side;

int show(Context& c) {
    const Workspace& ws = c.model.workspace();
    printLine(c.model.controls().lblAmountLeft.caption.toUtf8());
    for (const TrackRow& row : ws.ListTracks.rows)
        printLine(row.text);
    printLine(c.model.controls().lblAmountRight.caption.toUtf8());
    for (const TrackRow& row : ws.listNotActive.rows)
        printLine(row.text);
    return c.dialogs.status;
}

int sets(Context& c) {
    for (const QString& name : c.model.offeredTrackSets())
        printLine(name.toUtf8());
    return c.dialogs.status;
}

const QCommandLineOption kAlphabetical(QStringLiteral("alphabetical"),
                                       QStringLiteral("Write 67season.ini in alphabetical order."));
const QCommandLineOption
    kListOrder(QStringLiteral("list-order"),
               QStringLiteral("Write 67season.ini in the active list's order."));

void writeOptions(QCommandLineParser& parser) {
    parser.addOption(kAlphabetical);
    parser.addOption(kListOrder);
}

QString checkWrite(const QCommandLineParser& options, const QStringList&) {
    if (options.isSet(kAlphabetical) && options.isSet(kListOrder))
        return QStringLiteral("write takes --alphabetical or --list-order, not both");
    return {};
}

int write(Context& c) {
    if (c.options.isSet(kAlphabetical))
        c.model.controls().chkSort = 1;
    else if (c.options.isSet(kListOrder))
        c.model.controls().chkSort = 0;
    c.model.subCreateIniFiles(false);
    return c.dialogs.status;
}

int saveSet(Context& c) {
    c.model.saveTrackSet(c.args[0]);
    return c.dialogs.status;
}

int openSet(Context& c) {
    const QString& name = c.args[0];
    const QString& dir = c.model.workspace().strGPLdir;
    if (!c.files.fileExists(paths::trackSet(dir, name))) {
        c.dialogs.messageBox({QStringLiteral("The track set \"%1\" was not found in %2.")
                                  .arg(name, paths::shown(paths::seasonsFolder(dir))),
                              appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Refusal});
        return c.dialogs.status;
    }
    c.model.openTrackSet(name);
    return c.dialogs.status;
}

void notFound(Dialogs& dialogs, const QString& row) {
    dialogs.messageBox({QStringLiteral("The track \"%1\" is in neither list.").arg(row), appTitle(),
                        Buttons::Ok, Icon::Exclamation, MessageKind::Refusal});
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

// After a list command, arrow or sort: written as "Create 67season.ini" does, without its
// success message.
int writeIfDone(Context& c, bool done) {
    if (done && c.dialogs.status == Ok)
        c.model.subCreateIniFiles(true);
    return c.dialogs.status;
}

// Runs "<", ">" or "Delete" on the named rows; refused when a row is in no list it may come
// from.
int listCommand(Context& c, bool fromActive, bool fromInactive) {
    std::vector<int> active, inactive;
    for (const QString& name : c.args) {
        const std::vector<int> a = rowsNamed(c.model.list(Side::Active), name);
        const std::vector<int> i = rowsNamed(c.model.list(Side::Inactive), name);
        if ((!fromActive || a.empty()) && (!fromInactive || i.empty())) {
            notFound(c.dialogs, name);
            return c.dialogs.status;
        }
        if (fromActive)
            active.insert(active.end(), a.begin(), a.end());
        if (fromInactive)
            inactive.insert(inactive.end(), i.begin(), i.end());
    }
    std::sort(active.begin(), active.end());
    std::sort(inactive.begin(), inactive.end());
    if (!fromActive) {
        selectRows(c.model, Side::Inactive, inactive);
        c.model.cmdChangeButton_Click(3);
    } else if (!fromInactive) {
        selectRows(c.model, Side::Active, active);
        c.model.cmdChangeButton_Click(0);
    } else {
        if (selectRows(c.model, Side::Active, active))
            c.model.cmdChangeButton_Click(1);
        if (selectRows(c.model, Side::Inactive, inactive))
            c.model.cmdChangeButton_Click(2);
    }
    return writeIfDone(c, true);
}

int arrow(Context& c, bool up) {
    const QString& name = c.args[0];
    for (Side side : {Side::Active, Side::Inactive}) {
        const std::vector<int> rows = rowsNamed(c.model.list(side), name);
        if (rows.empty())
            continue;
        selectRows(c.model, side, {rows.front()});
        c.model.picArrow_Click(static_cast<int16_t>((side == Side::Active ? 0 : 2) + (up ? 0 : 1)));
        return writeIfDone(c, true);
    }
    notFound(c.dialogs, name);
    return c.dialogs.status;
}

QString checkSort(const QCommandLineParser&, const QStringList& args) {
    if (args[0] != QLatin1String("active") && args[0] != QLatin1String("inactive"))
        return QStringLiteral("sort takes active or inactive");
    return {};
}

int sort(Context& c) {
    if (c.args[0] == QLatin1String("active"))
        c.model.lblAmountLeft_Click();
    else
        c.model.lblAmountRight_Click();
    return writeIfDone(c, true);
}

} // namespace

std::vector<Command> seasonCommands() {
    return {
        {"show", "",
         "the active list's caption and rows, then the inactive list's;\n"
         "rows are printed as the exact bytes of the season files",
         0, 0, nullptr, nullptr, show},
        {"write", "[--alphabetical | --list-order]",
         "\"Create 67season.ini\": writes 67season.ini and 67AllTracks.ini\n"
         "(default order: the stored \"alphabetical order\" setting)",
         0, 0, writeOptions, checkWrite, write, true},
        {"sets", "", "the track sets the Track Sets menu offers, one per line", 0, 0, nullptr,
         nullptr, sets},
        {"save-set", "NAME", "saves the active list as the track set NAME (overwrites)", 1, 1,
         nullptr, nullptr, saveSet},
        {"open-set", "NAME", "opens the track set NAME and rewrites the season files", 1, 1,
         nullptr, nullptr, openSet, true},
        {"activate", "ROW...", "moves the inactive rows with these texts to the active list", 1, -1,
         nullptr, nullptr, [](Context& c) { return listCommand(c, false, true); }, true},
        {"deactivate", "ROW...", "moves the active rows with these texts to the inactive list", 1,
         -1, nullptr, nullptr, [](Context& c) { return listCommand(c, true, false); }, true},
        {"delete", "ROW...", "removes the rows with these texts from their list for good", 1, -1,
         nullptr, nullptr, [](Context& c) { return listCommand(c, true, true); }, true},
        {"up", "ROW", "moves the row one place up in its list", 1, 1, nullptr, nullptr,
         [](Context& c) { return arrow(c, true); }, true},
        {"down", "ROW", "moves the row one place down in its list", 1, 1, nullptr, nullptr,
         [](Context& c) { return arrow(c, false); }, true},
        {"sort", "active|inactive",
         "sorts a list by folder name, as a click on its title does\n"
         "(the list commands, arrows and sort then write the season files)",
         1, 1, nullptr, checkSort, sort, true},
    };
}

} // namespace gk::cli
