#include "rig/RigctldCommandPlan.h"

#include "rig/FrequencyHz.h"
#include "rig/RigctldReplies.h"

#include <array>

namespace cubwave {

namespace {

using Kind = RigCommandStep::Kind;
using Part = RigCommandStep::Part;

RigCommandStep step(Kind kind, Part part, QByteArray bytes = {}, QString text = {})
{
    return RigCommandStep{kind, part, 0, std::move(bytes), std::move(text)};
}

// The amateur bands' widest edges over the three regions, in MHz.
struct BandEdges {
    double low;
    double high;
};
constexpr std::array<BandEdges, 16> kBands{{{1.8, 2.0},
                                             {3.5, 4.0},
                                             {5.25, 5.45},
                                             {7.0, 7.3},
                                             {10.1, 10.15},
                                             {14.0, 14.35},
                                             {18.068, 18.168},
                                             {21.0, 21.45},
                                             {24.89, 24.99},
                                             {28.0, 29.7},
                                             {50.0, 54.0},
                                             {144.0, 148.0},
                                             {222.0, 225.0},
                                             {420.0, 450.0},
                                             {902.0, 928.0},
                                             {1240.0, 1300.0}}};

int bandIndex(double mhz)
{
    for (size_t i = 0; i < kBands.size(); ++i) {
        if (mhz >= kBands[i].low && mhz <= kBands[i].high)
            return int(i);
    }
    return -1;
}

// The mode steps, or a report when rigctld has no such mode; nothing when there is no mode.
std::vector<RigCommandStep> modeSteps(const RigCommandContext& context, qint64 hz, QStringView mode,
                                      const SidebandTable& sidebands, QString& wanted, QByteArray& hamlib)
{
    if (context.model->family == RigFamily::None)
        return {};
    wanted = mode.isEmpty() ? sidebands.sidebandFor(FrequencyHz::toMHz(hz)) : mode.toString();
    if (wanted.isEmpty())
        return {};
    hamlib = RigctldValues::hamlibMode(wanted);
    if (hamlib.isEmpty())
        return {step(Kind::Report, Part::Mode, {}, QStringLiteral("rigctld has no mode for %1").arg(wanted))};
    // Passband 0: the radio's default for the mode.
    return {step(Kind::Request, Part::Mode, "M " + hamlib + " 0", wanted),
            step(Kind::ReadModeBack, Part::Mode, hamlib, wanted)};
}

}  // namespace

bool RigctldCommandPlan::sameBand(double aMHz, double bMHz)
{
    const int a = bandIndex(aMHz);
    return a >= 0 && a == bandIndex(bMHz);
}

std::vector<RigCommandStep> RigctldCommandPlan::changeMode(const RigCommandContext& context, qint64 hz,
                                                          QStringView mode, const SidebandTable& sidebands)
{
    QString wanted;
    QByteArray hamlib;
    return modeSteps(context, hz, mode, sidebands, wanted, hamlib);
}

std::vector<RigCommandStep> RigctldCommandPlan::changeFrequency(const RigCommandContext& context, qint64 hz,
                                                               QStringView mode, const SidebandTable& sidebands)
{
    std::vector<RigCommandStep> steps{step(Kind::SuspendPoll, Part::Frequency)};
    QString wanted;
    QByteArray hamlib;
    for (RigCommandStep& s : modeSteps(context, hz, mode, sidebands, wanted, hamlib))
        steps.push_back(std::move(s));
    const RigCommand command = RigCommandBuilder::frequency(context, hz);
    if (!command.ok()) {
        steps.push_back(step(Kind::Report, Part::Frequency, {}, command.error));
    } else {
        steps.push_back(step(Kind::Request, Part::Frequency, command.bytes));
        if (!hamlib.isEmpty() && !sameBand(context.rigFrequencyMHz, FrequencyHz::toMHz(hz)))
            steps.push_back(step(Kind::Request, Part::Mode, "M " + hamlib + " 0", wanted));
    }
    steps.push_back(step(Kind::ResumePoll, Part::Frequency));
    return steps;
}

}  // namespace cubwave
