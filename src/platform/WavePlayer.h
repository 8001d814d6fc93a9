#pragma once

#include <QString>

#include <functional>

namespace cubwave {

// A player of wave files through the default sound output. One file is current at a time;
// play() returns at once while the sound goes on, and playing() tells when it has ended.
class WavePlayer {
public:
    // How far the current file has come towards playing.
    enum class Readiness {
        None,     // no file is open
        Loading,  // being read; play() now would start late or fail
        Ready,    // loaded without error: play() starts it at once
        Failed,   // cannot be played; errorText() says why
    };

    virtual ~WavePlayer() = default;

    // Builds what playing path needs ahead of time, so a later open() and play() of it start
    // at once. A hint: nothing is reported, a file that cannot be played fails at open().
    virtual void prepare(const QString& path) { (void)path; }
    // Makes path the current file, stopping whatever played. False with errorText() when the
    // file cannot be played (missing, a folder, unreadable, known not to be sound). A true
    // answer may still leave the file Loading: readiness() tells when it can start.
    virtual bool open(const QString& path) = 0;
    virtual Readiness readiness() const = 0;
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
    // Whether the system offers any sound output at all. Without one the sound goes nowhere
    // while the player still reports playing.
    virtual bool hasSoundOutput() const = 0;
    // Called from the event loop whenever the current file's readiness or playing() may have
    // changed (loaded, failed, ended), so a caller need not wait for its next poll.
    virtual void setChangeListener(std::function<void()> listener) { (void)listener; }
};

}  // namespace cubwave
