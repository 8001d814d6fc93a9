#include "rig/YaesuReplies.h"

#include "rig/ReplyNumbers.h"
#include "rig/ReplyPieces.h"

namespace cubwave {

namespace {

// Two BCD digits of one byte as a number 0 to 99, or -1.
int bcdByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if ((b >> 4) > 9 || (b & 15) > 9)
        return -1;
    return (b >> 4) * 10 + (b & 15);
}

const char* fiveByteMode(int code)
{
    switch (code) {
    case 0: case 1: case 4: case 8: case 84: case 88:  // LSB, USB, AM, FM, and the narrow AM/FM
        return "PH";
    case 2: case 3: case 82: case 83:  // CW, CW reverse and their narrow forms
        return "CW";
    default:
        return nullptr;
    }
}

// Hex digits first..last (1-based, high nibble of byte 1 is digit 1) as one hexadecimal number.
qint64 hexDigits(QByteArrayView bytes, int first, int last)
{
    qint64 value = 0;
    for (int digit = first; digit <= last; ++digit) {
        const auto b = static_cast<unsigned char>(bytes[(digit - 1) / 2]);
        value = value * 16 + (digit % 2 == 1 ? b >> 4 : b & 15);
    }
    return value;
}

}  // namespace

RigReading YaesuReplies::decodeFiveByte(QByteArrayView reply)
{
    RigReading reading;
    if (reply.size() < 5)
        return reading;
    qint64 tensOfHz = 0;
    for (int i = 0; i < 4; ++i) {
        const int pair = bcdByte(reply[i]);
        if (pair < 0)
            return reading;
        tensOfHz = tensOfHz * 100 + pair;
    }
    const int modeCode = bcdByte(reply[4]);
    if (modeCode < 0)
        return reading;
    reading.frequencyMHz = float(double(tensOfHz) / 1e5);
    reading.mode = fiveByteMode(modeCode);
    return reading;
}

RigReading YaesuReplies::decodeStatus(QByteArrayView reply, const YaesuStatusLayout& layout)
{
    RigReading reading;
    if (reply.size() >= layout.frequencyBytesNeeded()) {
        if (layout.coding == YaesuStatusLayout::FrequencyCoding::BinaryHexDigits) {
            const qint64 value = hexDigits(reply, layout.firstDigit, layout.lastDigit);
            reading.frequencyMHz = layout.roundToFiveDecimals
                                       ? ReplyNumbers::mhzFiveDecimals(value, layout.divisorToMHz)
                                       : float(double(value) / layout.divisorToMHz);
        } else {
            qint64 value = 0;
            bool bcd = true;
            for (int byte = layout.lastDigit; byte >= layout.firstDigit && bcd; --byte) {
                const int pair = bcdByte(reply[byte - 1]);
                bcd = pair >= 0;
                value = value * 100 + pair;
            }
            if (bcd)
                reading.frequencyMHz = float(double(value) / layout.divisorToMHz);
        }
    }
    if (reply.size() >= layout.modeByte) {
        const char b = reply[layout.modeByte - 1];
        const int code = layout.modeFromLowNibble ? (static_cast<unsigned char>(b) & 15) : bcdByte(b);
        if (code >= 0 && code < int(layout.modeByValue.size()))
            reading.mode = layout.modeByValue[code];
    }
    return reading;
}

RigReading YaesuReplies::decodeText(QByteArrayView reply, const RigDecodeContext& context)
{
    RigReading reading;
    if (context.frequencyQueryLast) {
        if (context.frequencyQuery.size() < 2)
            return reading;
        const qsizetype p = ReplyPieces::find(reply, context.frequencyQuery.left(2).toLatin1());
        if (p < 0)
            return reading;
        const qsizetype end = reply.indexOf(';', p + 2);
        if (end < 0 || end - (p + 2) > 11)
            return reading;
        if (const auto hz = ReplyNumbers::decimal(reply.sliced(p + 2, end - (p + 2))))
            reading.frequencyMHz = ReplyNumbers::mhzFiveDecimals(*hz, 1e6);
    } else {
        if (context.modeQuery.size() < 3)
            return reading;
        const qsizetype p = ReplyPieces::find(reply, context.modeQuery.left(3).toLatin1());
        if (p >= 0 && reply.size() > p + 3 && ReplyNumbers::isModeCharacter(reply[p + 3]))
            reading.mode = reply[p + 3] == '3' || reply[p + 3] == '7' ? "CW" : "PH";
    }
    return reading;
}

}  // namespace cubwave
