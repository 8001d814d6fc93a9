#pragma once

#include <QString>

#include <functional>

namespace cubwave {

// What the main window asks of the voice keyer: the recorded messages on F1..F9, Esc, the
// repeat and the navigation cues.
class VoiceKeyerPort {
public:
    virtual ~VoiceKeyerPort() = default;

    // F1..F9 (112..120) play their recorded message.
    virtual void functionKey(int keyCode) = 0;
    virtual bool playing() const = 0;
    virtual void stop() = 0;
    // Any key in the main window ends the message repeat.
    virtual void cancelRepeat() = 0;
    // Voice navigation: plays the named cue ("Call", "Dupe", ...); cuePlaying() is true until
    // it has finished.
    virtual void playCue(const QString& cue) = 0;
    virtual bool cuePlaying() const = 0;
    // Start-up: reads the voice message list "wave2.txt" without opening the PTT port; false,
    // with why, when it is missing or cannot be read.
    virtual bool readMessageList(QString& why) = 0;
    // Called with the reason whenever a message does not start or stops early.
    virtual void onProblem(std::function<void(const QString& text)> listener) = 0;
    // Called whenever PTT goes up or down: the main window's transmit indicator.
    virtual void onTransmitChanged(std::function<void(bool onAir)>) {}
    // Drops every keying line the voice keyer holds (the transmitter's PTT).
    virtual void releaseAll() = 0;
    // Closes the players at shutdown: the voice keyer, then the navigation cues.
    virtual void unload() = 0;
    virtual void unloadCues() = 0;
};

// No voice keyer in this build: nothing plays.
class AbsentVoiceKeyer final : public VoiceKeyerPort {
public:
    void functionKey(int) override {}
    bool playing() const override { return false; }
    void stop() override {}
    void cancelRepeat() override {}
    void playCue(const QString&) override {}
    bool cuePlaying() const override { return false; }
    bool readMessageList(QString&) override { return true; }
    void onProblem(std::function<void(const QString&)>) override {}
    void releaseAll() override {}
    void unload() override {}
    void unloadCues() override {}
};

}  // namespace cubwave
