#pragma once

#include "bandplan/SidebandTable.h"
#include "rig/RigCommandPlan.h"
#include "rig/RigLink.h"
#include "rig/RigPoller.h"
#include "rig/RigTuning.h"
#include "rig/RigctldConversation.h"

#include <QObject>

#include <deque>
#include <vector>

namespace cubwave {

class Clock;
class OneShotTimer;

// Runs the rig's frequency and mode commands on the window thread, one at a time: each pause and
// each wait for the line to drain is a timer, so keys, spots and the scan go on meanwhile. A
// request made during a command waits; a newer one of the same kind replaces it. Pauses are
// measured on the clock and never end early.
class RigCommandRunner : public QObject, public RigTuning {
    Q_OBJECT

public:
    static inline const QString kPortClosed = QStringLiteral("The rig's serial port is not open.");
    static inline const QString kNoRawToRigctld =
        QStringLiteral("rigctld takes no raw radio commands from here. Try them with rigctl: "
                       "rigctl -m 2 -r HOST:PORT COMMAND");

    // The poller, timer and clock must outlive the runner.
    RigCommandRunner(RigPoller& poller, OneShotTimer& timer, Clock& clock, QObject* parent = nullptr);
    ~RigCommandRunner() override;

    // The rig line while its port is open; null when closed.
    void setLink(RigLink* link) { link_ = link; }
    // The way to "Hamlib rigctld", whose commands are requests that wait for their answers.
    void setRigctld(RigctldConversation* rigctld) { rigctld_ = rigctld; }
    // The band plan's Extra records, which give the mode for a frequency.
    // A damaged file is reported once per table given here.
    void setSidebands(SidebandTable sidebands)
    {
        sidebands_ = std::move(sidebands);
        damageReported_ = false;
    }
    // "End Test", a new rig, unloading: the command stops between steps and nothing waiting runs;
    // a poll it suspended is released.
    void cancel();
    // A command is running or waiting.
    bool busy() const { return running_ || !waiting_.empty(); }

    QString rigName() const override;
    bool polling() const override { return poller_.polling(); }
    void changeFrequency(qint64 hz, const QString& mode = QString()) override;
    void changeMode(qint64 hz, const QString& mode) override;
    std::optional<QString> sendRaw(const QByteArray& bytes) override;

signals:
    // For a message box: "Error Changing Frequency" or "Error Changing Mode" and the reason.
    void commandFailed(const QString& title, const QString& text);
    // The last command has ended and none waits.
    void idle();
    // For the status line: a frequency command went without a mode because "BandPlan.txt" is
    // damaged. Said once per band plan table.
    void statusMessage(const QString& text);

private:
    struct Request {
        bool frequency;
        qint64 hz;
        QString mode;
    };

    void enqueue(Request request);
    // Takes the next waiting request that has anything to do; false when none has.
    bool prepareNext();
    void advance();
    // One step; false when it waits for the timer.
    bool perform(const RigCommandStep& step);
    void fail(const RigCommandStep& step, const QString& reason);
    void skipToResume();
    void reportDamageOnce(const Request& request);
    RigCommandContext context() const;
    // Request and ReadModeBack: false while the answer is awaited.
    bool request(const RigCommandStep& step);
    void judge(const RigCommandStep& step, const RigctldConversation::Answer& answer);

    RigPoller& poller_;
    OneShotTimer& timer_;
    Clock& clock_;
    RigLink* link_ = nullptr;
    RigctldConversation* rigctld_ = nullptr;
    SidebandTable sidebands_;
    bool requestOut_ = false;
    bool requesting_ = false;  // inside the request call: an answer given at once is no event
    std::optional<RigctldConversation::Answer> answer_;
    bool damageReported_ = false;

    std::deque<Request> waiting_;
    std::vector<RigCommandStep> steps_;
    size_t next_ = 0;
    bool running_ = false;
    bool pollSuspended_ = false;
    bool waitingToDrain_ = false;
    qint64 drainStartMs_ = 0;
    qint64 lastStepEndMs_ = 0;
    // Moves on with every cancel, so a step interrupted by one (a message box runs events) stops.
    quint64 generation_ = 0;
};

}  // namespace cubwave
