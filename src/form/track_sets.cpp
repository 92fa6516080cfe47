// SPDX-License-Identifier: GPL-3.0-or-later
// The Track Sets menu: saving and opening named sets.
#include "track_sets.h"

#include "game/game_paths.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "season/read_back_check.h"
#include "season/track_set_name.h"

#include <algorithm>

namespace gk {
namespace {

// A track-set name that cannot be used, and why.
Message nameRefused(const QString& name, const QString& why, const QString& title) {
    return {QStringLiteral("\"%1\" can't be used as the name of a track set. %2").arg(name, why),
            title, Buttons::Ok, Icon::Exclamation, MessageKind::Refusal};
}

} // namespace

TrackSets::TrackSets(FormContext& ctx, FileSystem& files, SeasonFiles& seasonFiles,
                     PlayerCar& playerCar)
    : ctx_(ctx), files_(files), seasonFiles_(seasonFiles), playerCar_(playerCar) {
    ctx_.ctl.mnuTrackSet[0] = {QStringLiteral("&Save as"), true};
    ctx_.ctl.mnuTrackSet[1] = {QStringLiteral("-"), false};
    for (size_t i = 2; i < ctx_.ctl.mnuTrackSet.size(); ++i)
        ctx_.ctl.mnuTrackSet[i] = {QString(), false};
}

// ---------------------------------------------------------------- track sets

QStringList TrackSets::offeredTrackSets() const {
    QStringList names;
    for (size_t i = 2; i < ctx_.ctl.mnuTrackSet.size(); ++i)
        if (ctx_.ctl.mnuTrackSet[i].visible)
            names.append(ctx_.ctl.mnuTrackSet[i].caption);
    return names;
}

void TrackSets::subListTrackSets() {
    for (size_t i = 2; i < ctx_.ctl.mnuTrackSet.size(); ++i)
        ctx_.ctl.mnuTrackSet[i] = {QString(), false};
    const std::vector<FolderEntry> entries =
        files_.listFolder(paths::seasonsFolder(ctx_.ws.strGPLdir));
    QStringList names;
    for (const FolderEntry& entry : entries) {
        if (entry.isDirectory || entry.isHidden) // ordinary files only
            continue;
        ctx_.ctl.mnuTrackSet[1].visible = true;
        if (entry.name.endsWith(QLatin1String(".67s"), Qt::CaseSensitive))
            names.append(entry.name.chopped(4));
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    for (qsizetype i = 0; i < names.size() && i < 20; ++i)
        ctx_.ctl.mnuTrackSet[static_cast<size_t>(i) + 2] = {names[i], true};
}

void TrackSets::subShowTrackSet() {
    ctx_.showTrackSet();
}

void TrackSets::mnuTrackSet_Click(int16_t Index) {
    ctx_.guarded([&] {
        try {
            if (Index == 0)
                saveTrackSetAs();
            else if (Index >= 2 && Index <= 21)
                openTrackSet(ctx_.ctl.mnuTrackSet[static_cast<size_t>(Index)].caption);
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
        }
        try {
            subListTrackSets();
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
        }
    });
}

void TrackSets::saveTrackSetAs() {
    const QString prompt =
        QStringLiteral("Enter Name of the Track Set\r\n(Track Set will be saved in %1)")
            .arg(paths::shown(ctx_.ws.strGPLdir + QStringLiteral("\\seasons\\")));
    const QString previous = ctx_.ws.strTrackSet;
    QString proposal = ctx_.ws.strTrackSet;
    for (;;) {
        const QString name = ctx_.dialogs.inputBox({prompt, QStringLiteral("Save as"), proposal});
        if (name.isEmpty()) {
            ctx_.ws.strTrackSet = previous; // Cancel keeps the set that was current
            return;
        }
        proposal = name;
        const QString problem = trackSetNameProblem(name);
        if (!problem.isEmpty()) {
            ctx_.dialogs.messageBox(
                nameRefused(name, problem + QStringLiteral(" Please enter another name."),
                            QStringLiteral("Save as")));
            continue;
        }
        ctx_.ws.strTrackSet = name;
        if (fncFileExists(files_, paths::trackSet(ctx_.ws.strGPLdir, name))) {
            const Answer answer = ctx_.dialogs.messageBox(
                {QStringLiteral("File already exists. Overwrite?"), QStringLiteral("File exists"),
                 Buttons::YesNoCancel, Icon::Exclamation, QuestionId::OverwriteTrackSet});
            if (answer == Answer::No)
                continue;
            if (answer == Answer::Cancel)
                return;
        }
        saveTrackSet(name);
        return;
    }
}

bool TrackSets::saveTrackSet(const QString& name) {
    const QString problem = trackSetNameProblem(name);
    if (!problem.isEmpty()) {
        ctx_.dialogs.messageBox(nameRefused(name, problem, QStringLiteral("Save as")));
        return false;
    }
    const QString unreadable = readBackProblem(ctx_.ws.ListTracks, QStringLiteral("active tracks"));
    if (!unreadable.isEmpty()) {
        ctx_.dialogs.messageBox(
            {unreadable, appTitle(), Buttons::Ok, Icon::Exclamation, MessageKind::Refusal});
        return false;
    }
    ctx_.ws.strTrackSet = name;
    if (ctx_.ctl.chkSort == 1)
        seasonFiles_.subSortByAlphabet(name);
    else
        seasonFiles_.subSortByList(name);
    ctx_.ws.bolTrackSetChanged = false;
    subShowTrackSet();
    return true;
}

bool TrackSets::confirmDiscard() {
    QString question;
    const bool setOpen = !ctx_.ws.strTrackSet.isEmpty();
    if (setOpen && ctx_.ws.bolSeasonChanged && ctx_.ws.bolTrackSetChanged)
        question = QStringLiteral("Neither your 67season.ini nor your current track set are "
                                  "saved yet. Do you really want to open the new track set?");
    else if (ctx_.ws.bolSeasonChanged)
        question = QStringLiteral("Your 67season.ini isn't saved yet. Do you really want to open "
                                  "the new track set?");
    else if (setOpen && ctx_.ws.bolTrackSetChanged)
        question = QStringLiteral("Your current track set isn't saved yet. Do you really want to "
                                  "open the new track set?");
    if (question.isEmpty())
        return true;
    return ctx_.dialogs.messageBox({question, appTitle(), Buttons::YesNo, Icon::Exclamation,
                                    QuestionId::DiscardUnsavedChanges}) == Answer::Yes;
}

void TrackSets::openTrackSet(const QString& name) {
    // A name that could not be saved is not opened either: it could lead out of the folder.
    const QString problem = trackSetNameProblem(name);
    if (!problem.isEmpty()) {
        ctx_.dialogs.messageBox(nameRefused(name, problem, appTitle()));
        return;
    }
    if (!confirmDiscard())
        return;
    ctx_.ws.strTrackSet = name;
    seasonFiles_.subGet67season(name + QLatin1String(".67s"));
    playerCar_.subPlayerInfo();
    seasonFiles_.subCreateIniFiles(true);
    // A write held back for a second writer leaves the set in the lists, not on disk yet.
    ctx_.ws.bolSeasonChanged = seasonFiles_.writeHeldBack();
    ctx_.ws.bolTrackSetChanged = false;
    subShowTrackSet();
}

} // namespace gk
