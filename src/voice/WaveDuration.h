#pragma once

#include <QByteArrayView>
#include <QString>

namespace cubwave {

// The length of a wave file from its RIFF header, for a player that reports none, and how long
// a sound may play before it is taken for stuck.
class WaveDuration {
public:
    // The "fmt " and "data" chunk headers lie within this much of the start of any wave file
    // worth playing; a file whose data chunk starts later has no length here.
    static constexpr qint64 kHeaderBytes = 64 * 1024;
    static constexpr qint64 kMarginMs = 2000;
    static constexpr qint64 kMaxPlayMs = 5 * 60 * 1000;

    // Milliseconds of sound from the data chunk's size and the format's byte rate; -1 when the
    // bytes do not start a wave file with both. A data size of 0 or one running past the file
    // (a writer that never went back to fill it in) counts as the rest of the file.
    static qint64 fromHeader(QByteArrayView head, qint64 fileSize);
    static qint64 ofFile(const QString& path);

    // A sound of this length is stopped when it still plays this long after it started: its
    // length and a margin, never more than kMaxPlayMs, and kMaxPlayMs for an unknown length.
    static qint64 playLimitMs(qint64 durationMs);
};

}  // namespace cubwave
