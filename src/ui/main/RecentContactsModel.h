#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace cubwave {

class LogStore;

// The rows of the recent-contacts list: record numbers shown with nine text columns.
class RecentContactsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumns = 9;
    // Column widths as parts of the window width (n / 9600).
    static constexpr int kWidthParts[kColumns] = {550, 850, 790, 550, 720, 640, 900, 430, 530};

    explicit RecentContactsModel(const LogStore& store, QObject* parent = nullptr);

    // Rebuilds the rows from the store: the 20 newest, or all, newest first.
    void showNewest(bool all);
    // Shows exactly these records, in this order.
    void showRecords(std::vector<int> recNos);
    void appendRecord(int recNo);
    const std::vector<int>& recordNumbers() const { return rows_; }
    // Orders the rows once by the text of a column (so "10" comes before "9"); rows added
    // later are not kept in order.
    void sortOnceByColumn(int column);

    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const LogStore& store_;
    std::vector<int> rows_;
};

}  // namespace cubwave
