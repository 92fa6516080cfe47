// SPDX-License-Identifier: GPL-3.0-or-later
// "File > Restore an earlier season…": the pairs offered, their differences, the restore.
#include "restore_season.h"

#include "platform/code_page.h"
#include "platform/runtime_error.h"
#include "season/season_replace.h"

namespace gk {
namespace {

Message refusal(const QString& text) {
    return {text, appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Refusal};
}

QString folders(const QByteArrayList& list) {
    QStringList names;
    for (const QByteArray& f : list)
        names.push_back(decodeGameText(f));
    return names.join(QStringLiteral(", "));
}

} // namespace

std::vector<RestorablePair> RestoreSeason::pairs() {
    return restorablePairs(files_, ctx_.ws.strGPLdir);
}

QString RestoreSeason::summary(const RestorablePair& pair) {
    const QString when = pair.when.isValid()
                             ? pair.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                             : QStringLiteral("no date");
    const QString label =
        pair.name == previousPairName() ? QStringLiteral("previous (%1)").arg(when) : when;
    if (!pair.usable())
        return QStringLiteral("%1 — cannot be restored: %2").arg(label, pair.problem);
    return QStringLiteral("%1 — %2 active, %3 in all")
        .arg(label)
        .arg(pair.activeCount)
        .arg(pair.allTracksCount);
}

QString RestoreSeason::differences(const RestorablePair& pair) {
    if (!pair.usable())
        return pair.problem;
    QStringList lines;
    if (!pair.comeBack.isEmpty())
        lines.push_back(QStringLiteral("Active again: %1").arg(folders(pair.comeBack)));
    if (!pair.go.isEmpty())
        lines.push_back(QStringLiteral("No longer active: %1").arg(folders(pair.go)));
    if (pair.orderChanged)
        lines.push_back(QStringLiteral("The order of the active tracks changes."));
    if (lines.isEmpty())
        lines.push_back(QStringLiteral("The same active tracks in the same order."));
    return lines.join(QLatin1Char('\n'));
}

bool RestoreSeason::restore(const QString& name) {
    bool restored = false;
    ctx_.guarded([&] {
        const RestorablePair pair = restorablePair(files_, ctx_.ws.strGPLdir, name);
        if (!pair.usable()) {
            ctx_.dialogs.messageBox(
                refusal(QStringLiteral("%1\r\n\r\nNothing was restored.").arg(pair.problem)));
            return;
        }
        // Read before anything is saved: saving first moves the backups into the history.
        QByteArray season, allTracks;
        try {
            season = files_.readFile(pair.seasonPath);
            allTracks = files_.readFile(pair.allTracksPath);
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
            return;
        }
        if (ctx_.ws.bolSeasonChanged) {
            const Answer answer = ctx_.dialogs.messageBox(
                {QStringLiteral("You haven't saved your changes so far. Do you want to create "
                                "the new 67season.ini first? It can then be restored from the "
                                "history as well."),
                 appTitle(), Buttons::YesNoCancel, Icon::Exclamation, QuestionId::SaveBeforeRestore,
                 false, true});
            if (answer == Answer::Cancel)
                return;
            if (answer == Answer::Yes) {
                seasonFiles_.subCreateIniFiles(true);
                if (seasonFiles_.writeHeldBack())
                    return;
            }
        }
        try {
            seasonFiles_.remember(replaceSeasonFiles(files_, ctx_.ws.strGPLdir, season, allTracks));
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
            return;
        } catch (const SeasonWriteRefused&) {
            ctx_.dialogs.messageBox(
                refusal(QStringLiteral("GPL is running an inactive track: 67season.ini holds a "
                                       "temporary season until the game ends.\r\n\r\nNothing "
                                       "was restored. Restore again after GPL has ended.")));
            return;
        }
        restored = true;
        ctx_.ws.bolSeasonChanged = false;
        seasonFiles_.subGet67season();
    });
    return restored;
}

} // namespace gk
