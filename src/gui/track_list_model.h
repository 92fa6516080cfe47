// SPDX-License-Identifier: GPL-3.0-or-later
// A track list as a Qt item model for the list views.
#pragma once

#include "season/track_list.h"
#include "track_details_text.h"

#include <QAbstractListModel>
#include <functional>
#include <optional>

namespace gk {

// A thin read-only adapter that shows a track list's rows; every change happens in the list.
class TrackListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit TrackListModel(const TrackList& list, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Re-reads the rows when they changed since the last call; true when they did.
    bool refresh();
    // Where a row's tooltip comes from (none: no tooltips).
    void setToolTips(std::function<std::optional<TrackToolTip>(int row)> toolTips) {
        toolTips_ = std::move(toolTips);
    }

  private:
    const TrackList& list_;
    uint64_t seenRows_ = ~uint64_t{0};
    std::function<std::optional<TrackToolTip>(int row)> toolTips_;
};

} // namespace gk
