#include "ui/main/RecentContactsModel.h"

#include "core/LogStore.h"
#include "core/RecentRow.h"

#include <algorithm>


namespace cubwave {

namespace {
const char* const kHeadings[RecentContactsModel::kColumns] = {"Rec#", "Call", "Name", "Age", "QTH",
                                                               "Other", "Date/Time", "Bnd", "Mode"};
}  // namespace

RecentContactsModel::RecentContactsModel(const LogStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store)
{
}

void RecentContactsModel::showNewest(bool all)
{
    const int n = store_.count();
    const int first = (all || n < 20) ? 1 : n - 19;
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(n - first + 1));
    for (int i = n; i >= first; --i)
        rows.push_back(i);
    showRecords(std::move(rows));
}

void RecentContactsModel::showRecords(std::vector<int> recNos)
{
    beginResetModel();
    rows_ = std::move(recNos);
    endResetModel();
}

void RecentContactsModel::appendRecord(int recNo)
{
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back(recNo);
    endInsertRows();
}

void RecentContactsModel::sortOnceByColumn(int column)
{
    if (column < 0 || column >= kColumns)
        return;
    std::vector<std::pair<QString, int>> keyed;
    keyed.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i)
        keyed.emplace_back(cellText(static_cast<int>(i), column), rows_[i]);
    std::vector<int> order(rows_.size());  // order[new row] = old row
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&keyed](int a, int b) {
        return QString::compare(keyed[static_cast<size_t>(a)].first, keyed[static_cast<size_t>(b)].first,
                                Qt::CaseInsensitive) < 0;
    });
    // A layout change, not a reset: the selected row stays selected where it moves to, so Edit
    // and Delete still act on the record the operator sees selected.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newRowOf[static_cast<size_t>(order[i])] = static_cast<int>(i);
        rows_[i] = keyed[static_cast<size_t>(order[i])].second;
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to << index(newRowOf[static_cast<size_t>(old.row())], old.column());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString RecentContactsModel::cellText(int row, int column) const
{
    const int recNo = rows_.at(static_cast<size_t>(row));
    if (recNo < 1 || recNo > store_.count())
        return {};
    if (column < 0 || column >= kColumns)
        return {};
    return RecentRow::fromRecord(recNo, store_.at(recNo)).cells().at(column);
}

int RecentContactsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecentContactsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant RecentContactsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cellText(index.row(), index.column());
}

QVariant RecentContactsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    return QString::fromLatin1(kHeadings[section]);
}

}  // namespace cubwave
