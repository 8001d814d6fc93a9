#pragma once

#include "core/LogStore.h"

#include <QString>
#include <QStringList>

namespace cubwave {

// The texts of the statistics block, the worked-count line, the DX list heading and the rule of
// the "New" indicator, computed from the log store.
class Statistics {
public:
    static constexpr const char* kContactsFormat = "###,##0";
    static constexpr const char* kCountFormat = "###,###,###,##0";

    // The value labels rewritten after every commit and reload.
    struct Totals {
        QString contacts;  // record count, "###,##0"
        QString phone;     // phone count, "###,###,###,##0"
        QString cw;        // record count - phone count, "###,###,###,##0"
        QString score;     // points total x multipliers (hidden), "###,###,###,##0"
    };
    static Totals totals(const LogStore& store);

    // The "New" indicator shows while the location typed is a country not yet in the DX list:
    // longer than two characters, not "Not Found", "Canada" or "USA", and in no DX entry.
    static bool showsNew(const QString& spcText, const QStringList& dxList);

    // The worked-count line before any update, and after one.
    static QString statesWorkedInitialText() { return QStringLiteral("States / Provinces worked:"); }
    static QString statesWorkedText(int workedCount);

    // Heading of the DX list: "DX  -  3" for three entries.
    static QString dxHeading(int dxCount);
};

}  // namespace cubwave
