// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of every change to the track lists.
#pragma once

#include "form_context.h"
#include "list_commands.h"
#include "list_drop.h"
#include "selection.h"
#include "track_sets.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace gk {

// The history of the changes to the lists: each list command, entry edit, opened track set and
// drop runs through here and becomes one step that can be undone and redone. A step keeps what
// it needs to reverse itself (the positions of moved rows, a sort's order, deleted rows, an
// entry's two texts) and the small state around the lists before and after it (marks, current
// rows, the boxes, captions, the track-set label and the change flags).
//
// Writing the season is not a step. The step at which the lists were last written is the clean
// step: undoing or redoing back to it leaves the season unchanged. When the lists are read anew
// (a reload after another program's change, an alphabetical write that reads them back) the
// history no longer fits them and is emptied.
class UndoHistory {
  public:
    // At most this many steps are kept, and fewer when deleted rows and opened sets would hold
    // more than eight full lists of rows.
    static constexpr int kMaxSteps = 200;

    UndoHistory(FormContext& ctx, Selection& selection, ListCommands& commands,
                TrackSets& trackSets, ListDrop& drop);
    ~UndoHistory();

    // ---- the recorded commands
    void cmdChangeButton_Click(int16_t Index);
    void picArrow_Click(int16_t Index);
    void sortList(ListSide side);
    // Consecutive edits of one entry of one row are one step.
    bool editEntry(int16_t index, const QString& text);
    void mnuTrackSet_Click(int16_t Index);
    void openTrackSet(const QString& name);
    bool drop(ListSide from, std::vector<int> rows, ListSide to, int position);

    // ---- the Edit menu
    void undo();
    void redo();
    bool canUndo();
    bool canRedo();
    // What the next undo or redo does, e.g. "Move 3 tracks to Non-Active Tracks"; empty when
    // there is none.
    QString undoText();
    QString redoText();
    int count();
    int index();

    struct Step;
    struct Surround;

  private:
    // Notices what happened outside the history since it last looked: a write (the season
    // flag went down) makes the present step the clean one; lists read anew empty it.
    void sync();
    void noteState();
    Surround capture() const;
    void restore(const Surround& state);
    // Runs a command and keeps it as a step when it changed the lists.
    template <class Op, class Run> void record(QString text, Op op, Run&& run);
    void push(std::unique_ptr<Step> step);
    void apply(Step& step, bool forward);
    QString rowName(ListSide side, int row) const;

    FormContext& ctx_;
    Selection& selection_;
    ListCommands& commands_;
    TrackSets& trackSets_;
    ListDrop& drop_;
    std::vector<std::unique_ptr<Step>> steps_;
    int index_ = 0; // steps before it are done, from it on undone
    int clean_ = 0; // the step the season files hold; -1: none of them
    bool mergeable_ = false;
    std::array<uint64_t, 3> versions_{};
    std::array<uint64_t, 2> marks_{};
    bool seasonChanged_ = false;
};

} // namespace gk
