#pragma once

#include "core/LogLine.h"

#include <QByteArray>

namespace cubwave::test {

// log.txt bytes of n contacts K1ABC, K2ABC, ...: all on 20 m CW, the first in firstSpc and the
// rest in MA.
inline QByteArray contactLines(int n, const char* firstSpc = "CT")
{
    QByteArray log;
    for (int i = 1; i <= n; ++i) {
        QsoRecord r;
        r[QsoRecord::Call] = QStringLiteral("K%1ABC").arg(i);
        r[QsoRecord::Age] = "12";
        r[QsoRecord::Spc] = i == 1 ? QString::fromLatin1(firstSpc) : QStringLiteral("MA");
        r[QsoRecord::Date] = "2026/06/13";
        r[QsoRecord::Time] = "18:00:00";
        r[QsoRecord::Mode] = "CW";
        r[QsoRecord::Band] = "20";
        r[QsoRecord::Name] = "ANN";
        log += LogLine::format(r).toUtf8() + "\r\n";
    }
    return log;
}

}  // namespace cubwave::test
