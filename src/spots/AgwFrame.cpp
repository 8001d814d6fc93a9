#include "spots/AgwFrame.h"

#include <QtEndian>

#include <cstring>

namespace cubwave {

namespace {

// Header offsets: the port and the kind each take four bytes of which the engine reads the low
// one (the PID sits in the kind's third byte), then the two calls, the data length and the user.
constexpr int kPortAt = 0;
constexpr int kKindAt = 4;
constexpr int kPidAt = 6;
constexpr int kCallFromAt = 8;
constexpr int kCallToAt = kCallFromAt + AgwFrame::kCallBytes;
constexpr int kDataLenAt = kCallToAt + AgwFrame::kCallBytes;
constexpr int kUserAt = kDataLenAt + 4;
static_assert(kUserAt + 4 == AgwFrame::kHeaderBytes);

void putCall(char* at, const QByteArray& call)
{
    const qsizetype n = std::min<qsizetype>(call.size(), AgwFrame::kCallBytes - 1);
    std::memcpy(at, call.constData(), size_t(n));
}

// The call up to its first NUL, never past the field.
QByteArray takeCall(const char* at)
{
    const void* nul = std::memchr(at, 0, AgwFrame::kCallBytes);
    const qsizetype n = nul ? static_cast<const char*>(nul) - at : AgwFrame::kCallBytes;
    return QByteArray(at, n);
}

}  // namespace

QByteArray AgwFrame::encode() const
{
    QByteArray bytes(kHeaderBytes, '\0');
    char* h = bytes.data();
    qToLittleEndian<quint32>(quint32(port), h + kPortAt);
    h[kKindAt] = kind;
    h[kPidAt] = char(pid);
    putCall(h + kCallFromAt, callFrom);
    putCall(h + kCallToAt, callTo);
    qToLittleEndian<quint32>(quint32(data.size()), h + kDataLenAt);
    qToLittleEndian<quint32>(user, h + kUserAt);
    bytes += data;
    return bytes;
}

void AgwFrameDecoder::feed(QByteArrayView bytes)
{
    if (failed() || bytes.isEmpty())
        return;
    // Compact before growing, so the buffer holds only the unfinished frame and the new piece.
    if (readAt_ > 0 && readAt_ >= buffer_.size() / 2) {
        buffer_.remove(0, readAt_);
        readAt_ = 0;
    }
    buffer_.append(bytes.data(), bytes.size());
}

std::optional<AgwFrame> AgwFrameDecoder::next()
{
    if (failed() || pendingBytes() < AgwFrame::kHeaderBytes)
        return std::nullopt;
    const char* h = buffer_.constData() + readAt_;
    const quint32 dataLen = qFromLittleEndian<quint32>(h + kDataLenAt);
    if (dataLen > quint32(kMaxDataBytes)) {
        problem_ = QStringLiteral("The packet engine announced a frame of %1 bytes (more than %2).")
                       .arg(dataLen)
                       .arg(kMaxDataBytes);
        buffer_.clear();
        readAt_ = 0;
        return std::nullopt;
    }
    if (pendingBytes() < AgwFrame::kHeaderBytes + qsizetype(dataLen))
        return std::nullopt;
    AgwFrame frame;
    frame.port = int(qFromLittleEndian<quint32>(h + kPortAt) & 0xFFFF);
    frame.kind = h[kKindAt];
    frame.pid = quint8(h[kPidAt]);
    frame.callFrom = takeCall(h + kCallFromAt);
    frame.callTo = takeCall(h + kCallToAt);
    frame.user = qFromLittleEndian<quint32>(h + kUserAt);
    frame.data = QByteArray(h + AgwFrame::kHeaderBytes, qsizetype(dataLen));
    readAt_ += AgwFrame::kHeaderBytes + qsizetype(dataLen);
    if (readAt_ == buffer_.size()) {
        buffer_.resize(0);  // keeps the allocation for the next frame
        readAt_ = 0;
    }
    return frame;
}

}  // namespace cubwave
