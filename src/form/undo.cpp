// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of every change to the track lists.
#include "undo.h"

#include "platform/code_page.h"
#include "row_moves.h"
#include "season/season_file.h"
#include "season/season_writer.h"

#include <algorithm>
#include <utility>
#include <variant>

namespace gk {

namespace {

// Rows moved from one list to a place in the same or the other list.
struct MoveOp {
    ListSide from;
    ListSide to;
    std::vector<int> rows;
    int position;
};
// Rows deleted: while the step is done the step holds them.
struct DeleteOp {
    ListSide side;
    std::vector<int> rows;
    std::vector<TrackRow> taken;
};
// Two neighbouring rows swapped by an arrow.
struct SwapOp {
    ListSide side;
    int p;
    int q;
};
// A text a sort trimmed of spaces: its row before and after the sort, and the text before.
struct Trimmed {
    int before;
    int after;
    QByteArray text;
};
// A sort: the order it put the rows in, and the texts it trimmed.
struct SortOp {
    ListSide side;
    std::vector<int> order;
    std::vector<Trimmed> trimmed;
};
// One entry of one row edited.
struct EntryOp {
    ListSide side;
    int row;
    int k;
    QByteArray before;
    QByteArray after;
};
// A track set opened: the lists read anew, the three lists before and after.
struct ReplaceOp {
    QString setBefore;
    QString setAfter;
    std::array<std::vector<TrackRow>, 3> before;
    std::array<std::vector<TrackRow>, 3> after;
};

using Op = std::variant<MoveOp, DeleteOp, SwapOp, SortOp, EntryOp, ReplaceOp>;

QString sideName(ListSide side) {
    return side == ListSide::Active ? QStringLiteral("Active Tracks")
                                    : QStringLiteral("Non-Active Tracks");
}

std::vector<int> selectedRows(const TrackList& list) {
    std::vector<int> rows;
    for (size_t r = 0; r < list.rows.size(); ++r)
        if (list.rows[r].selected)
            rows.push_back(static_cast<int>(r));
    return rows;
}

bool needsTrim(const QByteArray& text) {
    return !text.isEmpty() && (text.front() == ' ' || text.back() == ' ');
}

// The whole rows a step keeps.
size_t heldRows(const Op& op) {
    if (const auto* removed = std::get_if<DeleteOp>(&op))
        return removed->taken.size();
    if (const auto* replaced = std::get_if<ReplaceOp>(&op)) {
        size_t n = 0;
        for (size_t i = 0; i < 3; ++i)
            n += replaced->before[i].size() + replaced->after[i].size();
        return n;
    }
    return 0;
}

// About 60 MiB of rows.
constexpr size_t kMaxHeldRows = 8 * static_cast<size_t>(kMaxListRows);

} // namespace

// The state around the lists that a step changes besides their rows.
struct UndoHistory::Surround {
    bool setChanged = false;
    std::array<TextBoxState, 14> entries;
    TextBoxState runTrack;
    std::optional<ListSide> runSide;
    std::array<int16_t, 2> current{};
    std::array<std::vector<bool>, 2> marks;
};

struct UndoHistory::Step {
    QString text;
    Op op;
    Surround before;
    Surround after;
};

UndoHistory::UndoHistory(FormContext& ctx, Selection& selection, ListCommands& commands,
                         TrackSets& trackSets, ListDrop& drop)
    : ctx_(ctx), selection_(selection), commands_(commands), trackSets_(trackSets), drop_(drop) {}

UndoHistory::~UndoHistory() = default;

// ---------------------------------------------------------------- the state around the lists

UndoHistory::Surround UndoHistory::capture() const {
    Surround s;
    s.setChanged = ctx_.ws.bolTrackSetChanged;
    s.entries = ctx_.ctl.txtEntry;
    s.runTrack = ctx_.ctl.txtRunTrack;
    s.runSide = ctx_.runTrackSide;
    for (ListSide side : {ListSide::Active, ListSide::Inactive}) {
        const TrackList& list = ctx_.list(side);
        const auto i = static_cast<size_t>(side == ListSide::Inactive);
        s.current[i] = list.current;
        s.marks[i].reserve(list.rows.size());
        for (const TrackRow& row : list.rows)
            s.marks[i].push_back(row.selected);
    }
    return s;
}

void UndoHistory::restore(const Surround& s) {
    ctx_.ws.bolTrackSetChanged = s.setChanged;
    ctx_.ctl.txtEntry = s.entries;
    ctx_.ctl.txtRunTrack = s.runTrack;
    ctx_.runTrackSide = s.runSide;
    for (ListSide side : {ListSide::Active, ListSide::Inactive}) {
        TrackList& list = ctx_.list(side);
        const auto i = static_cast<size_t>(side == ListSide::Inactive);
        list.current = s.current[i];
        const size_t n = std::min(list.rows.size(), s.marks[i].size());
        for (size_t r = 0; r < n; ++r)
            list.rows[r].selected = s.marks[i][r];
        list.marksChanged();
    }
}

void UndoHistory::noteState() {
    versions_ = {ctx_.ws.ListTracks.rowsVersion, ctx_.ws.listNotActive.rowsVersion,
                 ctx_.ws.ListAllTracks.rowsVersion};
    marks_ = {ctx_.ws.ListTracks.marksVersion, ctx_.ws.listNotActive.marksVersion};
    seasonChanged_ = ctx_.ws.bolSeasonChanged;
}

void UndoHistory::sync() {
    const std::array<uint64_t, 3> now{ctx_.ws.ListTracks.rowsVersion,
                                      ctx_.ws.listNotActive.rowsVersion,
                                      ctx_.ws.ListAllTracks.rowsVersion};
    if (now != versions_) {
        steps_.clear();
        index_ = 0;
        clean_ = ctx_.ws.bolSeasonChanged ? -1 : 0;
        mergeable_ = false;
    } else if (seasonChanged_ && !ctx_.ws.bolSeasonChanged) {
        clean_ = index_; // written
    }
    // A click between two edits ends the typing that one step gathers.
    if (marks_ != std::array<uint64_t, 2>{ctx_.ws.ListTracks.marksVersion,
                                          ctx_.ws.listNotActive.marksVersion})
        mergeable_ = false;
    noteState();
}

// ---------------------------------------------------------------- steps

template <class O, class Run> void UndoHistory::record(QString text, O op, Run&& run) {
    sync();
    Surround before = capture();
    run();
    const std::array<uint64_t, 3> now{ctx_.ws.ListTracks.rowsVersion,
                                      ctx_.ws.listNotActive.rowsVersion,
                                      ctx_.ws.ListAllTracks.rowsVersion};
    if (now == versions_) {
        noteState();
        return;
    }
    if constexpr (std::is_same_v<O, ReplaceOp>) {
        op.setAfter = ctx_.ws.strTrackSet;
        op.after = {ctx_.ws.ListTracks.rows, ctx_.ws.listNotActive.rows,
                    ctx_.ws.ListAllTracks.rows};
    }
    auto step =
        std::make_unique<Step>(Step{std::move(text), std::move(op), std::move(before), capture()});
    push(std::move(step));
}

void UndoHistory::push(std::unique_ptr<Step> step) {
    steps_.resize(static_cast<size_t>(index_));
    if (clean_ > index_)
        clean_ = -1;
    steps_.push_back(std::move(step));
    // Whole rows kept by deletes and opened sets count against a budget too: 200 opened sets of
    // a full list would otherwise hold gigabytes.
    size_t held = 0;
    for (const auto& kept : steps_)
        held += heldRows(kept->op);
    while (steps_.size() > 1 &&
           (static_cast<int>(steps_.size()) > kMaxSteps || held > kMaxHeldRows)) {
        held -= heldRows(steps_.front()->op);
        steps_.erase(steps_.begin());
        if (clean_ >= 0)
            --clean_;
    }
    index_ = static_cast<int>(steps_.size());
    if (!ctx_.ws.bolSeasonChanged)
        clean_ = index_;
    mergeable_ = std::holds_alternative<EntryOp>(steps_.back()->op);
    noteState();
}

QString UndoHistory::rowName(ListSide side, int row) const {
    const TrackList& list = ctx_.list(side);
    if (row < 0 || row >= list.count())
        return {};
    return decodeGameText(withoutMissingMark(list.rows[static_cast<size_t>(row)].text));
}

namespace {
QString tracksName(const std::vector<int>& rows, const QString& single) {
    return rows.size() == 1 ? single : QStringLiteral("%1 tracks").arg(rows.size());
}
} // namespace

void UndoHistory::cmdChangeButton_Click(int16_t Index) {
    if (Index < 0 || Index > 3) {
        commands_.cmdChangeButton_Click(Index);
        return;
    }
    const ListSide side = Index <= 1 ? ListSide::Active : ListSide::Inactive;
    const TrackList& list = ctx_.list(side);
    std::vector<int> rows = list.current >= 0 ? selectedRows(list) : std::vector<int>{};
    const QString name = tracksName(rows, rows.empty() ? QString() : rowName(side, rows.front()));
    if (Index == 0 || Index == 3) {
        const ListSide to = Index == 0 ? ListSide::Inactive : ListSide::Active;
        const int position = ctx_.list(to).count();
        record(QStringLiteral("Move %1 to %2").arg(name, sideName(to)),
               MoveOp{side, to, std::move(rows), position},
               [&] { commands_.cmdChangeButton_Click(Index); });
        return;
    }
    std::vector<TrackRow> taken;
    taken.reserve(rows.size());
    for (int r : rows)
        taken.push_back(list.rows[static_cast<size_t>(r)]);
    record(QStringLiteral("Delete %1").arg(name), DeleteOp{side, std::move(rows), std::move(taken)},
           [&] { commands_.cmdChangeButton_Click(Index); });
}

void UndoHistory::picArrow_Click(int16_t Index) {
    if (Index < 0 || Index > 3) {
        commands_.picArrow_Click(Index);
        return;
    }
    const ListSide side = Index <= 1 ? ListSide::Active : ListSide::Inactive;
    const int p = ctx_.list(side).current;
    const int q = p + (Index % 2 == 0 ? -1 : 1);
    record(
        QStringLiteral("Move %1 %2")
            .arg(rowName(side, p), Index % 2 == 0 ? QStringLiteral("up") : QStringLiteral("down")),
        SwapOp{side, p, q}, [&] { commands_.picArrow_Click(Index); });
}

void UndoHistory::sortList(ListSide side) {
    const TrackList& list = ctx_.list(side);
    SortOp op{side, {}, {}};
    if (list.count() >= 2) {
        op.order = sortOrder(list.rows);
        for (size_t j = 0; j < op.order.size(); ++j) {
            const QByteArray& text = list.rows[static_cast<size_t>(op.order[j])].text;
            if (needsTrim(text))
                op.trimmed.push_back({op.order[j], static_cast<int>(j), text});
        }
    }
    const std::vector<int> order = op.order;
    record(QStringLiteral("Sort %1").arg(sideName(side)), std::move(op),
           [&] { ctx_.guarded([&] { commands_.sortList(side, order); }); });
}

bool UndoHistory::editEntry(int16_t index, const QString& text) {
    sync();
    const ListSide side = index < 7 ? ListSide::Active : ListSide::Inactive;
    const int k = index < 7 ? index : index - 7;
    TrackList& list = ctx_.list(side);
    const int row = list.current;
    const TrackRow* current = list.currentRow();
    if (!current || k < 0 || k > 6)
        return selection_.editEntry(index, text);
    const QByteArray before = current->entries.entry[static_cast<size_t>(k)];
    Surround around = capture();
    if (!selection_.editEntry(index, text))
        return false;
    const QByteArray after =
        list.rows[static_cast<size_t>(row)].entries.entry[static_cast<size_t>(k)];
    if (after == before) {
        noteState();
        return true;
    }
    if (mergeable_ && index_ == static_cast<int>(steps_.size()) && index_ > 0) {
        Step& top = *steps_.back();
        auto* edit = std::get_if<EntryOp>(&top.op);
        if (edit && edit->side == side && edit->row == row && edit->k == k) {
            edit->after = after;
            top.after = capture();
            if (!ctx_.ws.bolSeasonChanged)
                clean_ = index_;
            noteState();
            return true;
        }
    }
    const QByteArray& named = before.contains('=') ? before : after;
    const QString key = named.contains('=') ? decodeGameText(named.left(named.indexOf('=')))
                                            : QStringLiteral("entry %1").arg(k + 1);
    auto step = std::make_unique<Step>(
        Step{QStringLiteral("Edit %1 of %2").arg(key, rowName(side, row)),
             EntryOp{side, row, k, before, after}, std::move(around), capture()});
    push(std::move(step));
    return true;
}

void UndoHistory::openTrackSet(const QString& name) {
    ReplaceOp op{ctx_.ws.strTrackSet,
                 {},
                 {ctx_.ws.ListTracks.rows, ctx_.ws.listNotActive.rows, ctx_.ws.ListAllTracks.rows},
                 {}};
    record(QStringLiteral("Open Track Set %1").arg(name), std::move(op),
           [&] { trackSets_.openTrackSet(name); });
}

void UndoHistory::mnuTrackSet_Click(int16_t Index) {
    if (Index < 2 || Index > 21) {
        trackSets_.mnuTrackSet_Click(Index);
        return;
    }
    const QString name = ctx_.ctl.mnuTrackSet[static_cast<size_t>(Index)].caption;
    ReplaceOp op{ctx_.ws.strTrackSet,
                 {},
                 {ctx_.ws.ListTracks.rows, ctx_.ws.listNotActive.rows, ctx_.ws.ListAllTracks.rows},
                 {}};
    record(QStringLiteral("Open Track Set %1").arg(name), std::move(op),
           [&] { trackSets_.mnuTrackSet_Click(Index); });
}

bool UndoHistory::drop(ListSide from, std::vector<int> rows, ListSide to, int position) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const QString name = tracksName(rows, rows.empty() ? QString() : rowName(from, rows.front()));
    // Where the block lands once the dragged rows are out of the list.
    int landing = position;
    if (from == to)
        landing -=
            static_cast<int>(std::lower_bound(rows.begin(), rows.end(), position) - rows.begin());
    bool dropped = false;
    const QString text = from == to ? QStringLiteral("Move %1 in %2").arg(name, sideName(to))
                                    : QStringLiteral("Move %1 to %2").arg(name, sideName(to));
    record(text, MoveOp{from, to, rows, landing},
           [&] { dropped = drop_.drop(from, rows, to, position); });
    return dropped;
}

// ---------------------------------------------------------------- undo and redo

void UndoHistory::apply(Step& step, bool forward) {
    auto list = [&](ListSide side) -> TrackList& { return ctx_.list(side); };
    std::visit(
        [&](auto& op) {
            using T = std::decay_t<decltype(op)>;
            if constexpr (std::is_same_v<T, MoveOp>) {
                if (forward)
                    moveRowBlock(list(op.from), op.rows, list(op.to), op.position);
                else
                    returnRowBlock(list(op.from), op.rows, list(op.to), op.position);
            } else if constexpr (std::is_same_v<T, DeleteOp>) {
                if (forward)
                    op.taken = takeRows(list(op.side), op.rows);
                else
                    putRows(list(op.side), op.rows, std::move(op.taken));
            } else if constexpr (std::is_same_v<T, SwapOp>) {
                TrackList& rows = list(op.side);
                std::swap(rows.rows[static_cast<size_t>(op.p)],
                          rows.rows[static_cast<size_t>(op.q)]);
                rows.rowsChanged();
            } else if constexpr (std::is_same_v<T, SortOp>) {
                TrackList& rows = list(op.side);
                if (forward) {
                    permuteRows(rows, op.order, false);
                    for (const Trimmed& t : op.trimmed)
                        rows.rows[static_cast<size_t>(t.after)].text = trimSpaces(t.text);
                } else {
                    permuteRows(rows, op.order, true);
                    for (const Trimmed& t : op.trimmed)
                        rows.rows[static_cast<size_t>(t.before)].text = t.text;
                }
            } else if constexpr (std::is_same_v<T, EntryOp>) {
                TrackList& rows = list(op.side);
                rows.rows[static_cast<size_t>(op.row)].entries.entry[static_cast<size_t>(op.k)] =
                    forward ? op.after : op.before;
                rows.marksChanged();
            } else {
                const auto& lists = forward ? op.after : op.before;
                ctx_.ws.ListTracks.rows = lists[0];
                ctx_.ws.listNotActive.rows = lists[1];
                ctx_.ws.ListAllTracks.rows = lists[2];
                ctx_.ws.ListTracks.rowsChanged();
                ctx_.ws.listNotActive.rowsChanged();
                ctx_.ws.ListAllTracks.rowsChanged();
                ctx_.ws.strTrackSet = forward ? op.setAfter : op.setBefore;
            }
        },
        step.op);
    restore(forward ? step.after : step.before);
    ctx_.ws.bolSeasonChanged = index_ != clean_;
    ctx_.updateCountCaptions();
    ctx_.showTrackSet();
    mergeable_ = false;
    noteState();
}

void UndoHistory::undo() {
    if (ctx_.ended)
        return;
    sync();
    if (index_ == 0)
        return;
    --index_;
    apply(*steps_[static_cast<size_t>(index_)], false);
}

void UndoHistory::redo() {
    if (ctx_.ended)
        return;
    sync();
    if (index_ >= static_cast<int>(steps_.size()))
        return;
    ++index_;
    apply(*steps_[static_cast<size_t>(index_ - 1)], true);
}

bool UndoHistory::canUndo() {
    sync();
    return index_ > 0;
}

bool UndoHistory::canRedo() {
    sync();
    return index_ < static_cast<int>(steps_.size());
}

QString UndoHistory::undoText() {
    return canUndo() ? steps_[static_cast<size_t>(index_ - 1)]->text : QString();
}

QString UndoHistory::redoText() {
    return canRedo() ? steps_[static_cast<size_t>(index_)]->text : QString();
}

int UndoHistory::count() {
    sync();
    return static_cast<int>(steps_.size());
}

int UndoHistory::index() {
    sync();
    return index_;
}

} // namespace gk
