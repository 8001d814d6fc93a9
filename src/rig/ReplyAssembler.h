#pragma once

#include "rig/RigModel.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

namespace cubwave {

// Cuts the bytes a radio sends into whole replies, so that a decoder never sees half of one: a
// reply may span several reads at slow line rates, and at 4800 baud a 75-byte status record takes
// 170 ms. Text ends at the family's terminator; CI-V frames run from FE FE to FD and only those
// addressed to the controller (E0) count, so the radio's echo of the query is skipped; a fixed
// record is whole at its length, and whatever follows it in the same read is dropped.
class ReplyAssembler {
public:
    // Room for a partial reply beyond the longest whole one, before the oldest bytes are dropped.
    static constexpr int kSlackBytes = 1024;

    explicit ReplyAssembler(const RigModel& model);

    // Forgets everything; framed input is discarded until the next query goes out.
    void reset();
    // A query went out; for a fixed-length family replyBytes is the length of its answer.
    void queryOut(qint64 nowMs, int replyBytes);
    // Feeds one read and hands each reply it completes to onReply, in order. The view is valid only
    // during the call.
    void feed(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply);
    // A query has gone out since the last reset.
    bool hasQueried() const { return queried_; }
    // Part of a reply is held: no new query should go out yet.
    bool holdsPartialReply() const;
    // Drops a partial reply when limitMs or more have passed since its query; true when it did.
    bool dropStale(qint64 nowMs, qint64 limitMs);

    int capacity() const { return capacity_; }

private:
    enum class CivState { Idle, GotFirstFE, InFrame };

    void feedTerminated(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply);
    void feedFixed(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply);
    void feedCiv(QByteArrayView bytes, const std::function<void(QByteArrayView)>& onReply);
    void handBounded(QByteArrayView reply, const std::function<void(QByteArrayView)>& onReply) const;

    ReplyFraming framing_;
    char terminator_;
    int capacity_;
    bool queried_ = false;
    qint64 queryMs_ = 0;
    bool awaitingFixed_ = false;
    int fixedLength_ = 0;
    CivState civ_ = CivState::Idle;
    QByteArray pending_;
};

}  // namespace cubwave
