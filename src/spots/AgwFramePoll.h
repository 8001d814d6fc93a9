#pragma once

#include "spots/AgwFrameRules.h"

#include <QString>

namespace cubwave {

// One tick of the spot window's timer on the packet engine: takes the waiting frames (at most
// kFramesPerTick, so a burst drains within a few ticks without holding the window), applies the
// frame rules to each and keeps the connected station. The sink sees each outcome at once, so a
// frame's text is in the received text before the next frame's duplicate test.
class AgwFramePoll {
public:
    static constexpr int kFramesPerTick = 200;
    using Sink = std::function<void(const AgwFrameOutcome&)>;

    // The number of frames taken.
    int tick(AgwPacketEngine& engine, bool listDxOnly, const AgwFrameRules::IsDuplicate& isDuplicate,
             const Sink& sink);

    // The station connected through the engine; empty when none.
    QString connectedStation() const { return connectedStation_; }
    // The window closed the port or sent its own disconnect and stopped listening.
    void forgetStation() { connectedStation_.clear(); }

private:
    QString connectedStation_;
};

}  // namespace cubwave
