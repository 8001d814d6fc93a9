#include "rig/RigCommandRunner.h"

#include "core/FileWrite.h"
#include "platform/Clock.h"
#include "platform/OneShotTimer.h"
#include "rig/RigctldCommandPlan.h"
#include "rig/FrequencyHz.h"

#include <QDir>
#include <QPointer>

#include <algorithm>

namespace cubwave {

using Kind = RigCommandStep::Kind;
using Part = RigCommandStep::Part;

RigCommandRunner::RigCommandRunner(RigPoller& poller, OneShotTimer& timer, Clock& clock, QObject* parent)
    : QObject(parent), poller_(poller), timer_(timer), clock_(clock)
{
}

RigCommandRunner::~RigCommandRunner()
{
    // A step still armed would call back into a runner that is gone.
    timer_.stop();
}

QString RigCommandRunner::rigName() const { return QString::fromLatin1(poller_.settings().model->name); }

RigCommandContext RigCommandRunner::context() const
{
    const RigPollSettings& settings = poller_.settings();
    return {settings.model,          settings.frequencyQuery, settings.modeQuery, poller_.kenwoodVfoDigit(),
            poller_.mode(),          poller_.frequencyMHz()};
}

void RigCommandRunner::changeFrequency(qint64 hz, const QString& mode)
{
    if (!poller_.polling())
        return;
    enqueue({true, hz, mode});
}

void RigCommandRunner::changeMode(qint64 hz, const QString& mode) { enqueue({false, hz, mode}); }

void RigCommandRunner::enqueue(Request request)
{
    std::erase_if(waiting_, [&](const Request& r) { return r.frequency == request.frequency; });
    waiting_.push_back(std::move(request));
    if (running_)
        return;
    if (prepareNext())
        advance();
    else
        emit idle();
}

bool RigCommandRunner::prepareNext()
{
    while (!waiting_.empty()) {
        const Request request = waiting_.front();
        waiting_.pop_front();
        if (request.frequency && !poller_.polling())
            continue;  // polling ended while it waited
        const RigCommandContext now = context();
        if (now.model->family == RigFamily::Rigctld)
            steps_ = request.frequency ? RigctldCommandPlan::changeFrequency(now, request.hz, request.mode, sidebands_)
                                       : RigctldCommandPlan::changeMode(now, request.hz, request.mode, sidebands_);
        else
            steps_ = request.frequency ? RigCommandPlan::changeFrequency(now, request.hz, request.mode, sidebands_)
                                       : RigCommandPlan::changeMode(now, request.hz, request.mode, sidebands_);
        if (request.frequency)
            reportDamageOnce(request);
        if (steps_.empty())
            continue;
        next_ = 0;
        running_ = true;
        waitingToDrain_ = false;
        lastStepEndMs_ = clock_.ticksMs();
        return true;
    }
    return false;
}

void RigCommandRunner::reportDamageOnce(const Request& request)
{
    const std::optional<BandPlanFile::Damage>& damage = sidebands_.damage();
    if (!damage || damageReported_ || !request.mode.isEmpty())
        return;
    // Only when the band plan gave no mode because no record was read for the frequency.
    if (sidebands_.covers(FrequencyHz::toMHz(request.hz)))
        return;
    const bool modeCommand = std::any_of(steps_.begin(), steps_.end(), [](const RigCommandStep& s) {
        return s.part == Part::Mode && (s.kind == Kind::Send || s.kind == Kind::Report);
    });
    if (modeCommand || context().model->modeCommands == ModeCommands::None)
        return;
    damageReported_ = true;
    emit statusMessage(QStringLiteral("No mode command sent for %1 MHz: %2 line %3 is damaged (%4).")
                           .arg(FrequencyHz::toMHzText(request.hz), BandPlanFile::kFileName)
                           .arg(damage->line)
                           .arg(damage->reason));
}

void RigCommandRunner::advance()
{
    const quint64 generation = generation_;
    while (true) {
        while (running_ && next_ < steps_.size()) {
            const RigCommandStep step = steps_[next_];
            if (!perform(step))
                return;  // the timer calls again
            if (generation != generation_)
                return;  // cancelled while a message was up
            ++next_;
            lastStepEndMs_ = clock_.ticksMs();
        }
        if (!running_)
            return;
        running_ = false;
        steps_.clear();
        if (!prepareNext()) {
            emit idle();
            return;
        }
    }
}

bool RigCommandRunner::perform(const RigCommandStep& step)
{
    const qint64 now = clock_.ticksMs();
    switch (step.kind) {
    case Kind::SuspendPoll:
        poller_.suspend(now);
        pollSuspended_ = true;
        return true;
    case Kind::DiscardInput:
        if (link_)
            link_->takeInput();
        poller_.discardReplies();
        return true;
    case Kind::WaitDrained: {
        if (!waitingToDrain_) {
            waitingToDrain_ = true;
            drainStartMs_ = now;
        }
        // A line that cannot say is treated as drained: the next send will tell what is wrong.
        const std::optional<qint64> pending = link_ ? link_->pendingOutputBytes() : std::optional<qint64>(0);
        if (pending && *pending > 0 && now - drainStartMs_ < RigCommandPlan::kDrainLimitMs) {
            timer_.start(RigCommandPlan::kDrainPollMs, [this] { advance(); });
            return false;
        }
        waitingToDrain_ = false;
        return true;
    }
    case Kind::Pause: {
        // The clock counts whole milliseconds, so the pause runs one tick past its length: the
        // step before may have ended late in the tick it was stamped with.
        const qint64 left = step.delayMs + 1 - (now - lastStepEndMs_);
        if (left > 0) {
            timer_.start(int(left), [this] { advance(); });
            return false;
        }
        return true;
    }
    case Kind::Send:
        if (!link_)
            fail(step, kPortClosed);
        else if (!link_->send(step.bytes))
            fail(step, link_->failureReason());
        return true;
    case Kind::WritePegasusFile: {
        const QString path =
            QDir(poller_.settings().pegasusFolder).filePath(QString::fromLatin1(RigCommandBuilder::kPegasusInFileName));
        const WriteResult written = replaceFileAtomically(path, step.bytes);
        if (!written.ok)
            fail(step, written.error);
        return true;
    }
    case Kind::Report:
        fail(step, step.text);
        return true;
    case Kind::ResumePoll:
        poller_.resume(now);
        pollSuspended_ = false;
        return true;
    case Kind::Request:
    case Kind::ReadModeBack:
        return request(step);
    }
    return true;
}

bool RigCommandRunner::request(const RigCommandStep& step)
{
    if (!requestOut_) {
        if (!rigctld_) {
            fail(step, QStringLiteral("This program was built without its rigctld connection."));
            return true;
        }
        requestOut_ = true;
        answer_.reset();
        const bool readBack = step.kind == Kind::ReadModeBack;
        QPointer<RigCommandRunner> self(this);
        requesting_ = true;
        rigctld_->request(readBack ? QByteArray("m") : step.bytes, readBack ? 2 : 0,
                          [self, generation = generation_](const RigctldConversation::Answer& answer) {
                              if (!self || self->generation_ != generation || !self->requestOut_)
                                  return;
                              self->answer_ = answer;
                              if (!self->requesting_)
                                  self->advance();
                          });
        requesting_ = false;
    }
    if (!answer_)
        return false;  // the answer's arrival calls advance() again
    requestOut_ = false;
    const RigctldConversation::Answer answer = *std::exchange(answer_, std::nullopt);
    judge(step, answer);
    return true;
}

void RigCommandRunner::judge(const RigCommandStep& step, const RigctldConversation::Answer& answer)
{
    const QByteArray command = step.kind == Kind::ReadModeBack ? QByteArray("m") : step.bytes;
    QString failure;
    if (!answer.ok) {
        failure = answer.failure;
    } else if (answer.reply.failed()) {
        const int code = *answer.reply.rprt;
        failure = QStringLiteral("rigctld answered \"%1\" with RPRT %2: %3")
                      .arg(QString::fromLatin1(command))
                      .arg(code)
                      .arg(RigctldValues::errorText(code));
    } else if (step.kind == Kind::ReadModeBack && answer.reply.lines.value(0) != step.bytes) {
        failure = QStringLiteral("The radio did not take the mode %1 (rigctld reads it as %2).")
                      .arg(QString::fromLatin1(step.bytes), QString::fromLatin1(answer.reply.lines.value(0).left(16)));
    }
    if (failure.isEmpty())
        return;
    // A mode that was not set is not read back.
    if (step.kind == Kind::Request && step.part == Part::Mode && next_ + 1 < steps_.size()
        && steps_[next_ + 1].kind == Kind::ReadModeBack)
        ++next_;
    fail(step, failure);
}

void RigCommandRunner::fail(const RigCommandStep& step, const QString& reason)
{
    QString text = reason;
    // A mode command's message names the mode after the reason.
    if (step.part == Part::Mode && step.kind != Kind::Report)
        text += u' ' + step.text;
    if (step.part == Part::Frequency && step.kind != Kind::Report)
        skipToResume();
    emit commandFailed(step.part == Part::Mode ? RigCommandPlan::kModeErrorTitle
                                               : RigCommandPlan::kFrequencyErrorTitle,
                       text);
}

void RigCommandRunner::skipToResume()
{
    // Only the resume is left: what was meant to follow a failed frequency command is moot.
    for (size_t i = next_; i < steps_.size(); ++i) {
        if (steps_[i].kind == Kind::ResumePoll) {
            next_ = i - 1;  // advance() steps past the failed step onto the resume
            return;
        }
    }
}

void RigCommandRunner::cancel()
{
    ++generation_;
    timer_.stop();
    waiting_.clear();
    steps_.clear();
    next_ = 0;
    running_ = false;
    waitingToDrain_ = false;
    requestOut_ = false;
    answer_.reset();
    if (pollSuspended_) {
        poller_.resume(clock_.ticksMs());
        pollSuspended_ = false;
    }
}

std::optional<QString> RigCommandRunner::sendRaw(const QByteArray& bytes)
{
    // Raw text would reach rigctld as commands whose answers nobody reads.
    if (poller_.settings().model->family == RigFamily::Rigctld)
        return kNoRawToRigctld;
    if (!link_)
        return kPortClosed;
    if (!link_->send(bytes))
        return link_->failureReason();
    return std::nullopt;
}

}  // namespace cubwave
