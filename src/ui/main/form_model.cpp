#include "form_model.h"

#include "app/game_paths.h"
#include "app/settings_keys.h"
#include "launch/player_info.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/qt_processes.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "season/loader.h"
#include "season/read_back_check.h"
#include "season/season_file.h"
#include "season/season_replace.h"
#include "season/season_writer.h"
#include "season/track_lookup.h"
#include "season/track_set_name.h"

#include <algorithm>

namespace gk {

QString appTitle() {
    return QStringLiteral("Gridkeeper");
}

namespace {

QString joinCrLf(std::initializer_list<QString> lines) {
    return QStringList(lines).join(QStringLiteral("\r\n"));
}

} // namespace

FormModel::FormModel(FormPlatform platform)
    : settings_(platform.settings), dialogs_(platform.dialogs), files_(platform.files),
      shell_(platform.shell) {
    if (!platform.runner || !platform.gameWindow)
        ownProcesses_ = std::make_unique<QtProcesses>();
    launch_ = std::make_unique<LaunchFlow>(LaunchPlatform{
        dialogs_, files_, shell_, platform.runner ? *platform.runner : *ownProcesses_,
        platform.gameWindow ? *platform.gameWindow : *ownProcesses_});
    launch_->onAbout = [this] { aboutRequested_ = true; };
    ctl_.mnuTrackSet[0] = {QStringLiteral("&Save as"), true};
    ctl_.mnuTrackSet[1] = {QStringLiteral("-"), false};
    for (size_t i = 2; i < ctl_.mnuTrackSet.size(); ++i)
        ctl_.mnuTrackSet[i] = {QString(), false};
}

FormModel::~FormModel() = default;

void FormModel::showError(int number, const QString& description) {
    dialogs_.messageBox(
        {description, QStringLiteral("Error %1").arg(number), Buttons::Ok, Icon::Critical});
}

void FormModel::endProgram(const MessageBox& box) {
    dialogs_.messageBox(box);
    throw ProgramEnd{};
}

template <class F> void FormModel::guarded(F&& handler) {
    if (ended_)
        return;
    try {
        handler();
    } catch (const ProgramEnd&) {
        ended_ = true;
    }
}

bool FormModel::fncFileExists(const QString& path) {
    return files_.fileExists(path);
}

// ---------------------------------------------------------------- start-up and closing

// Each start-up step reports its own run-time error, and start-up goes on with the next step.
template <class F> void FormModel::startupStep(F&& body) {
    try {
        body();
    } catch (const RuntimeError& e) {
        startupFaults_.push_back({e.number(), e.description()});
        dialogs_.messageBox({e.description(), appTitle(), Buttons::Ok, Icon::None});
    }
}

bool FormModel::Form_Load(const QString& commandLine) {
    return startUp(commandLine) && loadWorkspace();
}

bool FormModel::startUp(const QString& commandLine) {
    const auto step = [this](auto&& body) { startupStep(body); };
    try {
        step([&] {
            ws_.bolSeasonChanged = false;
            ws_.bolTrackSetChanged = false;
        });
        step([&] { files_.setCurrentDirectory(files_.programDirectory()); });
        step([&] { shell_.centerMainWindow(); });
        step([&] {
            ws_.strGPLdir = settings_.getSetting(settings::kApp, settings::kSection,
                                                 settings::kGplDir, settings::kNotSet);
        });
        step([&] {
            if (!commandLine.isEmpty())
                ws_.strGPLdir = commandLine;
        });
        step([&] {
            if (ws_.strGPLdir.endsWith(QLatin1Char('\\')))
                ws_.strGPLdir.chop(1);
        });
        step([&] {
            settings_.saveSetting(settings::kApp, settings::kSection, settings::kGplDir,
                                  ws_.strGPLdir);
        });
        step([&] {
            if (fncFileExists(paths::driverIni(ws_.strGPLdir))) {
                ws_.bolGPLdirOK = true;
            } else {
                ws_.bolGPLdirOK = false;
                subSetGPLdir();
            }
        });
        // The two fatal cases end the program; they are not run-time errors.
        if (ws_.bolGPLdirOK) {
            if (!fncFileExists(paths::seasonIni(ws_.strGPLdir)))
                endProgram({QStringLiteral("67season.ini was not found"),
                            QStringLiteral("Critical error"), Buttons::Ok, Icon::Critical});
        } else {
            endProgram({QStringLiteral("GPL Dir not found or not set correctly, please restart "
                                       "the tool and enter the correct GPL path"),
                        QStringLiteral("GPL FOLDER..."), Buttons::Ok, Icon::Critical});
        }
        step([&] {
            const QString stored = settings_.getSetting(
                settings::kApp, settings::kSection, settings::kAlphabetical, QStringLiteral("0"));
            bool ok = false;
            const int value = stored.trimmed().toInt(&ok);
            if (!ok)
                throw RuntimeError(ErrorCode::TypeMismatch);
            if (value < 0 || value > 2)
                throw RuntimeError(ErrorCode::InvalidProperty);
            if (value != ctl_.chkSort) {
                ctl_.chkSort = value;
                chkSort_Click();
            }
        });
        step([&] {
            const QString parked = paths::parkedSeason(ws_.strGPLdir);
            if (!fncFileExists(parked))
                return;
            const QString text = joinCrLf(
                {QStringLiteral("The file gridkeeper.tmp has been found in your GPL\\seasons "
                                "folder."),
                 QString(),
                 QStringLiteral("This may indicate that your last GPL session crashed while "),
                 QStringLiteral("running an track from the inactive list. If this is the case, "
                                "the"),
                 QStringLiteral("file gridkeeper.tmp should be renamed to 67season.ini again."),
                 QString(), QStringLiteral("Shall the file be renamed now?")});
            const Answer answer =
                dialogs_.messageBox({text, QStringLiteral("Gridkeeper Crash Recovery"),
                                     Buttons::YesNo, Icon::Exclamation});
            if (answer != Answer::Yes)
                return;
            const QString season = paths::seasonIni(ws_.strGPLdir);
            // The rename replaces the season file in one step, so no moment is left without one.
            files_.renameFile(parked, season);
        });
    } catch (const ProgramEnd&) {
        ended_ = true;
        return false;
    }
    return true;
}

bool FormModel::loadWorkspace() {
    const auto step = [this](auto&& body) { startupStep(body); };
    try {
        step([&] { subGet67season(); });
        step([&] { subMakeCarList(); });
        step([&] { subPlayerInfo(); });
        step([&] { ctl_.lblInfo.caption = help::defaultText(); });
        step([&] { subSetGPLdirText(); });
        step([&] { subListTrackSets(); });
    } catch (const ProgramEnd&) {
        ended_ = true;
        return false;
    }
    return true;
}

void FormModel::Form_Activate() {
    ctl_.txtTrackSelStart = 0;
    ctl_.txtTrackSelLength = static_cast<int>(ctl_.txtTrack.size());
}

void FormModel::Form_Unload(bool& Cancel) {
    if (!ws_.bolSeasonChanged)
        return;
    guarded([&] {
        const Answer answer = dialogs_.messageBox(
            {QStringLiteral("You haven't saved your changes so far. Do you want to create the new "
                            "67season.ini now?"),
             appTitle(), Buttons::YesNoCancel, Icon::Exclamation});
        if (answer == Answer::Cancel) {
            Cancel = true;
            return;
        }
        if (answer == Answer::Yes) {
            try {
                subCreateIniFiles(false);
            } catch (const RuntimeError& e) {
                showError(e.number(), e.description());
                Cancel = true; // the changes are not on disk: the window stays open
            }
        }
    });
}

void FormModel::cmdLaunchGPL_Click() {
    guarded([&] {
        launch_->cmdLaunchGPL_Click({ws_, ctl_.txtRunTrack.text, ctl_.cboCarsIndex},
                                    [this] { subCreateIniFiles(true); });
    });
}

void FormModel::mnuHelp_Click(int16_t Index) {
    guarded([&] {
        launch_->mnuHelp_Click(Index, {ws_, ctl_.txtRunTrack.text, ctl_.cboCarsIndex});
    });
}

void FormModel::cmdMakeIni_Click() {
    guarded([&] {
        try {
            subCreateIniFiles(false);
        } catch (const RuntimeError& e) {
            showError(e.number(), e.description());
        }
    });
}

void FormModel::mnuFile_Click(int16_t Index) {
    switch (Index) {
    case 1:
        cmdMakeIni_Click();
        break;
    case 6:
        reportRequested_ = true;
        break;
    case 11:
        closeRequested_ = true;
        break;
    default:
        break;
    }
}

void FormModel::chkSort_Click() {
    settings_.saveSetting(settings::kApp, settings::kSection, settings::kAlphabetical,
                          QString::number(ctl_.chkSort));
}

// ---------------------------------------------------------------- game directory

void FormModel::subSetGPLdir() {
    const QString prompt = QStringLiteral("The GPL directory is not yet set or invalid.\r"
                                          "Please enter your GPL directory.\r"
                                          "e.g. C:\\Games\\Sierra\\GPL");
    for (;;) {
        const QString entered =
            dialogs_.inputBox({prompt, QStringLiteral("Enter your GPL directory"), ws_.strGPLdir});
        if (entered.isEmpty()) {
            ws_.strGPLdir = settings_.getSetting(settings::kApp, settings::kSection,
                                                 settings::kGplDir, settings::kNotSet);
            return;
        }
        ws_.strGPLdir = entered;
        if (fncFileExists(paths::driverIni(ws_.strGPLdir))) {
            ws_.bolGPLdirOK = true;
            settings_.saveSetting(settings::kApp, settings::kSection, settings::kGplDir,
                                  ws_.strGPLdir);
            subSetGPLdirText();
            return;
        }
        dialogs_.messageBox({QStringLiteral("This seems to be an invalid directory. Please enter "
                                            "the correct directory or click on Cancel to keep "
                                            "the previous value."),
                             QStringLiteral("Invalid directory"), Buttons::Ok, Icon::Critical});
    }
}

void FormModel::subSetGPLdirText() {
    if (fncFileExists(paths::driverIni(ws_.strGPLdir))) {
        ctl_.lblGPLdir.foreColor = kBlue;
        ctl_.lblGPLdir.caption = QStringLiteral("GRIDKEEPER");
    } else {
        ctl_.lblGPLdir.foreColor = kRed;
        ctl_.lblGPLdir.caption = QStringLiteral("GPL directory invalid or not set!");
    }
}

// ---------------------------------------------------------------- loading

void FormModel::updateCountCaptions() {
    ctl_.lblAmountLeft.caption = QStringLiteral("Active Tracks (%1)").arg(ws_.ListTracks.count());
    ctl_.lblAmountRight.caption =
        QStringLiteral("Non-Active Tracks (%1)").arg(ws_.listNotActive.count());
}

void FormModel::subGet67season(const QString& strFile) {
    ws_.ListTracks.clear();
    ws_.listNotActive.clear();
    ws_.ListAllTracks.clear();
    ws_.arrActive.clear();
    ws_.arrInactive.clear();
    ws_.arrAllTracks.clear();
    const bool filling = ws_.bolFillingEntries;
    ws_.bolFillingEntries = true; // emptying the boxes is not an edit
    for (int16_t i = 0; i < 14; ++i)
        setEntryText(i, {});
    ws_.bolFillingEntries = filling;
    ctl_.txtRunTrack.text.clear();
    runTrackSide_.reset();

    const QString& dir = ws_.strGPLdir;
    if (!fncFileExists(paths::seasonIni(dir)))
        endProgram({QStringLiteral("67season.ini was not found. Please check your GPL\\seasons "
                                   "folder."),
                    QStringLiteral("Critical error"), Buttons::Ok, Icon::Critical});
    InstalledTracks installed; // one look-up per folder
    const QString activeFile =
        strFile.isEmpty() ? paths::seasonIni(dir) : paths::inSeasons(dir, strFile);
    // A load that stops early leaves lists that must not be written back without a word.
    loadGuard_.loadStarted();
    QString reading = paths::allTracksIni(dir);
    const TrackList* readInto = &ws_.ListAllTracks;
    try {
        makeFirstRunCopies(files_, dir);
        readSeasonFile(files_, dir, reading, ws_.ListAllTracks, ws_.arrAllTracks, installed);
        reading = activeFile;
        readInto = &ws_.ListTracks;
        readSeasonFile(files_, dir, activeFile, ws_.ListTracks, ws_.arrActive, installed);
    } catch (const RuntimeError&) {
        loadGuard_.loadStopped(reading, readInto->count());
        throw;
    }
    ctl_.lblAmountLeft.caption = QStringLiteral("Active Tracks (%1)").arg(ws_.ListTracks.count());
    buildInactiveList(ws_.ListAllTracks, ws_.arrAllTracks, ws_.ListTracks, ws_.arrActive,
                      ws_.listNotActive, ws_.arrInactive);
    ctl_.lblAmountRight.caption =
        QStringLiteral("Non-Active Tracks (%1)").arg(ws_.listNotActive.count());
}

// ---------------------------------------------------------------- writing

void FormModel::subCreateIniFiles(bool bolMute) {
    const auto refuse = [this](const QString& text) {
        dialogs_.messageBox({text, appTitle(), Buttons::Ok, Icon::Exclamation});
    };
    if (ws_.ListTracks.count() == 0) {
        refuse(QStringLiteral("Can't create 67season.ini cause there are no tracks in the "
                              "'active tracks' list"));
        return;
    }
    if (ws_.ListTracks.count() > 64) {
        refuse(QStringLiteral("Can't create 67season.ini cause there are more than 64 tracks in "
                              "the 'active tracks' list"));
        return;
    }
    // An all-tracks file of more events than a list can hold could not be read back.
    if (ws_.ListTracks.count() + ws_.listNotActive.count() > kMaxListRows) {
        refuse(QStringLiteral("Can't create 67AllTracks.ini cause the 'active tracks' and the "
                              "'non-active tracks' lists hold more than %1 tracks together")
                   .arg(kMaxListRows));
        return;
    }
    QString problem =
        readBackProblem(ws_.ListTracks, ws_.arrActive, QStringLiteral("active tracks"));
    if (problem.isEmpty())
        problem = readBackProblem(ws_.listNotActive, ws_.arrInactive,
                                  QStringLiteral("non-active tracks"));
    if (!problem.isEmpty()) {
        refuse(problem);
        return;
    }
    if (!loadGuard_.allowWrite(dialogs_, files_, ws_.strGPLdir))
        return;
    shell_.setBusyPointer(true);
    try {
        if (ctl_.chkSort == 1)
            subSortByAlphabet();
        else
            subSortByList();
    } catch (...) {
        shell_.setBusyPointer(false);
        throw;
    }
    shell_.setBusyPointer(false);
    if (!bolMute)
        dialogs_.messageBox(
            {QStringLiteral("67season.ini created"), appTitle(), Buttons::Ok, Icon::Information});
    loadGuard_.written();
    ws_.bolSeasonChanged = false;
}

void FormModel::writeTrackSetFile(const QString& name, const QByteArray& bytes) {
    const QString problem = trackSetNameProblem(name);
    if (!problem.isEmpty())
        throw RuntimeError(ErrorCode::BadFileName);
    files_.writeFile(paths::trackSet(ws_.strGPLdir, name), bytes);
}

void FormModel::subSortByList(const QString& strFile) {
    if (!strFile.isEmpty()) {
        writeTrackSetFile(strFile, seasonFileBytes(season_names::kTrackSet, ws_.arrActive));
        return;
    }
    replaceSeasonFiles(files_, ws_.strGPLdir,
                       seasonFileBytes(season_names::kCustomOrder, ws_.arrActive),
                       allTracksFileBytes(ws_.arrActive, ws_.arrInactive));
}

void FormModel::subSortByAlphabet(const QString& strFile) {
    const std::vector<int> ListSorter = sortOrder(ws_.ListTracks.rows);
    if (ListSorter.size() != ws_.arrActive.size())
        throw RuntimeError(ErrorCode::SubscriptRange);
    if (!strFile.isEmpty()) {
        writeTrackSetFile(strFile,
                          seasonFileBytes(season_names::kTrackSet, ws_.arrActive, ListSorter));
        return;
    }
    replaceSeasonFiles(files_, ws_.strGPLdir,
                       seasonFileBytes(season_names::kAlphabetical, ws_.arrActive, ListSorter),
                       allTracksFileBytes(ws_.arrActive, ws_.arrInactive));
    // The lists are read back from the two files just written, every track.ini looked up
    // anew: they show what the next start will show.
    subGet67season();
}

// ---------------------------------------------------------------- player and car

void FormModel::subMakeCarList() {
    try {
        for (const char* car : {"Bra", "BRM", "Coo", "Eag", "Fer", "Lot", "Hon"})
            ctl_.cboCars.append(QString::fromLatin1(car));
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description());
    }
}

void FormModel::subPlayerInfo() {
    const QString& dir = ws_.strGPLdir;
    // Reads the lines of a file, reporting a file that exists but cannot be read.
    const auto readLines = [this](const QString& path, QList<QByteArray>& lines) {
        try {
            lines = splitLines(files_.readFile(path));
            return true;
        } catch (const RuntimeError& e) {
            showError(e.number(), e.description());
            return false;
        }
    };
    // Runs one line's work; false when the procedure must end.
    const auto perLine = [this](auto&& work) {
        try {
            work();
        } catch (const RuntimeError& e) {
            showError(e.number(), e.description());
            return e.code() != ErrorCode::InvalidArgument;
        }
        return true;
    };

    const QString appIni = paths::appIni(dir);
    if (!fncFileExists(appIni)) {
        playerFolder_ = QStringLiteral("not_available");
        return;
    }
    QList<QByteArray> lines;
    if (!readLines(appIni, lines))
        return;
    for (const QByteArray& line : lines) {
        const bool goOn = perLine([&] {
            if (lineMatchesKey(line, "lastplayer = "))
                playerFolder_ = paths::playerFolder(dir, decodeGameText(lineValue(line, 14)));
        });
        if (!goOn)
            return;
    }

    const QString playerIni = paths::playerIni(playerFolder_);
    if (!fncFileExists(playerIni))
        return;
    if (!readLines(playerIni, lines))
        return;
    for (const QByteArray& line : lines) {
        const bool goOn = perLine([&] {
            if (lineMatchesKey(line, "lasttrackselection = ")) {
                const QByteArray track = lineValue(line, 22).left(8);
                // The row found is selected and made current, so its entries show.
                for (Side side : {Side::Active, Side::Inactive}) {
                    const int16_t row = fncTrackIndex(track, list(side));
                    if (row >= 0) {
                        list(side).selected[static_cast<size_t>(row)] = 1;
                        setCurrentRow(side, row);
                    }
                }
                ctl_.txtRunTrack.text = track;
            } else if (lineMatchesKey(line, "team")) {
                const QByteArray value = lineValue(line, 8);
                if (value.isEmpty() || value[0] < '0' || value[0] > '9')
                    throw RuntimeError(ErrorCode::TypeMismatch);
                const int team = value[0] - '0';
                if (team >= ctl_.cboCars.size())
                    throw RuntimeError(ErrorCode::InvalidProperty);
                ctl_.cboCarsIndex = team;
            }
        });
        if (!goOn)
            return;
    }
}

// ---------------------------------------------------------------- track sets

QStringList FormModel::offeredTrackSets() const {
    QStringList names;
    for (size_t i = 2; i < ctl_.mnuTrackSet.size(); ++i)
        if (ctl_.mnuTrackSet[i].visible)
            names.append(ctl_.mnuTrackSet[i].caption);
    return names;
}

void FormModel::subListTrackSets() {
    for (size_t i = 2; i < ctl_.mnuTrackSet.size(); ++i)
        ctl_.mnuTrackSet[i] = {QString(), false};
    const std::vector<FolderEntry> entries = files_.listFolder(paths::seasonsFolder(ws_.strGPLdir));
    QStringList names;
    for (const FolderEntry& entry : entries) {
        if (entry.isDirectory || entry.isHidden) // ordinary files only
            continue;
        ctl_.mnuTrackSet[1].visible = true;
        if (entry.name.endsWith(QLatin1String(".67s"), Qt::CaseSensitive))
            names.append(entry.name.chopped(4));
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    for (qsizetype i = 0; i < names.size() && i < 20; ++i)
        ctl_.mnuTrackSet[static_cast<size_t>(i) + 2] = {names[i], true};
}

void FormModel::subShowTrackSet() {
    if (ws_.strTrackSet.isEmpty()) {
        ctl_.lblTrackSet.visible = false;
        return;
    }
    ctl_.lblTrackSet.caption = ws_.bolTrackSetChanged
                                   ? QStringLiteral(" Track Set: %1 (edited) ").arg(ws_.strTrackSet)
                                   : QStringLiteral(" Track Set: %1 ").arg(ws_.strTrackSet);
    ctl_.lblTrackSet.visible = true;
}

void FormModel::mnuTrackSet_Click(int16_t Index) {
    guarded([&] {
        try {
            if (Index == 0)
                saveTrackSetAs();
            else if (Index >= 2 && Index <= 21)
                openTrackSet(ctl_.mnuTrackSet[static_cast<size_t>(Index)].caption);
        } catch (const RuntimeError& e) {
            showError(e.number(), e.description());
        }
        try {
            subListTrackSets();
        } catch (const RuntimeError& e) {
            showError(e.number(), e.description());
        }
    });
}

void FormModel::saveTrackSetAs() {
    const QString prompt = QStringLiteral("Enter Name of the Track Set\r\n(Track Set will be saved "
                                          "in %1\\seasons\\)")
                               .arg(ws_.strGPLdir);
    const QString previous = ws_.strTrackSet;
    QString proposal = ws_.strTrackSet;
    for (;;) {
        const QString name = dialogs_.inputBox({prompt, QStringLiteral("Save as"), proposal});
        if (name.isEmpty()) {
            ws_.strTrackSet = previous; // Cancel keeps the set that was current
            return;
        }
        proposal = name;
        const QString problem = trackSetNameProblem(name);
        if (!problem.isEmpty()) {
            dialogs_.messageBox({QStringLiteral("\"%1\" can't be used as the name of a track set. "
                                                "%2 Please enter another name.")
                                     .arg(name, problem),
                                 QStringLiteral("Save as"), Buttons::Ok, Icon::Exclamation});
            continue;
        }
        ws_.strTrackSet = name;
        if (fncFileExists(paths::trackSet(ws_.strGPLdir, name))) {
            const Answer answer = dialogs_.messageBox(
                {QStringLiteral("File already exists. Overwrite?"), QStringLiteral("File exists"),
                 Buttons::YesNoCancel, Icon::Exclamation});
            if (answer == Answer::No)
                continue;
            if (answer == Answer::Cancel)
                return;
        }
        saveTrackSet(name);
        return;
    }
}

bool FormModel::saveTrackSet(const QString& name) {
    const QString problem = trackSetNameProblem(name);
    if (!problem.isEmpty()) {
        dialogs_.messageBox({QStringLiteral("\"%1\" can't be used as the name of a track set. %2")
                                 .arg(name, problem),
                             QStringLiteral("Save as"), Buttons::Ok, Icon::Exclamation});
        return false;
    }
    const QString unreadable =
        readBackProblem(ws_.ListTracks, ws_.arrActive, QStringLiteral("active tracks"));
    if (!unreadable.isEmpty()) {
        dialogs_.messageBox({unreadable, appTitle(), Buttons::Ok, Icon::Exclamation});
        return false;
    }
    ws_.strTrackSet = name;
    if (ctl_.chkSort == 1)
        subSortByAlphabet(name);
    else
        subSortByList(name);
    ws_.bolTrackSetChanged = false;
    subShowTrackSet();
    return true;
}

bool FormModel::confirmDiscard() {
    QString question;
    const bool setOpen = !ws_.strTrackSet.isEmpty();
    if (setOpen && ws_.bolSeasonChanged && ws_.bolTrackSetChanged)
        question = QStringLiteral("Neither your 67season.ini nor your current track set are "
                                  "saved yet. Do you really want to open the new track set?");
    else if (ws_.bolSeasonChanged)
        question = QStringLiteral("Your 67season.ini isn't saved yet. Do you really want to open "
                                  "the new track set?");
    else if (setOpen && ws_.bolTrackSetChanged)
        question = QStringLiteral("Your current track set isn't saved yet. Do you really want to "
                                  "open the new track set?");
    if (question.isEmpty())
        return true;
    return dialogs_.messageBox({question, appTitle(), Buttons::YesNo, Icon::Exclamation}) ==
           Answer::Yes;
}

void FormModel::openTrackSet(const QString& name) {
    // A name that could not be saved is not opened either: it could lead out of the folder.
    const QString problem = trackSetNameProblem(name);
    if (!problem.isEmpty()) {
        dialogs_.messageBox({QStringLiteral("\"%1\" can't be used as the name of a track set. %2")
                                 .arg(name, problem),
                             appTitle(), Buttons::Ok, Icon::Exclamation});
        return;
    }
    if (!confirmDiscard())
        return;
    ws_.strTrackSet = name;
    subGet67season(name + QLatin1String(".67s"));
    subPlayerInfo();
    subCreateIniFiles(true);
    ws_.bolSeasonChanged = false;
    ws_.bolTrackSetChanged = false;
    subShowTrackSet();
}

// ---------------------------------------------------------------- selection and entries

void FormModel::setEntryText(int16_t index, const QByteArray& text) {
    ctl_.txtEntry[static_cast<size_t>(index)].text = text;
    txtEntry_Change(index);
}

void FormModel::showListRow(const TrackList& list, const std::vector<EventEntries>& entries,
                            int first) {
    const int p = list.current;
    if (p < 0)
        return;
    ws_.bolFillingEntries = true;
    try {
        if (static_cast<size_t>(p) >= entries.size() || static_cast<size_t>(p) >= list.rows.size())
            throw RuntimeError(ErrorCode::SubscriptRange);
        const EventEntries& row = entries[static_cast<size_t>(p)];
        for (int k = 0; k < 7; ++k)
            setEntryText(static_cast<int16_t>(first + k), row.entry[static_cast<size_t>(k)]);
        const QByteArray& text = list.rows[static_cast<size_t>(p)];
        ctl_.txtRunTrack.text = text.startsWith('*') ? text.mid(2) : text;
        runTrackSide_ = &list == &ws_.ListTracks ? Side::Active : Side::Inactive;
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description());
    }
    ws_.bolFillingEntries = false;
}

void FormModel::ListTracks_Click() {
    guarded([&] { showListRow(ws_.ListTracks, ws_.arrActive, 0); });
}

void FormModel::listNotActive_Click() {
    guarded([&] { showListRow(ws_.listNotActive, ws_.arrInactive, 7); });
}

void FormModel::txtEntry_Change(int16_t Index) {
    if (ws_.bolFillingEntries)
        return;
    ws_.intActiveIndex = ws_.ListTracks.current;
    ws_.intInactiveIndex = ws_.listNotActive.current;
    const bool active = Index < 7;
    const int16_t row = active ? ws_.intActiveIndex : ws_.intInactiveIndex;
    auto& entries = active ? ws_.arrActive : ws_.arrInactive;
    // Without a current row there is no track the edit belongs to.
    if (row < 0 || static_cast<size_t>(row) >= entries.size())
        return;
    entries[static_cast<size_t>(row)].entry[static_cast<size_t>(active ? Index : Index - 7)] =
        ctl_.txtEntry[static_cast<size_t>(Index)].text;
    ws_.bolSeasonChanged = true;
    if (!ws_.strTrackSet.isEmpty())
        ws_.bolTrackSetChanged = true;
}

// ---------------------------------------------------------------- user input

void FormModel::setSearchText(const QString& text) {
    ctl_.txtTrack = text;
    txtTrack_Change();
}

bool FormModel::entryBoxEnabled(int16_t index) const {
    const size_t side = index < 7 ? 0 : 1;
    const TrackList& rows = side == 0 ? ws_.ListTracks : ws_.listNotActive;
    return ctl_.chkEdit[side] == 1 && rows.current >= 0;
}

bool FormModel::editEntry(int16_t index, const QString& text) {
    if (ended_ || index < 0 || index > 13 || !entryBoxEnabled(index))
        return false;
    const std::optional<QByteArray> bytes = encodeGameText(text);
    if (!bytes) {
        dialogs_.messageBox(
            {QStringLiteral("The character \"%1\" cannot be written into the game's season files, "
                            "which hold only the characters of the Windows-1252 code page. The "
                            "entry keeps its previous text.")
                 .arg(firstUnencodableCharacter(text)),
             appTitle(), Buttons::Ok, Icon::Exclamation});
        return false;
    }
    ctl_.txtEntry[static_cast<size_t>(index)].text = *bytes;
    txtEntry_Change(index);
    return true;
}

bool FormModel::listKeyPressed(Side side, ListKey key) {
    const bool active = side == Side::Active;
    switch (key) {
    case ListKey::Delete:
        cmdChangeButton_Click(active ? 1 : 2);
        return true;
    case ListKey::AltUp:
        picArrow_Click(active ? 0 : 2);
        return true;
    case ListKey::AltDown:
        picArrow_Click(active ? 1 : 3);
        return true;
    }
    return false;
}

void FormModel::setRowsSelected(Side side, int first, int last, bool selected) {
    TrackList& rows = list(side);
    const int n = rows.count();
    for (int r = std::max(first, 0); r <= last && r < n; ++r)
        rows.selected[static_cast<size_t>(r)] = selected ? 1 : 0;
    rows.marksChanged();
}

void FormModel::setCurrentRow(Side side, int row) {
    TrackList& rows = list(side);
    if (row < -1 || row >= rows.count())
        return;
    rows.current = static_cast<int16_t>(row);
    rows.marksChanged();
    if (side == Side::Active)
        ListTracks_Click();
    else
        listNotActive_Click();
}

// ---------------------------------------------------------------- search and edit mode

void FormModel::txtTrack_Change() {
    guarded([&] {
        try {
            const std::optional<QByteArray> typed = encodeGameText(ctl_.txtTrack);
            // Text the code page cannot hold matches no row.
            const QByteArray needle = typed ? lowerGameText(*typed) : QByteArray();
            const bool matchNothing = !typed;
            for (Side side : {Side::Inactive, Side::Active}) {
                TrackList& rows = list(side);
                const int n = rows.count();
                int topmost = -1;
                for (int r = n - 1; r >= 0; --r) {
                    uint8_t& mark = rows.selected[static_cast<size_t>(r)];
                    const QByteArray& text = rows.rows[static_cast<size_t>(r)];
                    bool match = false;
                    if (!matchNothing && !needle.isEmpty() && text.size() >= needle.size()) {
                        match = true;
                        for (qsizetype i = 0; i < needle.size(); ++i) {
                            if (lowerGameByte(text[i]) != needle[i]) {
                                match = false;
                                break;
                            }
                        }
                    }
                    mark = match ? 1 : 0;
                    if (match)
                        topmost = r;
                }
                rows.marksChanged();
                if (topmost >= 0) {
                    ctl_.txtRunTrack.text = rows.rows[static_cast<size_t>(topmost)];
                    setCurrentRow(side, topmost);
                }
            }
        } catch (const RuntimeError& e) {
            showError(e.number(), e.description());
        }
    });
}

void FormModel::txtTrack_GotFocus() {
    ctl_.txtTrackSelStart = 0;
    ctl_.txtTrackSelLength = static_cast<int>(ctl_.txtTrack.size());
}

void FormModel::chkEdit_Click(int16_t Index) {
    // The boxes follow the switch; entryBoxEnabled() also asks for a current row.
    (void)Index;
}

// ---------------------------------------------------------------- list commands

void FormModel::clearSide(Side side, bool runTrackFromAnySide) {
    const bool filling = ws_.bolFillingEntries;
    ws_.bolFillingEntries = true;
    const int16_t first = side == Side::Active ? 0 : 7;
    for (int16_t i = first; i < first + 7; ++i)
        setEntryText(i, {});
    ws_.bolFillingEntries = filling;
    if (runTrackFromAnySide || runTrackSide_ == side) {
        ctl_.txtRunTrack.text.clear();
        runTrackSide_.reset();
    }
}

void FormModel::cmdChangeButton_Click(int16_t Index) {
    if (Index < 0 || Index > 3)
        return;
    guarded([&] { runListCommand(Index); });
}

void FormModel::runListCommand(int16_t Index) {
    const Side source = Index <= 1 ? Side::Active : Side::Inactive;
    TrackList& from = list(source);
    if (from.current < 0)
        return;
    std::vector<EventEntries>& fromEntries =
        source == Side::Active ? ws_.arrActive : ws_.arrInactive;
    ws_.bolFillingEntries = true;
    try {
        ws_.bolSeasonChanged = true;
        if (!ws_.strTrackSet.isEmpty()) {
            ws_.bolTrackSetChanged = true;
            subShowTrackSet();
        }
        if (from.rows.size() != fromEntries.size())
            throw RuntimeError(ErrorCode::SubscriptRange);
        if (Index == 0 || Index == 3) {
            const Side target = Index == 0 ? Side::Inactive : Side::Active;
            TrackList& to = list(target);
            std::vector<EventEntries>& toEntries =
                target == Side::Active ? ws_.arrActive : ws_.arrInactive;
            // A list holds at most 32767 rows: refuse the move whole rather than leave rows
            // copied but not removed.
            const auto moving = static_cast<size_t>(
                std::count(from.selected.begin(), from.selected.end(), uint8_t{1}));
            if (to.rows.size() + moving > static_cast<size_t>(kMaxListRows))
                throw RuntimeError(ErrorCode::Overflow);
            to.reserve(to.rows.size() + moving);
            toEntries.reserve(toEntries.size() + moving);
            // The moved rows leave their list below, so their bytes are moved, not copied.
            for (size_t r = 0; r < from.rows.size(); ++r) {
                if (!from.selected[r])
                    continue;
                to.addRow(std::move(from.rows[r]));
                toEntries.push_back(std::move(fromEntries[r]));
            }
        }
        // One pass keeps the unselected rows in order, each with its own entries.
        size_t kept = 0;
        const size_t n = from.rows.size();
        for (size_t r = 0; r < n; ++r) {
            if (from.selected[r])
                continue;
            if (kept != r) {
                from.rows[kept] = std::move(from.rows[r]);
                fromEntries[kept] = std::move(fromEntries[r]);
            }
            from.selected[kept] = 0;
            ++kept;
        }
        if (kept != n) {
            from.rows.resize(kept);
            from.selected.resize(kept);
            fromEntries.resize(kept);
            from.current = -1; // the command leaves no current row behind
            from.rowsChanged();
            clearSide(source);
        }
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description());
    }
    updateCountCaptions();
    ws_.bolFillingEntries = false;
    if (!ctl_.txtTrack.isEmpty())
        txtTrack_Change();
}

void FormModel::picArrow_Click(int16_t Index) {
    if (Index < 0 || Index > 3)
        return;
    guarded([&] {
        const Side side = Index <= 1 ? Side::Active : Side::Inactive;
        if (side == Side::Active && !ws_.strTrackSet.isEmpty()) {
            ws_.bolTrackSetChanged = true;
            subShowTrackSet();
        }
        TrackList& rows = list(side);
        std::vector<EventEntries>& entries = side == Side::Active ? ws_.arrActive : ws_.arrInactive;
        if (rows.count() < 2 || rows.current < 0)
            return;
        ws_.bolSeasonChanged = true;
        const int p = rows.current;
        const int q = p + (Index % 2 == 0 ? -1 : 1);
        if (q < 0 || q >= rows.count())
            return;
        try {
            if (static_cast<size_t>(std::max(p, q)) >= entries.size())
                throw RuntimeError(ErrorCode::SubscriptRange);
            std::swap(rows.rows[static_cast<size_t>(p)], rows.rows[static_cast<size_t>(q)]);
            std::swap(entries[static_cast<size_t>(p)], entries[static_cast<size_t>(q)]);
            rows.selected[static_cast<size_t>(q)] = 1;
            rows.selected[static_cast<size_t>(p)] = 0;
            rows.rowsChanged();
            setCurrentRow(side, q);
        } catch (const RuntimeError& e) {
            showError(e.number(), e.description());
        }
    });
}

// ---------------------------------------------------------------- sorting

void FormModel::lblAmountLeft_Click() {
    guarded([&] { sortList(Side::Active); });
}

void FormModel::lblAmountRight_Click() {
    guarded([&] { sortList(Side::Inactive); });
}

void FormModel::sortList(Side side) {
    TrackList& rows = list(side);
    std::vector<EventEntries>& entries = side == Side::Active ? ws_.arrActive : ws_.arrInactive;
    if (rows.count() < 2)
        return;
    try {
        if (entries.size() != rows.rows.size())
            throw RuntimeError(ErrorCode::SubscriptRange);
        // The sort keys carry the old positions apart from the text, so a "," in a folder
        // name cannot send a row's entries elsewhere.
        const std::vector<int> ListSorter = sortOrder(rows.rows);
        // Rows and entries are permuted in place along the cycles of the order: no second
        // copy of the lists is needed.
        std::vector<uint8_t> placed(ListSorter.size(), 0);
        for (size_t start = 0; start < ListSorter.size(); ++start) {
            if (placed[start])
                continue;
            QByteArray text = std::move(rows.rows[start]);
            EventEntries moved = std::move(entries[start]);
            size_t j = start;
            for (;;) {
                placed[j] = 1;
                const auto k = static_cast<size_t>(ListSorter[j]);
                if (k == start)
                    break;
                rows.rows[j] = std::move(rows.rows[k]);
                entries[j] = std::move(entries[k]);
                j = k;
            }
            rows.rows[j] = std::move(text);
            entries[j] = std::move(moved);
        }
        // The row text is the key's text: trimmed of spaces.
        for (QByteArray& text : rows.rows)
            if (!text.isEmpty() && (text.front() == ' ' || text.back() == ' '))
                text = trimSpaces(text);
        std::fill(rows.selected.begin(), rows.selected.end(), uint8_t{0});
        rows.current = -1;
        rows.rowsChanged();
        // Nothing shown on this side belongs to a row any more; the selected track stays when
        // it came from the other list.
        clearSide(side, false);
    } catch (const RuntimeError& e) {
        showError(e.number(), e.description());
        return;
    }
    ws_.bolSeasonChanged = true;
    if (side == Side::Active && !ws_.strTrackSet.isEmpty()) {
        ws_.bolTrackSetChanged = true;
        subShowTrackSet();
    }
}

} // namespace gk
