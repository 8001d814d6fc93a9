#pragma once

#include <QByteArrayView>
#include <QString>

namespace cubwave {

// Whether a file that claims to be a wave file (it starts with "RIFF") is whole enough to play.
// GStreamer reports a damaged header only some milliseconds after playing has begun, by then
// with PTT up; this decides before. A file that is no RIFF at all (an MP3 or OGG named .wav)
// is left to the player, which must load it first.
class WaveHeader {
public:
    // Why the file cannot be played, or an empty text when it may be.
    static QString problem(QByteArrayView head, qint64 fileSize);
    static QString problemOfFile(const QString& path);
};

}  // namespace cubwave
