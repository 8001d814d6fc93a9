#pragma once

#include <QFont>
#include <QString>

namespace cubwave {

// The windows were designed in Arial and Arial Narrow; Liberation Sans and Liberation Sans
// Narrow (Debian fonts-liberation) have the same metrics, so captions fit as designed.
inline QFont designFont(const QString& designName, double pointSize, bool bold = false)
{
    const QString upper = designName.toUpper();
    QFont font(upper == u"ARIAL NARROW" ? QStringLiteral("Liberation Sans Narrow")
               : upper == u"ARIAL"      ? QStringLiteral("Liberation Sans")
                                        : designName);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace cubwave
