#include "core/LogStore.h"

#include <QHash>
#include <QSet>

namespace cubwave {

namespace {
bool isPhone(const QsoRecord& r) { return r.mode().compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0; }
}  // namespace

LogStore::LogStore() { records_.reserve(kCapacity); }

bool LogStore::append(const QsoRecord& record)
{
    if (isFull())
        return false;
    records_.push_back(record);
    if (isPhone(record))
        phoneCount_ += 1;
    return true;
}

void LogStore::dropLast()
{
    if (records_.empty())
        return;
    if (isPhone(records_.back()))
        phoneCount_ -= 1;
    records_.pop_back();
}

bool LogStore::load(std::vector<QsoRecord> records)
{
    if (static_cast<int>(records.size()) > kCapacity)
        return false;
    float phones = 0;
    QStringList dx;
    std::array<bool, SpcTable::kSize + 1> worked{};
    // A log repeats the same few spellings thousands of times; each distinct spelling is looked
    // up once, so a full log does not compare every line with the whole DX list and SPC table.
    QSet<QString> dxSeen;
    QHash<QString, int> spcIndex;
    bool dxOverflowed = false;
    QSet<QString> dxFolded;
    for (const QsoRecord& r : records) {
        if (isPhone(r))
            phones += 1;
        const QString& spc = r.spc();
        if (spc.size() > 2) {
            const qsizetype seen = dxSeen.size();
            dxSeen.insert(spc);
            const bool newSpelling = dxSeen.size() != seen;
            if (newSpelling && dx.size() < kDxCapacity) {
                if (!dx.contains(spc, Qt::CaseInsensitive))
                    dx.append(spc);
            } else if (newSpelling && !dxOverflowed) {
                // A full list stops growing; the contact is no less valid for it. Once the list is
                // full its entries are folded once, so a log of thousands of countries stays quick.
                if (dxFolded.isEmpty()) {
                    for (const QString& entry : dx)
                        dxFolded.insert(entry.toCaseFolded());
                }
                dxOverflowed = !dxFolded.contains(spc.toCaseFolded());
            }
        } else if (spc.size() == 2) {
            auto known = spcIndex.constFind(spc);
            if (known == spcIndex.constEnd())
                known = spcIndex.insert(spc, SpcTable::find(spc));
            if (*known)
                worked[static_cast<size_t>(*known)] = true;
        }
    }
    records_ = std::move(records);
    records_.reserve(kCapacity);
    phoneCount_ = phones;
    pointsTotal_ = 0;
    dxList_ = dx;
    dxOverflowed_ = dxOverflowed;
    worked_ = worked;
    workedCount_ = 0;
    for (int i = 1; i <= SpcTable::kSize; ++i)
        workedCount_ += worked_[static_cast<size_t>(i)] ? 1 : 0;
    return true;
}

void LogStore::remove(int recNo)
{
    if (recNo < 1 || recNo > count())
        return;
    records_.erase(records_.begin() + (recNo - 1));
}

bool LogStore::dxContains(const QString& spc) const { return dxList_.contains(spc, Qt::CaseInsensitive); }

bool LogStore::addDx(const QString& spc)
{
    if (dxList_.size() >= kDxCapacity) {
        dxOverflowed_ = true;
        return false;
    }
    dxList_.append(spc);
    return true;
}

int LogStore::markWorked(const QString& spc)
{
    const int i = SpcTable::find(spc);
    if (i == 0 || worked_[static_cast<size_t>(i)])
        return 0;
    worked_[static_cast<size_t>(i)] = true;
    ++workedCount_;
    return i;
}

void LogStore::noteLoaded()
{
    if (countAtLoad_ == 0)
        countAtLoad_ = static_cast<float>(count());
}

}  // namespace cubwave
