#include "voice/PlayWatch.h"

#include "platform/WavePlayer.h"
#include "voice/WaveDuration.h"

namespace cubwave {

void PlayWatch::started(const QString& path, qint64 nowMs)
{
    path_ = path;
    startedMs_ = nowMs;
    headerRead_ = false;
    headerMs_ = -1;
}

bool PlayWatch::withinLimit(const WavePlayer& player, qint64 nowMs)
{
    qint64 durationMs = player.durationMs();
    if (durationMs < 0) {
        if (!headerRead_) {
            headerMs_ = WaveDuration::ofFile(path_);
            headerRead_ = true;
        }
        durationMs = headerMs_;
    }
    return elapsedMs(nowMs) < WaveDuration::playLimitMs(durationMs);
}

}  // namespace cubwave
