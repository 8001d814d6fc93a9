#pragma once

#include "spots/SpotListRow.h"

#include <QAbstractTableModel>

#include <deque>

namespace cubwave {

// The main window's spot list: the last 200 spots, newest first, as SpotListRow cells.
class SpotListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kMaxRows = 200;

    explicit SpotListModel(QObject* parent = nullptr);

    // Puts the row on top; at kMaxRows the oldest row goes first.
    void addNewest(SpotListRow row);
    const SpotListRow& row(int index) const { return rows_[size_t(index)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::deque<SpotListRow> rows_;
};

}  // namespace cubwave
