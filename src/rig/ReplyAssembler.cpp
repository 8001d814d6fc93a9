#include "rig/ReplyAssembler.h"

#include "rig/CivReplies.h"

#include <algorithm>

namespace cubwave {

namespace {
constexpr unsigned char kCivCollision = 0xFC;  // a jammed bus: the frame is lost
}

ReplyAssembler::ReplyAssembler(const RigModel& model)
    : framing_(model.framing), terminator_(model.terminator), capacity_(model.longestReplyBytes() + kSlackBytes)
{
    pending_.reserve(capacity_);
    reset();
}

void ReplyAssembler::reset()
{
    // "Other" sends no opening bytes and may have no queries: all it hears is shown.
    queried_ = framing_ == ReplyFraming::Raw;
    awaitingFixed_ = false;
    civ_ = CivState::Idle;
    pending_.clear();
}

void ReplyAssembler::queryOut(qint64 nowMs, int replyBytes)
{
    queried_ = true;
    queryMs_ = nowMs;
    if (framing_ == ReplyFraming::FixedLength) {
        pending_.clear();
        awaitingFixed_ = replyBytes > 0;
        fixedLength_ = std::min(replyBytes, capacity_);
    }
}

bool ReplyAssembler::holdsPartialReply() const
{
    switch (framing_) {
    case ReplyFraming::Terminated:
        return !pending_.isEmpty();
    case ReplyFraming::FixedLength:
        return awaitingFixed_ && !pending_.isEmpty();
    case ReplyFraming::CiVFrame:
        return civ_ != CivState::Idle;
    case ReplyFraming::Raw:
        break;
    }
    return false;
}

bool ReplyAssembler::dropStale(qint64 nowMs, qint64 limitMs)
{
    if (!holdsPartialReply() || nowMs - queryMs_ < limitMs)
        return false;
    pending_.clear();
    awaitingFixed_ = false;
    civ_ = CivState::Idle;
    return true;
}

void ReplyAssembler::feed(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply)
{
    if (!queried_ || bytes.isEmpty())
        return;  // before the first query: the radio's answer to the opening bytes, or noise
    switch (framing_) {
    case ReplyFraming::Raw:
        handBounded(bytes, onReply);
        break;
    case ReplyFraming::Terminated:
        feedTerminated(bytes, onReply);
        break;
    case ReplyFraming::FixedLength:
        feedFixed(bytes, onReply);
        break;
    case ReplyFraming::CiVFrame:
        feedCiv(bytes, onReply);
        break;
    }
}

void ReplyAssembler::handBounded(QByteArrayView reply, const std::function<void(QByteArrayView)>& onReply) const
{
    onReply(reply.size() > capacity_ ? reply.last(capacity_) : reply);
}

void ReplyAssembler::feedTerminated(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf(terminator_, start);
        if (end < 0) {
            // Keep the newest bytes of an unfinished reply; older ones cannot belong to it.
            pending_.append(bytes.sliced(start));
            if (pending_.size() > capacity_)
                pending_.remove(0, pending_.size() - capacity_);
            return;
        }
        const QByteArrayView piece = bytes.sliced(start, end + 1 - start);
        if (pending_.isEmpty()) {
            handBounded(piece, onReply);
        } else {
            pending_.append(piece);
            handBounded(pending_, onReply);
            pending_.clear();
        }
        start = end + 1;
    }
}

void ReplyAssembler::feedFixed(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply)
{
    if (!awaitingFixed_)
        return;  // no query outstanding: without a frame marker these bytes cannot be placed
    const qsizetype take = std::min<qsizetype>(fixedLength_ - pending_.size(), bytes.size());
    pending_.append(bytes.first(take));
    if (pending_.size() < fixedLength_)
        return;
    awaitingFixed_ = false;
    onReply(pending_);
    pending_.clear();
}

void ReplyAssembler::feedCiv(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply)
{
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        switch (civ_) {
        case CivState::Idle:
            if (b == CivReplies::kPreamble) {
                pending_.append(c);
                civ_ = CivState::GotFirstFE;
            }
            break;
        case CivState::GotFirstFE:
            if (b == CivReplies::kPreamble) {
                pending_.append(c);
                civ_ = CivState::InFrame;
            } else {
                pending_.clear();
                civ_ = CivState::Idle;
            }
            break;
        case CivState::InFrame:
            if (b == CivReplies::kPreamble && pending_.size() == 2)
                break;  // a longer preamble
            if (b == kCivCollision || pending_.size() >= capacity_) {
                pending_.clear();
                civ_ = CivState::Idle;
                break;
            }
            pending_.append(c);
            if (b == CivReplies::kEnd) {
                // FE FE to from … FD: only a frame to the controller is a reply; one to the radio is
                // the echo of our own query, one to 00 a broadcast.
                if (pending_.size() >= 5 && static_cast<unsigned char>(pending_[2]) == CivReplies::kController)
                    onReply(pending_);
                pending_.clear();
                civ_ = CivState::Idle;
            }
            break;
        }
    }
}

}  // namespace cubwave
