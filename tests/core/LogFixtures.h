#pragma once

#include "core/LogStore.h"
#include "core/QsoRecord.h"

#include <QString>

#include <vector>

namespace cubwave::test {

// A contact with the fields the duplicate and rate logic reads; the rest are plausible fillers.
inline QsoRecord qso(const QString& call, const QString& band, const QString& mode,
                     const QString& date = QStringLiteral("2012/06/16"),
                     const QString& time = QStringLiteral("18:05:33"))
{
    QsoRecord r;
    r[QsoRecord::Call] = call;
    r[QsoRecord::Band] = band;
    r[QsoRecord::Mode] = mode;
    r[QsoRecord::Date] = date;
    r[QsoRecord::Time] = time;
    return r;
}

inline LogStore storeOf(std::vector<QsoRecord> records)
{
    LogStore store;
    store.load(std::move(records));
    return store;
}

}  // namespace cubwave::test
