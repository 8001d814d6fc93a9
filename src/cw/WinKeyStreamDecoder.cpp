#include "cw/WinKeyStreamDecoder.h"

namespace cubwave {

void WinKeyStreamDecoder::reset()
{
    replyExpected_ = false;
    dropped_ = 0;
}

void WinKeyStreamDecoder::feed(QByteArrayView bytes, Sink& sink)
{
    for (const char c : bytes) {
        const auto b = static_cast<uchar>(c);
        if (replyExpected_) {
            // A keyer in standalone mode sends nothing unasked, so the next byte is the answer.
            replyExpected_ = false;
            sink.reply(b);
        } else if (isStatus(b)) {
            sink.status(b);
        } else if (isSpeedPot(b)) {
            sink.speedPot(b & 0x3F);
        } else if (echoBack_) {
            sink.echo(c);
        } else {
            ++dropped_;
        }
    }
}

}  // namespace cubwave
