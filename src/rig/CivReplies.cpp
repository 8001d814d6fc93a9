#include "rig/CivReplies.h"

#include <charconv>

namespace cubwave {

namespace {

enum class Walk { Idle, GotFirstFE, GotSecondFE, WaitForFD };

// The frequency digits, most significant first, as the operator reads them: leading zeros of
// the MHz part dropped, a point after the fourth digit, six digits after it.
std::optional<double> frequencyFromDigits(const char* digits, int count)
{
    char text[16];
    int n = 0;
    if (digits[0] != '0')
        text[n++] = digits[0];
    if (!(digits[0] == '0' && digits[1] == '0'))
        text[n++] = digits[1];
    if (!(digits[0] == '0' && digits[1] == '0' && digits[2] == '0'))
        text[n++] = digits[2];
    text[n++] = digits[3];
    text[n++] = '.';
    for (int i = 4; i < count && i < 10; ++i)
        text[n++] = digits[i];
    double value = 0;
    const auto [end, error] = std::from_chars(text, text + n, value);
    if (error != std::errc() || end != text + n)
        return std::nullopt;
    return value;
}

}  // namespace

RigReading CivReplies::decode(QByteArrayView reply, bool frequencyQueryLast, int frequencyBytes)
{
    RigReading reading;
    const unsigned char awaited = frequencyQueryLast ? kReadFrequency : kReadMode;
    Walk state = Walk::Idle;
    int skip = 0;
    // Data bytes arrive least significant first; each is put in front of those before it.
    unsigned char data[8];
    int dataCount = 0;
    bool tooMuchData = false;
    for (char c : reply) {
        const auto b = static_cast<unsigned char>(c);
        if (skip > 0) {
            --skip;  // the two address bytes
            continue;
        }
        switch (state) {
        case Walk::Idle:
            if (b == kPreamble)
                state = Walk::GotFirstFE;
            break;
        case Walk::GotFirstFE:
            if (b == kPreamble) {
                state = Walk::GotSecondFE;
                skip = 2;
            } else {
                state = Walk::Idle;
            }
            break;
        case Walk::GotSecondFE:
            state = b == awaited ? Walk::WaitForFD : Walk::Idle;
            break;
        case Walk::WaitForFD:
            if (b == kEnd) {
                state = Walk::Idle;
            } else if (awaited == kReadMode) {
                reading.mode = b == 0x03 || b == 0x07 ? "CW" : "PH";  // CW and CW reverse
                return reading;
            } else if (dataCount < int(sizeof data)) {
                data[dataCount++] = b;
            } else {
                tooMuchData = true;
            }
            break;
        }
    }
    if (awaited != kReadFrequency || tooMuchData || frequencyBytes < 2 || dataCount != frequencyBytes)
        return reading;
    char digits[16];
    for (int i = 0; i < dataCount; ++i) {
        const unsigned char b = data[dataCount - 1 - i];
        if ((b >> 4) > 9 || (b & 15) > 9)
            return reading;  // not BCD
        digits[2 * i] = char('0' + (b >> 4));
        digits[2 * i + 1] = char('0' + (b & 15));
    }
    if (const auto mhz = frequencyFromDigits(digits, 2 * dataCount))
        reading.frequencyMHz = float(frequencyBytes == 4 ? *mhz / 100 : *mhz);
    return reading;
}

}  // namespace cubwave
