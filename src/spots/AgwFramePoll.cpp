#include "spots/AgwFramePoll.h"

namespace cubwave {

int AgwFramePoll::tick(AgwPacketEngine& engine, bool listDxOnly, const AgwFrameRules::IsDuplicate& isDuplicate,
                       const Sink& sink)
{
    int taken = 0;
    while (taken < kFramesPerTick) {
        const std::optional<AgwPacketEngine::Received> frame = engine.getData();
        if (!frame)
            break;
        ++taken;
        const AgwFrameOutcome outcome = AgwFrameRules::apply(*frame, connectedStation_, listDxOnly, isDuplicate);
        if (outcome.event == AgwFrameOutcome::Event::Connected)
            connectedStation_ = outcome.station;
        else if (outcome.event == AgwFrameOutcome::Event::Disconnected)
            connectedStation_.clear();
        if (sink)
            sink(outcome);
    }
    return taken;
}

}  // namespace cubwave
