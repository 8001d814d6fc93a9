#include "ui/spots/SpotListModel.h"

namespace cubwave {

SpotListModel::SpotListModel(QObject* parent) : QAbstractTableModel(parent) {}

void SpotListModel::addNewest(SpotListRow row)
{
    if (rows_.size() >= size_t(kMaxRows)) {
        const int last = int(rows_.size()) - 1;
        beginRemoveRows({}, kMaxRows - 1, last);
        rows_.resize(kMaxRows - 1);
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    rows_.push_front(std::move(row));
    endInsertRows();
}

int SpotListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int SpotListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : SpotListRow::ColumnCount;
}

QVariant SpotListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    // Cells are model data: a view draws them as text, never as markup.
    return rows_[size_t(index.row())].cells[size_t(index.column())];
}

QVariant SpotListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= SpotListRow::ColumnCount)
        return {};
    return QString::fromLatin1(SpotListRow::headings()[size_t(section)]);
}

}  // namespace cubwave
