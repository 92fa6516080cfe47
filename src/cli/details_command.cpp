// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: the "details" command, the details of track folders as lines of text.
#include "details_command.h"

#include "cli_command.h"
#include "details/track_details.h"
#include "form_model.h"

#include <QFile>

namespace gk {

bool printTrackDetails(FileSystem& files, const QString& gameDir, const QStringList& folders,
                       std::FILE* out) {
    bool allFound = true;
    for (const QString& folder : folders) {
        const TrackDetails details = readTrackDetails(files, gameDir, folder).details;
        if (!details.folderExists) {
            std::fprintf(stderr, "details: no track folder \"%s\"\n", qUtf8Printable(folder));
            allFound = false;
        }
        const TrackIni& ini = details.ini;
        const QByteArray text =
            "folder=" + folder.toUtf8() + "\nname=" + ini.name.toUtf8() +
            "\nshort name=" + ini.shortName.toUtf8() + "\nlength=" + ini.length +
            "\nturns=" + (ini.turns ? QByteArray::number(*ini.turns) : QByteArray()) +
            "\nmods=" + details.mods.join(QLatin1Char(' ')).toUtf8() + "\npicture=" +
            (details.picture.isEmpty() ? QByteArray()
                                       : QFile::encodeName(files.nativePath(details.picture))) +
            "\n\n";
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), out);
    }
    std::fflush(out);
    return allFound;
}

namespace cli {

std::vector<Command> detailsCommands() {
    return {{"details", "TRACK...",
             "each track folder's full name, short name, length, turns, mods and picture", 1, -1,
             nullptr, nullptr, [](Context& c) {
                 return printTrackDetails(c.files, c.model.workspace().strGPLdir, c.args, stdout)
                            ? static_cast<int>(Ok)
                            : static_cast<int>(Refused);
             }}};
}

} // namespace cli
} // namespace gk
