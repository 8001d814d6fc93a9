#pragma once

#include "core/QsoRecord.h"
#include "core/SpcTable.h"

#include <QStringList>

#include <array>
#include <vector>

namespace cubwave {

// The running log in memory: records numbered from 1 in log order, plus the counters derived
// from them (phone count, DX list, states/provinces worked).
class LogStore {
public:
    static constexpr int kCapacity = 11000;
    static constexpr int kDxCapacity = 1000;

    LogStore();

    int count() const { return static_cast<int>(records_.size()); }
    bool isFull() const { return count() >= kCapacity; }
    // recNo in 1..count().
    const QsoRecord& at(int recNo) const { return records_.at(static_cast<size_t>(recNo - 1)); }
    QsoRecord& at(int recNo) { return records_.at(static_cast<size_t>(recNo - 1)); }
    const std::vector<QsoRecord>& records() const { return records_; }

    // Stores a new contact at count() + 1 and counts it as phone when its mode is PH.
    // False, and nothing changed, when the store is full.
    bool append(const QsoRecord& record);
    // Takes back the newest append (its line could not be written).
    void dropLast();

    // Rebuilds the store and every counter from a whole log, as a reload does. Fails, leaving
    // the store untouched, when the log is too long. Every contact loads however many distinct
    // DX entries it names; the DX list keeps the first 1000.
    bool load(std::vector<QsoRecord> records);
    // Removes record recNo; later records move down one number. Counters are not touched: a
    // delete is always followed by a reload.
    void remove(int recNo);

    float phoneCount() const { return phoneCount_; }
    float pointsTotal() const { return pointsTotal_; }

    const QStringList& dxList() const { return dxList_; }
    int dxCount() const { return static_cast<int>(dxList_.size()); }
    bool dxContains(const QString& spc) const;
    // Appends to the DX list; false when it is full.
    bool addDx(const QString& spc);
    // True when a distinct DX entry found no room in the list since the last load, so the
    // window can say that the list shows fewer than the log holds.
    bool dxListOverflowed() const { return dxOverflowed_; }

    // Worked flags of SPC table entries 1..62.
    bool worked(int i) const { return worked_.at(static_cast<size_t>(i)); }
    int workedCount() const { return workedCount_; }
    // Sets the flag of the entry whose code is spc; returns its index when it was not set
    // before, else 0.
    int markWorked(const QString& spc);

    // The record count the log had when first loaded with any records (the backup compares it).
    float countAtLoad() const { return countAtLoad_; }
    void noteLoaded();
    void setCountAtLoad(float value) { countAtLoad_ = value; }

private:
    std::vector<QsoRecord> records_;
    float phoneCount_ = 0;
    float pointsTotal_ = 0;
    QStringList dxList_;
    bool dxOverflowed_ = false;
    std::array<bool, SpcTable::kSize + 1> worked_{};
    int workedCount_ = 0;
    float countAtLoad_ = 0;
};

}  // namespace cubwave
