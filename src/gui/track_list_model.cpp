// SPDX-License-Identifier: GPL-3.0-or-later
// A track list as a Qt item model for the list views.
#include "track_list_model.h"

#include "platform/code_page.h"
#include "track_tool_tip.h"

namespace gk {

TrackListModel::TrackListModel(const TrackList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list) {}

int TrackListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.rows.size());
}

QVariant TrackListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 ||
        static_cast<size_t>(index.row()) >= list_.rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return decodeGameText(list_.rows[static_cast<size_t>(index.row())].text);
    if (role == Qt::ToolTipRole && toolTips_)
        if (const std::optional<TrackToolTip> tip = toolTips_(index.row()))
            return toolTipHtml(*tip);
    return {};
}

bool TrackListModel::refresh() {
    if (seenRows_ == list_.rowsVersion)
        return false;
    beginResetModel();
    seenRows_ = list_.rowsVersion;
    endResetModel();
    return true;
}

} // namespace gk
