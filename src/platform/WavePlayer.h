#pragma once

#include <QString>

namespace cubwave {

// A player of wave files through the default sound output. One file is current at a time;
// play() returns at once while the sound goes on, and playing() tells when it has ended.
class WavePlayer {
public:
    virtual ~WavePlayer() = default;

    // Builds what playing path needs ahead of time, so a later open() and play() of it start
    // at once. A hint: nothing is reported, a file that cannot be played fails at open().
    virtual void prepare(const QString& path) { (void)path; }
    // Makes path the current file, stopping whatever played. False with errorText() when the
    // file cannot be played (missing, a folder, unreadable, known not to be sound).
    virtual bool open(const QString& path) = 0;
    // Starts the current file from its beginning; false with errorText() when it cannot start.
    virtual bool play() = 0;
    // Ends the sound at once; playing() is false when it returns.
    virtual void stop() = 0;
    // Stops and forgets the current file.
    virtual void close() = 0;
    // True from play() until the sound ends, is stopped, or fails; a failure leaves errorText().
    virtual bool playing() const = 0;
    // The current file's length, or -1 while the player does not know it.
    virtual qint64 durationMs() const = 0;
    // Why the last open or play failed, or why the sound stopped early; empty otherwise.
    virtual QString errorText() const = 0;
};

}  // namespace cubwave
