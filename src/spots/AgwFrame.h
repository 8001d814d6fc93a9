#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace cubwave {

// One frame of the packet engine's TCP interface ("AGWPE TCP/IP API Tutorial"): a 36-byte
// little-endian header (radio port, frame kind, PID, CallFrom[10], CallTo[10], data length,
// user) and the data it announces. Calls are NUL-padded ASCII in the header.
struct AgwFrame {
    static constexpr int kHeaderBytes = 36;
    static constexpr int kCallBytes = 10;

    int port = 0;           // radio port, 0 for the first
    char kind = 0;          // the frame kind letter ('R', 'X', 'm', 'C', 'D', 'd', 'U', ...)
    quint8 pid = 0;         // AX.25 protocol id; 0xF0 for plain text
    QByteArray callFrom;    // up to 9 characters, without the NUL
    QByteArray callTo;
    QByteArray data;
    quint32 user = 0;

    // The header and the data as they go on the wire. A call longer than 9 characters is cut.
    QByteArray encode() const;

    bool operator==(const AgwFrame&) const = default;
};

// Turns the engine's byte stream, fed in pieces of any size, back into frames. A header that
// announces more than kMaxDataBytes is a protocol error: the stream cannot be trusted after it,
// so the decoder stops for good and says why.
class AgwFrameDecoder {
public:
    static constexpr qsizetype kMaxDataBytes = 64 * 1024;

    void feed(QByteArrayView bytes);
    // The next whole frame, if one has arrived.
    std::optional<AgwFrame> next();
    bool failed() const { return !problem_.isEmpty(); }
    QString problem() const { return problem_; }
    // Bytes of an unfinished frame held (never more than a header and kMaxDataBytes plus the
    // last piece fed).
    qsizetype pendingBytes() const { return buffer_.size() - readAt_; }

private:
    QByteArray buffer_;
    qsizetype readAt_ = 0;
    QString problem_;
};

}  // namespace cubwave
