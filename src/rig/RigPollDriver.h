#pragma once

#include "rig/RigPoller.h"
#include "rig/RigSettings.h"
#include "rig/SerialRigLink.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace cubwave {

class Clock;
class RigPollTimer;
class RigctldConversation;
class RigctldPoll;
class SerialLine;

// Runs the rig poll: opens the rig's port, drives RigPoller's ticks from the poll timer and hands
// each tick's result to whoever shows it. The timer's interval is half a poll cycle (a send tick
// and a read tick): 50, 250, 1000 or 5000 ms. A lost line stops the timer and closes the port
// before the result goes out.
class RigPollDriver {
public:
    RigPollDriver(SerialLine& line, RigPollTimer& timer, Clock& clock);
    ~RigPollDriver();
    RigPollDriver(const RigPollDriver&) = delete;
    RigPollDriver& operator=(const RigPollDriver&) = delete;

    void setTickHandler(std::function<void(const RigTickResult&)> onTick) { onTick_ = std::move(onTick); }
    // The way to "Hamlib rigctld"; without one that rig fails to start. Must outlive the driver.
    void setRigctld(RigctldConversation* conversation);
    RigctldConversation* rigctld() const { return rigctld_; }
    // Where rigctld listens; taken by the next start().
    void setRigctldAddress(const QString& host, int port);
    // Runs whenever the poll stops or the port closes ("End Test", a new rig, "Test" again,
    // unloading, a lost line), before anything more goes out: a frequency or mode command under
    // way on this line must end there and never reach another rig's port.
    void setStopHandler(std::function<void()> onStop) { onStop_ = std::move(onStop); }

    // "Test" for a rig other than "None": opens the port (not for "Ten Tec Pegasus"), runs one
    // tick at once and starts the timer. Nothing on success, else why the port could not open.
    std::optional<QString> start(const RigSettings& settings, const QString& devicePath, bool convertFromHex,
                                 const QString& pegasusFolder);
    // "End Test": the timer stops and the port closes.
    void stop();
    bool polling() const;
    // The program is ending: a polled model with closing bytes gets them once, drained before
    // the port closes.
    void shutdown();

    void setReportChoices(bool convertToHex, bool convertFromHex, bool useFrequency, ModeSource modeBy);
    RigPoller& poller() { return poller_; }
    const RigPoller& poller() const { return poller_; }
    bool portOpen() const { return link_.isOpen(); }
    // The serial line the poll uses; frequency and mode commands go out on it too.
    RigLink& link() { return link_; }

private:
    void tick();

    RigPollTimer& timer_;
    Clock& clock_;
    SerialRigLink link_;
    RigPoller poller_;
    RigctldConversation* rigctld_ = nullptr;
    std::unique_ptr<RigctldPoll> rigctldPoll_;
    QString rigctldHost_;
    int rigctldPort_ = 0;
    std::function<void(const RigTickResult&)> onTick_;
    std::function<void()> onStop_;
};

}  // namespace cubwave
