// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the crash recovery, closing, and the game directory.
#include "startup.h"

#include "game/game_finder.h"
#include "game/game_paths.h"
#include "game/settings_keys.h"
#include "help_line.h"
#include "launch/launch_flow.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "season/season_guard.h"

namespace gk {

namespace {

QString joinCrLf(std::initializer_list<QString> lines) {
    return QStringList(lines).join(QStringLiteral("\r\n"));
}

} // namespace

// ---------------------------------------------------------------- start-up and closing

// Each start-up step reports its own run-time error, and start-up goes on with the next step.
template <class F> void Startup::startupStep(F&& body) {
    try {
        body();
    } catch (const RuntimeError& e) {
        faults_.push_back({e.number(), e.description()});
        ctx_.dialogs.messageBox(
            {e.description(), appTitle(), Buttons::Ok, Icon::None, MessageKind::RuntimeError});
    }
}

bool Startup::startUp(const QString& commandLine) {
    const auto step = [this](auto&& body) { startupStep(body); };
    // A relative game folder means the caller's working directory, before it becomes the
    // program's folder below; it is kept as an absolute path.
    const QString given = files_.absolutePath(commandLine);
    try {
        step([&] {
            ctx_.ws.bolSeasonChanged = false;
            ctx_.ws.bolTrackSetChanged = false;
        });
        step([&] { files_.setCurrentDirectory(files_.programDirectory()); });
        step([&] { shell_.centerMainWindow(); });
        step([&] {
            ctx_.ws.strGPLdir = settings_.getSetting(settings::kApp, settings::kSection,
                                                     settings::kGplDir, settings::kNotSet);
        });
        step([&] {
            if (!given.isEmpty())
                ctx_.ws.strGPLdir = given;
        });
        step([&] {
            if (ctx_.ws.strGPLdir.endsWith(QLatin1Char('\\')))
                ctx_.ws.strGPLdir.chop(1);
        });
        step([&] {
            settings_.saveSetting(settings::kApp, settings::kSection, settings::kGplDir,
                                  ctx_.ws.strGPLdir);
        });
        step([&] {
            if (fncFileExists(files_, paths::driverIni(ctx_.ws.strGPLdir))) {
                ctx_.ws.bolGPLdirOK = true;
            } else {
                ctx_.ws.bolGPLdirOK = false;
                subSetGPLdir();
            }
        });
        // The two fatal cases end the program; they are not run-time errors.
        endWithoutGameFolder();
        step([&] { readSortSetting(); });
        step([&] { lookAtParkedSeason(); });
    } catch (const FormContext::ProgramEnd&) {
        ctx_.ended = true;
        return false;
    }
    return true;
}

void Startup::endWithoutGameFolder() {
    if (!ctx_.ws.bolGPLdirOK)
        ctx_.endProgram({QStringLiteral("GPL Dir not found or not set correctly, please restart "
                                        "the tool and enter the correct GPL path"),
                         QStringLiteral("GPL FOLDER..."), Buttons::Ok, Icon::Critical,
                         MessageKind::Failure});
    if (!fncFileExists(files_, paths::seasonIni(ctx_.ws.strGPLdir)))
        ctx_.endProgram({QStringLiteral("67season.ini was not found"),
                         QStringLiteral("Critical error"), Buttons::Ok, Icon::Critical,
                         MessageKind::Failure});
}

void Startup::readSortSetting() {
    const QString stored = settings_.getSetting(settings::kApp, settings::kSection,
                                                settings::kAlphabetical, QStringLiteral("0"));
    bool ok = false;
    const int value = stored.trimmed().toInt(&ok);
    if (!ok)
        throw RuntimeError(ErrorCode::TypeMismatch);
    if (value < 0 || value > 2)
        throw RuntimeError(ErrorCode::InvalidProperty);
    if (value != ctx_.ctl.chkSort) {
        ctx_.ctl.chkSort = value;
        seasonFiles_.chkSort_Click();
    }
}

// A gridkeeper.tmp left by a run that ended without putting it back is offered back; one that
// a live run parked is left alone, and the user is told why nothing is written meanwhile.
void Startup::lookAtParkedSeason() {
    switch (parkedSeasonState(files_, ctx_.ws.strGPLdir)) {
    case ParkedSeason::None:
        return;
    case ParkedSeason::LiveRun:
        ctx_.dialogs.messageBox(
            {joinCrLf({QStringLiteral("GPL is running an inactive track: your 67season.ini is "
                                      "parked as gridkeeper.tmp until the game ends, and a "
                                      "temporary season stands in its place."),
                       QString(),
                       QStringLiteral("The lists show your real season. Gridkeeper writes no "
                                      "season file until GPL has ended.")}),
             appTitle(), Buttons::Ok, Icon::Information, MessageKind::Information});
        return;
    case ParkedSeason::LeftBehind:
        break;
    }
    const QString text = joinCrLf(
        {QStringLiteral("The file gridkeeper.tmp has been found in your GPL\\seasons folder."),
         QString(), QStringLiteral("This may indicate that your last GPL session crashed while "),
         QStringLiteral("running an track from the inactive list. If this is the case, the"),
         QStringLiteral("file gridkeeper.tmp should be renamed to 67season.ini again."), QString(),
         QStringLiteral("Shall the file be renamed now?")});
    const Answer answer =
        ctx_.dialogs.messageBox({text, QStringLiteral("Gridkeeper Crash Recovery"), Buttons::YesNo,
                                 Icon::Exclamation, QuestionId::CrashRecovery});
    if (answer == Answer::Yes)
        restoreParkedSeason(files_, ctx_.ws.strGPLdir);
}

bool Startup::loadWorkspace() {
    const auto step = [this](auto&& body) { startupStep(body); };
    try {
        step([&] { seasonFiles_.subGet67season(); });
        step([&] { playerCar_.subMakeCarList(); });
        step([&] { playerCar_.subPlayerInfo(); });
        step([&] { ctx_.ctl.lblInfo.caption = help::defaultText(); });
        step([&] { subSetGPLdirText(); });
        step([&] { trackSets_.subListTrackSets(); });
    } catch (const FormContext::ProgramEnd&) {
        ctx_.ended = true;
        return false;
    }
    return true;
}

void Startup::Form_Activate() {
    ctx_.ctl.txtTrackSelStart = 0;
    ctx_.ctl.txtTrackSelLength = static_cast<int>(ctx_.ctl.txtTrack.size());
}

void Startup::Form_Unload(bool& Cancel) {
    if (!ctx_.ws.bolSeasonChanged)
        return;
    ctx_.guarded([&] {
        const Answer answer = ctx_.dialogs.messageBox(
            {QStringLiteral("You haven't saved your changes so far. Do you want to create the new "
                            "67season.ini now?"),
             appTitle(), Buttons::YesNoCancel, Icon::Exclamation, QuestionId::SaveBeforeClosing});
        if (answer == Answer::Cancel) {
            Cancel = true;
            return;
        }
        if (answer == Answer::Yes) {
            try {
                seasonFiles_.subCreateIniFiles(false);
                // Held back for a second writer: the changes are not on disk either.
                if (seasonFiles_.writeHeldBack())
                    Cancel = true;
            } catch (const RuntimeError& e) {
                ctx_.showError(e.number(), e.description());
                Cancel = true; // the changes are not on disk: the window stays open
            }
        }
    });
}

// ---------------------------------------------------------------- game directory

void Startup::subSetGPLdir() {
    const QString prompt = QStringLiteral("The GPL directory is not yet set or invalid.\r"
                                          "Please enter your GPL directory.\r"
                                          "e.g. C:\\Games\\Sierra\\GPL");
    // The box offers the game folders found in the usual places, the first filled in when the
    // present value is no game folder, and a button to look for one.
    InputBox box{prompt, QStringLiteral("Enter your GPL directory"), ctx_.ws.strGPLdir};
    box.browseFolders = true;
    if (gameSearch_)
        box.choices = findGameFolders(files_, *gameSearch_);
    if (!box.choices.isEmpty() && !fncFileExists(files_, paths::driverIni(ctx_.ws.strGPLdir)))
        box.defaultText = box.choices.front();
    for (;;) {
        const QString entered = ctx_.dialogs.inputBox(box);
        if (entered.isEmpty()) {
            ctx_.ws.strGPLdir = settings_.getSetting(settings::kApp, settings::kSection,
                                                     settings::kGplDir, settings::kNotSet);
            return;
        }
        ctx_.ws.strGPLdir = entered;
        box.defaultText = entered;
        if (fncFileExists(files_, paths::driverIni(ctx_.ws.strGPLdir))) {
            ctx_.ws.bolGPLdirOK = true;
            settings_.saveSetting(settings::kApp, settings::kSection, settings::kGplDir,
                                  ctx_.ws.strGPLdir);
            subSetGPLdirText();
            return;
        }
        ctx_.dialogs.messageBox(
            {QStringLiteral("This seems to be an invalid directory. Please enter "
                            "the correct directory or click on Cancel to keep "
                            "the previous value."),
             QStringLiteral("Invalid directory"), Buttons::Ok, Icon::Critical,
             MessageKind::Refusal});
    }
}

void Startup::subSetGPLdirText() {
    if (fncFileExists(files_, paths::driverIni(ctx_.ws.strGPLdir))) {
        ctx_.ctl.lblGPLdir.foreColor = kBlue;
        ctx_.ctl.lblGPLdir.caption = QStringLiteral("GRIDKEEPER");
    } else {
        ctx_.ctl.lblGPLdir.foreColor = kRed;
        ctx_.ctl.lblGPLdir.caption = QStringLiteral("GPL directory invalid or not set!");
    }
}

} // namespace gk
