// SPDX-License-Identifier: GPL-3.0-or-later
// Dragging rows between and within the list views: the drop becomes one form-model command.
#pragma once

#include "form_context.h"
#include "track_list_model.h"

#include <QListView>
#include <functional>
#include <vector>

namespace gk {

// A track list's item model that lets its rows be dragged and takes drops of rows of the
// window's own lists (anything else is taken only to be refused). It only reads a drop (whose rows,
// from which list, before which row) and hands it on; what the drop does to the lists is the form
// model's.
class DraggableTrackListModel : public TrackListModel {
    Q_OBJECT
  public:
    // Called with the list the rows come from, their rows and the row of this list they were
    // dropped before (the row count: after the last).
    using DropHandler = std::function<void(ListSide from, std::vector<int> rows, int position)>;
    // Called, once the drop is over, when anything else was dropped.
    using ForeignDropHandler = std::function<void()>;

    DraggableTrackListModel(const TrackList& list, ListSide side, DropHandler onDrop,
                            ForeignDropHandler onForeignDrop, QObject* parent = nullptr);

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    // Other programs mostly offer their data to be copied: taken too, to be refused.
    Qt::DropActions supportedDropActions() const override {
        return Qt::MoveAction | Qt::CopyAction;
    }
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

  private:
    ListSide side_;
    DropHandler onDrop_;
    ForeignDropHandler onForeignDrop_;
};

// Lets a list view's selected rows be dragged and rows be dropped between its rows.
void allowRowDragging(QListView* view);

} // namespace gk
