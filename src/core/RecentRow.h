#pragma once

#include "core/QsoRecord.h"

#include <QString>
#include <QStringList>

namespace cubwave {

// One row of the recent-contacts list: Rec#, Call, Name, Age, QTH (the SPC), Other,
// Date/Time ("mm/dd hh:nn"), Bnd, Mode.
struct RecentRow {
    int recNo = 0;
    QString call;
    QString name;
    QString age;
    QString spc;
    QString other;
    QString dateTime;
    QString band;
    QString mode;

    static RecentRow fromRecord(int recNo, const QsoRecord& record);
    // The nine cell texts in column order, Rec# first.
    QStringList cells() const;

    bool operator==(const RecentRow&) const = default;
};

}  // namespace cubwave
