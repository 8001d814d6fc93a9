#pragma once

#include "cw/MorseTable.h"
#include "cw/MorseTiming.h"
#include "platform/KeyingLine.h"
#include "platform/KeyingTimer.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace cubwave {

// The keying thread: times one character at a time on a keying line, so the window thread
// never spins or sleeps through Morse. One character may wait behind the one on the air; it
// starts the moment that one ends, so the hand-over costs no time on the air, and it can be
// taken back until it starts. Speed, method and loop offset are read at each run of key-down or
// key-up units; the line is fixed per character. Every way out of a character leaves the line
// key-up.
//
// "Timer" and "Sleep" keep one schedule of absolute deadlines: each edge is due where the run
// before it ends, however long the line took to change or the thread to wake. The schedule is
// anchored at the first edge and anchored again whenever the thread runs out of characters.
// "Loop" counts passes, but each element is timed on the clock; one more than 20 % off hands the
// rest of the sending to "Timer".
class CharacterKeyer : public QObject {
    Q_OBJECT

public:
    struct Job {
        QChar character;
        std::vector<KeyingRun> runs;
        std::shared_ptr<KeyingLine> line;
    };
    enum class Outcome {
        Sent,
        Cancelled,     // a space cut short, or the keyer shutting down
        LineFailed,    // the device refused; the reason comes with it
        SpeedInvalid,  // the speed became zero, negative or not a number
        NotStarted,    // was waiting when the character before it failed; never keyed
    };
    Q_ENUM(Outcome)

    // A "Loop" element this far off its length, either way, gives up the loop for the sending.
    static constexpr double kLoopTolerance = 0.2;

    explicit CharacterKeyer(KeyingTimer& timer, QObject* parent = nullptr);
    // Cuts the current character short with the line up and joins the thread.
    ~CharacterKeyer() override;

    void setSpeedWpm(double wpm);  // NaN for a speed text that is not a number
    void setMethod(TimingMethod method);
    void setLoopOffset(double loopOffset);

    // False when a character is already waiting.
    bool hand(Job job);
    // The waiting character, if it has not started.
    std::optional<Job> withdraw();
    std::optional<QChar> waitingCharacter() const;
    // A character on the air or waiting.
    bool isBusy() const;
    // Ends the character on the air now if it keys nothing (a space); a marked character
    // always finishes.
    void cutSpaceShort();

    // Times the counting loop on this thread, between characters; loopCalibrated reports it.
    void calibrateLoop();
    // A new sending: "Loop" is trusted again until one of its elements misses.
    void resetLoopCheck();

    // The keying clock, and on it the moment the last character's last unit elapsed.
    qint64 nowNs() const { return timer_.nowNs(); }
    qint64 lastEndNs() const { return lastEndNs_.load(); }

signals:
    void characterStarted(QChar character);
    void characterEnded(QChar character, cubwave::CharacterKeyer::Outcome outcome, const QString& reason);
    void loopCalibrated(qint64 elapsedUs, double loopOffset);
    // A "Loop" element took measuredUs for expectedUs; "Timer" keys the rest of the sending.
    void loopTimingMissed(qint64 measuredUs, qint64 expectedUs);

private:
    // Where the next edge is due on the keying clock; not anchored until the first edge.
    struct Schedule {
        bool anchored = false;
        qint64 dueNs = 0;
    };
    struct Ended {
        QChar character;
        Outcome outcome;
        QString reason;
    };

    void run();
    void calibrate();
    Outcome key(const Job& job, Schedule& schedule, QString& reason, const std::function<void()>& afterFirstEdge);
    bool waitRun(const KeyingRun& run, TimingMethod method, double unitMs, Schedule& schedule, Outcome& outcome);
    bool waitLoop(const KeyingRun& run, double unitMs, Schedule& schedule);
    TimingMethod currentMethod() const;
    void reportStarted(QChar c);
    void reportEnded(const Ended& ended);

    KeyingTimer& timer_;
    std::atomic<double> speedWpm_{13};
    std::atomic<int> method_{static_cast<int>(TimingMethod::Timer)};
    std::atomic<double> loopOffset_{0};
    std::atomic<bool> loopMissed_{false};  // this sending has left "Loop" for "Timer"
    std::atomic<qint64> lastEndNs_{0};

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Job> waiting_;
    bool onAir_ = false;
    bool onAirIsSpace_ = false;
    bool calibrate_ = false;
    bool quit_ = false;
    std::atomic<bool> stopWait_{false};  // cuts the wait of the current element short
    std::thread thread_;
};

}  // namespace cubwave
