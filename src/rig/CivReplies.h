#pragma once

#include "rig/RigReading.h"

#include <QByteArrayView>

namespace cubwave {

// Icom CI-V replies (Icom's CI-V reference; the Omni VI speaks it too): FE FE, the two address
// bytes, the command, data bytes, FD. Command 03 carries the frequency as BCD, least significant
// byte first; command 04 the mode byte.
class CivReplies {
public:
    static constexpr unsigned char kPreamble = 0xFE;
    static constexpr unsigned char kEnd = 0xFD;
    static constexpr unsigned char kController = 0xE0;
    static constexpr unsigned char kReadFrequency = 0x03;
    static constexpr unsigned char kReadMode = 0x04;

    // Walks the reply for the command of the query that went out last. frequencyBytes is 5, or 4
    // on the IC-735, whose value then reads one hundred times too large and is divided back.
    static RigReading decode(QByteArrayView reply, bool frequencyQueryLast, int frequencyBytes);
};

}  // namespace cubwave
