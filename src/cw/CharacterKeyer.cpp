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

void CharacterKeyer::run()
{
    timer_.prepareThread();
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return quit_ || waiting_ || calibrate_; });
        if (quit_)
            return;
        if (calibrate_) {
            calibrate_ = false;
            lock.unlock();
            // Timed here, on the thread whose loop it calibrates; not real-time, as "Loop" never is.
            timer_.setRealtime(false);
            const std::atomic<bool> never{false};
            const qint64 start = timer_.nowNs();
            timer_.spin(MorseTiming::kCalibrationPasses, never);
            const qint64 elapsedUs = (timer_.nowNs() - start) / 1000;
            const double offset = MorseTiming::calibratedLoopOffset(elapsedUs);
            QMetaObject::invokeMethod(this, [this, elapsedUs, offset] { emit loopCalibrated(elapsedUs, offset); },
                                      Qt::QueuedConnection);
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
        QMetaObject::invokeMethod(this, [this, c] { emit characterStarted(c); }, Qt::QueuedConnection);
        QString reason;
        const Outcome outcome = key(job, reason);
        job.line.reset();  // the window thread may close the line once the character has ended

        lock.lock();
        onAir_ = false;
        // A sending that failed ends: the character behind it must not start, and is reported
        // ended so whoever handed it does not wait for it forever.
        std::optional<QChar> dropped;
        if ((outcome == Outcome::LineFailed || outcome == Outcome::SpeedInvalid) && waiting_) {
            dropped = waiting_->character;
            waiting_.reset();
        }
        QMetaObject::invokeMethod(this, [this, c, outcome, reason] { emit characterEnded(c, outcome, reason); },
                                  Qt::QueuedConnection);
        if (dropped)
            QMetaObject::invokeMethod(
                this, [this, d = *dropped] { emit characterEnded(d, Outcome::NotStarted, QString()); },
                Qt::QueuedConnection);
    }
}

CharacterKeyer::Outcome CharacterKeyer::key(const Job& job, QString& reason)
{
    KeyingLine* line = job.line.get();
    bool down = false;
    Outcome outcome = Outcome::Sent;
    timer_.setRealtime(static_cast<TimingMethod>(method_.load()) != TimingMethod::Loop);
    for (const KeyingRun& run : job.runs) {
        if (!MorseTiming::unitMs(speedWpm_.load())) {
            outcome = Outcome::SpeedInvalid;
            break;
        }
        if (line && run.keyDown != down) {
            down = run.keyDown;
            if (!line->setKeyed(down)) {
                reason = line->errorText();
                outcome = Outcome::LineFailed;
                break;
            }
        }
        if (!waitRun(run, outcome))
            break;
    }
    // Every way out leaves the line up, whatever happened between key down and key up.
    if (line && (down || outcome == Outcome::LineFailed))
        line->setKeyed(false);
    return outcome;
}

bool CharacterKeyer::waitRun(const KeyingRun& run, Outcome& outcome)
{
    const double wpm = speedWpm_.load();
    const auto unit = MorseTiming::unitMs(wpm);
    if (!unit) {
        outcome = Outcome::SpeedInvalid;
        return false;
    }
    const double units = static_cast<double>(run.units);
    bool finished = true;
    switch (static_cast<TimingMethod>(method_.load())) {
    case TimingMethod::Timer: {
        // Timed from the element's own start, so an error is never carried to the next one.
        const qint64 start = timer_.nowNs();
        const double lengthNs = std::min(units * *unit * 1e6, kMaxWaitNs);
        finished = timer_.waitUntilNs(start + std::llround(lengthNs), stopWait_);
        break;
    }
    case TimingMethod::Sleep:
        finished = timer_.sleepMs(static_cast<qint64>(std::min<double>(units * static_cast<double>(MorseTiming::sleepMsPerUnit(*unit)),
                                                   kMaxWaitNs / 1e6)),
                                  stopWait_);
        break;
    case TimingMethod::Loop:
        finished = timer_.spin(units * MorseTiming::loopPassesPerUnit(loopOffset_.load(), wpm), stopWait_);
        break;
    }
    if (!finished)
        outcome = Outcome::Cancelled;
    return finished;
}

}  // namespace cubwave
