#include "rig/RigctldPoll.h"

#include "platform/Clock.h"
#include "rig/FrequencyHz.h"
#include "rig/RigctldConversation.h"

namespace cubwave {

RigctldPoll::RigctldPoll(RigPoller& poller, RigctldConversation& conversation, Clock& clock)
    : poller_(poller), conversation_(conversation), clock_(clock)
{
}

void RigctldPoll::reset()
{
    ++round_;
    underway_ = false;
    skipTick_ = false;
}

void RigctldPoll::tick()
{
    if (underway_ || !poller_.polling() || poller_.suspended() || !conversation_.connected() || conversation_.busy())
        return;
    skipTick_ = !skipTick_;
    if (!skipTick_)
        return;
    underway_ = true;
    ++round_;
    askFrequency();
}

void RigctldPoll::askFrequency()
{
    conversation_.request("f", 1, [this, round = round_](const RigctldConversation::Answer& answer) {
        if (!current(round))
            return;
        // A command that took the radio meanwhile ends the round: its mode is moot.
        if (!answer.ok || poller_.suspended()) {
            underway_ = false;
            return;
        }
        if (answer.reply.failed()) {
            underway_ = false;
            const int code = *answer.reply.rprt;
            conversation_.tellTrouble(QStringLiteral("Rig: rigctld at %1 cannot read the radio's frequency: RPRT %2, %3. "
                                                     "Is the radio on and its cable in?")
                                          .arg(conversation_.address())
                                          .arg(code)
                                          .arg(RigctldValues::errorText(code)));
            return;
        }
        const std::optional<qint64> hz = RigctldValues::frequencyHz(answer.reply.lines.value(0));
        if (!hz) {
            underway_ = false;
            conversation_.dropMalformed(QStringLiteral("rigctld sent \"%1\" for a frequency")
                                            .arg(QString::fromLatin1(answer.reply.lines.value(0).left(32))));
            return;
        }
        askMode(*hz);
    });
}

void RigctldPoll::askMode(qint64 hz)
{
    conversation_.request("m", 2, [this, hz, round = round_](const RigctldConversation::Answer& answer) {
        if (!current(round))
            return;
        underway_ = false;
        if (!answer.ok)
            return;
        RigReading reading;
        reading.frequencyMHz = float(FrequencyHz::toMHz(hz));
        if (answer.reply.failed()) {
            // Some radios cannot tell their mode: the frequency still counts.
            finish(reading);
            return;
        }
        const QByteArray mode = answer.reply.lines.value(0);
        if (!RigctldValues::isModeName(mode) || !RigctldValues::isPassband(answer.reply.lines.value(1))) {
            conversation_.dropMalformed(QStringLiteral("rigctld sent \"%1\" for a mode").arg(QString::fromLatin1(mode.left(32))));
            return;
        }
        reading.mode = RigctldValues::loggingMode(mode);
        finish(reading);
    });
}

void RigctldPoll::finish(const RigReading& reading)
{
    conversation_.answeredWell();
    const RigTickResult result = poller_.report(reading, clock_.ticksMs());
    if (onResult_)
        onResult_(result);
}

}  // namespace cubwave
