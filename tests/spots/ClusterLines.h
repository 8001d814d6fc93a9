#pragma once

#include <QString>

namespace cubwave::test {

// A spot line as DX clusters lay it out: "DX de SPOTTER:", the frequency right-aligned to
// column 24, the call from column 27 in 13 columns, then the comment and the time.
inline QString clusterSpot(const QString& spotter, const QString& frequency, const QString& call,
                           const QString& comment = QStringLiteral("CQ"), const QString& time = QStringLiteral("1234Z"))
{
    QString line = QStringLiteral("DX de ") + spotter + u':';
    line += QString(qMax<qsizetype>(1, 24 - line.size() - frequency.size()), u' ') + frequency;
    line += QStringLiteral("  ") + call.leftJustified(13) + u' ' + comment.leftJustified(30) + u' ' + time;
    return line;
}

}  // namespace cubwave::test
