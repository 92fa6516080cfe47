// SPDX-License-Identifier: GPL-3.0-or-later
// Message and input boxes as the program asks for them, and the boxes all share.
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <utility>
#include <variant>

namespace gk {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Critical, Exclamation, Information };
enum class Answer { Ok, Yes, No, Cancel };

// What a message with only an OK button tells, for a caller that acts on the outcome instead
// of showing it (gridkeeper-cli's exit status): never its text, title or icon.
enum class MessageKind {
    Information,  // a result or a notice: what was asked is done
    Refusal,      // refused by a rule before anything changed: a limit, a name, a track or set
                  // that is not there, a game already running, a write while a run lasts
    Failure,      // not done, or not wholly, for want of something outside Gridkeeper: the game
                  // folder, a season file, gpl.exe, a track's track.ini, a game that could not
                  // be started; or another program's change that had to be moved aside
    RuntimeError, // a run-time error
};

// The questions, each by what it asks.
enum class QuestionId {
    SaveBeforeLaunch,       // "start GPL" with unsaved changes: create 67season.ini first?
    SaveBeforeClosing,      // closing the window with unsaved changes: create it now?
    MissingTrack,           // the track's track.ini is missing: run GPL anyway?
    CrashRecovery,          // a gridkeeper.tmp left behind: rename it back to 67season.ini?
    OverwriteOutsideChange, // another program changed the season files: write over it?
    WritePartialSeason,     // the season was read only in part: write it anyway?
    OverwriteTrackSet,      // the track set exists: overwrite it?
    DiscardUnsavedChanges,  // opening a track set over unsaved changes: go on?
    SaveBeforeRestore,      // restoring an earlier season with unsaved changes: save them first?
};

// A message box: what it shows (text, title, buttons, icon, default button) and what it
// means, a kind for a message with an OK button, the question for one with Yes and No.
struct Message {
    Message(QString shownText, QString shownTitle, Buttons shownButtons, Icon shownIcon,
            std::variant<MessageKind, QuestionId> kindOrQuestion, bool noIsDefault = false,
            bool cancelIsDefault = false)
        : text(std::move(shownText)), title(std::move(shownTitle)), buttons(shownButtons),
          icon(shownIcon), meaning(kindOrQuestion), secondButtonDefault(noIsDefault),
          cancelDefault(cancelIsDefault) {
        Q_ASSERT((buttons == Buttons::Ok) == std::holds_alternative<MessageKind>(meaning));
    }

    QString text;
    QString title;
    Buttons buttons;
    Icon icon;
    std::variant<MessageKind, QuestionId> meaning;
    bool secondButtonDefault; // of Yes and No (and Cancel): No is the default
    bool cancelDefault;       // of Yes, No, Cancel: Cancel is the default

    bool operator==(const Message&) const = default;
};

struct InputBox {
    QString prompt;
    QString title;
    QString defaultText;
    // Offered for the field to take (the game folders found), and a "Browse…" button that
    // opens a folder chooser.
    QStringList choices = {};
    bool browseFolders = false;

    bool operator==(const InputBox&) const = default;
};

// The title of the program's own messages.
inline QString appTitle() {
    return QStringLiteral("Gridkeeper");
}

// The box of run-time error `number` ("Error 61"), and of one met in `where` ("Error 61
// (fncCheckTracks)").
inline Message runtimeErrorBox(int number, const QString& description, const QString& where = {}) {
    QString title = QStringLiteral("Error %1").arg(number);
    if (!where.isEmpty())
        title += QStringLiteral(" (%1)").arg(where);
    return {description, title, Buttons::Ok, Icon::Critical, MessageKind::RuntimeError};
}

// Modal message and input boxes.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual Answer messageBox(const Message& box) = 0;
    // The text entered, or "" when the user cancels.
    virtual QString inputBox(const InputBox& box) = 0;
};

} // namespace gk
