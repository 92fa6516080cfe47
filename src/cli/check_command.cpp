// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli: the "check" command, the track check report as text.
#include "check_command.h"

#include "cli_command.h"

#include "form_model.h"
#include "platform/code_page.h"
#include "report/track_check.h"

namespace gk {

void runCheckCommand(FormModel& model, Dialogs& dialogs, FileSystem& files, std::FILE* out) {
    TrackCheck check(dialogs, files, model.workspace().ListAllTracks);
    const TrackReport report = check.check(model.workspace().strGPLdir);
    const char* const labels[] = {"missing track files", "not found in 67AllTracks.ini",
                                  "unknown folders"};
    for (size_t i = 0; i < report.columns.size(); ++i) {
        std::fprintf(out, "%s\n", labels[i]);
        QString column = report.columns[i];
        column.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        // An empty column: the check failed and said why on stderr.
        const QByteArray text = column.toUtf8();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), out);
        if (column == QLatin1String("(none)"))
            std::fputc('\n', out);
    }
    std::fflush(out);
}

namespace cli {

std::vector<Command> checkCommands() {
    return {{"check", "", "the track check report: its three columns under their labels", 0, 0,
             nullptr, nullptr, [](Context& c) {
                 runCheckCommand(c.model, c.dialogs, c.files, stdout);
                 return c.dialogs.status;
             }}};
}

} // namespace cli
} // namespace gk
