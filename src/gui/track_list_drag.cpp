// SPDX-License-Identifier: GPL-3.0-or-later
// Dragging rows between and within the list views: the drop becomes one form-model command.
#include "track_list_drag.h"

#include "form_model.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <optional>

namespace gk {

namespace {

const QString kRowsFormat = QStringLiteral("application/x-gridkeeper-rows");

// The rows a drag carries, and the list and the program they come from.
struct DraggedRows {
    ListSide side;
    std::vector<int> rows;
};

// The dragged rows, when the data is rows of this program's lists; none for anything else
// (another program's drag, another Gridkeeper's, text).
std::optional<DraggedRows> readRows(const QMimeData* data) {
    if (!data || !data->hasFormat(kRowsFormat))
        return std::nullopt;
    QByteArray bytes = data->data(kRowsFormat);
    QDataStream in(&bytes, QIODevice::ReadOnly);
    qint64 pid = 0;
    qint32 side = -1;
    QList<qint32> rows;
    in >> pid >> side >> rows;
    if (in.status() != QDataStream::Ok || pid != QCoreApplication::applicationPid() ||
        (side != 0 && side != 1) || rows.isEmpty())
        return std::nullopt;
    return DraggedRows{side == 0 ? ListSide::Active : ListSide::Inactive,
                       std::vector<int>(rows.begin(), rows.end())};
}

} // namespace

DraggableTrackListModel::DraggableTrackListModel(const TrackList& list, ListSide side,
                                                 DropHandler onDrop,
                                                 ForeignDropHandler onForeignDrop, QObject* parent)
    : TrackListModel(list, parent), side_(side), onDrop_(std::move(onDrop)),
      onForeignDrop_(std::move(onForeignDrop)) {}

Qt::ItemFlags DraggableTrackListModel::flags(const QModelIndex& index) const {
    // Drops land between rows, never on one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return TrackListModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList DraggableTrackListModel::mimeTypes() const {
    return {kRowsFormat};
}

QMimeData* DraggableTrackListModel::mimeData(const QModelIndexList& indexes) const {
    QList<qint32> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid())
            rows.append(index.row());
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << QCoreApplication::applicationPid() << qint32(side_ == ListSide::Active ? 0 : 1) << rows;
    auto* data = new QMimeData;
    data->setData(kRowsFormat, bytes);
    return data;
}

bool DraggableTrackListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int,
                                              int, const QModelIndex&) const {
    if (!data)
        return false;
    // Data that is not the lists' own rows is taken, so that its drop can say why it is refused.
    const std::optional<DraggedRows> dragged = readRows(data);
    if (!dragged)
        return true;
    return action == Qt::MoveAction && FormModel::dropAccepted(dragged->side, side_);
}

bool DraggableTrackListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                           int column, const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    if (!readRows(data)) {
        // The message waits until the drop is over, so that the program the data came from
        // is not kept waiting for its drag to end.
        QMetaObject::invokeMethod(
            this, [this] { onForeignDrop_(); }, Qt::QueuedConnection);
        return false;
    }
    if (row < 0)
        row = parent.isValid() ? parent.row() : rowCount();
    onDrop_(readRows(data)->side, readRows(data)->rows, row);
    return true;
}

void allowRowDragging(QListView* view) {
    view->setDragEnabled(true);
    view->setAcceptDrops(true);
    view->setDropIndicatorShown(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setDefaultDropAction(Qt::MoveAction);
}

} // namespace gk
