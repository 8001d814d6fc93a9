#pragma once

#include <QString>

#include <functional>

namespace cubwave {

// The spot feed (cluster or packet) as the rest of the program sees it: the one place spots come
// from. Its connection lives until shutdown. Whoever wants spots (the main window's band map and
// spot list, the spectrum map) adds a listener here rather than reaching into the spot window.
class SpotFeedPort {
public:
    // A recognised spot: the spotted call, the frequency text in kHz (possibly not a number) and
    // the spot record (the line from "de" and the spotter on).
    using SpotListener = std::function<void(const QString& call, const QString& frequencyKHz, const QString& record)>;
    // "&Done": the connection type and the main window's display choice, "Band Map" or "List".
    using DisplayListener = std::function<void(const QString& connectionType, const QString& display)>;

    virtual ~SpotFeedPort() = default;

    // Every recognised spot goes to every listener, in the order they were added.
    virtual void addSpotListener(SpotListener listener) = 0;
    virtual void onDisplayChosen(DisplayListener listener) = 0;
    // About every two minutes of an open connection without a spot: the band map repaints, so
    // its ages move on.
    virtual void onRepaintDue(std::function<void()> repaint) = 0;
    // Where a line for the main window's status bar goes: why a port could not be had, a
    // settings file that could not be read, packet frames dropped.
    virtual void onStatus(std::function<void(const QString& text)> status) = 0;
    // The end of the main window's load: when "PackSpot.txt" names a connection type other than
    // "None", the spot window loads and opens that connection.
    virtual void openAtStartup() = 0;
    // Disconnects from the spot source at shutdown.
    virtual void unload() = 0;
};

// No spot feed in this build.
class AbsentSpotFeed final : public SpotFeedPort {
public:
    void addSpotListener(SpotListener) override {}
    void onDisplayChosen(DisplayListener) override {}
    void onRepaintDue(std::function<void()>) override {}
    void onStatus(std::function<void(const QString&)>) override {}
    void openAtStartup() override {}
    void unload() override {}
};

}  // namespace cubwave
