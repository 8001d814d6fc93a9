#pragma once

#include <QString>
#include <QStringView>

namespace cubwave {

// The short form of a call a spot label shows on the band maps: the prefix with its district
// digit (K1ABC -> K1, 3DA0XY -> 3DA0), the prefix of a "KH6/K1ABC" form, or what a portable
// suffix makes of it (K1ABC/4 -> K4, K1ABC/P -> P, K1ABC/KH6 -> KH6).
QString callPrefix(QStringView call);

}  // namespace cubwave
