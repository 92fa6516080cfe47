// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: the "details" command, the details of track folders as lines of text.
#include "cli_command.h"
#include "details/track_details.h"
#include "form_model.h"

#include <QFile>
#include <cstdio>

namespace gk::cli {
namespace {

// For each folder below the game folder's tracks\, the lines "folder=", "name=", "short name=",
// "length=", "turns=", "mods=", "picture=" and an empty line; a field that cannot be read is
// empty. Refused when a folder does not exist (each is named on stderr).
int details(Context& c) {
    int status = Ok;
    for (const QString& folder : c.args) {
        const TrackDetails details =
            readTrackDetails(c.files, c.model.workspace().strGPLdir, folder).details;
        if (!details.folderExists) {
            std::fprintf(stderr, "details: no track folder \"%s\"\n", qUtf8Printable(folder));
            status = Refused;
        }
        const TrackIni& ini = details.ini;
        printLine("folder=" + folder.toUtf8());
        printLine("name=" + ini.name.toUtf8());
        printLine("short name=" + ini.shortName.toUtf8());
        printLine("length=" + ini.length);
        printLine("turns=" + (ini.turns ? QByteArray::number(*ini.turns) : QByteArray()));
        printLine("mods=" + details.mods.join(QLatin1Char(' ')).toUtf8());
        printLine("picture=" + (details.picture.isEmpty()
                                    ? QByteArray()
                                    : QFile::encodeName(c.files.nativePath(details.picture))));
        printLine({});
    }
    return status;
}

} // namespace

std::vector<Command> detailsCommands() {
    return {{"details", "TRACK...",
             "each track folder's full name, short name, length, turns, mods and picture", 1, -1,
             nullptr, nullptr, details}};
}

} // namespace gk::cli
