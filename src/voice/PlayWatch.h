#pragma once

#include <QString>

namespace cubwave {

class WavePlayer;

// How long a sound has played, against how long it may: its length and a margin. The length
// is the player's, or the file header's when the player reports none (read once, when first
// needed, so starting a sound reads nothing).
class PlayWatch {
public:
    void started(const QString& path, qint64 nowMs);
    qint64 elapsedMs(qint64 nowMs) const { return nowMs - startedMs_; }
    // False once the sound has played past its limit.
    bool withinLimit(const WavePlayer& player, qint64 nowMs);

private:
    QString path_;
    qint64 startedMs_ = 0;
    bool headerRead_ = false;
    qint64 headerMs_ = -1;
};

}  // namespace cubwave
