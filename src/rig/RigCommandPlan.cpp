#include "rig/RigCommandPlan.h"

#include "rig/FrequencyHz.h"

#include <algorithm>

namespace cubwave {

namespace {

using Kind = RigCommandStep::Kind;
using Part = RigCommandStep::Part;

RigCommandStep step(Kind kind, Part part, int delayMs = 0, QByteArray bytes = {}, QString text = {})
{
    return RigCommandStep{kind, part, delayMs, std::move(bytes), std::move(text)};
}

}  // namespace

std::vector<RigCommandStep> RigCommandPlan::changeMode(const RigCommandContext& context, qint64 hz,
                                                       QStringView mode, const SidebandTable& sidebands)
{
    if (context.model->family == RigFamily::None)
        return {};
    const QString wanted = mode.isEmpty() ? sidebands.sidebandFor(FrequencyHz::toMHz(hz)) : mode.toString();
    if (wanted.isEmpty())
        return {};
    const RigCommand command = RigCommandBuilder::mode(context, wanted);
    if (!command.ok())
        return {step(Kind::Report, Part::Mode, 0, {}, command.error + u' ' + wanted)};
    // A rig or mode without a command: nothing to send, so nothing to wait for either.
    if (command.bytes.isEmpty())
        return {};
    return {step(Kind::WaitDrained, Part::Mode), step(Kind::Pause, Part::Mode, kModePauseMs),
            step(Kind::Send, Part::Mode, 0, command.bytes, wanted), step(Kind::WaitDrained, Part::Mode)};
}

std::vector<RigCommandStep> RigCommandPlan::changeFrequency(const RigCommandContext& context, qint64 hz,
                                                            QStringView mode, const SidebandTable& sidebands)
{
    const RigModel& model = *context.model;
    const bool pegasus = model.frequencyCommand == FrequencyCommand::PegasusFile;
    // A frequency the radio cannot take is refused before anything goes out: a mode command sent
    // first would leave the radio changed by a request that failed.
    const RigCommand command = RigCommandBuilder::frequency(context, hz);
    if (!command.ok())
        return {step(Kind::Report, Part::Frequency, 0, {}, command.error)};

    std::vector<RigCommandStep> steps{step(Kind::SuspendPoll, Part::Frequency)};
    if (!pegasus)
        steps.push_back(step(Kind::DiscardInput, Part::Frequency));
    const std::vector<RigCommandStep> modeSteps = changeMode(context, hz, mode, sidebands);
    steps.insert(steps.end(), modeSteps.begin(), modeSteps.end());
    // A mode command has just been waited out; a second wait would only double the time a line
    // that never drains holds the command.
    if (steps.back().kind != Kind::WaitDrained)
        steps.push_back(step(Kind::WaitDrained, Part::Frequency));
    if (model.commandDelayMs > 0)
        steps.push_back(step(Kind::Pause, Part::Frequency, model.commandDelayMs));
    // The Elecraft's further second and the Omni VI's further wait follow the first pause.
    if (model.secondCommandDelayMs > 0)
        steps.push_back(step(Kind::Pause, Part::Frequency, model.secondCommandDelayMs));
    if (pegasus)
        steps.push_back(step(Kind::WritePegasusFile, Part::Frequency, 0, command.pegasusFile));
    else if (!command.bytes.isEmpty())
        steps.push_back(step(Kind::Send, Part::Frequency, 0, command.bytes));
    steps.push_back(step(Kind::WaitDrained, Part::Frequency));
    // Radios with band memories recall the new band's last mode when the frequency changes band,
    // undoing the mode just set: the mode command goes again once the frequency is in.
    const bool modeSent = std::any_of(modeSteps.begin(), modeSteps.end(),
                                      [](const RigCommandStep& s) { return s.kind == Kind::Send; });
    // The frequency's drain wait stands in for the mode command's first one.
    if (modeSent && steps[steps.size() - 2].kind == Kind::Send)
        steps.insert(steps.end(), modeSteps.begin() + 1, modeSteps.end());
    // After a failure too: the band goes on following the rig.
    steps.push_back(step(Kind::ResumePoll, Part::Frequency));
    return steps;
}

}  // namespace cubwave
