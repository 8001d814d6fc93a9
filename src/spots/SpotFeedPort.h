#pragma once

namespace cubwave {

// The spot feed (cluster or packet): its connection lives until shutdown.
class SpotFeedPort {
public:
    virtual ~SpotFeedPort() = default;

    // Disconnects from the spot source at shutdown.
    virtual void unload() = 0;
};

// No spot feed in this build.
class AbsentSpotFeed final : public SpotFeedPort {
public:
    void unload() override {}
};

}  // namespace cubwave
