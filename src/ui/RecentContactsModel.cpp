#include "ui/RecentContactsModel.h"

#include "core/LogStore.h"

#include <QDate>
#include <QTime>

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

QString RecentContactsModel::dateTimeText(const QString& date, const QString& time)
{
    // Stored texts that are no date or time are shown as they stand.
    const QDate d = QDate::fromString(date, QStringLiteral("yyyy/M/d"));
    QTime t = QTime::fromString(time, QStringLiteral("H:m:s"));
    if (!t.isValid())
        t = QTime::fromString(time, QStringLiteral("H:m"));
    return (d.isValid() ? d.toString(QStringLiteral("MM/dd")) : date) + QLatin1Char(' ') +
           (t.isValid() ? t.toString(QStringLiteral("HH:mm")) : time);
}

QString RecentContactsModel::cellText(int row, int column) const
{
    const int recNo = rows_.at(static_cast<size_t>(row));
    if (recNo < 1 || recNo > store_.count())
        return {};
    const QsoRecord& r = store_.at(recNo);
    switch (column) {
    case 0: return QString::number(recNo);
    case 1: return r[QsoRecord::Call];
    case 2: return r[QsoRecord::Name];
    case 3: return r[QsoRecord::Age];
    case 4: return r[QsoRecord::Spc];
    case 5: return r[QsoRecord::Other];
    case 6: return dateTimeText(r[QsoRecord::Date], r[QsoRecord::Time]);
    case 7: return r[QsoRecord::Band];
    case 8: return r[QsoRecord::Mode];
    default: return {};
    }
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
