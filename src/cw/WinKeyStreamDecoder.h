#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace cubwave {

// What a WinKey keyer sends, split into its kinds. Every byte stands alone, so chunks may be cut
// anywhere. While a reply is expected (an echo test or host open, both asked of a keyer in
// standalone mode, which sends nothing unasked) the next byte is that reply, whatever its value.
// Otherwise: status bytes 0xC0..0xFF, speed-pot bytes 0x80..0xBF and, with echo-back on, a byte
// below 0x80 is the echo of a character the keyer started to send. Anything else is dropped.
class WinKeyStreamDecoder {
public:
    static constexpr quint8 kXoff = 0x01;
    static constexpr quint8 kBreakIn = 0x02;
    static constexpr quint8 kBusy = 0x04;
    static constexpr quint8 kKeyDown = 0x08;
    static constexpr quint8 kWait = 0x10;

    // Where the decoded bytes go, in the order they arrived.
    class Sink {
    public:
        virtual ~Sink() = default;
        virtual void status(quint8 statusByte) = 0;
        // The pot's value, 0..63.
        virtual void speedPot(quint8 value) = 0;
        virtual void reply(quint8 value) = 0;
        virtual void echo(char character) = 0;
    };

    static bool isStatus(uchar b) { return (b & 0xC0) == 0xC0; }
    static bool isSpeedPot(uchar b) { return (b & 0xC0) == 0x80; }

    // The next byte that is neither status nor speed pot is a reply.
    void expectReply() { replyExpected_ = true; }
    void cancelReply() { replyExpected_ = false; }
    bool replyExpected() const { return replyExpected_; }
    void setEchoBack(bool on) { echoBack_ = on; }
    void reset();

    void feed(QByteArrayView bytes, Sink& sink);
    // Bytes that fitted no kind, since the last reset.
    quint64 dropped() const { return dropped_; }

private:
    bool replyExpected_ = false;
    bool echoBack_ = false;
    quint64 dropped_ = 0;
};

}  // namespace cubwave
