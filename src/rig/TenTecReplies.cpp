#include "rig/TenTecReplies.h"

#include "rig/ReplyNumbers.h"
#include "rig/ReplyPieces.h"

namespace cubwave {

RigReading TenTecReplies::decodePanel(QByteArrayView reply, bool frequencyQueryLast)
{
    RigReading reading;
    if (frequencyQueryLast) {
        if (reply.size() >= 5)
            reading.frequencyMHz = ReplyNumbers::mhzFiveDecimals(ReplyNumbers::bigEndian(reply.sliced(1, 4)), 1e6);
        return reading;
    }
    if (reply.size() >= 3) {
        // Low nibble of the main mode: 0 AM, 1 USB, 2 LSB, 3 CW, 4 FM.
        switch (static_cast<unsigned char>(reply[1]) & 15) {
        case 0: case 1: case 2: case 4:
            reading.mode = "PH";
            break;
        case 3:
            reading.mode = "CW";
            break;
        default:
            break;
        }
    }
    return reading;
}

RigReading TenTecReplies::decodeOrion(QByteArrayView reply)
{
    RigReading reading;
    qsizetype p = ReplyPieces::find(reply, "@AF");
    if (p >= 0) {
        const qsizetype end = reply.indexOf('\r', p + 3);
        if (end >= 0) {
            if (const auto hz = ReplyNumbers::decimal(reply.sliced(p + 3, end - (p + 3))))
                reading.frequencyMHz = ReplyNumbers::mhzFiveDecimals(*hz, 1e6);
        }
    }
    p = ReplyPieces::find(reply, "@RMM");
    if (p >= 0 && reply.size() > p + 4 && ReplyNumbers::isModeCharacter(reply[p + 4]))
        reading.mode = reply[p + 4] == '2' || reply[p + 4] == '3' ? "CW" : "PH";
    return reading;
}

}  // namespace cubwave
