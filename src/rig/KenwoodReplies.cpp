#include "rig/KenwoodReplies.h"

#include "rig/ReplyNumbers.h"
#include "rig/ReplyPieces.h"

namespace cubwave {

namespace {

constexpr qsizetype kHertzDigits = 11;

const char* kenwoodMode(char digit) { return digit == '3' || digit == '7' ? "CW" : "PH"; }

}  // namespace

RigReading KenwoodReplies::decodeText(QByteArrayView reply, const RigDecodeContext& context)
{
    RigReading reading;
    if (context.frequencyQuery.size() >= 3) {
        const QByteArray marker = context.frequencyQuery.left(2).toLatin1();
        const qsizetype p = ReplyPieces::find(reply, marker);
        // The digits and at least one character after them (the ";").
        if (p >= 0 && reply.size() > p + 2 + kHertzDigits) {
            if (const auto hz = ReplyNumbers::decimal(reply.sliced(p + 2, kHertzDigits)))
                reading.frequencyMHz = ReplyNumbers::mhzFiveDecimals(*hz, 1e6);
        }
    }
    const qsizetype p = ReplyPieces::find(reply, "MD");
    if (p >= 0 && reply.size() > p + 2 && ReplyNumbers::isModeCharacter(reply[p + 2]))
        reading.mode = kenwoodMode(reply[p + 2]);
    return reading;
}

RigReading KenwoodReplies::decodeInfo(QByteArrayView reply)
{
    RigReading reading;
    const qsizetype p = ReplyPieces::find(reply, "IF");
    if (p < 0 || reply.size() <= p + 2 + kHertzDigits)
        return reading;
    const auto hz = ReplyNumbers::decimal(reply.sliced(p + 2, kHertzDigits));
    if (!hz)
        return reading;
    reading.frequencyMHz = ReplyNumbers::mhzFiveDecimals(*hz, 1e6);
    // Each later field only when the reply reaches it: a short reply gives the frequency alone.
    constexpr qsizetype kModeColumn = 29;
    constexpr qsizetype kVfoColumn = 30;
    if (reply.size() <= p + kModeColumn || !ReplyNumbers::isModeCharacter(reply[p + kModeColumn]))
        return reading;
    reading.mode = kenwoodMode(reply[p + kModeColumn]);
    if (reply.size() > p + kVfoColumn && ReplyNumbers::isDigit(reply[p + kVfoColumn]))
        reading.kenwoodVfoDigit = reply[p + kVfoColumn] - '0';
    return reading;
}

}  // namespace cubwave
