#pragma once

#include "rig/RigReading.h"

#include <QByteArrayView>

namespace cubwave {

// Ten-Tec replies (the radios' programmer's references).
class TenTecReplies {
public:
    // Front panel ("?A" CR, "?M" CR): "A", four bytes of hertz most significant first, CR; or
    // "M", the main and sub mode, CR. Which one is meant follows the query that went out last.
    static RigReading decodePanel(QByteArrayView reply, bool frequencyQueryLast);
    // Orion ("?AF", "?RMM"): "@AF" and the hertz digits up to CR; "@RMM" and the mode digit,
    // where 2 and 3 are CW on the upper and lower side.
    static RigReading decodeOrion(QByteArrayView reply);
};

}  // namespace cubwave
