#pragma once

#include "rig/RigPoller.h"

#include <functional>

namespace cubwave {

class Clock;
class RigctldConversation;

// The poll of a radio behind rigctld: each round asks for the frequency ("f") and then the mode
// ("m"), one request at a time, and hands what they tell to the poller's usual band, mode and
// frequency rules. A round starts on every second tick of the poll timer (so the poll rate's
// captions still give the cycle time) and only while the daemon is reached, the poll runs and
// no command has the radio. An answer that does not read drops the connection.
class RigctldPoll {
public:
    RigctldPoll(RigPoller& poller, RigctldConversation& conversation, Clock& clock);

    void setResultHandler(std::function<void(const RigTickResult&)> onResult) { onResult_ = std::move(onResult); }
    // A poll timer tick.
    void tick();
    // Polling starts or stops: a round under way is forgotten.
    void reset();

private:
    void askFrequency();
    void askMode(qint64 hz);
    void finish(const RigReading& reading);
    bool current(quint64 round) const { return round == round_ && underway_; }

    RigPoller& poller_;
    RigctldConversation& conversation_;
    Clock& clock_;
    std::function<void(const RigTickResult&)> onResult_;
    bool underway_ = false;
    bool skipTick_ = false;
    quint64 round_ = 0;
};

}  // namespace cubwave
