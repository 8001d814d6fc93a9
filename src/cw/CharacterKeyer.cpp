#include "cw/CharacterKeyer.h"

#include <algorithm>
#include <cmath>

namespace cubwave {

namespace {

// A deadline beyond this is no deadline anyone waits for (about three years); it keeps the
// nanosecond arithmetic of an absurd word space or speed from overflowing.
constexpr double kMaxWaitNs = 1e17;

bool allKeyUp(const std::vector<KeyingRun>& runs)
{
    return std::none_of(runs.begin(), runs.end(), [](const KeyingRun& r) { return r.keyDown; });
}

}  // namespace

CharacterKeyer::CharacterKeyer(KeyingTimer& timer, QObject* parent)
    : QObject(parent), timer_(timer), thread_([this] { run(); })
{
}

CharacterKeyer::~CharacterKeyer()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        stopWait_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void CharacterKeyer::setSpeedWpm(double wpm) { speedWpm_ = wpm; }
void CharacterKeyer::setMethod(TimingMethod method) { method_ = static_cast<int>(method); }
void CharacterKeyer::setLoopOffset(double loopOffset) { loopOffset_ = loopOffset; }

bool CharacterKeyer::hand(Job job)
{
    {
        std::lock_guard lock(mutex_);
        if (waiting_)
            return false;
        waiting_ = std::move(job);
    }
    wake_.notify_all();
    return true;
}

std::optional<CharacterKeyer::Job> CharacterKeyer::withdraw()
{
    std::lock_guard lock(mutex_);
    std::optional<Job> job = std::move(waiting_);
    waiting_.reset();
    return job;
}

std::optional<QChar> CharacterKeyer::waitingCharacter() const
{
    std::lock_guard lock(mutex_);
    if (!waiting_)
        return std::nullopt;
    return waiting_->character;
}

bool CharacterKeyer::isBusy() const
{
    std::lock_guard lock(mutex_);
    return onAir_ || waiting_.has_value();
}

void CharacterKeyer::cutSpaceShort()
{
    std::lock_guard lock(mutex_);
    if (onAir_ && onAirIsSpace_)
        stopWait_ = true;
}

void CharacterKeyer::calibrateLoop()
{
    {
        std::lock_guard lock(mutex_);
        calibrate_ = true;
    }
    wake_.notify_all();
}

void CharacterKeyer::resetLoopCheck() { loopMissed_ = false; }

TimingMethod CharacterKeyer::currentMethod() const
{
    const auto method = static_cast<TimingMethod>(method_.load());
    return method == TimingMethod::Loop && loopMissed_.load() ? TimingMethod::Timer : method;
}

void CharacterKeyer::reportStarted(QChar c)
{
    QMetaObject::invokeMethod(this, [this, c] { emit characterStarted(c); }, Qt::QueuedConnection);
}

void CharacterKeyer::reportEnded(const Ended& ended)
{
    QMetaObject::invokeMethod(
        this, [this, ended] { emit characterEnded(ended.character, ended.outcome, ended.reason); },
        Qt::QueuedConnection);
}

void CharacterKeyer::calibrate()
{
    // Timed here, on the thread whose loop it calibrates; not real-time, as "Loop" never is.
    timer_.setRealtime(false);
    const std::atomic<bool> never{false};
    const qint64 start = timer_.nowNs();
    timer_.spin(MorseTiming::kCalibrationPasses, never);
    const qint64 elapsedUs = (timer_.nowNs() - start) / 1000;
    const double offset = MorseTiming::calibratedLoopOffset(elapsedUs);
    QMetaObject::invokeMethod(this, [this, elapsedUs, offset] { emit loopCalibrated(elapsedUs, offset); },
                              Qt::QueuedConnection);
}

void CharacterKeyer::run()
{
    timer_.prepareThread();
    Schedule schedule;
    // A character that ended with another right behind it is reported only after that one's first
    // edge: a report wakes the window thread, which could take this thread's processor just
    // when the edge is due.
    std::optional<Ended> unreported;
    std::unique_lock lock(mutex_);
    while (true) {
        if (!waiting_) {
            if (unreported)
                reportEnded(*std::exchange(unreported, std::nullopt));
            schedule.anchored = false;  // out of characters: the next one starts a new schedule
        }
        wake_.wait(lock, [this] { return quit_ || waiting_ || calibrate_; });
        if (quit_)
            return;
        if (!waiting_) {
            calibrate_ = false;
            lock.unlock();
            calibrate();
            lock.lock();
            continue;
        }
        Job job = std::move(*waiting_);
        waiting_.reset();
        onAir_ = true;
        onAirIsSpace_ = allKeyUp(job.runs);
        stopWait_ = false;
        lock.unlock();

        const QChar c = job.character;
        bool reported = false;
        const auto reportStart = [&] {
            if (reported)
                return;
            reported = true;
            if (unreported)
                reportEnded(*std::exchange(unreported, std::nullopt));
            reportStarted(c);
        };
        QString reason;
        const Outcome outcome = key(job, schedule, reason, reportStart);
        reportStart();
        job.line.reset();  // the window thread may close the line once the character has ended
        lastEndNs_ = timer_.nowNs();
        if (outcome != Outcome::Sent)
            schedule.anchored = false;

        lock.lock();
        onAir_ = false;
        const Ended ended{c, outcome, reason};
        if (outcome == Outcome::Sent && waiting_) {
            unreported = ended;
            continue;
        }
        reportEnded(ended);
        // A sending that failed ends: the character behind it must not start, and is reported
        // ended so whoever handed it does not wait for it forever.
        if ((outcome == Outcome::LineFailed || outcome == Outcome::SpeedInvalid) && waiting_) {
            reportEnded({waiting_->character, Outcome::NotStarted, QString()});
            waiting_.reset();
        }
    }
}

CharacterKeyer::Outcome CharacterKeyer::key(const Job& job, Schedule& schedule, QString& reason,
                                             const std::function<void()>& afterFirstEdge)
{
    KeyingLine* line = job.line.get();
    bool down = false;
    Outcome outcome = Outcome::Sent;
    for (const KeyingRun& run : job.runs) {
        const auto unit = MorseTiming::unitMs(speedWpm_.load());
        if (!unit) {
            outcome = Outcome::SpeedInvalid;
            break;
        }
        const TimingMethod method = currentMethod();
        timer_.setRealtime(method != TimingMethod::Loop);
        const qint64 now = timer_.nowNs();
        if (!schedule.anchored) {
            // Anchored here, just before the first edge, after anything that could delay it.
            schedule.dueNs = now;
            schedule.anchored = true;
        }
        if (method == TimingMethod::Loop) {
            schedule.dueNs = now;  // "Loop" keys when its count ends; the clock only watches it
        } else if (static_cast<double>(now - schedule.dueNs) > static_cast<double>(run.units) * *unit * 1e6 / 2) {
            // An edge more than half its run behind (the thread held up far beyond any wake-up
            // delay) starts the schedule afresh, rather than keying a clipped element.
            schedule.dueNs = now;
        }
        if (line && run.keyDown != down) {
            down = run.keyDown;
            if (!line->setKeyed(down)) {
                reason = line->errorText();
                outcome = Outcome::LineFailed;
                break;
            }
        }
        afterFirstEdge();
        if (!waitRun(run, method, *unit, schedule, outcome))
            break;
    }
    // Every way out leaves the line up, whatever happened between key down and key up.
    if (line && (down || outcome == Outcome::LineFailed))
        line->setKeyed(false);
    return outcome;
}

bool CharacterKeyer::waitRun(const KeyingRun& run, TimingMethod method, double unitMs, Schedule& schedule,
                             Outcome& outcome)
{
    const double units = static_cast<double>(run.units);
    bool finished = true;
    switch (method) {
    case TimingMethod::Timer:
        schedule.dueNs += std::llround(std::min(units * unitMs * 1e6, kMaxWaitNs));
        finished = timer_.waitUntilNs(schedule.dueNs, stopWait_);
        break;
    case TimingMethod::Sleep: {
        const double ms = units * static_cast<double>(MorseTiming::sleepMsPerUnit(unitMs));
        schedule.dueNs += std::llround(std::min(ms * 1e6, kMaxWaitNs));
        finished = timer_.sleepUntilNs(schedule.dueNs, stopWait_);
        break;
    }
    case TimingMethod::Loop:
        finished = waitLoop(run, unitMs, schedule);
        break;
    }
    if (!finished)
        outcome = Outcome::Cancelled;
    return finished;
}

bool CharacterKeyer::waitLoop(const KeyingRun& run, double unitMs, Schedule& schedule)
{
    const double units = static_cast<double>(run.units);
    const qint64 start = schedule.dueNs;  // the edge, so the line's own time counts
    if (!timer_.spin(units * MorseTiming::loopPassesPerUnit(loopOffset_.load(), speedWpm_.load()), stopWait_))
        return false;
    const qint64 end = timer_.nowNs();
    schedule.dueNs = end;
    const double expectedNs = std::min(units * unitMs * 1e6, kMaxWaitNs);
    const double measuredNs = static_cast<double>(end - start);
    if (std::fabs(measuredNs - expectedNs) <= kLoopTolerance * expectedNs)
        return true;
    // A loop calibrated on an idle processor runs slow under load, and an uncalibrated one not at
    // all: the clock keys the rest, this element included when it came out short.
    loopMissed_ = true;
    const qint64 measuredUs = (end - start) / 1000;
    const qint64 expectedUs = std::llround(expectedNs / 1000);
    QMetaObject::invokeMethod(
        this, [this, measuredUs, expectedUs] { emit loopTimingMissed(measuredUs, expectedUs); },
        Qt::QueuedConnection);
    if (measuredNs >= expectedNs)
        return true;
    timer_.setRealtime(true);
    schedule.dueNs = start + std::llround(expectedNs);
    return timer_.waitUntilNs(schedule.dueNs, stopWait_);
}

}  // namespace cubwave
